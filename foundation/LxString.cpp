#include "foundation/LxString.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <string>

// ---------------------------------------------------------------- text

namespace {
bool IsTrimmed(QChar c, QChar ch) {
    return ch.unicode() == 0 ? c.unicode() <= u' ' : c == ch;
}
} // namespace

QString TrimLeftChar(const QString& text, QChar ch) {
    qsizetype start = 0;
    while (start < text.size() && IsTrimmed(text.at(start), ch))
        ++start;
    return text.mid(start);
}

QString TrimRightChar(const QString& text, QChar ch) {
    qsizetype end = text.size();
    while (end > 0 && IsTrimmed(text.at(end - 1), ch))
        --end;
    return text.left(end);
}

QString TrimBlanks(const QString& text) {
    return TrimRightChar(TrimLeftChar(text, u' '), u' ');
}

std::string_view TrimBlankBytes(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

QString PadRightStr(const QString& text, int width, QChar fill, bool trimLeading) {
    const QString s = trimLeading ? TrimLeftChar(text, u' ') : text;
    width = std::max(width, 0);
    if (s.size() >= width)
        return s.left(width);
    return s + QString(width - s.size(), fill);
}

QString PadLeftStr(const QString& text, int width, QChar fill, bool trimTrailing) {
    const QString s = trimTrailing ? TrimRightChar(text, u' ') : text;
    width = std::max(width, 0);
    if (s.size() >= width)
        return s.right(width);
    return QString(width - s.size(), fill) + s;
}

QString LeftJustify(const QString& text, int width) {
    return PadRightStr(text, width, u' ', true);
}

QString RightJustify(const QString& text, int width) {
    return PadLeftStr(text, width, u' ', true);
}

QString ZeroPad(const QString& text, int width) {
    return PadLeftStr(text, width, u'0', false);
}

QString CharStr(QChar ch, int count) {
    return QString(std::max(count, 0), ch);
}

QString TranslateChars(const QString& fromChars, const QString& toChars, const QString& text) {
    QString result = text;
    for (QChar& c : result) {
        const qsizetype i = fromChars.indexOf(c);
        if (i >= 0 && i < toChars.size())
            c = toChars.at(i);
    }
    return result;
}

QString SplitFirst(QString& text, const QString& separator) {
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    if (at < 0) {
        QString part = text;
        text.clear();
        return part;
    }
    QString part = text.left(at);
    text.remove(0, at + separator.size());
    return part;
}

int LastPos(const QString& sub, const QString& text) {
    if (sub.isEmpty())
        return 0;
    return static_cast<int>(text.lastIndexOf(sub, -1, Qt::CaseInsensitive) + 1);
}

QStringList SplitTextLines(const QString& text) {
    QStringList lines;
    ForEachTextLine(text, [&lines](QStringView line) { lines.append(line.toString()); });
    return lines;
}

// ---------------------------------------------------------------- numbers

namespace {

std::atomic<char16_t>& DecimalSeparatorStore() {
    static std::atomic<char16_t> separator{[] {
        const QString point = QLocale::system().decimalPoint();
        return point.isEmpty() ? u'.' : point.at(0).unicode();
    }()};
    return separator;
}

// The magnitude of a finite x with the given decimals and "." as point. Rounds the shortest decimal
// text that reads back as x, halves away from zero, so 2.5 gives 3 and 2.675 gives 2.68 with 2 decimals.
std::string FixedMagnitude(double x, int decimals) {
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(x),
                                       std::chars_format::scientific);
    const std::string text(buffer.data(), written.ptr);
    const std::size_t e = text.find('e');
    std::string mantissa;
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.')
            mantissa += text[i];
    }
    int exponent = 0;
    const std::size_t digits = text[e + 1] == '+' ? e + 2 : e + 1; // from_chars takes no '+'
    std::from_chars(text.data() + digits, text.data() + text.size(), exponent);

    // mantissa holds the digits of |x| * 10^decimals with the point after `whole` of them.
    const long long whole = static_cast<long long>(exponent) + 1 + decimals;
    std::string scaled;
    if (whole >= static_cast<long long>(mantissa.size())) {
        scaled = mantissa + std::string(static_cast<std::size_t>(whole) - mantissa.size(), '0');
    } else if (whole >= 0) {
        scaled = mantissa.substr(0, static_cast<std::size_t>(whole));
        if (mantissa[static_cast<std::size_t>(whole)] >= '5') {
            std::size_t i = scaled.size();
            while (i > 0 && scaled[i - 1] == '9')
                scaled[--i] = '0';
            if (i == 0)
                scaled.insert(scaled.begin(), '1');
            else
                ++scaled[i - 1];
        }
    }
    if (scaled.size() < static_cast<std::size_t>(decimals) + 1)
        scaled.insert(0, static_cast<std::size_t>(decimals) + 1 - scaled.size(), '0');
    if (decimals > 0)
        scaled.insert(scaled.size() - static_cast<std::size_t>(decimals), 1, '.');
    return scaled;
}

struct FloatText {
    QString magnitude; // with the decimal separator in place
    bool negative = false;
};

FloatText FormatFloat(double x, int decimals) {
    if (std::isnan(x))
        return {QStringLiteral("NAN"), false};
    if (std::isinf(x))
        return {QStringLiteral("INF"), x < 0};
    const std::string magnitude = FixedMagnitude(x, std::clamp(decimals, 0, 100));
    FloatText result;
    result.magnitude = QString::fromLatin1(magnitude.data(), static_cast<qsizetype>(magnitude.size()));
    const qsizetype point = result.magnitude.indexOf(u'.');
    if (point >= 0)
        result.magnitude[point] = GetDecimalSeparator();
    // A value that rounds to zero is written without a sign.
    result.negative = x < 0 && magnitude.find_first_of("123456789") != std::string::npos;
    return result;
}

// Zero-padded to width; the sign takes the place of a padding zero and never that of a digit.
QString SignedZeroPad(const QString& magnitude, bool negative, int width, bool cut) {
    if (!negative)
        return cut || magnitude.size() < width ? ZeroPad(magnitude, width) : magnitude;
    if (magnitude.size() < width)
        return QLatin1Char('-') + ZeroPad(magnitude, width - 1);
    return QLatin1Char('-') + magnitude;
}

QString UnsignedDigits(qint64 n) {
    return QString::number(n < 0 ? 0 - static_cast<quint64>(n) : static_cast<quint64>(n));
}

bool IsDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Own parsing so that no locale takes part: blanks around, a sign, digits with one decimal point
// (",", "." or the decimal separator), an optional exponent.
bool ParseFloat(const QString& text, double& value) {
    const QChar separator = GetDecimalSeparator();
    qsizetype i = 0;
    qsizetype end = text.size();
    while (i < end && text.at(i) == u' ')
        ++i;
    while (end > i && text.at(end - 1) == u' ')
        --end;

    bool negative = false;
    if (i < end && (text.at(i) == u'+' || text.at(i) == u'-'))
        negative = text.at(i++) == u'-';
    std::string integral;
    std::string fraction;
    bool point = false;
    for (; i < end; ++i) {
        const QChar c = text.at(i);
        if (IsDigit(c))
            (point ? fraction : integral) += static_cast<char>(c.unicode());
        else if (!point && (c == u',' || c == u'.' || c == separator))
            point = true;
        else
            break;
    }
    if (integral.empty() && fraction.empty())
        return false;

    int exponent = 0;
    if (i < end && (text.at(i) == u'e' || text.at(i) == u'E')) {
        ++i;
        bool exponentNegative = false;
        if (i < end && (text.at(i) == u'+' || text.at(i) == u'-'))
            exponentNegative = text.at(i++) == u'-';
        if (i == end || !IsDigit(text.at(i)))
            return false;
        for (; i < end && IsDigit(text.at(i)); ++i)
            exponent = std::min(exponent * 10 + (text.at(i).unicode() - u'0'), 100000);
        if (exponentNegative)
            exponent = -exponent;
    }
    if (i != end)
        return false;

    const std::string normal = (negative ? "-" : "") + (integral.empty() ? "0" : integral) + "." +
                               (fraction.empty() ? "0" : fraction) + "e" + std::to_string(exponent);
    const auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is no number.
        const std::string digits = integral + fraction;
        const std::size_t first = digits.find_first_not_of('0');
        const long long magnitude = static_cast<long long>(exponent) +
                                    static_cast<long long>(integral.size()) - 1 -
                                    static_cast<long long>(first);
        if (magnitude >= 0)
            return false;
        value = negative ? -0.0 : 0.0;
        return true;
    }
    return ec == std::errc() && ptr == normal.data() + normal.size();
}

} // namespace

QChar GetDecimalSeparator() {
    return QChar(DecimalSeparatorStore().load());
}

void SetDecimalSeparator(QChar separator) {
    DecimalSeparatorStore().store(separator.unicode());
}

QString IntStr(qint64 n) {
    return QString::number(n);
}

QString IntToZeroStr(qint64 n, int width) {
    return SignedZeroPad(UnsignedDigits(n), n < 0, width, true);
}

QString IntToStrWidth(qint64 n, int width) {
    const QString s = IntStr(n);
    return s.size() >= width ? s : QString(width - s.size(), u' ') + s;
}

QString IntToStrLeft(qint64 n, int width) {
    return PadRightStr(IntStr(n), width, u' ', false);
}

QString FloatToStrDec(double x, int decimals) {
    const FloatText f = FormatFloat(x, decimals);
    return f.negative ? QLatin1Char('-') + f.magnitude : f.magnitude;
}

QString FloatToZeroStr(double x, int width, int decimals) {
    const FloatText f = FormatFloat(x, decimals);
    return SignedZeroPad(f.magnitude, f.negative, width, false);
}

QString FloatToStrWidth(double x, int width, int decimals) {
    const QString s = FloatToStrDec(x, decimals);
    width = std::max(width, 0);
    return s.size() >= width ? s.left(width) : QString(width - s.size(), u' ') + s;
}

double CommaStrToFloat(const QString& text) {
    double value = 0;
    if (!ParseFloat(text, value))
        throw EConvertError(QStringLiteral("\"%1\" er ikke et gyldigt tal").arg(text));
    return value;
}

double CommaStrToFloatDef(const QString& text, double def) {
    if (text.isEmpty())
        return 0;
    double value = 0;
    return ParseFloat(text, value) ? value : def;
}

// ---------------------------------------------------------------- CSV

namespace {

QString& CSVSeparatorStore() {
    static QString separators = QStringLiteral(";,");
    return separators;
}

enum CharClass { Separator, Quote, Blank, Other, EndOfLine };
enum Action { Append, Skip, Finish, Fail };

struct Step {
    Action action;
    int next;
};

// States: 1 start of field, 2 inside quotes, 3 a quote seen inside quotes, 4 unquoted field,
// 5 blanks after the closing quote.
constexpr Step Table[5][5] = {
    /* 1 */ {{Finish, 0}, {Skip, 2}, {Append, 1}, {Append, 4}, {Finish, 0}},
    /* 2 */ {{Append, 2}, {Skip, 3}, {Append, 2}, {Append, 2}, {Fail, 0}},
    /* 3 */ {{Finish, 0}, {Append, 2}, {Skip, 5}, {Fail, 0}, {Finish, 0}},
    /* 4 */ {{Finish, 0}, {Append, 4}, {Append, 4}, {Append, 4}, {Finish, 0}},
    /* 5 */ {{Finish, 0}, {Fail, 0}, {Skip, 5}, {Fail, 0}, {Finish, 0}},
};

int ReadCSVField(const QString& separators, QString& line, QString& field) {
    QString value;
    int state = 1;
    for (qsizetype i = 0;; ++i) {
        CharClass cls = EndOfLine;
        if (i < line.size()) {
            const QChar c = line.at(i);
            cls = separators.contains(c) ? Separator : c == u'"' ? Quote : c == u' ' ? Blank : Other;
        }
        const Step step = Table[state - 1][cls];
        switch (step.action) {
        case Append:
            value += line.at(i);
            break;
        case Skip:
            break;
        case Finish:
            line = line.mid(i + 1);
            field = TrimLeftChar(value, u' ');
            return 0;
        case Fail:
            field.clear();
            return static_cast<int>(i + 1);
        }
        state = step.next;
    }
}

} // namespace

QString GetCSVSeparators() {
    return CSVSeparatorStore();
}

void SetCSVSeparators(const QString& separators) {
    CSVSeparatorStore() = separators;
}

int ParseCSVField(QString& line, QString& field) {
    return ReadCSVField(CSVSeparatorStore(), line, field);
}

int NextCSVField(const QString& separators, QString& line, QString& field) {
    return ReadCSVField(separators, line, field);
}

TCSV::TCSV(QString line)
    : Line(std::move(line)) {}

QString TCSV::NextField() {
    QString field;
    if (NextCSVField(Separators, Line, field) != 0)
        throw Exception(QStringLiteral("Fejl i CSV-felt: ") + Line);
    return field;
}

// ---------------------------------------------------------------- switches

namespace {

bool ContinuesName(QChar c) {
    return c.isLetter() || c == u'_';
}

bool EndsInName(const QString& switchText) {
    const QChar last = switchText.back();
    return last.isLetterOrNumber() || last == u'_';
}

// A value that starts with a double quote runs to the next lone quote; "" stands for one quote.
QString Unquote(const QString& rest) {
    QString value;
    for (qsizetype i = 1; i < rest.size(); ++i) {
        if (rest.at(i) != u'"') {
            value += rest.at(i);
        } else if (i + 1 < rest.size() && rest.at(i + 1) == u'"') {
            value += u'"';
            ++i;
        } else {
            break;
        }
    }
    return value;
}

QStringList SplitCommandLine(const QString& commandLine) {
    QStringList arguments;
    QString current;
    bool quoted = false;
    for (const QChar c : commandLine) {
        if (c == u'"')
            quoted = !quoted;
        if (c == u' ' && !quoted) {
            if (!current.isEmpty())
                arguments.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.isEmpty())
        arguments.append(current);
    return arguments;
}

QStringList ProgramArguments() {
    return QCoreApplication::arguments().mid(1);
}

} // namespace

QString GetParamLine() {
    QString line;
    for (const QString& argument : ProgramArguments())
        line += QLatin1Char(' ') + argument;
    return line;
}

QString FindSwitchValue(const QString& switchText, const QStringList& arguments) {
    if (switchText.isEmpty())
        return {};
    const bool endsInName = EndsInName(switchText);
    for (const QString& argument : arguments) {
        if (argument.left(switchText.size()).compare(switchText, Qt::CaseInsensitive) != 0)
            continue;
        const QString rest = argument.mid(switchText.size());
        if (endsInName && !rest.isEmpty() && ContinuesName(rest.front()))
            continue; // a longer switch that begins like this one
        const QString value = rest.startsWith(u'"') ? Unquote(rest) : rest;
        return value.isEmpty() ? switchText : value;
    }
    return {};
}

QString FindSwitchValue(const QString& switchText, const QString& commandLine) {
    return FindSwitchValue(switchText, SplitCommandLine(commandLine));
}

QString GetSwitchValue(const QString& switchText) {
    return FindSwitchValue(switchText, ProgramArguments());
}

bool HasSwitch(const QString& switchText) {
    return HasSwitch(switchText, ProgramArguments());
}

bool HasSwitch(const QString& switchText, const QStringList& arguments) {
    return !switchText.isEmpty() && FindSwitchValue(switchText, arguments) == switchText;
}

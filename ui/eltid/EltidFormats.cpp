// The three timing systems' files, their times and their winds.
#include "ui/eltid/Eltid.h"

#include "model/D_Tekster.h"

#include <QRegularExpression>

#include <array>
#include <charconv>

// ---------------------------------------------------------------- times

namespace {

bool AllDigits(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The digits as a number; the caller has checked them and their count.
qint64 DigitsValue(QStringView digits) {
    qint64 value = 0;
    for (const QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

qint64 PowerOfTen(qsizetype n) {
    qint64 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

qint64 CeilDiv(qint64 value, qint64 divisor) {
    return (value + divisor - 1) / divisor;
}

// A mark's text, written into the time's own characters.
class TMarkText {
public:
    explicit TMarkText(TEltidTid& tid)
        : tid_(tid) {}

    TMarkText& Number(qint64 n) {
        char* at = tid_.chars.data() + tid_.length;
        tid_.length = std::to_chars(at, tid_.chars.data() + tid_.chars.size(), n).ptr - tid_.chars.data();
        return *this;
    }
    TMarkText& TwoDigits(qint64 n) {
        Put(char('0' + n / 10 % 10));
        return Put(char('0' + n % 10));
    }
    TMarkText& Point() { return Put('.'); }

private:
    TMarkText& Put(char c) {
        tid_.chars[std::size_t(tid_.length++)] = c;
        return *this;
    }

    TEltidTid& tid_;
};

// The longest parts a time may have: minutes to four digits, the fraction to nine.
constexpr qsizetype MaxMinuteDigits = 4;
constexpr qsizetype MaxSecondDigits = 5;
constexpr qsizetype MaxFractionDigits = 9;

} // namespace

std::optional<TEltidTid> ConvertEltidTid(QStringView text, bool minutTilSekund) {
    QStringView t = text.trimmed();
    while (t.endsWith(u'*'))
        t.chop(1);
    t = t.trimmed();
    const qsizetype colon = t.indexOf(u':');
    if (t.isEmpty() || (colon >= 0 && t.indexOf(u':', colon + 1) >= 0))
        return std::nullopt; // nothing, or hours
    const QStringView minutes = colon >= 0 ? t.first(colon) : QStringView();
    const QStringView rest = colon >= 0 ? t.sliced(colon + 1) : t;
    qsizetype point = rest.indexOf(u'.');
    if (point < 0)
        point = rest.indexOf(u',');
    const QStringView seconds = point >= 0 ? rest.first(point) : rest;
    const QStringView fraction = point >= 0 ? rest.sliced(point + 1) : QStringView();
    if (!AllDigits(minutes) || !AllDigits(seconds) || !AllDigits(fraction) ||
        (colon >= 0 && minutes.isEmpty()) || seconds.size() + fraction.size() == 0 ||
        minutes.size() > MaxMinuteDigits || seconds.size() > (colon >= 0 ? 2 : MaxSecondDigits) ||
        fraction.size() > MaxFractionDigits)
        return std::nullopt;

    qint64 min = DigitsValue(minutes);
    qint64 sec = DigitsValue(seconds);
    if (colon >= 0 && sec >= 60)
        return std::nullopt;
    // A fraction counts by its digits: two are hundredths, three thousandths; more are rounded up.
    const qsizetype digits = fraction.size();
    const qint64 value = DigitsValue(fraction);
    qint64 hundredths = digits <= 2 ? value * PowerOfTen(2 - digits) : CeilDiv(value, PowerOfTen(digits - 2));
    const qint64 thousandths = digits >= 3 ? CeilDiv(value, PowerOfTen(digits - 3)) % 1000 : 0;
    if (hundredths >= 100) {
        hundredths -= 100;
        if (++sec == 60 && colon >= 0) {
            sec = 0;
            ++min;
        }
    }
    if (sec >= 60 && colon < 0) {
        min += sec / 60;
        sec %= 60;
    }
    if (min > 9999 || min * 10000 + sec * 100 + hundredths == 0)
        return std::nullopt;

    TEltidTid tid;
    tid.Tusindedele = qint32(thousandths);
    TMarkText writer(tid);
    if (minutTilSekund && min > 0) {
        const qint64 total = min * 60 + sec;
        writer.Number(total).Point().TwoDigits(hundredths);
        tid.Mark = qint32(total * 100 + hundredths);
    } else {
        if (min > 0)
            writer.Number(min).Point();
        writer.TwoDigits(sec).Point().TwoDigits(hundredths);
        tid.Mark = qint32(min * 10000 + sec * 100 + hundredths);
    }
    return tid;
}

std::optional<qint32> EltidNumber(QStringView text) {
    text = text.trimmed();
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.sliced(1);
    constexpr qsizetype maxDigits = 9;
    if (text.isEmpty() || text.size() > maxDigits || !AllDigits(text))
        return std::nullopt;
    const auto n = qint32(DigitsValue(text));
    return negative ? -n : n;
}

// ---------------------------------------------------------------- winds and place words

TEltidVind CheckEltidVind(const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    if (t.compare(QStringLiteral("x"), Qt::CaseInsensitive) == 0 || t == u"*")
        return {WindNotMeasured, {}};
    if (t.endsWith(QStringLiteral("m/s"), Qt::CaseInsensitive))
        t = t.chopped(3).trimmed();
    // One digit before a decimal point: ParseVind reads the first two digits as metres and tenths.
    static const QRegularExpression form(QStringLiteral("^[+-]?(\\d[.,]\\d{1,3}|\\d{1,2})$"));
    if (!form.match(t).hasMatch())
        return {std::nullopt,
                QStringLiteral("Vinden \"") + text.trimmed() + QStringLiteral("\" kan ikke bruges")};
    return {ParseVind(t), {}};
}

QString EltidStatusKode(QStringView plac) {
    struct TWord {
        const char16_t* Word;
        const char16_t* Kode;
    };
    static constexpr std::array<TWord, 4> words = {
        {{u"DNF", u"U"}, {u"DQ", u"D"}, {u"DSQ", u"D"}, {u"DNS", u"E"}}};
    const QStringView trimmed = plac.trimmed();
    for (const TWord& word : words) {
        if (trimmed.compare(QStringView(word.Word), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(word.Kode);
    }
    return {};
}

// ---------------------------------------------------------------- Omega

namespace {

// Fixed columns from a 1-based position.
QStringView Column(QStringView line, qsizetype position, qsizetype width) {
    return position > 0 ? line.mid(position - 1, width).trimmed() : QStringView();
}

bool IsTimeChar(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u':' || c == u',';
}

// The time column starts one before its heading; a time longer than the column is read whole.
QStringView TimeColumn(QStringView line, qsizetype position, qsizetype width) {
    if (position <= 0)
        return {};
    const qsizetype start = std::max<qsizetype>(0, position - 2);
    qsizetype end = std::min(line.size(), start + width);
    while (end < line.size() && end > start && IsTimeChar(line[end]) && IsTimeChar(line[end - 1]))
        ++end;
    return start < line.size() ? line.sliced(start, end - start).trimmed() : QStringView();
}

bool IsNumber(QStringView text) {
    return EltidNumber(text).has_value();
}

// The text up to its first blank.
QStringView UpToBlank(QStringView text) {
    const qsizetype blank = text.indexOf(u' ');
    return blank >= 0 ? text.first(blank) : text;
}

const QString OmegaWind = QStringLiteral("WIND SPEED : ");

} // namespace

TOmega::TOmega(TEltidHeat& heat, int cameraIndex)
    : TEltid(heat, cameraIndex, QStringLiteral("Omega-"),
             {QStringLiteral(".COL"), QStringLiteral(".HE"), true}) {}

QString TOmega::GetResultFileName(const QString& baseName) const {
    return baseName + QStringLiteral(".CL");
}

QString TOmega::GetWindFileName(const QString& baseName) const {
    return baseName + QStringLiteral(".CL");
}

void TOmega::BeginParse() {
    state_ = 1;
    rank_ = la_ = bib_ = time_ = 0;
}

void TOmega::ParseResultLine(QStringView line) {
    switch (state_) {
    case 1:
        rank_ = line.indexOf(u"Rank") + 1;
        la_ = line.indexOf(u"La") + 1;
        bib_ = line.indexOf(u"Bib") + 1;
        time_ = line.indexOf(u"Time") + 1;
        if (rank_ > 0 && time_ > 0)
            state_ = 2;
        return;
    case 2:
        if (line.startsWith(u"-----"))
            state_ = 3;
        return;
    default:
        break;
    }
    if (line.trimmed().isEmpty())
        return;
    const QStringView plac = Column(line, rank_, 3);
    const QStringView bane = la_ > 0 ? Column(line, la_, 2) : QStringView(u"0");
    const QStringView startnr = bib_ > 0 ? Column(line, bib_, 6) : QStringView(u"0");
    // Lines of other kinds (the wind, a signature) have no numbers in the lane and bib columns.
    if (plac.isEmpty() || !IsNumber(bane) || !IsNumber(startnr))
        return;
    AddLine(plac, bane, startnr, TimeColumn(line, time_, Omega1000() ? 9 : 8));
}

void TOmega::ParseWindLine(QStringView line) {
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(OmegaWind, Qt::CaseInsensitive))
        return;
    const QStringView wind = UpToBlank(trimmed.sliced(OmegaWind.size()).trimmed());
    if (ParseVind(wind.toString()) != WindNotMeasured)
        TakeVind(wind);
}

// ---------------------------------------------------------------- ALGE

namespace {

// The fields of a line up to max: the text before each separator, and the last one to the end of the
// line whether or not a separator ends it. Not trimmed: the caller trims the fields it uses.
template <std::size_t Max>
std::array<QStringView, Max> Fields(QStringView line, QChar separator) {
    std::array<QStringView, Max> fields{};
    std::size_t n = 0;
    qsizetype start = 0;
    while (n < Max && start <= line.size()) {
        qsizetype end = line.indexOf(separator, start);
        if (end < 0)
            end = line.size();
        fields[n++] = line.sliced(start, end - start);
        start = end + 1;
    }
    return fields;
}

const QString AlgeWind = QStringLiteral("WIND=");

} // namespace

TAlge::TAlge(TEltidHeat& heat, int cameraIndex)
    : TEltid(heat, cameraIndex, QStringLiteral("Alge-"), {QStringLiteral(".TXT"), QString(), false}) {}

QString TAlge::GetResultFileName(const QString& baseName) const {
    return baseName + QStringLiteral(".TXT");
}

QString TAlge::GetWindFileName(const QString& baseName) const {
    return baseName + QStringLiteral(".SAV");
}

void TAlge::ParseResultLine(QStringView line) {
    const std::array<QStringView, 8> fields = Fields<8>(line, u'\t');
    const QStringView plac = fields[0].trimmed();
    if (plac.isEmpty())
        return;
    AddLine(plac, fields[2].trimmed(), fields[1].trimmed(), fields[7].trimmed());
}

void TAlge::ParseWindLine(QStringView line) {
    const QStringView trimmed = line.trimmed();
    if (trimmed.startsWith(AlgeWind, Qt::CaseInsensitive))
        TakeVind(UpToBlank(trimmed.sliced(AlgeWind.size()).trimmed()));
}

// ---------------------------------------------------------------- Lynx

TLynx::TLynx(TEltidHeat& heat, int cameraIndex)
    : TEltid(heat, cameraIndex, QStringLiteral("Lynx-"), {QStringLiteral(".LIF"), QString(), false}) {}

QString TLynx::GetResultFileName(const QString& baseName) const {
    return baseName + QStringLiteral(".LIF");
}

QString TLynx::GetWindFileName(const QString& baseName) const {
    return baseName + QStringLiteral(".LIF");
}

void TLynx::ParseResultLine(QStringView line) {
    if (line_++ == 0)
        return; // the heading
    const std::array<QStringView, 7> fields = Fields<7>(line, u',');
    // An empty field counts as 0, but an empty place is no place.
    const QStringView plac = fields[0].trimmed();
    if (plac.isEmpty())
        return;
    const auto orZero = [](QStringView field) {
        field = field.trimmed();
        return field.isEmpty() ? QStringView(u"0") : field;
    };
    AddLine(plac, orZero(fields[2]), orZero(fields[1]), orZero(fields[6]));
}

void TLynx::ParseWindLine(QStringView line) {
    if (line_++ != 0)
        return;
    const std::array<QStringView, 11> fields = Fields<11>(line, u',');
    const QStringView wind = UpToBlank(fields[4].trimmed());
    if (!wind.isEmpty())
        TakeVind(wind);
}

// ---------------------------------------------------------------- making one

std::unique_ptr<TEltid> MakeEltid(int eltidSystem, TEltidHeat& heat, int cameraIndex) {
    switch (TEltidSystem(eltidSystem)) {
    case TEltidSystem::Alge:
        return std::make_unique<TAlge>(heat, cameraIndex);
    case TEltidSystem::Lynx:
        return std::make_unique<TLynx>(heat, cameraIndex);
    case TEltidSystem::Omega:
    default:
        return std::make_unique<TOmega>(heat, cameraIndex);
    }
}

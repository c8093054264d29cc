#include "foundation/controls/EditUtil.h"

#include "foundation/CodeText.h"
#include "foundation/LxString.h"
#include "foundation/controls/MsgForm.h"
#include "foundation/controls/RvkForms.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

enum class TRangeMessage { OutsideInterval, BelowMinimum, AboveMaximum };

// %1 the value, %2 and %3 the limits.
constexpr TCodeText<TRangeMessage> RangeTexts[] = {
    {TRangeMessage::OutsideInterval, "%1 er ikke indenfor tilladte interval : [%2 - %3]"},
    {TRangeMessage::BelowMinimum, "%1 er mindre end tilladte mindste værdi : %2"},
    {TRangeMessage::AboveMaximum, "%1 er større end tilladte max. værdi : %2"},
};

QString RangeText(TRangeMessage message) {
    return CodeText(RangeTexts, message);
}

// The edits read and show numbers with their locale's separators (Danish "," and "."), whatever the
// float-to-text routines have been set to write.
struct TSeparators {
    QChar decimal;
    QChar group;
};

TSeparators SeparatorsOf(const QLocale& locale) {
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    TSeparators separators{decimal.size() == 1 ? decimal.at(0) : QChar(u'.'), QChar()};
    separators.group = group.size() == 1 && group.at(0) != separators.decimal ? group.at(0)
                       : separators.decimal == u','                           ? QChar(u'.')
                                                                              : QChar(u',');
    return separators;
}

QChar OtherDecimalChar(QChar separator) {
    return separator == u',' ? u'.' : u',';
}

// A number with fixed decimals and the given separator.
QString FixedText(double value, int decimals, QChar separator) {
    QString text = FloatToStrDec(value, decimals);
    const qsizetype point = text.indexOf(GetDecimalSeparator());
    if (point >= 0)
        text[point] = separator;
    return text;
}

// Groups the digits of a whole number's text by three.
QString Grouped(const QString& digits, QChar group) {
    QString result;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += group;
        result += digits.at(i);
    }
    return result;
}

// A number as a message shows it: thousands grouped and at least two decimals.
QString NumberText(double value, int decimals, const TSeparators& separators) {
    const QString text = FixedText(std::fabs(value), std::max(decimals, 2), separators.decimal);
    const qsizetype point = text.indexOf(separators.decimal);
    const QString sign = text.contains(QRegularExpression(QStringLiteral("[1-9]"))) && value < 0
                             ? QStringLiteral("-")
                             : QString();
    return sign + Grouped(text.left(point), separators.group) + text.mid(point);
}

// Raises the range message when value lies outside the limits that are set (a limit of 0 is none);
// shown is the value as the message gives it, show gives the limits.
void CheckRange(double value, const QString& shown, double minValue, double maxValue,
                const std::function<QString(double)>& show) {
    if (minValue != 0 && maxValue != 0) {
        if (value < minValue || value > maxValue)
            throw ERangeError(
                RangeText(TRangeMessage::OutsideInterval).arg(shown, show(minValue), show(maxValue)));
    } else if (minValue != 0) {
        if (value < minValue)
            throw ERangeError(RangeText(TRangeMessage::BelowMinimum).arg(shown, show(minValue)));
    } else if (maxValue != 0 && value > maxValue) {
        throw ERangeError(RangeText(TRangeMessage::AboveMaximum).arg(shown, show(maxValue)));
    }
}

// The text as the number edits read it: blanks trimmed, empty as "0", either decimal character as the
// separator and, with decimals, exactly that many of them.
QString Normalised(const QString& text, int decimals, QChar separator) {
    QString result = TrimBlanks(text);
    if (result.isEmpty())
        result = QStringLiteral("0");
    result.replace(OtherDecimalChar(separator), separator);
    if (decimals <= 0)
        return result;
    qsizetype point = result.indexOf(separator);
    if (point < 0) {
        result += separator;
        point = result.size() - 1;
    }
    const qsizetype given = result.size() - point - 1;
    if (given > decimals)
        throw Exception(QStringLiteral("Der må højst indtastes %1 %2")
                            .arg(decimals)
                            .arg(decimals == 1 ? QStringLiteral("decimal") : QStringLiteral("decimaler")));
    return result + QString(decimals - given, u'0');
}

bool IsWholeNumber(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^-?[0-9]+$"));
    return pattern.match(text).hasMatch();
}

double Power10(int decimals) {
    return std::pow(10.0, std::clamp(decimals, 0, 9));
}

bool IsDigit(QChar key) {
    return key >= u'0' && key <= u'9';
}

// Shows the normal form of a number the user typed, keeping an empty text empty.
void ShowNormalised(QLineEdit& edit, const QString& normalised) {
    if (!TrimBlanks(edit.text()).isEmpty() && edit.text() != normalised)
        edit.setText(normalised);
}

// Set while an edit takes the focus back after a failed check, so that the edit it leaves again does
// not check in turn (two bad edits would otherwise hand the focus to and fro).
bool restoringFocus = false;

} // namespace

// ---------------------------------------------------------------- TBasicEdit

TBasicEdit::TBasicEdit(QWidget* parent)
    : QLineEdit(parent) {}

void TBasicEdit::SetEditAlignment(TAlignment alignment) {
    editAlignment_ = alignment;
    update();
}

QString TBasicEdit::GetDisplayText() const {
    return text();
}

void TBasicEdit::Check() {}

bool TBasicEdit::IsValidChar(QChar key) const {
    return OKCharSet.isEmpty() || OKCharSet.contains(key);
}

void TBasicEdit::SetValueText(const QString& text) {
    setText(text);
}

void TBasicEdit::focusInEvent(QFocusEvent* event) {
    enteredText_ = text();
    QLineEdit::focusInEvent(event);
}

void TBasicEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Only a move to another control of the same window leaves the edit; another window taking the
    // activation (a message box, a pop-up) does not.
    const QWidget* next = QApplication::focusWidget();
    if (restoringFocus || event->reason() == Qt::ActiveWindowFocusReason ||
        event->reason() == Qt::PopupFocusReason || (next && next->window() != window()))
        return;
    const std::optional<QString> failure = FailureOf([this] { Check(); });
    if (!failure) {
        TStdFormBehaviour::PostToForm(this, &TStdFormBehaviour::EditLeft);
        return;
    }
    // The focus comes back first and the message follows, as when the move had been refused.
    QMetaObject::invokeMethod(
        this,
        [this, text = *failure] {
            restoringFocus = true;
            setFocus(Qt::OtherFocusReason);
            restoringFocus = false;
            ShowError(this, text);
        },
        Qt::QueuedConnection);
}

void TBasicEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!shortcut && typed.size() == 1 && typed.at(0).isPrint() && !IsValidChar(typed.at(0))) {
        QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TBasicEdit::paintEvent(QPaintEvent* event) {
    if (hasFocus() || editAlignment_ == TAlignment::taLeftJustify) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QMargins margins = textMargins();
    area = area.adjusted(margins.left() + 2, margins.top(), -margins.right() - 2, -margins.bottom());
    QString shown = GetDisplayText();
    if (echoMode() == QLineEdit::Password || echoMode() == QLineEdit::PasswordEchoOnEdit)
        shown = QString(shown.size(),
                        QChar(style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &option, this)));
    else if (echoMode() == QLineEdit::NoEcho)
        shown.clear();
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(area, HorizontalAlignment(editAlignment_) | Qt::AlignVCenter, shown);
}

// ---------------------------------------------------------------- TStringEdit

QString TStringEdit::GetValue() {
    Check();
    return text();
}

void TStringEdit::SetValue(const QString& value) {
    setText(value);
}

// ---------------------------------------------------------------- number edits

template <typename Value>
void TNumberEdit<Value>::Check() {
    const QString normalised = Normalised(text(), Decimals, SeparatorsOf(locale()).decimal);
    value_ = ValueOf(normalised);
    ShowNormalised(*this, normalised);
}

template <typename Value>
Value TNumberEdit<Value>::GetValue() {
    Check();
    return value_;
}

template <typename Value>
QString TNumberEdit<Value>::GetDisplayText() const {
    if (DisplayFormat.isEmpty())
        return text();
    try {
        return FormatFloatPattern(
            DisplayFormat, Shown(ValueOf(Normalised(text(), Decimals, SeparatorsOf(locale()).decimal))),
            locale());
    } catch (const Exception&) {
        return text(); // a bad text is shown as it stands until it is checked
    }
}

template <typename Value>
bool TNumberEdit<Value>::IsValidChar(QChar key) const {
    if (!TBasicEdit::IsValidChar(key))
        return false;
    // "-" may be typed unless a limit is set and the minimum is not negative.
    const bool negative = !(MinValue >= 0 && (MinValue != 0 || MaxValue != 0));
    return IsDigit(key) || (key == u'-' && negative) || (TakesDecimalChars() && (key == u',' || key == u'.'));
}

template class TNumberEdit<qint32>;
template class TNumberEdit<double>;

qint32 TIntegerEdit::ValueOf(const QString& normalised) const {
    double value = 0;
    if (Decimals > 0) {
        value = std::round(CommaStrToFloat(normalised) * Power10(Decimals));
    } else {
        if (!IsWholeNumber(normalised))
            throw EConvertError(QStringLiteral("\"%1\" er ikke et gyldigt heltal").arg(normalised));
        // Read as a double so that digits far beyond 32 bits give the range message, never a wrap.
        value = CommaStrToFloat(normalised);
    }
    const auto show = [this, separators = SeparatorsOf(locale())](double shown) {
        return Decimals > 0 ? NumberText(shown / Power10(Decimals), Decimals, separators)
                            : IntStr(static_cast<qint64>(shown));
    };
    // The value as typed: digits far beyond 64 bits are shown as they stand, without leading zeros.
    static const QRegularExpression leadingZeros(QStringLiteral("^(-?)0+(?=[0-9])"));
    const QString shown =
        Decimals > 0 ? show(value) : QString(normalised).replace(leadingZeros, QStringLiteral("\\1"));
    CheckRange(value, shown, MinValue, MaxValue, show);
    CheckRange(value, shown, StorageMin, StorageMax, show);
    return static_cast<qint32>(value);
}

double TIntegerEdit::Shown(qint32 value) const {
    return value / Power10(Decimals);
}

void TIntegerEdit::SetValue(qint32 value) {
    value_ = value;
    if (Decimals <= 0) {
        setText(IntStr(value));
        return;
    }
    // Whole and fraction apart, so that no float rounding can change a digit.
    const qint64 scale = static_cast<qint64>(Power10(Decimals));
    const qint64 magnitude = std::abs(static_cast<qint64>(value));
    setText((value < 0 ? QStringLiteral("-") : QString()) + IntStr(magnitude / scale) +
            SeparatorsOf(locale()).decimal + IntToZeroStr(magnitude % scale, Decimals));
}

double TFloatEdit::ValueOf(const QString& normalised) const {
    const double value = CommaStrToFloat(normalised);
    const auto show = [this, separators = SeparatorsOf(locale())](double shown) {
        return NumberText(shown, Decimals, separators);
    };
    CheckRange(value, show(value), MinValue, MaxValue, show);
    return value;
}

void TFloatEdit::SetValue(double value) {
    value_ = value;
    setText(FixedText(value, Decimals, SeparatorsOf(locale()).decimal));
}

// ---------------------------------------------------------------- TIntegerSet

namespace {

// The interval list reads a range whose end lies below its start as nothing at all; a set typed that
// way is refused with the list's own message, at the "-" of the first such range.
void CheckRangesAscend(const QString& text) {
    qsizetype start = 0;
    for (const QString& part : text.split(u',')) {
        const qsizetype dash = part.indexOf(u'-');
        if (dash > 0 && part.mid(dash + 1).toLongLong() < part.left(dash).toLongLong())
            throw Exception(QStringLiteral("Ugyldigt talinterval i \"%1\" i position %2")
                                .arg(text)
                                .arg(start + dash + 1));
        start += part.size() + 1;
    }
}

} // namespace

const TIntervalList& TIntegerSet::GetValue() {
    Check();
    return intervals_;
}

void TIntegerSet::Check() {
    const QString current = text();
    if (checkedText_ == current)
        return;
    checkedText_.reset();
    if (current.isEmpty()) {
        intervals_.Clear();
    } else {
        intervals_.SetAsText(current);
        CheckRangesAscend(current);
        setText(intervals_.AsText());
    }
    checkedText_ = text();
}

bool TIntegerSet::IsValidChar(QChar key) const {
    return TStringEdit::IsValidChar(key) && (IsDigit(key) || key == u'-' || key == u',');
}

void TIntegerSet::SetValueText(const QString& text) {
    setText(text);
    Check();
}

// ---------------------------------------------------------------- float patterns

namespace {

// The sections of a pattern, split at ";" outside quotes.
QStringList PatternSections(const QString& format) {
    QStringList sections(1);
    QChar quote;
    for (const QChar c : format) {
        if (!quote.isNull()) {
            quote = c == quote ? QChar() : quote;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections.append(QString());
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

struct TPattern {
    QString prefix; // literals before the first digit placeholder
    QString suffix; // every other literal
    int wholeZeros{0};
    int fractionZeros{0};
    int fractionDigits{0};
    bool grouping{false};
};

TPattern ReadPattern(const QString& section) {
    TPattern pattern;
    bool point = false;
    bool digitSeen = false;
    QChar quote;
    for (const QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (digitSeen ? pattern.suffix : pattern.prefix) += c;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'0' || c == u'#') {
            digitSeen = true;
            if (point) {
                ++pattern.fractionDigits;
                pattern.fractionZeros = c == u'0' ? pattern.fractionDigits : pattern.fractionZeros;
            } else if (c == u'0') {
                ++pattern.wholeZeros;
            }
        } else if (c == u'.' && !point) {
            point = true;
        } else if (c == u',' && !point) {
            pattern.grouping = true;
        } else {
            (digitSeen ? pattern.suffix : pattern.prefix) += c;
        }
    }
    return pattern;
}

} // namespace

QString FormatFloatPattern(const QString& format, double value, const QLocale& locale) {
    const QStringList sections = PatternSections(format);
    QString section = sections.at(0);
    bool signShown = value < 0;
    if (value < 0 && sections.size() >= 2 && !sections.at(1).isEmpty()) {
        section = sections.at(1);
        signShown = false;
    } else if (value == 0 && sections.size() >= 3 && !sections.at(2).isEmpty()) {
        section = sections.at(2);
    }
    const TPattern pattern = ReadPattern(section);
    const TSeparators separators = SeparatorsOf(locale);
    const QChar separator = separators.decimal;
    const QString digits = FixedText(std::fabs(value), pattern.fractionDigits, separator);
    const qsizetype point = digits.indexOf(separator);
    QString whole = point < 0 ? digits : digits.left(point);
    QString fraction = point < 0 ? QString() : digits.mid(point + 1);
    while (fraction.size() > pattern.fractionZeros && fraction.endsWith(u'0'))
        fraction.chop(1);
    if (whole == QStringLiteral("0") && pattern.wholeZeros == 0)
        whole.clear();
    if (whole.size() < pattern.wholeZeros)
        whole = QString(pattern.wholeZeros - whole.size(), u'0') + whole;
    if (pattern.grouping)
        whole = Grouped(whole, separators.group);
    const bool nonZero = digits.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return (signShown && nonZero ? QStringLiteral("-") : QString()) + pattern.prefix + whole +
           (fraction.isEmpty() ? QString() : separator + fraction) + pattern.suffix;
}

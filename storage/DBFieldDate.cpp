#include "storage/DBFieldDate.h"

#include "foundation/LxString.h"

#include <cmath>

namespace {

constexpr qint64 MsPerDay = 86400000;

const QDate& Epoch() {
    static const QDate epoch(1899, 12, 30);
    return epoch;
}

QString TwoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Whole days and milliseconds of the day, the milliseconds carried into the next day when they round up.
bool Split(TDateTime value, qint64& days, qint64& ms) {
    if (!IsValidDateTime(value))
        return false;
    const double whole = std::trunc(value);
    days = static_cast<qint64>(whole);
    ms = std::llround(std::fabs(value - whole) * MsPerDay);
    if (ms >= MsPerDay) {
        ms -= MsPerDay;
        ++days;
    }
    return true;
}

// Reads up to maxDigits digits at pos; false when there is none.
bool ReadNumber(const QString& text, qsizetype& pos, int maxDigits, int& number, int& digits) {
    number = 0;
    digits = 0;
    while (pos < text.size() && digits < maxDigits && text.at(pos).unicode() >= u'0' &&
           text.at(pos).unicode() <= u'9') {
        number = number * 10 + (text.at(pos).unicode() - u'0');
        ++digits;
        ++pos;
    }
    return digits > 0;
}

bool IsDateSeparator(QChar c) {
    return c == u'-' || c == u'.' || c == u'/';
}

bool ParseDate(const QString& text, qsizetype& pos, QDate& date) {
    int day = 0;
    int month = 0;
    int year = 0;
    int digits = 0;
    if (!ReadNumber(text, pos, 2, day, digits) || pos >= text.size() || !IsDateSeparator(text.at(pos)))
        return false;
    const QChar separator = text.at(pos++);
    if (!ReadNumber(text, pos, 2, month, digits) || pos >= text.size() || text.at(pos) != separator)
        return false;
    ++pos;
    if (!ReadNumber(text, pos, 4, year, digits) || (digits != 2 && digits != 4))
        return false;
    if (digits == 2)
        year += year >= 50 ? 1900 : 2000;
    date = QDate(year, month, day);
    return date.isValid();
}

bool ParseTime(const QString& text, qsizetype& pos, QTime& time) {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int digits = 0;
    if (!ReadNumber(text, pos, 2, hour, digits) || pos >= text.size() || text.at(pos) != u':')
        return false;
    ++pos;
    if (!ReadNumber(text, pos, 2, minute, digits))
        return false;
    if (pos < text.size() && text.at(pos) == u':') {
        ++pos;
        if (!ReadNumber(text, pos, 2, second, digits))
            return false;
    }
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    time = QTime(hour, minute, second);
    return true;
}

} // namespace

bool IsValidDateTime(TDateTime value) {
    return std::isfinite(value) && value > MinDateTime - 1.0 && value < MaxDateTime;
}

TDateTime QDateToDateTime(const QDate& date) {
    return date.isValid() ? static_cast<TDateTime>(Epoch().daysTo(date)) : EmptyDateTime;
}

TDateTime QTimeToDateTime(const QTime& time) {
    return time.isValid() ? static_cast<TDateTime>(time.msecsSinceStartOfDay()) / MsPerDay : 0.0;
}

TDateTime EncodeDateTime(const QDate& date, const QTime& time) {
    if (!date.isValid())
        return EmptyDateTime;
    const TDateTime days = QDateToDateTime(date);
    const TDateTime fraction = QTimeToDateTime(time);
    return days >= 0 ? days + fraction : days - fraction;
}

TDateTime QDateTimeToDateTime(const QDateTime& dateTime) {
    return dateTime.isValid() ? EncodeDateTime(dateTime.date(), dateTime.time()) : EmptyDateTime;
}

QDate DateTimeToQDate(TDateTime value) {
    qint64 days = 0;
    qint64 ms = 0;
    if (!Split(value, days, ms))
        return {};
    return Epoch().addDays(days);
}

QTime DateTimeToQTime(TDateTime value) {
    qint64 days = 0;
    qint64 ms = 0;
    if (!Split(value, days, ms))
        return {};
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

QDateTime DateTimeToQDateTime(TDateTime value) {
    const QDate date = DateTimeToQDate(value);
    if (!date.isValid())
        return {};
    return QDateTime(date, DateTimeToQTime(value));
}

TDateTime NowDateTime() {
    return QDateTimeToDateTime(QDateTime::currentDateTime());
}

QString DateToStr(TDateTime value) {
    const QDate date = DateTimeToQDate(value);
    if (!date.isValid())
        return {};
    return TwoDigits(date.day()) + u'-' + TwoDigits(date.month()) + u'-' +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString TimeToStr(TDateTime value) {
    const QTime time = DateTimeToQTime(value);
    if (!time.isValid())
        return {};
    return TwoDigits(time.hour()) + u':' + TwoDigits(time.minute()) + u':' + TwoDigits(time.second());
}

QString DateTimeToStr(TDateTime value) {
    const QString date = DateToStr(value);
    if (date.isEmpty())
        return {};
    const QTime time = DateTimeToQTime(value);
    return time.msecsSinceStartOfDay() == 0 ? date : date + u' ' + TimeToStr(value);
}

bool TryStrToDateTime(const QString& text, TDateTime& value) {
    const QString s = TrimBlanks(text);
    qsizetype pos = 0;
    QDate date;
    QTime time(0, 0);
    if (ParseDate(s, pos, date)) {
        if (pos < s.size()) {
            if (s.at(pos) != u' ')
                return false;
            while (pos < s.size() && s.at(pos) == u' ')
                ++pos;
            if (!ParseTime(s, pos, time))
                return false;
        }
        if (pos != s.size())
            return false;
        value = EncodeDateTime(date, time);
        return true;
    }
    pos = 0;
    if (!ParseTime(s, pos, time) || pos != s.size())
        return false;
    value = QTimeToDateTime(time);
    return true;
}

TDateTime StrToDateTime(const QString& text) {
    TDateTime value = 0;
    if (!TryStrToDateTime(text, value))
        throw EConvertError(QStringLiteral("\"%1\" er ikke en gyldig dato eller tid").arg(text));
    return value;
}

#include "print/PrUtilFormat.h"

#include <array>

namespace {

constexpr std::array<const char16_t*, 7> ShortDayNames = {u"søn", u"man", u"tir", u"ons",
                                                          u"tor", u"fre", u"lør"};
constexpr std::array<const char16_t*, 7> LongDayNames = {u"søndag",  u"mandag", u"tirsdag", u"onsdag",
                                                         u"torsdag", u"fredag", u"lørdag"};
constexpr std::array<const char16_t*, 12> ShortMonthNames = {u"jan", u"feb", u"mar", u"apr", u"maj", u"jun",
                                                             u"jul", u"aug", u"sep", u"okt", u"nov", u"dec"};
constexpr std::array<const char16_t*, 12> LongMonthNames = {
    u"januar", u"februar", u"marts",     u"april",   u"maj",      u"juni",
    u"juli",   u"august",  u"september", u"oktober", u"november", u"december"};

constexpr char16_t ShortDateFormat[] = u"dd/mm/yyyy";
constexpr char16_t LongDateFormat[] = u"d. mmmm yyyy";
constexpr char16_t ShortTimeFormat[] = u"hh:nn";
constexpr char16_t LongTimeFormat[] = u"hh:nn:ss";
constexpr QChar DateSeparator = u'-';
constexpr QChar TimeSeparator = u':';

class TFormatter {
public:
    explicit TFormatter(const QDateTime& value)
        : date_(value.date())
        , time_(value.time()) {}

    void Append(const QString& pattern) {
        qsizetype i = 0;
        while (i < pattern.size()) {
            const QChar c = pattern.at(i);
            const QChar lower = c.toLower();
            const qsizetype run = RunOf(pattern, i, lower);
            if (c == u'\'' || c == u'"') {
                const qsizetype close = pattern.indexOf(c, i + 1);
                const qsizetype end = close < 0 ? pattern.size() : close;
                out_ += pattern.mid(i + 1, end - i - 1);
                i = end + 1;
                continue;
            }
            if (lower == u'a' && AmPm(pattern, i))
                continue;
            if (Specifier(lower, run)) {
                i += run;
            } else {
                out_ += c;
                ++i;
            }
        }
    }

    const QString& Result() const { return out_; }

private:
    static qsizetype RunOf(const QString& pattern, qsizetype from, QChar lower) {
        qsizetype end = from;
        while (end < pattern.size() && pattern.at(end).toLower() == lower)
            ++end;
        return end - from;
    }

    static QString Two(int n) { return QString::number(n).rightJustified(2, u'0'); }

    // Writes the specifier of `run` times `c`; false when c is no specifier. An "m" after an hour (with
    // separators between) is minutes.
    bool Specifier(QChar c, qsizetype run) {
        const bool minutes = c == u'm' && afterHour_;
        if (c.isLetter())
            afterHour_ = false;
        switch (c.unicode()) {
        case u'd':
            if (run >= 6)
                Append(QString::fromUtf16(LongDateFormat));
            else if (run == 5)
                Append(QString::fromUtf16(ShortDateFormat));
            else if (run == 4)
                out_ += QString::fromUtf16(LongDayNames[date_.dayOfWeek() % 7]);
            else if (run == 3)
                out_ += QString::fromUtf16(ShortDayNames[date_.dayOfWeek() % 7]);
            else
                out_ += run == 2 ? Two(date_.day()) : QString::number(date_.day());
            return true;
        case u'm':
            if (minutes)
                out_ += run >= 2 ? Two(time_.minute()) : QString::number(time_.minute());
            else if (run >= 4)
                out_ += QString::fromUtf16(LongMonthNames[date_.month() - 1]);
            else if (run == 3)
                out_ += QString::fromUtf16(ShortMonthNames[date_.month() - 1]);
            else
                out_ += run == 2 ? Two(date_.month()) : QString::number(date_.month());
            return true;
        case u'y':
            out_ +=
                run >= 3 ? QString::number(date_.year()).rightJustified(4, u'0') : Two(date_.year() % 100);
            return true;
        case u'h':
            out_ += run >= 2 ? Two(time_.hour()) : QString::number(time_.hour());
            afterHour_ = true;
            return true;
        case u'n':
            out_ += run >= 2 ? Two(time_.minute()) : QString::number(time_.minute());
            return true;
        case u's':
            out_ += run >= 2 ? Two(time_.second()) : QString::number(time_.second());
            return true;
        case u'z':
            out_ += run >= 3 ? QString::number(time_.msec()).rightJustified(3, u'0')
                             : QString::number(time_.msec());
            return true;
        case u't':
            Append(QString::fromUtf16(run >= 2 ? LongTimeFormat : ShortTimeFormat));
            return true;
        case u'c':
            Append(QString::fromUtf16(ShortDateFormat));
            if (time_ != QTime(0, 0)) {
                out_ += u' ';
                Append(QString::fromUtf16(LongTimeFormat));
            }
            return true;
        case u'/':
            out_ += DateSeparator;
            return true;
        case u':':
            out_ += TimeSeparator;
            return true;
        default:
            return false;
        }
    }

    // "am/pm", "a/p" or "ampm" at i: written, i moved past it.
    bool AmPm(const QString& pattern, qsizetype& i) {
        const bool pm = time_.hour() >= 12;
        const auto at = [&](QStringView word) {
            return pattern.mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
        };
        if (at(u"am/pm")) {
            out_ += pm ? pattern.mid(i + 3, 2) : pattern.mid(i, 2);
            i += 5;
        } else if (at(u"a/p")) {
            out_ += pm ? pattern.mid(i + 2, 1) : pattern.mid(i, 1);
            i += 3;
        } else if (at(u"ampm")) {
            out_ += pm ? QStringLiteral("PM") : QStringLiteral("AM");
            i += 4;
        } else {
            return false;
        }
        return true;
    }

    QDate date_;
    QTime time_;
    QString out_;
    bool afterHour_ = false;
};

} // namespace

QString FormatDateTime(const QString& pattern, const QDateTime& value) {
    TFormatter formatter(value);
    formatter.Append(pattern);
    return formatter.Result();
}

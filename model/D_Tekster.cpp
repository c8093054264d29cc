#include "model/D_Tekster.h"

#include "foundation/LxString.h"
#include "model/D_DBDefFields.h"
#include "model/D_StaevneSystemData.h"
#include "storage/DBFieldDate.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

bool Engelsk() {
    return CurrentSystemData().Engelsk;
}

QString Choose(const char16_t* english, const char16_t* danish) {
    return QString::fromUtf16(Engelsk() ? english : danish);
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

constexpr int MinutSekunder = 60;
const QString IkkeEtTal = QStringLiteral("\"%1\" er ikke et gyldigt tal");

enum class IntText { Ok, NotNumber, TooLarge };

// An optional sign and decimal digits, nothing else; a number outside 32 bits is refused, not wrapped.
IntText ToInt32(const QString& text, qint32& value) {
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && text.at(0) == u'-';
    if (!text.isEmpty() && (text.at(0) == u'-' || text.at(0) == u'+'))
        ++i;
    if (i == text.size())
        return IntText::NotNumber;
    const qint64 limit =
        negative ? qint64(std::numeric_limits<qint32>::max()) + 1 : std::numeric_limits<qint32>::max();
    qint64 n = 0;
    bool tooLarge = false;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text.at(i)))
            return IntText::NotNumber;
        if (!tooLarge) {
            n = n * 10 + (text.at(i).unicode() - u'0');
            tooLarge = n > limit;
        }
    }
    if (tooLarge)
        return IntText::TooLarge;
    value = static_cast<qint32>(negative ? -n : n);
    return IntText::Ok;
}

// The number in text; else raises tooLarge for a number outside 32 bits and notNumber for any other text,
// each with shown in place of %1.
qint32 ToInt32OrRaise(const QString& text, const QString& shown, const QString& tooLarge,
                      const QString& notNumber) {
    qint32 value = 0;
    switch (ToInt32(text, value)) {
    case IntText::Ok:
        return value;
    case IntText::TooLarge:
        throw EConvertError(tooLarge.arg(shown));
    case IntText::NotNumber:
        break;
    }
    throw EConvertError(notNumber.arg(shown));
}

qint32 ToInt32Def(const QString& text, qint32 def) {
    qint32 value = 0;
    return ToInt32(text, value) == IntText::Ok ? value : def;
}

// The magnitude of a negative (tenths) value in hundredths; digits hhmmsscc either way.
qint64 UnpackTid(qint32 tid) {
    return tid < 0 ? -qint64(tid) * 10 : qint64(tid);
}

struct Tid {
    qint64 h, m, s, cc;
};

Tid SplitTid(qint32 tid) {
    const qint64 v = UnpackTid(tid);
    return {v / 1000000, v / 10000 % 100, v / 100 % 100, v % 100};
}

// The calendar year of a stored date; a damaged date (a block may hold anything) counts as none.
int YearOfDateTime(TDateTime dateTime) {
    const QDate date = DateTimeToQDate(dateTime);
    return date.isValid() ? date.year() : DateTimeToQDate(EmptyDateTime).year();
}

// Integer digits and decimals of a mark, with "." as point.
QString PlainResultat(qint32 resultat) {
    const qint64 v = resultat;
    if (v >= 0)
        return QStringLiteral("%1.%2").arg(v / 100).arg(v % 100, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1.%2").arg(-v / 10).arg(-v % 10);
}

bool IsDigits(QStringView text) {
    return std::all_of(text.begin(), text.end(), IsDigit);
}

// In a time of several parts the leading part counts freely and the last is the decimals; those between
// are minutes and seconds, two digits each below 60, as their digits are packed so.
void CheckTidParts(const QString& text, const QString& shown) {
    static const QRegularExpression separators(QStringLiteral("[.,:]"));
    const QStringList parts = QString(text).remove(u'-').split(separators);
    for (qsizetype i = 1; i + 1 < parts.size(); ++i) {
        const QString& part = parts.at(i);
        // Any other character is no number at all, which the number's own reading tells.
        if (!IsDigits(part))
            continue;
        if (part.size() != 2 || part.toInt() >= MinutSekunder)
            throw EConvertError(
                QStringLiteral(
                    "\"%1\" er ikke en gyldig tid: minutter og sekunder skrives med to cifre under 60")
                    .arg(shown));
    }
}

} // namespace

// ---------------------------------------------------------------- days, yes/no, codes, rounds

QString GetShortDayName(const QDate& date) {
    static constexpr std::array<const char16_t*, 7> English = {u"Mon", u"Tues", u"Wed", u"Thu",
                                                               u"Fri", u"Sat",  u"Sun"};
    static constexpr std::array<const char16_t*, 7> Danish = {u"Man", u"Tirs", u"Ons", u"Tors",
                                                              u"Fre", u"Lør",  u"Søn"};
    if (!date.isValid())
        return {};
    const auto day = static_cast<std::size_t>(date.dayOfWeek() - 1);
    return Choose(English[day], Danish[day]);
}

QString GetLongDayName(const QDate& date) {
    static constexpr std::array<const char16_t*, 7> English = {
        u"Monday", u"Tuesday", u"Wedneysday", u"Thursday", u"Friday", u"Saturday", u"Sunday"};
    if (!date.isValid())
        return {};
    return Engelsk() ? QString::fromUtf16(English[static_cast<std::size_t>(date.dayOfWeek() - 1)])
                     : GetShortDayName(date);
}

QString FormatJaNej(bool value) {
    return value ? QStringLiteral("Ja") : QStringLiteral("Nej");
}

bool ParseJaNej(const QString& text) {
    const QString t = text.toUpper();
    return t == u"Y" || t == u"YES" || t == u"J" || t == u"JA" || t == u"TRUE";
}

QString FormatResKode(const QString& kode) {
    const QString k = kode.trimmed().toUpper();
    if (k == u"A" || k == u"E")
        return QStringLiteral("DNS");
    if (k == u"D")
        return QStringLiteral("DQ");
    if (k == u"U")
        return QStringLiteral("DNF");
    if (k == u"V")
        return Choose(u"WAIT", u"Venter");
    return {};
}

QString FormatResKodeTekst(const QString& kode) {
    const QString k = kode.trimmed().toUpper();
    if (k == u"A")
        return QStringLiteral("Afbud");
    if (k == u"D")
        return QStringLiteral("Disk");
    if (k == u"E")
        return QStringLiteral("Ej mødt");
    if (k == u"U")
        return QStringLiteral("Udgået");
    if (k == u"V")
        return QStringLiteral("Venter");
    return {};
}

QString ParseResKode(const QString& text) {
    const QString t = text.toUpper();
    if (t == u"A" || t == u"AFBUD")
        return QStringLiteral("A");
    if (t == u"E" || t == u"EJ MØDT")
        return QStringLiteral("E");
    if (t == u"D" || t == u"DISK")
        return QStringLiteral("D");
    if (t == u"U" || t == u"UDGÅET")
        return QStringLiteral("U");
    if (t == u"V" || t == u"VENTER")
        return QStringLiteral("V");
    return {};
}

QString FormatUdenforKonk(const QString& kode) {
    // Blanks only: the character of code 1 is a code of its own.
    const QString k = TrimBlanks(kode).toUpper();
    if (k == u"UH" || k == u"-" || k == QChar(1))
        return Choose(u"OOT", u"UH");
    if (k == u"UK" || k == u"U" || k == u"OOC")
        return Choose(u"OOC", u"UK");
    return {};
}

QString ParseUdenforKonk(const QString& text) {
    const QString t = text.toUpper();
    if (t == u"U" || t == u"UK" || t == u"OOC")
        return QStringLiteral("U");
    if ((!t.isEmpty() && t.at(0) == QChar(1)) || t == u"-" || t == u"UH" || t == u"OOT")
        return QStringLiteral("-");
    return {};
}

bool IsKodeBlank(const QString& kode) {
    return kode.isEmpty() || kode == u" ";
}

bool IsResKodeStarted(const QString& kode) {
    if (kode.isEmpty())
        return true;
    const QChar c = kode.at(0).toUpper();
    return c == u' ' || c == u'D' || c == u'U';
}

bool IsResKodeDiskUdgaaet(const QString& kode) {
    if (kode.isEmpty())
        return false;
    const QChar c = kode.at(0).toUpper();
    return c == u'D' || c == u'U';
}

bool IsResKodeAfbud(const QString& kode) {
    return kode == u"A";
}

bool IsResKodeEjMoedt(const QString& kode) {
    return kode == u"E";
}

bool IsResKodeVenter(const QString& kode) {
    return kode == u"V";
}

QString GetRundeNavn(const QString& runde) {
    const QChar c = runde.isEmpty() ? QChar() : runde.at(0);
    if (c == u'I')
        return Choose(u"round 1", u"indledende");
    if (c == u'K')
        return Choose(u"qualification", u"kvalifikation");
    if (c == u'M')
        return Choose(u"round 2", u"mellemheats");
    if (c == u'S')
        return Choose(u"semi finals", u"semifinale");
    return Choose(u"final", u"finale");
}

QString FormatSerieNr(qint32 serieNr) {
    return serieNr >= 1 ? IntStr(serieNr) + u':' : QString();
}

qint32 ParseSerieNr(const QString& text) {
    return ToInt32Def(text.trimmed(), 0);
}

// ---------------------------------------------------------------- marks

QString FormatResultat(qint32 restype, qint32 resultat) {
    if (IsTalRestype(restype))
        return IntStr(resultat);
    const QString plain = PlainResultat(resultat);
    const QChar separator = GetDecimalSeparator();
    if (separator != u'.')
        return QString(plain).replace(plain.indexOf(u'.'), 1, separator);
    // Minutes and hours get their own full stops: 1.05.23 for 1:05.23.
    const qsizetype point = plain.indexOf(u'.');
    const QString digits = plain.left(point);
    const QString rest = plain.mid(point);
    switch (digits.size()) {
    case 3:
        return digits.left(1) + u'.' + digits.mid(1) + rest;
    case 4:
        return digits.left(2) + u'.' + digits.mid(2) + rest;
    case 5:
        return digits.left(1) + u'.' + digits.mid(1, 2) + u'.' + digits.mid(3) + rest;
    case 6:
        return digits.left(2) + u'.' + digits.mid(2, 2) + u'.' + digits.mid(4) + rest;
    default:
        return plain;
    }
}

qint32 ParseResultat(qint32 restype, const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty() || t.toUpper() == u"X")
        return 0;
    if (!IsTalRestype(restype)) {
        const qsizetype lastSeparator = std::max(t.lastIndexOf(u','), t.lastIndexOf(u'.'));
        const bool oneDecimal = t.size() - (lastSeparator + 1) == 1;
        if (restype == RestypeTid) {
            CheckTidParts(t, text.trimmed());
            bool tenths = oneDecimal;
            if (t.contains(u'-')) {
                t.remove(u'-');
                tenths = true;
            }
            if (tenths)
                t.prepend(u'-');
        } else if (oneDecimal && lastSeparator >= 0) {
            t.append(u'0');
        }
    }
    return ToInt32OrRaise(RemoveResultatSeparators(t), text.trimmed(),
                          QStringLiteral("Resultatet \"%1\" er for stort"),
                          QStringLiteral("\"%1\" er ikke et gyldigt resultat"));
}

QString RemoveResultatSeparators(const QString& text) {
    QString t = text;
    t.remove(u',');
    t.remove(u'.');
    t.remove(u':');
    return t;
}

QString FormatOvelseResultat(qint32 ovtype, qint32 restype, bool hasVindmaaling, qint32 resultat,
                             qint32 vind) {
    // A 0 in a field event is a foul, shown as such and without wind.
    if (resultat == 0 && !IsTidOvtype(ovtype))
        return QStringLiteral("X");
    const QString text = FormatResultat(restype, resultat);
    if (text.isEmpty() || vind == NoWindMarking || !hasVindmaaling)
        return text;
    if (vind == WindNotMeasured)
        return u'x' + text;
    if (!IsLegalVind(vind))
        return u'w' + text;
    return text;
}

QString FormatOvelseResultatNoWind(qint32 ovtype, qint32 restype, qint32 resultat) {
    return FormatOvelseResultat(ovtype, restype, false, resultat, NoWindMarking);
}

QString FormatOvelseResultatTenths(qint32 ovtype, qint32 restype, qint32 resultat) {
    return FormatOvelseResultatNoWind(ovtype, restype, resultat).chopped(1);
}

QString FormatOvelseInteger(qint32 value) {
    return IntStr(value);
}

qint32 ParseOvelseInteger(const QString& text) {
    return ToInt32OrRaise(text.trimmed(), text.trimmed(), QStringLiteral("\"%1\" er et for stort tal"),
                          IkkeEtTal);
}

QString FormatPoint(double points) {
    if (CurrentSystemData().VT)
        return FloatToStrDec(points, 0) + u'p';
    const double hundredths = std::round((points - std::trunc(points)) * 100);
    if (hundredths == 0)
        return FloatToStrDec(points, 0) + u'p';
    if (hundredths == 50)
        return IntStr(static_cast<qint64>(std::trunc(points))) + QStringLiteral("½p");
    return FloatToStrDec(points, 1) + u'p';
}

// ---------------------------------------------------------------- packed times

QString FormatTidHHMM(qint32 tid) {
    const QString digits = QStringLiteral("%1").arg(UnpackTid(tid), 8, 10, QLatin1Char('0'));
    return digits.left(2) + u':' + digits.mid(2, 2);
}

QTime TidToDateTime(qint32 tid) {
    const Tid t = SplitTid(tid);
    if (t.h > 23)
        return {};
    return QTime(int(t.h), int(t.m), int(t.s), int(t.cc));
}

qint32 DateTimeToTid(const QTime& time) {
    if (!time.isValid())
        return 0;
    return time.hour() * 1000000 + time.minute() * 10000 + time.second() * 100 + time.msec() % 100;
}

qint64 TidToHundredths(qint32 tid) {
    const Tid t = SplitTid(tid);
    return t.h * 360000 + t.m * 6000 + t.s * 100 + t.cc;
}

qint64 HundredthsToTid(qint64 hundredths) {
    const qint64 n = hundredths;
    return n / 360000 * 1000000 + n % 360000 / 6000 * 10000 + n % 6000 / 100 * 100 + n % 100;
}

double TidToSeconds(qint32 tid) {
    const Tid t = SplitTid(tid);
    return double(t.h * 3600 + t.m * 60 + t.s) + double(t.cc) / 100;
}

double CalcKmPerHour(qint32 tid, double metres) {
    if (tid == 0 || metres == 0)
        return 0;
    return metres / TidToSeconds(tid) * 3.6;
}

// ---------------------------------------------------------------- wind, attempts

QString FormatVind(qint32 vind) {
    if (vind == WindNotMeasured)
        return QStringLiteral("x");
    const qint64 magnitude = std::abs(qint64(vind));
    return QChar(vind < 0 ? u'-' : u'+') + IntStr(magnitude / 10) + GetDecimalSeparator() +
           IntStr(magnitude % 10);
}

QString FormatVindMs(qint32 vind) {
    const QString text = FormatVind(vind);
    return text == u"x" || text == u"*" ? text : text + QStringLiteral("m/s");
}

qint16 ParseVind(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t == u"x" || t == u"*")
        return WindNotMeasured;
    QChar sign;
    int digits = 0;
    qint16 value = 0;
    bool remainder = false;
    for (const QChar c : t) {
        if ((c == u'+' || c == u'-') && sign.isNull()) {
            sign = c;
        } else if (IsDigit(c)) {
            // Two digits make the tenths; the rest only tells whether to round up.
            const int digit = c.unicode() - u'0';
            if (digits < 2)
                value = static_cast<qint16>(value * 10 + digit);
            else if (digit != 0)
                remainder = true;
            ++digits;
        }
    }
    if (digits == 0)
        return WindNotMeasured;
    if (remainder && sign != u'-')
        ++value;
    return sign == u'-' ? static_cast<qint16>(-value) : value;
}

qint16 ParseVindTekst(const QString& text) {
    static const QRegularExpression wind(QStringLiteral("^[+-]?\\s*(\\d+([.,]\\d*)?|[.,]\\d+)\\s*(m/s)?$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QString t = text.trimmed();
    const bool noReading = t.isEmpty() || t == u"*" || t.compare(u"x", Qt::CaseInsensitive) == 0;
    if (!noReading && !wind.match(t).hasMatch())
        throw EConvertError(IkkeEtTal.arg(t));
    return noReading ? WindNotMeasured : ParseVind(t);
}

namespace {
QString MapForsogKode(qint32 kode, QChar pass, QChar failure, QChar clearance) {
    QString text = IntToStrLeft(kode, 3);
    for (QChar& c : text)
        c = c == u'1' ? pass : c == u'2' ? failure : c == u'3' ? clearance : QChar(u' ');
    return text;
}
} // namespace

QString FormatForsogKode(qint32 kode) {
    return MapForsogKode(kode, u'*', u'-', u'+').trimmed();
}

QString FormatForsogKodeXO(qint32 kode) {
    return MapForsogKode(kode, u'-', u'X', u'O');
}

qint32 ParseForsogKode(const QString& text) {
    QString digits = text;
    for (QChar& c : digits)
        c = c == u'*' ? u'1' : c == u'+' ? u'3' : c == u'-' ? u'2' : u'0';
    return ToInt32Def(digits, 0);
}

// ---------------------------------------------------------------- people

int CalcAlder(int aargang) {
    return CalcAlder(aargang, YearOfDateTime(CurrentSystemData().Dato));
}

int CalcAlder(int aargang, int year) {
    if (aargang == 0)
        return 0;
    if (aargang >= 1 && aargang <= 99)
        aargang += 2000 + aargang <= year ? 2000 : 1900;
    const int alder = year - aargang;
    return alder >= 0 && alder <= 125 ? alder : 0;
}

QString FormatSurnameFirst(const QString& name) {
    QString rest = name.trimmed();
    QString suffix;
    if (rest.endsWith(u')')) {
        const qsizetype open = rest.lastIndexOf(u'(');
        if (open >= 0) {
            suffix = rest.mid(open).trimmed();
            rest = rest.left(open).trimmed();
        }
    }
    const qsizetype lastBlank = rest.lastIndexOf(u' ');
    QStringList parts{rest.mid(lastBlank + 1).toUpper()};
    const QString firstNames = lastBlank < 0 ? QString() : rest.left(lastBlank).trimmed();
    if (!firstNames.isEmpty())
        parts.append(firstNames);
    if (!suffix.isEmpty())
        parts.append(suffix);
    parts.removeAll(QString());
    return parts.join(u' ');
}

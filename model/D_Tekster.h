#pragma once
// Texts of marks, times, wind, status codes and rounds, and their parsers.
#include <QDate>
#include <QString>
#include <QTime>

// The texts of stored marks, times, wind, codes and rounds, and the parsers of typed ones. Routines that
// choose between English and Danish words follow the current meet's Engelsk setting.
//
// A mark is a 32-bit integer: for result types 3 and 5 a plain number; otherwise hundredths when 0 or more,
// tenths (its magnitude) when negative. A packed time reads hhmmsscc in its decimal digits; a negative one
// holds tenths. Wind is in tenths of m/s, 999 meaning not measured.

// The wind argument that asks FormatOvelseResultat for no wind marking.
constexpr qint32 NoWindMarking = 32123;
constexpr qint32 WindNotMeasured = 999;
// The most wind that is legal, +2.0 m/s; any head wind is.
constexpr qint32 MaxLegalVind = 20;
constexpr bool IsLegalVind(qint32 vind) {
    return vind <= MaxLegalVind;
}

// ---- Days, yes/no, codes and rounds

QString GetShortDayName(const QDate& date);
QString GetLongDayName(const QDate& date);
QString FormatJaNej(bool value);
bool ParseJaNej(const QString& text);

// Result status letters: A withdrawn, E did not show, D disqualified, U did not finish, V waiting.
QString FormatResKode(const QString& kode);
QString FormatResKodeTekst(const QString& kode);
QString ParseResKode(const QString& text);
// Outside competition: "-" (or the character of code 1) of type UH/OOT, "U" of type UK/OOC.
QString FormatUdenforKonk(const QString& kode);
QString ParseUdenforKonk(const QString& text);
bool IsKodeBlank(const QString& kode);
bool IsResKodeStarted(const QString& kode);
bool IsResKodeDiskUdgaaet(const QString& kode);
bool IsResKodeAfbud(const QString& kode);
bool IsResKodeEjMoedt(const QString& kode);
bool IsResKodeVenter(const QString& kode);

QString GetRundeNavn(const QString& runde);
QString FormatSerieNr(qint32 serieNr);
qint32 ParseSerieNr(const QString& text);

// ---- Marks

// The result types of the event catalogue (OVELSE.ZU2's Restype) that the mark routines tell apart: a
// time, and the two kinds of plain number. Every other type is a mark in hundredths of its unit.
constexpr qint32 RestypeTid = 1;
constexpr qint32 RestypePoint = 3;
constexpr qint32 RestypeTal = 5;
constexpr bool IsTalRestype(qint32 restype) {
    return restype == RestypePoint || restype == RestypeTal;
}

QString FormatResultat(qint32 restype, qint32 resultat);
// Trims the text first; "" and "X" give 0. A time with one decimal is a hand time in tenths; any other
// mark with one decimal is in tenths of its unit (11.5 is 11.50). Raises EConvertError for a text that is
// no mark, whose number does not fit in 32 bits, or that is a time of several parts whose minutes or
// seconds are not two digits below 60.
qint32 ParseResultat(qint32 restype, const QString& text);
QString RemoveResultatSeparators(const QString& text);

// The mark of an event of type ovtype, "X" for a 0 on an untimed event; with a wind other than
// NoWindMarking on a round that measures wind, "x" in front for no reading and "w" for too much wind.
QString FormatOvelseResultat(qint32 ovtype, qint32 restype, bool hasVindmaaling, qint32 resultat,
                             qint32 vind);
QString FormatOvelseResultatNoWind(qint32 ovtype, qint32 restype, qint32 resultat);
// A time shown to tenths: the last digit cut off.
QString FormatOvelseResultatTenths(qint32 ovtype, qint32 restype, qint32 resultat);
QString FormatOvelseInteger(qint32 value);
// Raises EConvertError for a text that is no 32-bit integer.
qint32 ParseOvelseInteger(const QString& text);

// Points ending in "p": whole, halves as "½", else one decimal; whole always in a VT meet.
QString FormatPoint(double points);

// ---- Packed times of day

QString FormatTidHHMM(qint32 tid);
// The hundredths become the milliseconds (12.34 s gives 12.034 s); invalid from 24 hours on.
QTime TidToDateTime(qint32 tid);
qint32 DateTimeToTid(const QTime& time);
qint64 TidToHundredths(qint32 tid);
qint64 HundredthsToTid(qint64 hundredths);
double TidToSeconds(qint32 tid);
double CalcKmPerHour(qint32 tid, double metres);

// ---- Wind and vertical-jump attempts

QString FormatVind(qint32 vind);
QString FormatVindMs(qint32 vind);
// Tenths of m/s, rounded up (away from zero only for tail winds); WindNotMeasured for no reading. Reads
// what digits it finds and passes over anything else.
qint16 ParseVind(const QString& text);
// A wind as the user types it: ParseVind of a text that is a wind (a signed decimal number, "m/s" after
// it allowed) or of "x", "*" and "" for no reading. Raises EConvertError for any other text, which would
// otherwise be taken as no reading.
qint16 ParseVindTekst(const QString& text);

// Attempt digits, one per try at a height: 1 pass, 2 failure, 3 clearance.
QString FormatForsogKode(qint32 kode);
QString FormatForsogKodeXO(qint32 kode);
qint32 ParseForsogKode(const QString& text);

// ---- People

// Age in the current meet's year; see the two-argument form.
int CalcAlder(int aargang);
// Age in the given year, 0 when unknown or outside 0..125. A two-digit birth year is 20yy when that is not
// after the year, else 19yy.
int CalcAlder(int aargang, int year);
// "Hans Peter Jensen (Aarhus)" becomes "JENSEN Hans Peter (Aarhus)".
QString FormatSurnameFirst(const QString& name);

#pragma once
// Date-time values as the record files hold them: days since 1899-12-30, the fraction being the time of
// day (a negative value counts its days backwards, its fraction still forwards). 0 is the empty value.
// Dates as text are Danish, from our own formats: "dd-mm-yyyy" and "hh:nn:ss", never the system locale.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

using TDateTime = double;

constexpr TDateTime EmptyDateTime = 0.0;
// 0001-01-01 and the first day after 9999-12-31.
constexpr TDateTime MinDateTime = -693593.0;
constexpr TDateTime MaxDateTime = 2958466.0;

// True for a finite value whose date lies in the years 1 to 9999.
bool IsValidDateTime(TDateTime value);

TDateTime QDateToDateTime(const QDate& date);
TDateTime QTimeToDateTime(const QTime& time);
TDateTime EncodeDateTime(const QDate& date, const QTime& time);
TDateTime QDateTimeToDateTime(const QDateTime& dateTime);
// Invalid results for a value that is not valid. The time is rounded to milliseconds; a time that rounds
// up to midnight belongs to the next day.
QDate DateTimeToQDate(TDateTime value);
QTime DateTimeToQTime(TDateTime value);
QDateTime DateTimeToQDateTime(TDateTime value);
TDateTime NowDateTime();

// "dd-mm-yyyy", "hh:nn:ss", and the date followed by the time (the time left out at midnight exactly).
// An invalid value gives an empty text.
QString DateToStr(TDateTime value);
QString TimeToStr(TDateTime value);
QString DateTimeToStr(TDateTime value);

// Reads a date ("d-m-yyyy"; "-", "." or "/" between; a two-digit year is 19xx from 50 and 20xx below),
// a date followed by a time, or a time alone ("h:n" or "h:n:s", giving the time of day with no date).
bool TryStrToDateTime(const QString& text, TDateTime& value);
// The same; a text that is no date or time raises EConvertError.
TDateTime StrToDateTime(const QString& text);

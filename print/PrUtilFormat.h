#pragma once
// Dates and times formatted by the patterns the lists use, with Danish names.
#include <QDateTime>
#include <QString>

// A date and time written by a pattern of the lists' kind, with Danish names and the Danish formats:
// d dd ddd dddd (day, short and long day name), ddddd dddddd (short and long date), m mm mmm mmmm (month,
// or minutes right after an hour), yy yyyy, h hh, n nn, s ss, z zzz, t tt (short and long time), c (short
// date and long time), am/pm a/p, "/" and ":" the separators, '...' and "..." literal; case does not
// matter; any other character stands for itself.
QString FormatDateTime(const QString& pattern, const QDateTime& value);

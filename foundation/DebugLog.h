#pragma once
// The debug log: a switch, on at start, and lines written to the daily file ".\yyyymmdd.LOG" of the
// current folder. Writing never fails the caller.
#include <QString>

void SetDebugLogEnabled(bool on);
bool DebugLogEnabled();
// One line, stamped with the date and time, when the switch is on.
void WriteDebugLog(const QString& text);

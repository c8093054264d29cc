#pragma once
// What the event editor's header tells of the round chosen in the overview (the status panels and the
// four info lines), the weekday names of its filters and menus, and the start time typed in the
// overview. Plain texts and model changes: nothing here needs a display.
#include <QString>
#include <QStringList>

class TOvelseInfo;

// The captions of the eight status panels.
QStringList StatusPanelCaptions();
// The first seven panels for a round: " hh:nn", class, event and round letter, starters, entries that
// did not start, seeded and results as "JA"/"NEJ". The eighth, "Valgte", is the selection's count.
QStringList StatusPanelTexts(const TOvelseInfo& info);

// The round's settings as the four info lines show them.
QString InfoLinie1Text(const TOvelseInfo& info);
QString InfoLinie2Text(const TOvelseInfo& info);
QString InfoLinie3Text(const TOvelseInfo& info);
QString InfoLinie4Text(const TOvelseInfo& info);
// The estimated duration of field events below the current cell: "Tid: " and whole minutes.
QString VarighedText(int seconds);

// The weekday in full, 1 Monday .. 7 Sunday: "Mandag" .. "Søndag", or "Monday" .. "Sunday" with the meet
// setting Engelsk.
QString GetFullDayName(int ugedag);

// A start time typed in the overview: digits whose last two are the minutes and whose leading digits
// (read up to the first non-digit) the hours, so "930" is 09:30. Minutes after midnight; raises
// Exception with a Danish message for a text that is no time of day.
int ParseOversigtTid(const QString& text);
// Gives the round the start time (minutes after midnight, as the overview shows it: the meet's start
// time included), keeping its date. The programme is not saved here.
void SetRundeTid(TOvelseInfo& info, int minutes);

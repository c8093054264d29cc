#pragma once
// The meet wizard's built-in tables, read once from the data files the build embeds
// (data/builtin/natural-events.csv and data/builtin/team-league-programmes.csv): the natural events of the
// 62 standard classes, and the programme tables of the team leagues. Both name events as "event" or
// "event,attribute", codes of the shipped event catalogue and its attribute definitions.
#include "storage/DBFieldDate.h"

#include <QString>
#include <QStringList>

#include <span>
#include <vector>

// An entry split at its first comma: the event code and the attribute code (empty without one).
struct TOvelseKode {
    QString Ovelse;
    QString Attribut;
};
TOvelseKode SplitOvelseKode(const QString& entry);

// The natural events of the standard class at position klasseNr, in programme order; empty outside the
// table.
const QStringList& NaturligeOvelser(int klasseNr);
// The entries that the lists of all the classes hold, in the first class's order; empty for no class.
QStringList FaellesNaturligeOvelser(const std::vector<int>& klasser);

// One event of a team league's programme.
struct THoldProgramPost {
    QString Ovelse;           // "event" or "event,attribute"
    QString Tid;              // "h:nn" after the meet's start time
    QString DobbeltTid;       // the same for a double match; empty when the table has no double times
    int Tidtagning = 0;       // round 1's result type: 1 timed (running, relay), 0 field event
    int AntalPrHeat = 0;      // 0 for an event without heats
    int Vaegt = 1;            // 2 for an event that counts half points in DT, else 1
    QString Baneraekkefoelge; // the teams' lane order, one digit per lane and heat; empty for none
};
using THoldProgram = std::span<const THoldProgramPost>;

// The DT divisions: elite, then the 1st to the 7th.
constexpr int DTEliteDivision = 0;
constexpr int DTDivisionCount = 8;

// The DT table of a sex, division (DTEliteDivision or 1-7) and round: the elite division has one for its
// preliminary round and one for qualification and final; the lower divisions have one each, the women's
// 3rd division and below share one, as do the men's 4th and below. Empty for a division outside 0-7.
THoldProgram DTProgram(bool maend, int division, bool indledende);
THoldProgram VTProgram(bool maend);
// The DMU hold table of a standard class (D15, P15, D19 or P19); empty for any other.
THoldProgram LTUProgram(const QString& klasse);
// Whether the table gives times for a double match.
bool HarDobbeltTider(THoldProgram program);
// "h:nn" as a time of day; 0 for a text that is no such time.
TDateTime HoldProgramTid(const QString& tid);
// The lane order cut to as many lanes as its highest digit: "1234567865872143" gives "12345678".
QString HoldBaneFordeling(const QString& baneraekkefoelge);

// The lines of the embedded files that could not be read (file, line number and text); none in a sound
// build.
const QStringList& StaevneDefDataErrors();

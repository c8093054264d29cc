#pragma once
// The programme rows as the meet wizard makes them. A round's stored time is the meet's date plus how
// long after the meet's start time the round is, since the event manager adds the start time
// (TOvelseInfo::GetTid): a round typed at the start time is stored as the date alone.
#include "model/D_Ovelser.h"

#include <QDate>
#include <QTime>

#include <memory>

// The stored time of a round at tid in a meet that starts at start on dato.
TDateTime RundeDatoTid(const QDate& dato, const QTime& tid, const QTime& start);
// The time a stored round time stands for in a meet that starts at start; 0 (no time) stays 0.
TDateTime VistRundeTid(TDateTime datoTid, const QTime& start);
// The venue of the row's rounds: "LØB" for a timed event (running, relay), else the event code.
QString RundeSted(const TEditOvelseData& row);
// Every round slot gets the row's venue, and datoTid when it has no time yet.
void SetRundeSlots(TEditOvelseData& row, TDateTime datoTid);
// A row of the standard class at klasseNr for a catalogue event and one of its attribute definitions
// (or none): the event's type and sort code, one final ("F").
std::unique_ptr<TEditOvelseData> NyOvelseData(int klasseNr, const TOvelseElement& ovelse,
                                              const TOvDefElement* ovDef);

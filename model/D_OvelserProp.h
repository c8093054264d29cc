#pragma once
// The rules of the event properties dialog: start times moved or given in turn, and the points method as
// its list of choices shows it.
#include "storage/DBFieldDate.h"

#include <QTime>

#include <vector>

// An event's stored start and its number of heats, for the start times given in turn.
struct TStarttidOvelse {
    TDateTime DatoTid = 0;
    qint32 AntalHeat = 0;
};

// The events' start times in turn from start, each on its own date: each event takes the running time,
// raised to a whole five minutes first with rundOp5Min, and moves it on by its heats (at least 1) times
// prHeat.
std::vector<TDateTime> AutoStarttider(const std::vector<TStarttidOvelse>& ovelser, const QTime& start,
                                      const QTime& prHeat, bool rundOp5Min);
// The start moved later (plus) or earlier by shift. Raises Exception when the result is no valid start
// (before the first day the dates can hold).
TDateTime ShiftStarttid(TDateTime datoTid, const QTime& shift, bool plus);

// The choice of the properties dialog's points list for a stored PointBeregning (the method code plus 1,
// 0 for the meet's own): 0 "Brug stævnedata", then the methods in their list order; -1 for a stored value
// the list has no choice for.
int PointBeregningItem(qint32 stored);
// The stored PointBeregning of a choice; -1 for an index outside the list.
qint32 PointBeregningStored(int item);

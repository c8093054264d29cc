#pragma once
// The legs of a relay team: its series holds the members' start numbers, attempt 1 the first leg.
#include <QString>

#include <vector>

class TResultat;

// A member of the relay team's club with the leg typed for it; an empty leg runs none.
struct TStafetTur {
    qint32 Startnummer = 0;
    QString Tur;
};

// The leg of a member's start number in the team's series, 0 when it runs none.
int StafetTurOf(const TResultat& hold, qint32 startnummer);
// Gives the team its legs: each typed leg must be a whole number from 1, no leg twice, and the legs must
// run 1, 2, ... without a gap. Raises Exception with the reason and changes nothing when they do not;
// no legs at all clear the series.
void SetStafetTure(TResultat& hold, const std::vector<TStafetTur>& ture);

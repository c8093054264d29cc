// The grey cells of the five-minute schedule: field events, and the empty cells below them for as long
// as they are estimated to take. Made once per fill, so painting only looks them up.
#include "ui/ovelse/Oversigt.h"

#include "model/D_Ovelser.h"

#include <algorithm>

namespace {

constexpr int FemMinutterSekunder = 300;

bool IsFeltOvelse(const TOvelseInfo& info) {
    return info.Ovelse().IsSpringOvelse() || info.Ovelse().IsKasteOvelse();
}

int RundOp(int seconds) {
    return (seconds + FemMinutterSekunder - 1) / FemMinutterSekunder * FemMinutterSekunder;
}

} // namespace

int FeltVarighed(const TOvelseInfo& info) {
    const TOvelseRnElement& runde = info.OvelseRn();
    const auto field = [&runde](int fieldNo) { return runde.GetField(fieldNo)->GetAsInteger(); };
    const int starters = info.AntalAktiveDeltagere;
    if (info.Ovelse().IsVertikalSpringOvelse())
        return field(OvelseRnField::TidPrDeltager) * starters;
    if (info.Ovelse().IsHorizontalSpringOvelse() || info.Ovelse().IsKasteOvelse())
        return field(OvelseRnField::TidPrForsog) *
               (field(OvelseRnField::AntalForsog) * starters +
                field(OvelseRnField::AntalForsogFinale) *
                    std::min(starters, field(OvelseRnField::AntalTilFinale)));
    return 0;
}

void CalcFeltSkygge(TOversigt& oversigt) {
    const int lastCol =
        oversigt.FirstPointsColumn() >= 0 ? oversigt.FirstPointsColumn() : oversigt.ColCount();
    for (int col = 1; col < lastCol; ++col) {
        if (oversigt.Column(col).Label)
            continue;
        // Going down a column: the field events stacked right above, and the labelled rows since.
        int seconds = 0;
        int rows = 0;
        bool belowFelt = false;
        for (int row = 1; row < oversigt.RoundRowsEnd(); ++row) {
            if (const TOvelseInfo* info = oversigt.Info(col, row)) {
                if (IsFeltOvelse(*info)) {
                    seconds = (belowFelt ? seconds : 0) + FeltVarighed(*info);
                    rows = 0;
                    belowFelt = true;
                    oversigt.SetGrey(col, row, RundOp(seconds));
                } else {
                    seconds = 0;
                    belowFelt = false;
                }
                continue;
            }
            belowFelt = false;
            if (oversigt.HasTidLabel(row))
                ++rows;
            const int duration = RundOp(seconds);
            if (duration > 0 && duration >= FemMinutterSekunder * rows)
                oversigt.SetGrey(col, row, duration);
        }
    }
}

// Team seeding: each team's first and second athlete placed by the team lane text of the event row, the
// second ones in the reverse order of the first.
#include "model/D_ResultSeedDraw.h"

#include "foundation/LxString.h"
#include "model/D_Ovelser.h"

#include <array>

namespace {

// Team codes A..H as 1..8.
constexpr int HoldCount = 8;

int HoldNr(const TResultat& row) {
    const char16_t c = row.Holdkode.toUpper().unicode();
    return c >= u'A' && c < u'A' + HoldCount ? c - u'A' + 1 : 0;
}

QString UnplacedLine(const TResultat& row) {
    return QStringLiteral("Startnummer: %1, Holdkode: %2, Rank: %3\r\n")
        .arg(row.Startnummer)
        .arg(row.Holdkode.isNull() ? QString() : QString(row.Holdkode))
        .arg(row.Rank);
}

} // namespace

QString TResultatManager::SeedHold(qint32 antalPrHeat, TSeedDraw& draw) {
    const QString baner =
        TrimBlanks(ovelseInfo_->OvelseRk().GetField(OvelseRkField::HoldBaneFordeling)->GetAsString());
    // Running: the first athletes in heat 1, the second in heat 2; otherwise all in one.
    const bool twoHeats = ovelseInfo_->Ovelse().IsTidOvelse() && antalPrHeat >= 1;
    for (const auto& row : rows_) {
        row->SetHeat(0);
        row->SetSide(0);
        row->SetBane(0);
    }

    // The digit (lane) of team code k is the k-th character of the text; D the highest digit.
    std::array<int, HoldCount + 1> digit{};
    int d = 0;
    for (qsizetype i = 0; i < baner.size(); ++i) {
        if (!baner.at(i).isDigit())
            continue;
        d = std::max(d, baner.at(i).digitValue());
        if (i < HoldCount)
            digit[static_cast<std::size_t>(i + 1)] = baner.at(i).digitValue();
    }
    if (baner.isEmpty() || baner.at(0).toUpper() == u'L') {
        // Drawn lanes: the teams present, or as many as the text's highest digit, in a random order.
        if (d == 0) {
            for (const auto& row : rows_)
                d = std::max(d, HoldNr(*row));
        }
        digit.fill(0);
        const std::vector<int> order = draw.Order(1, d);
        for (int k = 1; k <= std::min(d, HoldCount); ++k)
            digit[static_cast<std::size_t>(k)] = order[static_cast<std::size_t>(k - 1)];
    }

    QString unplaced;
    SortStartnummer();
    for (const auto& row : rows_) {
        const int hold = HoldNr(*row);
        const int lane = hold != 0 ? digit[static_cast<std::size_t>(hold)] : 0;
        const bool second = row->Rank == 2;
        if (lane == 0 || (row->Rank != 1 && !second)) {
            unplaced += UnplacedLine(*row);
            continue;
        }
        int heat = twoHeats && second ? 2 : 1;
        int bane = !second ? lane : (twoHeats ? d + 1 - lane : 2 * d + 1 - lane);
        if (twoHeats && d > antalPrHeat) {
            // More teams than lanes: each heat split in two, the higher lanes a heat later.
            if (heat == 2)
                heat = 3;
            if (bane > d / 2) {
                ++heat;
                bane = bane - d / 2 + 1;
            } else {
                ++bane;
            }
        }
        row->SetHeat(heat);
        row->SetBane(bane);
    }
    return unplaced.isEmpty() ? QString()
                              : QStringLiteral("Besked: Ikke placeret ved holdseedning:\r\n") + unplaced;
}

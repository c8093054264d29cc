#include "print/D_UdskriftKlubKonkurrence.h"

#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_ResultHold.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <algorithm>
#include <map>

namespace {

// Without Redid a blank row follows every third club.
constexpr int ClubsPerGroup = 3;

} // namespace

TKlubKonkurrenceUdskrift::TKlubKonkurrenceUdskrift(QObject* owner)
    : TOversigtUdskrift(owner, QStringLiteral("KlubKonkurrence"), QStringLiteral("klubkonkurrence"),
                        QStringLiteral("KLUBKONKURRENCE")) {}

std::vector<TKlubKonkurrence> TKlubKonkurrenceUdskrift::Collect(const std::vector<TOvelseInfo*>& rounds) {
    std::vector<TKlubKonkurrence> clubs;
    std::map<QString, std::size_t> index;
    const auto club = [&](const QString& navn) -> TKlubKonkurrence& {
        const auto [it, added] = index.emplace(navn, clubs.size());
        if (added)
            clubs.push_back({navn, 0, 0});
        return clubs[it->second];
    };
    ForEachHeldRound(rounds, [&](TOvelseInfo&, TResultatManager& manager) {
        for (int i = 0; i < manager.Count(); ++i) {
            const TResultat& row = *manager.GetResultat(i);
            if (row.IsValid())
                club(row.GetKlub()).Individuel += row.Point;
        }
        if (const THoldResultater* teams = manager.HoldResultater())
            for (int t = 0; t < teams->Count(); ++t) {
                const THold& hold = *teams->GetHold(t);
                club(hold.GetHoldNavn()).Hold += hold.HoldResultat->Point;
            }
    });
    return clubs;
}

std::vector<TKlubKonkurrence> TKlubKonkurrenceUdskrift::Ranked(std::vector<TKlubKonkurrence> clubs) {
    std::stable_sort(clubs.begin(), clubs.end(), [](const TKlubKonkurrence& a, const TKlubKonkurrence& b) {
        return a.Total() > b.Total();
    });
    return clubs;
}

void TKlubKonkurrenceUdskrift::Run(const std::vector<TOvelseInfo*>& rounds) {
    const std::vector<TKlubKonkurrence> clubs = Ranked(Collect(rounds));
    const bool redid = CurrentSystemData().Redid;
    BeginOutput();
    if (redid && !clubs.empty()) {
        OutputBlankRow();
        OutputBlankRow();
    }
    int n = 0;
    for (const TKlubKonkurrence& club : clubs) {
        ++n;
        OutputRow({QString::number(n), club.Klub, FormatPoint(club.Total()), FormatPoint(club.Individuel),
                   FormatPoint(club.Hold)});
        if (redid || n % ClubsPerGroup == 0)
            OutputBlankRow();
    }
    EndOutput();
}

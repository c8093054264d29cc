// Clubs crowding a heat: a club's rows with a heat shared out over the heats, the rest of the share
// allowed once, and every heat where a club has more than that reported.
#include "model/D_Result.h"

#include <QHash>

#include <algorithm>
#include <map>

namespace {

// The clubs of the rows with a heat in the order of their first row, with their rows per heat and in all.
struct TKlubTally {
    QStringList Klubber;
    std::vector<int> Antal;
    // (heat, club index) -> rows.
    std::map<std::pair<int, int>, int> PrHeat;
};

TKlubTally Tally(const std::vector<TResultat*>& rows) {
    TKlubTally tally;
    QHash<QString, int> index;
    for (const TResultat* row : rows) {
        if (!row->HasHeat())
            continue;
        auto found = index.find(row->Klub);
        if (found == index.end()) {
            found = index.insert(row->Klub, static_cast<int>(tally.Klubber.size()));
            tally.Klubber << row->Klub;
            tally.Antal.push_back(0);
        }
        ++tally.Antal[static_cast<std::size_t>(*found)];
        ++tally.PrHeat[{row->Heat, *found}];
    }
    return tally;
}

} // namespace

QStringList TResultatManager::GetKlubListe() const {
    return Tally(GetResultater()).Klubber;
}

int TResultatManager::CountKlubInHeat(qint32 heat, const QString& klub) const {
    return static_cast<int>(std::count_if(
        rows_.begin(), rows_.end(), [&](const auto& row) { return row->Heat == heat && row->Klub == klub; }));
}

int TResultatManager::CountKlubInHeats(const QString& klub) const {
    return static_cast<int>(std::count_if(
        rows_.begin(), rows_.end(), [&](const auto& row) { return row->HasHeat() && row->Klub == klub; }));
}

QString TResultatManager::CheckKlubPrHeat() const {
    const int heats = GetHeatCount();
    if (heats == 0)
        return {};
    const TKlubTally tally = Tally(GetResultater());
    // Each club's share of a heat, and how many heats may hold one more.
    std::vector<int> max;
    std::vector<int> spare;
    for (const int n : tally.Antal) {
        max.push_back(n > heats ? n / heats : 1);
        spare.push_back(n > heats ? n % heats : 0);
    }
    QString report;
    // In heat order, and within a heat in the clubs' order.
    for (const auto& [key, c] : tally.PrHeat) {
        const auto& [heat, klub] = key;
        if (heat > heats)
            break;
        const auto k = static_cast<std::size_t>(klub);
        const int over = c - max[k];
        if (over <= 0)
            continue;
        if (over >= 2 || spare[k] == 0)
            report += QStringLiteral("Heat: %1, Klub: %2, Antal: %3, Max: %4\r\n")
                          .arg(heat)
                          .arg(tally.Klubber.at(klub))
                          .arg(c)
                          .arg(max[k]);
        spare[k] = std::max(0, spare[k] - over);
    }
    return report;
}

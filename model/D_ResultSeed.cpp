// Seeding a round: its rows in seeding order dealt into heats, drawn again while a club crowds a heat
// when the meet asks for it, then given lanes; and the seeding of a list of rounds.
#include "model/D_ResultSeedDraw.h"

#include "model/D_Ovelser.h"
#include "model/D_StaevneSystemData.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int SeedLodtraekningMax = 63999;
constexpr int HeatLodtraekningMax = 31999;
const QString Besked = QStringLiteral("Besked: ");

std::vector<TResultat*> ValidRows(const std::vector<TResultat*>& rows) {
    std::vector<TResultat*> valid;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(valid),
                 [](const TResultat* row) { return row->IsValid(); });
    return valid;
}

// Methods 1 and 2: each heat takes the next rows in order, the first heats filled one more when the rows
// do not share out evenly; the best first in heat 1, or in the last heat.
void DealInOrder(const std::vector<TResultat*>& valid, int heats, bool bestLast) {
    const int n = static_cast<int>(valid.size());
    std::size_t next = 0;
    for (int filled = 0; filled < heats; ++filled) {
        const int heat = bestLast ? heats - filled : filled + 1;
        const int take = n / heats + (filled < n % heats ? 1 : 0);
        for (int k = 0; k < take; ++k)
            valid[next++]->SetHeat(heat);
    }
}

// Method 3: the rows dealt to groups back and forth (heats, ..., 1, 1, ..., heats, heats, ...), and the
// groups given to the heats in the order of a key each heat draws, highest first.
void DealSerpentine(const std::vector<TResultat*>& valid, int heats, TSeedDraw& draw) {
    std::vector<std::pair<int, int>> keys; // key, heat
    for (int heat = 1; heat <= heats; ++heat)
        keys.emplace_back(draw.Next(HeatLodtraekningMax), heat);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < valid.size(); ++i) {
        const int turn = static_cast<int>(i % (2 * static_cast<std::size_t>(heats)));
        const int group = turn < heats ? heats - turn : turn - heats + 1;
        valid[i]->SetHeat(keys[static_cast<std::size_t>(group - 1)].second);
    }
}

// Method 4: the rows in the order of a key each draws (equal keys by start number), then dealt as by
// method 3. The key is the deal's own, not kept in the row.
void DealDrawn(const std::vector<TResultat*>& valid, int heats, TSeedDraw& draw) {
    std::vector<std::pair<int, TResultat*>> keyed;
    for (TResultat* row : valid)
        keyed.emplace_back(draw.Next(SeedLodtraekningMax), row);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second->Startnummer < b.second->Startnummer;
    });
    std::vector<TResultat*> order;
    for (const auto& [key, row] : keyed)
        order.push_back(row);
    DealSerpentine(order, heats, draw);
}

// The heats of the rows in seeding order: no heat for rows with a status code, one heat when the valid
// rows fit into it, else as the method deals them.
void DealHeats(const std::vector<TResultat*>& rows, qint32 antalPrHeat, qint32 method, TSeedDraw& draw) {
    for (TResultat* row : rows) {
        row->SetHeat(0);
        row->SetSide(0);
        row->SetBane(0);
    }
    const std::vector<TResultat*> valid = ValidRows(rows);
    const int n = static_cast<int>(valid.size());
    if (antalPrHeat <= 0 || n <= antalPrHeat) {
        for (TResultat* row : valid)
            row->SetHeat(1);
        return;
    }
    const int heats = std::min(n / antalPrHeat + (n % antalPrHeat != 0 ? 1 : 0), int(MaxHeatNr));
    switch (static_cast<THeatMethod>(method)) {
    case THeatMethod::BedsteFoerst:
    case THeatMethod::BedsteSidst:
        DealInOrder(valid, heats, method == qint32(THeatMethod::BedsteSidst));
        break;
    case THeatMethod::Fordeling:
        DealSerpentine(valid, heats, draw);
        break;
    case THeatMethod::Lodtraekning:
        DealDrawn(valid, heats, draw);
        break;
    default:
        break;
    }
}

// Each row's heat and seeding key, to give a remembered distribution back to the same rows.
struct THeatOf {
    TResultat* Row;
    quint16 Heat;
    quint16 SeedLodtraekning;
};

std::vector<THeatOf> Remember(const std::vector<TResultat*>& rows) {
    std::vector<THeatOf> heats;
    for (TResultat* row : rows)
        heats.push_back({row, row->Heat, row->SeedLodtraekning});
    return heats;
}

} // namespace

// ---------------------------------------------------------------- the manager

QString TResultatManager::SeedOvelse(qint32 antalPrHeat, qint32 heatMethod, qint32 laneMethod,
                                     qint32 banenummerering, qint32 retries, TDrawSeed seed) {
    TSeedDraw draw(seed);
    return SeedOvelse(antalPrHeat, heatMethod, laneMethod, banenummerering, retries, draw);
}

QString TResultatManager::SeedOvelse(qint32 antalPrHeat, qint32 heatMethod, qint32 laneMethod,
                                     qint32 banenummerering, qint32 retries, TSeedDraw& draw) {
    if (!ovelseInfo_)
        return {};
    if (heatMethod == qint32(THeatMethod::Nulstil)) {
        for (const auto& row : rows_) {
            row->SetHeat(0);
            row->SetSide(0);
            row->SetBane(0);
            row->SetPlac(0);
            row->SetPK(0);
        }
        return {};
    }
    if (heatMethod == qint32(THeatMethod::DTSeedning))
        return SeedHold(antalPrHeat, draw);
    QString message;
    if (heatMethod > 0)
        message = DistributeHeats(antalPrHeat, heatMethod, retries, draw);
    AssignLanes(antalPrHeat, laneMethod, banenummerering, draw);
    return message;
}

QString TResultatManager::DistributeHeats(qint32 antalPrHeat, qint32 method, qint32 retries,
                                          TSeedDraw& draw) {
    const bool redid = CurrentSystemData().Redid;
    const bool rankAsSeedning = RulesOf(ovelseInfo_).RankAsSeedning;
    if (redid) {
        // Each row's rank within its club: with equal seeding marks a club's best come first.
        SortKlubSeedning();
        const QString* klub = nullptr;
        qint32 rank = 0;
        for (const auto& row : rows_) {
            rank = klub && *klub == row->Klub ? rank + 1 : 1;
            klub = &row->Klub;
            row->SetRank(std::min<qint32>(rank, 0xFFFF));
        }
    }
    // Another attempt can only give another distribution when something is drawn.
    const bool drawn = rankAsSeedning || method == qint32(THeatMethod::Fordeling) ||
                       method == qint32(THeatMethod::Lodtraekning);
    const bool check = redid && retries > 1;
    std::vector<THeatOf> best;
    qsizetype bestLength = 99999;
    qsizetype length = 0;
    std::vector<TResultat*> rows = GetResultater();
    TKlubCrowding crowding(rows);
    for (int attempt = 1;; ++attempt) {
        if (rankAsSeedning) {
            for (const auto& row : rows_)
                row->SeedLodtraekning = static_cast<quint16>(draw.Next(SeedLodtraekningMax));
        }
        if (attempt == 1 || rankAsSeedning) {
            SortSeedning();
            rows = GetResultater();
        }
        DealHeats(rows, antalPrHeat, method, draw);
        if (!check)
            return {};
        // Only the length decides between the draws; the report is written once, at the end.
        length = crowding.ReportLength(rows, GetHeatCount());
        if (length > 0 && length < bestLength) {
            best = Remember(rows);
            bestLength = length;
        }
        if (length == 0 || attempt >= retries || !drawn)
            break;
    }
    if (length == 0)
        return {};
    // The best distribution found, and its own report.
    for (const THeatOf& heat : best) {
        heat.Row->SetHeat(heat.Heat);
        heat.Row->SeedLodtraekning = heat.SeedLodtraekning;
    }
    return Besked + CheckKlubPrHeat();
}

QStringList TResultatManager::SeedOvelser(const std::vector<TOvelseInfo*>& ovelser, qint32 antalPrHeat,
                                          qint32 heatMethod, qint32 laneMethod, qint32 banenummerering,
                                          TDrawSeed seed) {
    TSeedDraw draw(seed);
    QStringList messages;
    for (TOvelseInfo* info : ovelser) {
        if (!info || info->AntalDeltagere < 1)
            continue;
        LoadOvelse(info);
        UpdateOvelseInfo();
        if (info->ResultaterFindes)
            continue;
        const bool own = antalPrHeat == -1;
        const QString message = SeedOvelse(own ? info->GetAntalPrHeat() : antalPrHeat,
                                           own ? info->GetHeatinddeling() + 1 : heatMethod,
                                           own ? info->GetBanefordeling() + 1 : laneMethod,
                                           own ? info->GetBanenummerering() : banenummerering, 1, draw);
        if (!message.isEmpty())
            messages << message;
        SaveResultater();
    }
    messages.removeDuplicates();
    return messages;
}

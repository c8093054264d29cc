// Lanes within the heats of a round: in seeding order from either end, fanned out from the middle, the
// best four in the middle, drawn, or by start number, name or club; short heats moved off lane 1.
#include "model/D_ResultSeedDraw.h"

#include <iterator>
#include <numeric>

namespace {

// The best four rows get the middle lanes in a heat of more than four.
constexpr int MiddleRows = 4;

TResultatCompare LaneOrder(TLaneMethod method) {
    switch (method) {
    case TLaneMethod::Startnummer:
        return CompareByHeatStartnummer;
    case TLaneMethod::Navn:
        return CompareByHeatNavn;
    case TLaneMethod::KlubNavn:
        return CompareByHeatKlubNavn;
    default:
        return CompareByHeatSeedningRankNavn;
    }
}

// The lanes 1..n in the order of a heat's rows, best first.
std::vector<int> Lanes(TLaneMethod method, int n, TSeedDraw& draw) {
    std::vector<int> lanes;
    switch (method) {
    case TLaneMethod::BedsteSidst:
        for (int k = 0; k < n; ++k)
            lanes.push_back(n - k);
        break;
    case TLaneMethod::Vifte: {
        // The middle lane, then outwards one to the right and one to the left in turn.
        const int middle = n / 2 + n % 2;
        for (int k = 1; k <= n; ++k)
            lanes.push_back(k % 2 == 1 ? middle - (k - 1) / 2 : middle + k / 2);
        break;
    }
    case TLaneMethod::Bedste4IMidten:
        if (n > MiddleRows) {
            // The best four drawn over the middle lanes, the next over the lanes outside them, the last
            // over the lanes inside.
            const int inside = (n - MiddleRows) / 2;
            const int outside = n - MiddleRows - inside;
            for (const auto& [first, last] :
                 {std::pair(inside + 1, inside + MiddleRows),
                  std::pair(inside + MiddleRows + 1, inside + MiddleRows + outside), std::pair(1, inside)}) {
                const std::vector<int> drawn = draw.Order(first, last);
                lanes.insert(lanes.end(), drawn.begin(), drawn.end());
            }
            break;
        }
        [[fallthrough]];
    case TLaneMethod::Lodtraekning:
        lanes = draw.Order(1, n);
        break;
    default:
        for (int k = 1; k <= n; ++k)
            lanes.push_back(k);
        break;
    }
    return lanes;
}

// The first lane's distance from lane 1 in a heat of n rows on a track of lanes lanes.
int LaneOffset(qint32 banenummerering, qint32 lanes, int n) {
    if (lanes <= n || banenummerering <= qint32(TBanenummerering::FraBane1))
        return 0;
    if (banenummerering == qint32(TBanenummerering::FraBane2))
        return 1;
    return (lanes - n) / 2 + (lanes - n) % 2;
}

// The lanes of a heat of n valid rows, in their order.
std::vector<int> HeatLanes(TLaneMethod method, int n, qint32 antalPrHeat, qint32 banenummerering,
                           TSeedDraw& draw) {
    std::vector<int> lanes = Lanes(method, n, draw);
    const int first = method <= TLaneMethod::Lodtraekning ? LaneOffset(banenummerering, antalPrHeat, n) : 0;
    for (int& lane : lanes)
        lane += first;
    return lanes;
}

} // namespace

bool TResultatManager::LanesFollowSeeding(qint32 method) {
    return method > qint32(TLaneMethod::Undlad) && method <= qint32(TLaneMethod::KlubNavn) &&
           LaneOrder(static_cast<TLaneMethod>(method)) == CompareByHeatSeedningRankNavn;
}

void TResultatManager::SeedLanesInSeedingOrder(TSeedRows& seeded, qint32 antalPrHeat, qint32 method,
                                               qint32 banenummerering, TSeedDraw& draw) {
    const auto laneMethod = static_cast<TLaneMethod>(method);
    // Heats in order, rows without one last, counted into their places. Within a heat the rows keep the
    // seeding order, which the heats do not change; rows with a status code sort by whether they have a
    // heat, so the rows without one are sorted again once they have none.
    const auto slot = [&seeded](std::size_t place) {
        const int heat = seeded.HeatAt(place);
        return heat == 0 ? std::size_t(MaxHeatNr) + 1 : std::size_t(heat);
    };
    const std::size_t count = seeded.Order().size();
    std::vector<std::size_t> start(std::size_t(MaxHeatNr) + 3, 0);
    for (std::size_t place = 0; place < count; ++place)
        ++start[slot(place) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    const std::vector<std::size_t> from = start;
    const std::size_t none = start[std::size_t(MaxHeatNr) + 1];
    // Places in the seeding order, heat by heat.
    std::vector<int> placed(count);
    for (std::size_t place = 0; place < count; ++place)
        placed[start[slot(place)]++] = int(place);
    for (int heat = 1; heat <= MaxHeatNr; ++heat) {
        const std::size_t first = from[std::size_t(heat)];
        const std::size_t n = from[std::size_t(heat) + 1] - first;
        if (n == 0)
            continue;
        const std::vector<int> lanes = HeatLanes(laneMethod, int(n), antalPrHeat, banenummerering, draw);
        for (std::size_t k = 0; k < n; ++k)
            seeded.SetBaneAt(std::size_t(placed[first + k]), lanes[k]);
    }
    seeded.Write();
    for (int& place : placed)
        place = seeded.Order()[std::size_t(place)];
    PutInOrder(placed);

    std::vector<std::unique_ptr<TResultat>> rest(
        std::make_move_iterator(rows_.begin() + std::ptrdiff_t(none)), std::make_move_iterator(rows_.end()));
    SortResultater(rest, TResultSort(Rules()), CompareByHeatSeedningRankNavn);
    std::move(rest.begin(), rest.end(), rows_.begin() + std::ptrdiff_t(none));
    // The valid rows without a heat are one heat of their own.
    std::vector<TResultat*> valid;
    for (std::size_t i = none; i < rows_.size(); ++i) {
        if (rows_[i]->IsValid())
            valid.push_back(rows_[i].get());
    }
    const std::vector<int> lanes =
        HeatLanes(laneMethod, int(valid.size()), antalPrHeat, banenummerering, draw);
    for (std::size_t k = 0; k < valid.size(); ++k)
        valid[k]->SetBane(lanes[k]);
}

void TResultatManager::AssignLanes(qint32 antalPrHeat, qint32 method, qint32 banenummerering,
                                   TSeedDraw& draw) {
    if (method <= qint32(TLaneMethod::Undlad) || method > qint32(TLaneMethod::KlubNavn))
        return;
    const auto laneMethod = static_cast<TLaneMethod>(method);
    Sort(LaneOrder(laneMethod));

    // The valid rows of each heat in order, those without a heat as one heat of their own; rows with a
    // status code get no lane.
    std::vector<TResultat*> heat;
    const auto giveLanes = [&] {
        const std::vector<int> lanes =
            HeatLanes(laneMethod, static_cast<int>(heat.size()), antalPrHeat, banenummerering, draw);
        for (std::size_t k = 0; k < heat.size(); ++k)
            heat[k]->SetBane(lanes[k]);
        heat.clear();
    };
    for (const auto& row : rows_) {
        if (!row->IsValid()) {
            row->SetBane(0);
            continue;
        }
        if (!heat.empty() && heat.front()->Heat != row->Heat)
            giveLanes();
        heat.push_back(row.get());
    }
    giveLanes();
}

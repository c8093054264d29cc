// Heats dealt as numbers to the valid rows of a round in seeding order, so that spreading the clubs can
// deal again and again without touching the rows, with the same draws as one deal.
#include "model/D_ResultSeedDraw.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace {

constexpr int SeedLodtraekningMax = 63999;
constexpr int SeedLodtraekningBits = 16;
constexpr int HeatLodtraekningMax = 31999;
constexpr int RadixBits = 8;

} // namespace

int KeyBits(quint64 largest) {
    return static_cast<int>(std::bit_width(largest));
}

void StableOrderByKey(const std::vector<quint64>& keys, int bits, std::vector<int>& order,
                      std::vector<int>& scratch) {
    // Least significant digit first: each pass keeps the order of the one before among equal digits.
    scratch.resize(order.size());
    std::array<std::size_t, (1 << RadixBits) + 1> count{};
    for (int shift = 0; shift < bits; shift += RadixBits) {
        count.fill(0);
        for (const int i : order)
            ++count[((keys[std::size_t(i)] >> shift) & ((1 << RadixBits) - 1)) + 1];
        std::partial_sum(count.begin(), count.end(), count.begin());
        for (const int i : order)
            scratch[count[(keys[std::size_t(i)] >> shift) & ((1 << RadixBits) - 1)]++] = i;
        order.swap(scratch);
    }
}

std::vector<quint32> DenseRanks(std::size_t n, const std::function<int(std::size_t, std::size_t)>& compare) {
    std::vector<std::size_t> sorted(n);
    std::iota(sorted.begin(), sorted.end(), std::size_t(0));
    std::sort(sorted.begin(), sorted.end(), [&](std::size_t a, std::size_t b) { return compare(a, b) < 0; });
    std::vector<quint32> ranks(n, 0);
    for (std::size_t k = 1; k < n; ++k)
        ranks[sorted[k]] = ranks[sorted[k - 1]] + (compare(sorted[k - 1], sorted[k]) != 0 ? 1 : 0);
    return ranks;
}

int THeatDeal::Deal(int n, qint32 antalPrHeat, qint32 method, const std::vector<quint32>& startRank,
                    TSeedDraw& draw) {
    heat_.resize(std::size_t(std::max(0, n)));
    if (n <= 0)
        return 0;
    if (antalPrHeat <= 0 || n <= antalPrHeat) {
        std::fill(heat_.begin(), heat_.end(), 1);
        return 1;
    }
    const int heats = std::min(n / antalPrHeat + (n % antalPrHeat != 0 ? 1 : 0), int(MaxHeatNr));
    switch (static_cast<THeatMethod>(method)) {
    case THeatMethod::BedsteFoerst:
    case THeatMethod::BedsteSidst:
        InOrder(heats, method == qint32(THeatMethod::BedsteSidst));
        return heats;
    case THeatMethod::Fordeling:
        order_.resize(std::size_t(n));
        std::iota(order_.begin(), order_.end(), 0);
        Serpentine(heats, draw);
        return heats;
    case THeatMethod::Lodtraekning: {
        // Each row draws a key; equal keys go by start number.
        const int startBits =
            KeyBits(startRank.empty() ? 0 : *std::max_element(startRank.begin(), startRank.end()));
        keys_.resize(std::size_t(n));
        for (std::size_t i = 0; i < keys_.size(); ++i)
            keys_[i] = quint64(draw.Next(SeedLodtraekningMax)) << startBits | startRank[i];
        order_.resize(std::size_t(n));
        std::iota(order_.begin(), order_.end(), 0);
        StableOrderByKey(keys_, startBits + SeedLodtraekningBits, order_, scratch_);
        Serpentine(heats, draw);
        return heats;
    }
    default:
        std::fill(heat_.begin(), heat_.end(), 0);
        return 0;
    }
}

void THeatDeal::InOrder(int heats, bool bestLast) {
    // Each heat takes the next rows; the first heats one more when the rows do not share out evenly.
    const int n = static_cast<int>(heat_.size());
    std::size_t next = 0;
    for (int filled = 0; filled < heats; ++filled) {
        const int heat = bestLast ? heats - filled : filled + 1;
        const int take = n / heats + (filled < n % heats ? 1 : 0);
        for (int k = 0; k < take; ++k)
            heat_[next++] = heat;
    }
}

void THeatDeal::Serpentine(int heats, TSeedDraw& draw) {
    // The rows in order_ dealt to groups back and forth (heats, ..., 1, 1, ..., heats, ...), the groups
    // given to the heats in the order of a key each heat draws, highest first.
    heatKeys_.clear();
    for (int heat = 1; heat <= heats; ++heat)
        heatKeys_.emplace_back(draw.Next(HeatLodtraekningMax), heat);
    // Equal keys keep the order of their heats.
    std::sort(heatKeys_.begin(), heatKeys_.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    int turn = 0;
    for (const int i : order_) {
        const int group = turn < heats ? heats - turn : turn - heats + 1;
        heat_[std::size_t(i)] = heatKeys_[std::size_t(group - 1)].second;
        turn = turn + 1 < 2 * heats ? turn + 1 : 0;
    }
}

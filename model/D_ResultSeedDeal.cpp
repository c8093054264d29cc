// Heats dealt as numbers to the valid rows of a round in seeding order, so that spreading the clubs can
// deal again and again without touching the rows, with the same draws as one deal.
#include "model/D_ResultSeedDraw.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

namespace {

constexpr int SeedLodtraekningMax = 63999;
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
        Serpentine(heats, draw, false);
        return heats;
    case THeatMethod::Lodtraekning: {
        // Each row draws a key; equal keys go by start number: the rows in start number order (the same
        // from deal to deal while the rows keep their order) sorted by the key alone keep it.
        keys_.resize(std::size_t(n));
        for (quint16& key : keys_)
            key = static_cast<quint16>(draw.Next(SeedLodtraekningMax));
        if (startRank != startSeen_) {
            startSeen_ = startRank;
            OrderByStart();
        }
        OrderByKey();
        Serpentine(heats, draw, true);
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

void THeatDeal::OrderByStart() {
    // Start number ranks are dense: counted into their places, equal ranks in row order.
    const std::size_t n = startSeen_.size();
    const quint32 largest = n == 0 ? 0 : *std::max_element(startSeen_.begin(), startSeen_.end());
    byStart_.resize(n);
    if (largest > 4 * n) {
        std::iota(byStart_.begin(), byStart_.end(), 0);
        std::stable_sort(byStart_.begin(), byStart_.end(), [this](int a, int b) {
            return startSeen_[std::size_t(a)] < startSeen_[std::size_t(b)];
        });
        return;
    }
    std::vector<int>& place = scratch_;
    place.assign(std::size_t(largest) + 2, 0);
    for (const quint32 rank : startSeen_)
        ++place[std::size_t(rank) + 1];
    std::partial_sum(place.begin(), place.end(), place.begin());
    for (std::size_t i = 0; i < n; ++i)
        byStart_[std::size_t(place[startSeen_[i]]++)] = static_cast<int>(i);
}

void THeatDeal::OrderByKey() {
    // The rows in start number order sorted by their 16-bit keys, low byte first: each pass keeps the
    // order of the one before among equal bytes.
    constexpr std::size_t Digits = std::size_t(1) << RadixBits;
    constexpr quint16 Mask = Digits - 1;
    std::array<int, Digits> low{};
    std::array<int, Digits> high{};
    for (const quint16 key : keys_) {
        ++low[key & Mask];
        ++high[key >> RadixBits];
    }
    const auto starts = [](std::array<int, Digits>& count) {
        int sum = 0;
        for (int& c : count)
            sum += std::exchange(c, sum);
    };
    starts(low);
    starts(high);
    scratch_.resize(keys_.size());
    for (const int i : byStart_)
        scratch_[std::size_t(low[keys_[std::size_t(i)] & Mask]++)] = i;
    order_.resize(keys_.size());
    for (const int i : scratch_)
        order_[std::size_t(high[keys_[std::size_t(i)] >> RadixBits]++)] = i;
}

void THeatDeal::Serpentine(int heats, TSeedDraw& draw, bool ordered) {
    // The rows (in order_ when ordered, else as they are) dealt to groups back and forth (heats, ..., 1,
    // 1, ..., heats, ...), the groups given to the heats in the order of a key each heat draws, highest
    // first, equal keys in the order of their heats: the key turned round above the heat, as one number.
    heatKeys_.clear();
    for (int heat = 1; heat <= heats; ++heat)
        heatKeys_.push_back(quint32(HeatLodtraekningMax - draw.Next(HeatLodtraekningMax)) << 16 |
                            quint32(heat));
    std::sort(heatKeys_.begin(), heatKeys_.end());
    for (quint32& key : heatKeys_)
        key &= 0xFFFFU;
    int turn = 0;
    const std::size_t n = heat_.size();
    for (std::size_t k = 0; k < n; ++k) {
        const int group = turn < heats ? heats - turn : turn - heats + 1;
        heat_[ordered ? std::size_t(order_[k]) : k] = static_cast<int>(heatKeys_[std::size_t(group - 1)]);
        turn = turn + 1 < 2 * heats ? turn + 1 : 0;
    }
}

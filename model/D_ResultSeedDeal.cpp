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
// From this many rows on, a pass of a sort by key takes up to WideRadixBits bits.
constexpr std::size_t WideDigitRows = 4096;
constexpr int WideRadixBits = 11;

} // namespace

int KeyBits(quint64 largest) {
    return static_cast<int>(std::bit_width(largest));
}

void TKeyOrder::Sort(const std::vector<quint64>& keys, int bits, std::vector<int>& order) {
    const std::size_t n = order.size();
    if (n < 2 || bits <= 0) {
        keys_.resize(n);
        for (std::size_t k = 0; k < n; ++k)
            keys_[k] = keys[std::size_t(order[k])];
        return;
    }
    // Least significant digit first: each pass keeps the order of the one before among equal digits. Many
    // rows take wider digits, and so fewer passes, than a few rows could pay the counts of.
    const int width = std::min(bits, 64);
    const int widest = n >= WideDigitRows ? WideRadixBits : RadixBits;
    const int passes = (width + widest - 1) / widest;
    const int digit = (width + passes - 1) / passes;
    const std::size_t digits = std::size_t(1) << digit;
    const quint64 mask = digits - 1;
    // Every pass's counts in one go; each key then travels with its row, read in turn.
    counts_.assign(std::size_t(passes) * digits, 0);
    keys_.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const quint64 key = keys[std::size_t(order[k])];
        keys_[k] = key;
        for (int p = 0; p < passes; ++p)
            ++counts_[std::size_t(p) * digits + ((key >> (p * digit)) & mask)];
    }
    keyScratch_.resize(n);
    scratch_.resize(n);
    for (int p = 0; p < passes; ++p) {
        quint32* count = counts_.data() + std::size_t(p) * digits;
        const int shift = p * digit;
        // A digit all the rows share moves nothing.
        if (count[(keys_[0] >> shift) & mask] == n)
            continue;
        quint32 sum = 0;
        for (std::size_t d = 0; d < digits; ++d)
            sum += std::exchange(count[d], sum);
        for (std::size_t k = 0; k < n; ++k) {
            const quint32 at = count[(keys_[k] >> shift) & mask]++;
            keyScratch_[at] = keys_[k];
            scratch_[at] = order[k];
        }
        keys_.swap(keyScratch_);
        order.swap(scratch_);
    }
}

void StableOrderBy16(const std::vector<quint16>& keys, const std::vector<int>& in, std::vector<int>& scratch,
                     std::vector<int>& out, int base) {
    // Low byte first, then high byte: each pass keeps the order of the one before among equal bytes.
    constexpr std::size_t Digits = std::size_t(1) << RadixBits;
    constexpr quint16 Mask = Digits - 1;
    std::array<int, Digits> low{};
    std::array<int, Digits> high{};
    for (const quint16 key : keys) {
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
    for (const int i : in)
        scratch[std::size_t(low[keys[std::size_t(i - base)] & Mask]++)] = i;
    for (const int i : scratch)
        out[std::size_t(high[keys[std::size_t(i - base)] >> RadixBits]++)] = i;
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
    heatsStale_ = false;
    from_.clear();
    to_.clear();
    if (n <= 0)
        return 0;
    if (antalPrHeat <= 0 || n <= antalPrHeat) {
        std::fill(heat_.begin(), heat_.end(), 1);
        InHeatOrder();
        return 1;
    }
    const int heats = std::min(n / antalPrHeat + (n % antalPrHeat != 0 ? 1 : 0), int(MaxHeatNr));
    switch (static_cast<THeatMethod>(method)) {
    case THeatMethod::BedsteFoerst:
    case THeatMethod::BedsteSidst:
        InOrder(heats, method == qint32(THeatMethod::BedsteSidst));
        InHeatOrder();
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
    scratch_.resize(keys_.size());
    order_.resize(keys_.size());
    StableOrderBy16(keys_, byStart_, scratch_, order_);
}

const std::vector<int>& THeatDeal::Heats() {
    if (heatsStale_) {
        for (std::size_t heat = 1; heat < from_.size(); ++heat) {
            for (int k = from_[heat]; k < to_[heat]; ++k)
                heat_[std::size_t(members_[std::size_t(k)])] = static_cast<int>(heat);
        }
        heatsStale_ = false;
    }
    return heat_;
}

void THeatDeal::InHeatOrder() {
    // The rows counted into their heats, in their order within a heat.
    const int heats = heat_.empty() ? 0 : *std::max_element(heat_.begin(), heat_.end());
    from_.assign(std::size_t(heats) + 1, 0);
    to_.assign(std::size_t(heats) + 1, 0);
    for (const int heat : heat_)
        ++to_[std::size_t(heat)];
    int start = 0;
    for (std::size_t heat = 1; heat < to_.size(); ++heat) {
        from_[heat] = start;
        start += std::exchange(to_[heat], start);
    }
    members_.resize(heat_.size());
    for (std::size_t i = 0; i < heat_.size(); ++i)
        members_[std::size_t(to_[std::size_t(heat_[i])]++)] = static_cast<int>(i);
}

void THeatDeal::Groups(int heats) {
    // The places of the rows in turn within their groups, the groups one after the other: the same for
    // every deal of as many rows over as many heats.
    const std::size_t n = heat_.size();
    if (groupRows_ == n && groupHeats_ == heats)
        return;
    groupRows_ = n;
    groupHeats_ = heats;
    groupStart_.assign(std::size_t(heats) + 2, 0);
    slot_.resize(n);
    int turn = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const int group = turn < heats ? heats - turn : turn - heats + 1;
        slot_[k] = groupStart_[std::size_t(group)]++;
        turn = turn + 1 < 2 * heats ? turn + 1 : 0;
    }
    int start = 0;
    for (int group = 1; group <= heats; ++group) {
        const int size = groupStart_[std::size_t(group)];
        groupStart_[std::size_t(group)] = start;
        start += size;
    }
    groupStart_[std::size_t(heats) + 1] = start;
    for (std::size_t k = 0; k < n; ++k) {
        const int group = [&] {
            const int t = static_cast<int>(k % std::size_t(2 * heats));
            return t < heats ? heats - t : t - heats + 1;
        }();
        slot_[k] += groupStart_[std::size_t(group)];
    }
}

void THeatDeal::Serpentine(int heats, TSeedDraw& draw, bool ordered) {
    // The rows (in order_ when ordered, else as they are) dealt to groups back and forth (heats, ..., 1,
    // 1, ..., heats, ...), the groups given to the heats in the order of a key each heat draws, highest
    // first, equal keys in the order of their heats.
    heatKeys_.clear();
    for (int heat = 1; heat <= heats; ++heat)
        heatKeys_.push_back(static_cast<quint16>(HeatLodtraekningMax - draw.Next(HeatLodtraekningMax)));
    heatOrder_.resize(heatKeys_.size());
    std::iota(heatOrder_.begin(), heatOrder_.end(), 1);
    heatScratch_.resize(heatKeys_.size());
    heatByKey_.resize(heatKeys_.size());
    StableOrderBy16(heatKeys_, heatOrder_, heatScratch_, heatByKey_, 1);
    Groups(heats);
    const std::size_t n = heat_.size();
    members_.resize(n);
    for (std::size_t k = 0; k < n; ++k)
        members_[std::size_t(slot_[k])] = ordered ? order_[k] : static_cast<int>(k);
    // Group g goes to the heat heatByKey_[g - 1].
    from_.assign(std::size_t(heats) + 1, 0);
    to_.assign(std::size_t(heats) + 1, 0);
    for (int group = 1; group <= heats; ++group) {
        const auto heat = std::size_t(heatByKey_[std::size_t(group - 1)]);
        from_[heat] = groupStart_[std::size_t(group)];
        to_[heat] = groupStart_[std::size_t(group) + 1];
    }
    heatsStale_ = true;
}

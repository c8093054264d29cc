// The fields of a round's rows that one seeding reads and writes, gathered and written back in the
// order memory holds the rows.
#include "model/D_ResultSeedDraw.h"

#include "foundation/DanishOrder.h"
#include "model/D_ResultSortKeys.h"

#include <QCollator>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <numeric>
#include <tuple>

namespace {

constexpr int SeedLodtraekningMax = 63999;
constexpr int LaneMax = 0xFFFF;
// How many rows ahead a pass asks for the fields it reads next: the rows lie too far apart for the
// memory to see the pattern, and each would wait on its own.
constexpr std::size_t SeedAhead = 48;

// Only the lines of a row the gathering reads: its fields from the start number to its status, which
// lies beside Modified. Over a round too big for the cache every line asked for comes from memory.
void PrefetchSeedFields(const TResultat& row) {
    __builtin_prefetch(&row.Startnummer);
    __builtin_prefetch(&row.Modified);
}

void PrefetchForWriting(TResultat& row) {
    for (void* field : {static_cast<void*>(&row.Modified), static_cast<void*>(&row.Heat),
                        static_cast<void*>(&row.Bane), static_cast<void*>(&row.SeedLodtraekning)})
        __builtin_prefetch(field, 1);
}

template <typename T>
int Sign(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

TSeedRows::TSeedRows(const std::vector<std::unique_ptr<TResultat>>& rows, const TResultRules& rules)
    : rows_(rows)
    , rules_(rules)
    , rankAsSeedning_(rules.RankAsSeedning) {
    const std::size_t n = rows.size();
    // Rows read one after another were allocated one after another: by address they are visited the way
    // memory holds them, whatever order they are in now.
    std::vector<quint64> address(n);
    quint64 low = std::numeric_limits<quint64>::max();
    quint64 high = 0;
    for (std::size_t i = 0; i < n; ++i) {
        address[i] = reinterpret_cast<std::uintptr_t>(rows[i].get());
        low = std::min(low, address[i]);
        high = std::max(high, address[i]);
    }
    // Two rows lie at least a row apart, so the address bits below the row's size tell none apart: left
    // out, the sort takes a pass fewer.
    constexpr int Shift = std::bit_width(sizeof(TResultat)) - 1;
    for (quint64& a : address)
        a = (a - low) >> Shift;
    memoryOrder_.resize(n);
    std::iota(memoryOrder_.begin(), memoryOrder_.end(), 0);
    TKeyOrder().Sort(address, KeyBits((high - low) >> Shift), memoryOrder_);

    memoryPlace_.resize(n);
    inMemory_.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        memoryPlace_[std::size_t(memoryOrder_[k])] = int(k);
        inMemory_[k] = rows[std::size_t(memoryOrder_[k])].get();
    }

    fields_.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        if (k + SeedAhead < n)
            PrefetchSeedFields(*inMemory_[k + SeedAhead]);
        const TResultat& row = *inMemory_[k];
        TFields& f = fields_[k];
        f.Status = static_cast<quint8>(row.GetStatusOrder());
        f.SG = row.SG;
        f.Mark = rankAsSeedning_ ? 0 : MarkKey(rules, row.Seedning, true);
        f.Startnummer = row.Startnummer;
        f.Rank = row.Rank;
        f.Lodtraekning = row.Lodtraekning;
        f.SeedLodtraekning = row.SeedLodtraekning;
        f.Heat = row.Heat;
        f.Side = row.Side;
        f.Bane = row.Bane;
    }
}

void TSeedRows::DrawSeedLodtraekning(TSeedDraw& draw) {
    for (const int place : memoryPlace_)
        fields_[std::size_t(place)].SeedLodtraekning = static_cast<quint16>(draw.Next(SeedLodtraekningMax));
    drawn_ = true;
}

void TSeedRows::OrderBySeedning() {
    const std::size_t n = fields_.size();
    // The present order, which equal rows keep.
    order_ = memoryPlace_;
    if (n < 2)
        return;
    // CompareBySeedningRankNavn: status, start group, the mark (or the rank and the drawn key), the rank,
    // the load's draw, then the name.
    constexpr std::size_t Parts = 5;
    const auto part = [this](const TFields& f, std::size_t p) -> qint64 {
        switch (p) {
        case 0:
            return f.Status;
        case 1:
            return f.SG;
        case 2:
            return rankAsSeedning_ ? qint64(f.Rank) << 16 | f.SeedLodtraekning : f.Mark;
        case 3:
            return rankAsSeedning_ ? 0 : f.Rank;
        default:
            return f.Lodtraekning;
        }
    };
    // Every part's spread in one pass over the fields.
    std::array<qint64, Parts> least{};
    std::array<qint64, Parts> most{};
    least.fill(std::numeric_limits<qint64>::max());
    most.fill(std::numeric_limits<qint64>::min());
    for (const TFields& f : fields_) {
        for (std::size_t p = 0; p < Parts; ++p) {
            least[p] = std::min(least[p], part(f, p));
            most[p] = std::max(most[p], part(f, p));
        }
    }
    std::array<int, Parts> bits{};
    int total = 0;
    for (std::size_t p = 0; p < Parts; ++p) {
        bits[p] = KeyBits(quint64(most[p]) - quint64(least[p]));
        total += bits[p];
    }
    if (total > 64) {
        // Marks too far apart to share one word.
        const auto less = [&](int a, int b) {
            for (std::size_t p = 0; p < Parts; ++p) {
                const qint64 x = part(fields_[std::size_t(a)], p);
                const qint64 y = part(fields_[std::size_t(b)], p);
                if (x != y)
                    return x < y;
            }
            return false;
        };
        std::stable_sort(order_.begin(), order_.end(), less);
        OrderTiesByNavn([&](std::size_t a, std::size_t b) {
            return !less(order_[a], order_[b]) && !less(order_[b], order_[a]);
        });
        return;
    }
    std::vector<quint64> keys(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        quint64 key = 0;
        for (std::size_t p = 0; p < Parts; ++p) {
            const quint64 value = quint64(part(fields_[i], p)) - quint64(least[p]);
            if (bits[p] != 0)
                key = bits[p] < 64 ? key << bits[p] | value : value;
        }
        keys[i] = key;
    }
    TKeyOrder sorted;
    sorted.Sort(keys, total, order_);
    // The key holds every part: equal keys are equal rows, and equal rows lie side by side.
    OrderTiesByNavn([&keys = sorted.Sorted()](std::size_t a, std::size_t b) { return keys[a] == keys[b]; });
}

template <typename Same>
void TSeedRows::OrderTiesByNavn(Same same) {
    // Only rows equal in everything else read their names, each run of them ordered by name and rows of
    // equal names staying in their order. Drawn keys make such runs short, mostly a pair, whose names
    // are compared directly; a long run (rows never drawn) compares each name's sort key.
    constexpr std::size_t ShortRun = 8;
    const auto orderRun = [this](std::size_t run, std::size_t end, auto keyOf, auto less) {
        std::vector<std::pair<decltype(keyOf(QString())), int>> keyed;
        for (std::size_t k = run; k < end; ++k)
            keyed.emplace_back(keyOf(RowAt(order_[k]).Navn.toUpper()), order_[k]);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [&less](const auto& a, const auto& b) { return less(a.first, b.first); });
        for (std::size_t k = run; k < end; ++k)
            order_[k] = keyed[k - run].second;
    };
    for (std::size_t run = 0; run < order_.size();) {
        std::size_t end = run + 1;
        while (end < order_.size() && same(run, end))
            ++end;
        if (end - run > ShortRun) {
            const QCollator collator = DanishNameOrder();
            orderRun(
                run, end, [&collator](const QString& navn) { return collator.sortKey(navn); },
                [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; });
        } else if (end - run > 1) {
            orderRun(
                run, end, [](const QString& navn) { return navn; },
                [](const QString& a, const QString& b) { return CompareDanish(a, b) < 0; });
        }
        run = end;
    }
}

void TSeedRows::DealHeats(qint32 antalPrHeat, qint32 method, TSeedDraw& draw) {
    OrderBySeedning();
    // In seeding order the valid rows come first.
    const auto valid = static_cast<std::size_t>(
        std::count_if(fields_.begin(), fields_.end(), [](const TFields& f) { return f.Status == 0; }));
    // Only drawn keys need the start numbers' order.
    std::vector<quint32> startRank(valid, 0);
    if (method == qint32(THeatMethod::Lodtraekning)) {
        std::vector<qint32> startnummer(valid);
        for (std::size_t k = 0; k < valid; ++k)
            startnummer[k] = fields_[std::size_t(order_[k])].Startnummer;
        startRank = DenseRanks(valid, [&startnummer](std::size_t a, std::size_t b) {
            return Sign(startnummer[a], startnummer[b]);
        });
    }
    THeatDeal deal;
    deal.Deal(static_cast<int>(valid), antalPrHeat, method, startRank, draw);
    const std::vector<int>& heats = deal.Heats();
    heatAt_.assign(heats.begin(), heats.begin() + std::ptrdiff_t(valid));
    heatAt_.resize(fields_.size(), 0);
    baneAt_.assign(fields_.size(), 0);
    rowOrder_.resize(order_.size());
    for (std::size_t k = 0; k < order_.size(); ++k)
        rowOrder_[k] = memoryOrder_[std::size_t(order_[k])];
}

void TSeedRows::Write() const {
    // The first row of the present order with a lane too big refuses it.
    int refused = -1;
    for (std::size_t k = 0; k < baneAt_.size(); ++k) {
        if (baneAt_[k] > LaneMax && (refused < 0 || rowOrder_[k] < rowOrder_[std::size_t(refused)]))
            refused = int(k);
    }
    if (refused >= 0)
        rows_[std::size_t(rowOrder_[std::size_t(refused)])]->SetBane(baneAt_[std::size_t(refused)]);
    // Each row's heat and lane in memory order, so that the pass over the rows reads them in turn; no
    // lane left is too big for a row, so both fit the row's fields.
    const std::size_t n = memoryOrder_.size();
    std::vector<std::pair<quint16, quint16>> dealt(n);
    for (std::size_t k = 0; k < n; ++k)
        dealt[std::size_t(order_[k])] = {static_cast<quint16>(heatAt_[k]), static_cast<quint16>(baneAt_[k])};
    for (std::size_t k = 0; k < n; ++k) {
        if (k + SeedAhead < n)
            PrefetchForWriting(*inMemory_[k + SeedAhead]);
        TResultat& row = *inMemory_[k];
        const TFields& f = fields_[k];
        const auto [newHeat, newBane] = dealt[k];
        if (f.Heat != 0 || f.Side != 0 || f.Bane != 0 || newHeat != 0 || newBane != 0) {
            if (!row.Modified)
                row.Modified = true;
            if (row.Heat != newHeat)
                row.Heat = newHeat;
            if (row.Side != 0)
                row.Side = 0;
            if (row.Bane != newBane)
                row.Bane = newBane;
        }
        if (drawn_ && row.SeedLodtraekning != f.SeedLodtraekning)
            row.SeedLodtraekning = f.SeedLodtraekning;
    }
}

#pragma once
// The draws of one seeding call: a test fixes them by a seed, the program seeds them from the clock.
#include "model/D_Result.h"

#include <QStringList>

#include <array>
#include <bit>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

class TSeedDraw {
public:
    explicit TSeedDraw(TDrawSeed seed);

    // A number from 0 to max (0 or more), as std::uniform_int_distribution<int>(0, max) draws it from
    // std::mt19937 under GCC's library: the draws of a seed stay the same, and the call stays inline in
    // the loops that draw thousands of times.
    int Next(int max) {
        // The high half of a word times the range, the few words that would favour some numbers skipped.
        const auto range = static_cast<quint32>(max) + 1;
        quint64 product = quint64(Word()) * range;
        auto low = static_cast<quint32>(product);
        if (low < range) {
            const quint32 threshold = (0U - range) % range;
            while (low < threshold) {
                product = quint64(Word()) * range;
                low = static_cast<quint32>(product);
            }
        }
        return static_cast<int>(product >> 32);
    }
    // The numbers first..last in a random order.
    std::vector<int> Order(int first, int last);

private:
    static constexpr std::size_t StateSize = 624;

    // The next word of the Mersenne twister (std::mt19937).
    quint32 Word() {
        if (next_ == StateSize)
            Twist();
        quint32 y = state_[next_++];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9d2c5680U;
        y ^= (y << 15) & 0xefc60000U;
        return y ^ (y >> 18);
    }
    void Twist();

    std::array<quint32, StateSize> state_{};
    std::size_t next_ = StateSize;
};

// The bits a key up to largest takes.
int KeyBits(quint64 largest);
// Sorts indices into keys by the keys' lowest bits, equal keys staying in the order they had; keeps its
// buffers from one sort to the next.
class TKeyOrder {
public:
    void Sort(const std::vector<quint64>& keys, int bits, std::vector<int>& order);
    // The keys of the last sort in its order, read in turn where the keys by index would be read all
    // over memory.
    const std::vector<quint64>& Sorted() const { return keys_; }

private:
    std::vector<quint64> keys_;
    std::vector<quint64> keyScratch_;
    std::vector<int> scratch_;
    std::vector<quint32> counts_;
};
// Ranks 0, 1, ... of n items by compare (negative: the first comes first), equal items ranked alike.
std::vector<quint32> DenseRanks(std::size_t n, const std::function<int(std::size_t, std::size_t)>& compare);

// Sorts in (indices into keys, less base) into out by their keys, equal keys staying in the order they
// had; scratch takes as many.
void StableOrderBy16(const std::vector<quint16>& keys, const std::vector<int>& in, std::vector<int>& scratch,
                     std::vector<int>& out, int base = 0);

// The heats of one deal of n valid rows in seeding order (THeatMethod), as numbers.
class THeatDeal {
public:
    // Deals the rows; startRank ranks their start numbers (equal drawn keys go by start number). Returns
    // the number of heats; 0 when the method deals none.
    int Deal(int n, qint32 antalPrHeat, qint32 method, const std::vector<quint32>& startRank,
             TSeedDraw& draw);
    // The heat of each row; 0 for none.
    const std::vector<int>& Heats();
    // The rows of heat h (1 to the number of heats) are Members()[From(h)] up to Members()[To(h)].
    const std::vector<int>& Members() const { return members_; }
    int From(int heat) const { return from_[std::size_t(heat)]; }
    int To(int heat) const { return to_[std::size_t(heat)]; }

private:
    void InOrder(int heats, bool bestLast);
    void InHeatOrder();
    void OrderByStart();
    void OrderByKey();
    void Groups(int heats);
    void Serpentine(int heats, TSeedDraw& draw, bool ordered);

    std::vector<int> heat_;
    // heat_ is written out from the members only when asked for.
    bool heatsStale_ = false;
    std::vector<int> members_;
    std::vector<int> from_;
    std::vector<int> to_;
    std::vector<int> order_;
    std::vector<int> scratch_;
    std::vector<quint16> keys_;
    // The start number ranks of the last drawn deal, and its rows in their order.
    std::vector<quint32> startSeen_;
    std::vector<int> byStart_;
    std::vector<quint16> heatKeys_;
    std::vector<int> heatOrder_;
    std::vector<int> heatScratch_;
    std::vector<int> heatByKey_;
    // Where the groups of a deal of groupRows_ rows over groupHeats_ heats start, and each row's place.
    std::size_t groupRows_ = 0;
    int groupHeats_ = 0;
    std::vector<int> groupStart_;
    std::vector<int> slot_;
};

// The clubs of a round's rows, for telling again and again which clubs crowd a heat as the heats are
// drawn: the rows' clubs are looked up once, the counting reuses its arrays.
class TKlubCrowding {
public:
    // The clubs of these rows; the rows checked later must be among them.
    explicit TKlubCrowding(const std::vector<TResultat*>& rows);
    // TResultatManager::CheckKlubPrHeat of the rows (in their present order) over heats heats.
    QString Report(const std::vector<TResultat*>& rows, int heats);
    // The club of one of the rows; -1 for any other row.
    int KlubOf(const TResultat* row) const;
    // Shares the rows in clubs klub (KlubOf) out over heats heats, for the lengths below.
    void ShareOut(const std::vector<int>& klub, int heats);
    // The heats shared out last; 0 before the first.
    int SharedHeats() const { return sharedHeats_; }
    // The length of the report of rows in clubs klub, the rows shared out last, as deal deals them; once
    // the length reaches limit the counting stops, and a length of limit or more comes back.
    qsizetype ReportLength(const std::vector<int>& klub, const THeatDeal& deal, qsizetype limit);

private:
    // Calls line(heat, club, count, share) for each heat where a club has more than its share.
    template <typename Line>
    void Walk(const std::vector<TResultat*>& rows, int heats, Line line);

    QStringList navne_;
    std::unordered_map<const TResultat*, int> klubOf_;
    std::vector<int> order_;
    std::vector<int> antal_;
    std::vector<int> place_;
    std::vector<int> prHeat_;
    std::vector<int> max_;
    std::vector<int> spare_;
    std::vector<int> touched_;
    // As shared out: the heats, each club's share of a heat and spare heats, and the length of its line
    // but for the numbers of the heat and of its rows; the counts of a heat, all 0 between heats.
    int sharedHeats_ = 0;
    std::vector<int> sharedMax_;
    std::vector<int> sharedSpare_;
    std::vector<qsizetype> line_;
    std::vector<int> inHeat_;
};

// A round's rows as one seeding reads and writes them. The rows are large and lie apart in memory, so the
// few fields the seeding needs are gathered into a small array in one pass over the rows in the order
// memory holds them, and kept in that order; sorting, dealing and lanes work on that array and on arrays
// in seeding order, and one more such pass writes the outcome back, each field only where it changes.
class TSeedRows {
public:
    // The rows in their present order, which decides between rows the seeding order holds equal. The
    // rows must stay where they are until Write.
    TSeedRows(const std::vector<std::unique_ptr<TResultat>>& rows, const TResultRules& rules);

    // Every row's drawn seeding key, in the present order.
    void DrawSeedLodtraekning(TSeedDraw& draw);
    // Puts the rows in seeding order (CompareBySeedningRankNavn, equal rows in their present order) and deals
    // the valid ones into heats by the method (THeatMethod).
    void DealHeats(qint32 antalPrHeat, qint32 method, TSeedDraw& draw);
    // The rows, as indices of the present order, in seeding order.
    const std::vector<int>& Order() const { return rowOrder_; }
    // The heat dealt to the row at this place of the seeding order; 0 for none.
    int HeatAt(std::size_t place) const { return heatAt_[place]; }
    void SetBaneAt(std::size_t place, int bane) { baneAt_[place] = bane; }
    // Gives the rows their heats and lanes (and drawn keys, when drawn), what they had cleared: a row
    // that had or gets a heat, side or lane is marked changed. A lane a row cannot hold is refused
    // before any row changes.
    void Write() const;

private:
    struct TFields {
        qint64 Mark = 0;
        qint32 SG = 0;
        qint32 Startnummer = 0;
        quint16 Rank = 0;
        quint16 SeedLodtraekning = 0;
        quint16 Lodtraekning = 0;
        quint16 Heat = 0;
        quint16 Side = 0;
        quint16 Bane = 0;
        quint8 Status = 0;
    };

    void OrderBySeedning();
    // same(a, b): the rows at places a and b of the order are equal in all but their names.
    template <typename Same>
    void OrderTiesByNavn(Same same);
    const TResultat& RowAt(int memoryPlace) const { return *inMemory_[std::size_t(memoryPlace)]; }

    const std::vector<std::unique_ptr<TResultat>>& rows_;
    TResultRules rules_;
    bool rankAsSeedning_;
    bool drawn_ = false;
    // The present indices of the rows by their addresses, and each row's place in that order.
    std::vector<int> memoryOrder_;
    std::vector<int> memoryPlace_;
    // The rows themselves in that order.
    std::vector<TResultat*> inMemory_;
    // In memory order: a big round's array does not fit the processor's cache, so the passes over the
    // rows read and write it in turn.
    std::vector<TFields> fields_;
    // The seeding order as places in memory order, and as present indices.
    std::vector<int> order_;
    std::vector<int> rowOrder_;
    // In seeding order.
    std::vector<int> heatAt_;
    std::vector<int> baneAt_;
};

// The row orders as lists of whole-number keys: a comparison chain becomes the keys of its links in
// turn, higher-first links negated, so that comparing the keys in turn gives what the chain gives.
#include "model/D_ResultSortKeys.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <numeric>
#include <optional>
#include <utility>

namespace {

// One link of a chain.
enum class TPart : quint8 {
    Startnummer,
    Status,
    StatusUK,
    SG,
    // Two keys: rank and drawn key with Rank as seeding, else the seeding mark.
    Seedning,
    Mark,
    TieBreak,
    PK,
    Plac,
    Forbedring,
    Heat,
    Navn,
    Klub,
    Rank,
    Lodtraekning,
    Holdkode,
    Bane,
    Side,
    Point,
    VTPoint,
    VeteranPoint2
};

constexpr std::size_t MaxParts = 9;

struct TRecipe {
    TResultatCompare Compare;
    std::size_t Count;
    std::array<TPart, MaxParts> Parts;
};

using enum TPart;

// Each order of D_Result.h by its links; a link that repeats one before it is left out.
const TRecipe Recipes[] = {
    {CompareByStartnummer, 1, {Startnummer}},
    {CompareByStatus, 1, {Status}},
    {CompareByStatusUK, 1, {StatusUK}},
    {CompareBySG, 1, {SG}},
    {CompareBySeedning, 3, {Status, SG, Seedning}},
    {CompareByResultat, 4, {StatusUK, Mark, TieBreak, PK}},
    {CompareByPK, 1, {PK}},
    {CompareByPlac, 2, {Plac, PK}},
    {CompareByForbedring, 1, {Forbedring}},
    {CompareByHeat, 1, {Heat}},
    {CompareByNavn, 1, {Navn}},
    {CompareByHeatNavn, 2, {Heat, Navn}},
    {CompareByHeatKlubNavn, 3, {Heat, Klub, Navn}},
    {CompareByKlubSeedning, 4, {Klub, Status, SG, Seedning}},
    {CompareByKlubResultat, 5, {Klub, StatusUK, Mark, TieBreak, PK}},
    {CompareByRank, 2, {Rank, Lodtraekning}},
    {CompareByHoldkode, 1, {Holdkode}},
    {CompareByRankHoldkode, 3, {Rank, Lodtraekning, Holdkode}},
    {CompareBySeedningRankNavn, 6, {Status, SG, Seedning, Rank, Lodtraekning, Navn}},
    {CompareByHeatSeedningRankNavn, 7, {Heat, Status, SG, Seedning, Rank, Lodtraekning, Navn}},
    {CompareByHeatStartnummer, 2, {Heat, Startnummer}},
    {CompareByBaneSide, 3, {Bane, Side, Startnummer}},
    {CompareByHeatBaneSide, 4, {Heat, Bane, Side, Startnummer}},
    {CompareByHeatResultat, 8, {Heat, StatusUK, Mark, TieBreak, PK, Bane, Side, Startnummer}},
    {CompareByResultatHeat, 8, {StatusUK, Mark, TieBreak, PK, Heat, Bane, Side, Startnummer}},
    {CompareByResultatStartnummer, 5, {StatusUK, Mark, TieBreak, PK, Startnummer}},
    {CompareByHeatKlubSeedning, 5, {Heat, Klub, Status, SG, Seedning}},
    {CompareByPoint, 2, {StatusUK, Point}},
    {CompareByPointPlac, 3, {Point, Plac, PK}},
    {CompareByVTPoint, 2, {StatusUK, VTPoint}},
    {CompareByVeteranPoint2, 2, {StatusUK, VeteranPoint2}},
};

const TRecipe* RecipeOf(TResultatCompare compare) {
    const auto found = std::find_if(std::begin(Recipes), std::end(Recipes),
                                    [compare](const TRecipe& recipe) { return recipe.Compare == compare; });
    return found != std::end(Recipes) ? found : nullptr;
}

std::size_t KeysOf(TPart part) {
    return part == Seedning ? 2 : 1;
}

// A double as a whole number in the same order, the two zeros alike.
qint64 DoubleKey(double value) {
    const qint64 bits = std::bit_cast<qint64>(value == 0 ? 0.0 : value);
    return bits < 0 ? bits ^ std::numeric_limits<qint64>::max() : bits;
}

// Writes the keys of one link of the row at key.
qint64* PartKeys(TPart part, const TResultSort& sort, const TResultat& row, qint32 textRank, qint64* key) {
    const TResultRules& rules = sort.Rules();
    switch (part) {
    case Startnummer:
        *key = row.Startnummer;
        break;
    case Status:
        *key = row.GetStatusOrder();
        break;
    case StatusUK:
        *key = row.GetStatusOrderUK();
        break;
    case SG:
        *key = row.SG;
        break;
    case Seedning:
        if (rules.RankAsSeedning) {
            *key = row.Rank;
            *++key = row.SeedLodtraekning;
        } else {
            *key = MarkKey(rules, row.Seedning, true);
            *++key = 0;
        }
        break;
    case Mark:
        *key = MarkKey(rules, row.Resultat, false);
        break;
    case TieBreak:
        // The larger key is the better performance.
        *key = rules.HasTieBreak() ? -qint64(textRank) : 0;
        break;
    case PK:
        *key = row.PK;
        break;
    case Plac:
        *key = row.Plac;
        break;
    case Forbedring:
        *key = -qint64(row.GetPRForbedring());
        break;
    case Heat:
        *key = row.GetHeatOrder();
        break;
    case Navn:
        *key = textRank;
        break;
    case Klub:
        *key = textRank;
        break;
    case Rank:
        *key = row.Rank;
        break;
    case Lodtraekning:
        *key = row.Lodtraekning;
        break;
    case Holdkode:
        *key = row.Holdkode.unicode();
        break;
    case Bane:
        *key = row.Bane;
        break;
    case Side:
        *key = row.Side;
        break;
    case Point:
        *key = -DoubleKey(row.Point);
        break;
    case VTPoint:
        *key = -qint64(row.VTPoint);
        break;
    case VeteranPoint2:
        *key = -qint64(row.VeteranPoint2);
        break;
    }
    return key + 1;
}

std::optional<TResultSort::TText> TextOf(TPart part) {
    switch (part) {
    case Navn:
        return TResultSort::TText::Navn;
    case Klub:
        return TResultSort::TText::Klub;
    case TieBreak:
        return TResultSort::TText::TieBreak;
    default:
        return std::nullopt;
    }
}

// A row's place among the rows, with the keys of a run of links packed into whole words.
template <std::size_t Width>
struct TKeyed {
    std::array<quint64, Width> Keys;
    quint32 Row;
};

// Sorts rows first..last of order by the links from part on. The rows are ordered by the links up to the
// next text (a text first of them), the texts' ranks made among these rows only unless the sort has
// them; rows equal in those links are then ordered by the rest, so a text is ranked only where it
// decides something. The keys of a run of links are packed, each in the bits its spread over the rows
// needs, so that the sort moves few words.
class TKeySorter {
public:
    TKeySorter(const TRecipe& recipe, const TResultSort& sort, const std::vector<const TResultat*>& rows)
        : recipe_(recipe)
        , sort_(sort)
        , rows_(rows) {}

    void Sort(std::vector<quint32>& order, std::size_t first, std::size_t last, std::size_t part) {
        if (last - first < 2 || part >= recipe_.Count)
            return;
        std::size_t stop = part + 1;
        while (stop < recipe_.Count && !TextOf(recipe_.Parts[stop]))
            ++stop;
        std::size_t width = 0;
        for (std::size_t p = part; p < stop; ++p)
            width += KeysOf(recipe_.Parts[p]);
        const std::size_t n = last - first;
        const std::vector<qint32> textRanks = TextRanks(order, first, last, part);
        std::vector<qint64> keys(n * width);
        // Only links other than texts read the rows.
        bool readsRows = false;
        for (std::size_t p = part; p < stop; ++p)
            readsRows = readsRows || !TextOf(recipe_.Parts[p]);
        for (std::size_t i = 0; i < n; ++i) {
            if (readsRows && i + PrefetchRows < n)
                PrefetchSortFields(*rows_[order[first + i + PrefetchRows]]);
            qint64* key = keys.data() + i * width;
            const qint32 rank = textRanks.empty() ? 0 : textRanks[i];
            for (std::size_t p = part; p < stop; ++p)
                key = PartKeys(recipe_.Parts[p], sort_, *rows_[order[first + i]], rank, key);
        }
        // Each key less its least in the bits its spread needs, the first keys the highest bits.
        std::vector<qint64> least(width, std::numeric_limits<qint64>::max());
        std::vector<qint64> most(width, std::numeric_limits<qint64>::min());
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t c = 0; c < width; ++c) {
                least[c] = std::min(least[c], keys[i * width + c]);
                most[c] = std::max(most[c], keys[i * width + c]);
            }
        }
        std::vector<std::size_t> wordOf(width, 0);
        std::vector<int> shiftOf(width, 0);
        std::vector<int> bitsOf(width, 0);
        std::size_t words = 0;
        int used = 64;
        for (std::size_t c = 0; c < width; ++c) {
            bitsOf[c] = KeyBits(quint64(most[c]) - quint64(least[c]));
            if (bitsOf[c] == 0)
                continue;
            if (used + bitsOf[c] > 64) {
                ++words;
                used = 0;
            }
            used += bitsOf[c];
            wordOf[c] = words - 1;
            shiftOf[c] = 64 - used;
        }
        used_ = used;
        std::vector<quint64> packed(n * std::max<std::size_t>(words, 1), 0);
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t c = 0; c < width; ++c) {
                if (bitsOf[c] != 0)
                    packed[i * words + wordOf[c]] |= (quint64(keys[i * width + c]) - quint64(least[c]))
                                                     << shiftOf[c];
            }
        }
        switch (words) {
        case 0:
            // All alike so far.
            Sort(order, first, last, stop);
            break;
        case 1:
            SortPacked<1>(order, first, last, packed, stop);
            break;
        case 2:
            SortPacked<2>(order, first, last, packed, stop);
            break;
        case 3:
            SortPacked<3>(order, first, last, packed, stop);
            break;
        case 4:
            SortPacked<4>(order, first, last, packed, stop);
            break;
        default:
            SortPacked<MaxWords>(order, first, last, packed, stop);
            break;
        }
    }

private:
    // The recipes' runs of links take at most this many keys.
    static constexpr std::size_t MaxWords = 10;
    // From this many rows on, keys in one word are sorted a byte at a time, in time linear in the rows.
    static constexpr std::size_t RadixRows = 64;
    static constexpr int RadixBits = 8;

    // Sorts by the highest bits bits of the one word, low byte first: each pass keeps the order of the
    // one before among equal bytes, so equal keys keep their order.
    void RadixSort(std::vector<TKeyed<1>>& keyed, int bits) {
        constexpr std::size_t Digits = std::size_t(1) << RadixBits;
        // Rows already in order (a list sorted again) stay as they are.
        if (std::is_sorted(keyed.begin(), keyed.end(),
                           [](const TKeyed<1>& a, const TKeyed<1>& b) { return a.Keys[0] < b.Keys[0]; }))
            return;
        scratch_.resize(keyed.size());
        for (int shift = 64 - bits; shift < 64; shift += RadixBits) {
            std::array<std::size_t, Digits> count{};
            for (const TKeyed<1>& k : keyed)
                ++count[(k.Keys[0] >> shift) & (Digits - 1)];
            // A byte all the rows share moves nothing.
            if (count[(keyed.front().Keys[0] >> shift) & (Digits - 1)] == keyed.size())
                continue;
            std::size_t sum = 0;
            for (std::size_t& c : count)
                sum += std::exchange(c, sum);
            for (const TKeyed<1>& k : keyed)
                scratch_[count[(k.Keys[0] >> shift) & (Digits - 1)]++] = k;
            keyed.swap(scratch_);
        }
    }

    static int KeyBits(quint64 spread) { return static_cast<int>(std::bit_width(spread)); }

    // The text of a link when it is one that tells rows apart.
    std::optional<TResultSort::TText> CountingText(std::size_t part) const {
        const auto text = TextOf(recipe_.Parts[part]);
        if (!text || (recipe_.Parts[part] == TieBreak && !sort_.Rules().HasTieBreak()))
            return std::nullopt;
        return text;
    }

    // The ranks of the rows' texts when the first link is a text that counts; else none.
    std::vector<qint32> TextRanks(const std::vector<quint32>& order, std::size_t first, std::size_t last,
                                  std::size_t part) const {
        const auto text = CountingText(part);
        if (!text)
            return {};
        std::vector<qint32> ranks;
        if (sort_.HasTextRanks(*text)) {
            // A rank is found by where the sort indexed the row, at the row's start; the keys read next
            // lie in the lines after it.
            ranks.reserve(last - first);
            for (std::size_t i = first; i < last; ++i) {
                if (i + PrefetchRows < last)
                    PrefetchSortFields(*rows_[order[i + PrefetchRows]]);
                ranks.push_back(sort_.TextRank(*text, *rows_[order[i]]));
            }
            return ranks;
        }
        std::vector<const TResultat*> rows;
        for (std::size_t i = first; i < last; ++i)
            rows.push_back(rows_[order[i]]);
        return sort_.RankTexts(*text, rows);
    }

    template <std::size_t Width>
    void SortPacked(std::vector<quint32>& order, std::size_t first, std::size_t last,
                    const std::vector<quint64>& packed, std::size_t stop) {
        const std::size_t words = packed.size() / (last - first);
        std::vector<TKeyed<Width>> keyed(last - first);
        for (std::size_t i = 0; i < keyed.size(); ++i) {
            keyed[i].Keys.fill(0);
            std::copy_n(packed.begin() + std::ptrdiff_t(i * words), words, keyed[i].Keys.begin());
            keyed[i].Row = order[first + i];
        }
        if constexpr (Width == 1) {
            if (keyed.size() >= RadixRows) {
                RadixSort(keyed, used_);
            } else {
                std::stable_sort(
                    keyed.begin(), keyed.end(),
                    [](const TKeyed<Width>& a, const TKeyed<Width>& b) { return a.Keys < b.Keys; });
            }
        } else {
            std::stable_sort(keyed.begin(), keyed.end(),
                             [](const TKeyed<Width>& a, const TKeyed<Width>& b) { return a.Keys < b.Keys; });
        }
        for (std::size_t i = 0; i < keyed.size(); ++i)
            order[first + i] = keyed[i].Row;
        if (stop >= recipe_.Count)
            return;
        // Runs of rows equal so far, ordered by the links that follow.
        std::vector<std::pair<std::size_t, std::size_t>> runs;
        std::size_t tied = 0;
        for (std::size_t run = 0; run < keyed.size();) {
            std::size_t end = run + 1;
            while (end < keyed.size() && keyed[end].Keys == keyed[run].Keys)
                ++end;
            if (end - run > 1) {
                runs.emplace_back(run, end);
                tied += end - run;
            }
            run = end;
        }
        if (const auto text = CountingText(stop))
            sort_.RankForRuns(*text, tied);
        for (const auto& [run, end] : runs)
            Sort(order, first + run, first + end, stop);
    }

    const TRecipe& recipe_;
    const TResultSort& sort_;
    const std::vector<const TResultat*>& rows_;
    // The bits the packed keys of the run being sorted take in their last word.
    int used_ = 0;
    std::vector<TKeyed<1>> scratch_;
};

template <typename Rows>
bool SortRows(Rows& rows, const TResultSort& sort, TResultatCompare compare) {
    const TRecipe* recipe = RecipeOf(compare);
    if (!recipe)
        return false;
    if (!sort.Holds(rows))
        sort.Index(rows);
    std::vector<const TResultat*> plain;
    plain.reserve(rows.size());
    for (const auto& row : rows)
        plain.push_back(&*row);
    std::vector<quint32> order(rows.size());
    std::iota(order.begin(), order.end(), quint32(0));
    TKeySorter(*recipe, sort, plain).Sort(order, 0, order.size(), 0);
    Rows sorted;
    sorted.reserve(rows.size());
    for (const quint32 i : order)
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
    return true;
}

} // namespace

bool SortOnKeys(std::vector<TResultat*>& rows, const TResultSort& sort, TResultatCompare compare) {
    return SortRows(rows, sort, compare);
}

bool SortOnKeys(std::vector<std::unique_ptr<TResultat>>& rows, const TResultSort& sort,
                TResultatCompare compare) {
    return SortRows(rows, sort, compare);
}

void PrefetchSortFields(const TResultat& row) {
    // The row's start holds where a sort indexed it; the fields the keys read, the status among them,
    // lie in the lines after it up to Point, which a row's alignment puts in the line of Plac.
    for (const void* field : {static_cast<const void*>(&row), static_cast<const void*>(&row.SG),
                              static_cast<const void*>(&row.Modified), static_cast<const void*>(&row.Plac)})
        __builtin_prefetch(field);
}

qint64 MarkKey(const TResultRules& rules, qint32 value, bool withKorrektion) {
    const qint64 v = CompareValue(rules, value, withKorrektion);
    return rules.IsTid() ? v : -v;
}

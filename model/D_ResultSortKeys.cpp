// The row orders as lists of whole-number keys: a comparison chain becomes the keys of its links in
// turn, higher-first links negated, so that comparing the keys in turn gives what the chain gives.
#include "model/D_ResultSortKeys.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>

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

// A mark as the comparisons order it: timed events ascending, others descending.
qint64 MarkKey(const TResultRules& rules, qint32 value, bool withKorrektion) {
    const qint64 v = CompareValue(rules, value, withKorrektion);
    return rules.IsTid() ? v : -v;
}

// Writes the keys of one link of the row at key.
qint64* PartKeys(TPart part, const TResultSort& sort, const TResultat& row, qint64* key) {
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
        *key = rules.HasTieBreak() ? -sort.TextRank(TResultSort::TText::TieBreak, row) : 0;
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
        *key = sort.TextRank(TResultSort::TText::Navn, row);
        break;
    case Klub:
        *key = sort.TextRank(TResultSort::TText::Klub, row);
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

template <typename Rows>
bool SortRows(Rows& rows, const TResultSort& sort, TResultatCompare compare) {
    const TRecipe* recipe = RecipeOf(compare);
    if (!recipe)
        return false;
    if (!sort.Holds(rows))
        sort.Index(rows);
    const std::size_t n = rows.size();
    std::size_t width = 0;
    for (std::size_t p = 0; p < recipe->Count; ++p)
        width += KeysOf(recipe->Parts[p]);
    std::vector<qint64> keys(n * width);
    for (std::size_t i = 0; i < n; ++i) {
        qint64* key = keys.data() + i * width;
        for (std::size_t p = 0; p < recipe->Count; ++p)
            key = PartKeys(recipe->Parts[p], sort, *rows[i], key);
    }
    std::vector<quint32> order(n);
    std::iota(order.begin(), order.end(), quint32(0));
    const qint64* data = keys.data();
    std::stable_sort(order.begin(), order.end(), [data, width](quint32 a, quint32 b) {
        const qint64* x = data + std::size_t(a) * width;
        const qint64* y = data + std::size_t(b) * width;
        for (std::size_t k = 0; k < width; ++k) {
            if (x[k] != y[k])
                return x[k] < y[k];
        }
        return false;
    });
    Rows sorted;
    sorted.reserve(n);
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

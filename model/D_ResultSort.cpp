// The rules of a round, the sorts that follow them and the row orders.
#include "model/D_Result.h"

#include "foundation/DanishOrder.h"
#include "model/D_Ovelser.h"
#include "model/D_ResultSortKeys.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <numeric>

namespace {

template <typename T>
int Sign(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Higher first.
template <typename T>
int Descending(T a, T b) {
    return Sign(b, a);
}

int CompareText(const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The first comparison that tells the rows apart.
template <typename... Compare>
int Chain(const TResultSort& sort, const TResultat& a, const TResultat& b, Compare... compare) {
    int c = 0;
    ((c = c != 0 ? c : compare(sort, a, b)), ...);
    return c;
}

// Status with out-of-competition rows, then a score, highest first.
template <typename T>
int StatusUKThenHigher(const TResultat& a, const TResultat& b, T TResultat::*score) {
    const int c = Sign(a.GetStatusOrderUK(), b.GetStatusOrderUK());
    return c != 0 ? c : Descending(a.*score, b.*score);
}

int CompareByKlub(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return sort.CompareKlub(a, b);
}

// A mark's comparison value: timed events ascending, others descending.
int CompareMarks(const TResultRules& rules, qint32 a, qint32 b, bool withKorrektion) {
    const qint64 x = CompareValue(rules, a, withKorrektion);
    const qint64 y = CompareValue(rules, b, withKorrektion);
    return rules.IsTid() ? Sign(x, y) : Descending(x, y);
}

template <typename Rows>
void SortBy(Rows& rows, const TResultSort& sort, TResultatCompare compare) {
    if (SortOnKeys(rows, sort, compare))
        return;
    sort.Index(rows);
    std::stable_sort(rows.begin(), rows.end(),
                     [&sort, compare](const auto& a, const auto& b) { return compare(sort, *a, *b) < 0; });
}

} // namespace

// ---------------------------------------------------------------- rules

bool TResultRules::IsTid() const {
    return IsTidOvtype(Ovtype);
}

bool TResultRules::HasTieBreak() const {
    return Ovtype == int(TOvtype::VertikalSpring) || Ovtype == int(TOvtype::HorisontalSpring) ||
           Ovtype == int(TOvtype::Kast);
}

TResultRules RulesOf(const TOvelseInfo* info) {
    TResultRules rules;
    if (!info)
        return rules;
    const TOvelseElement& ovelse = info->Ovelse();
    const TOvelseRnElement& runde = info->OvelseRn();
    rules.Ovtype = ovelse.GetOvtype();
    rules.EltidKorr = ovelse.GetField(OvelseField::EltidKorr)->GetAsInteger();
    rules.RankAsSeedning = runde.IsRankAsSeedning();
    rules.ResType = runde.GetField(OvelseRnField::ResType)->GetAsInteger();
    rules.FinaleType = runde.GetField(OvelseRnField::FinaleType)->GetAsInteger();
    return rules;
}

qint64 CompareValue(const TResultRules& rules, qint32 value, bool withKorrektion) {
    qint64 v = value;
    if (v < 0) {
        v = -v * 10;
        if (withKorrektion)
            v += rules.EltidKorr;
    }
    if (v == 0 && rules.IsTid())
        return 999999999;
    return v;
}

// ---------------------------------------------------------------- sorts

TResultSort::TResultSort(const TResultRules& rules)
    : rules_(rules) {}

TResultSort::~TResultSort() = default;

template <typename Rows>
void TResultSort::IndexRows(const Rows& rows) const {
    for (std::vector<qint32>& ranks : ranks_)
        ranks.clear();
    for (std::vector<std::optional<QString>>& keys : keys_)
        keys.clear();
    indexed_.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // Where the sort indexes a row opens it: the line is asked for ahead, to be written.
        if (i + PrefetchRows < rows.size())
            __builtin_prefetch(&*rows[i + PrefetchRows], 1);
        const TResultat& row = *rows[i];
        indexed_[i] = &row;
        row.sortOwner_ = this;
        row.sortSlot_ = i;
    }
}

void TResultSort::Index(const std::vector<TResultat*>& rows) const {
    IndexRows(rows);
}

void TResultSort::Index(const std::vector<std::unique_ptr<TResultat>>& rows) const {
    IndexRows(rows);
}

template <typename Rows>
bool TResultSort::HoldsRows(const Rows& rows) const {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PrefetchAhead(rows, i);
        if (!IsIndexed(*rows[i]))
            return false;
    }
    return true;
}

bool TResultSort::Holds(const std::vector<TResultat*>& rows) const {
    return HoldsRows(rows);
}

bool TResultSort::Holds(const std::vector<std::unique_ptr<TResultat>>& rows) const {
    return HoldsRows(rows);
}

bool TResultSort::IsIndexed(const TResultat& row) const {
    const std::size_t slot = row.sortSlot_;
    return row.sortOwner_ == this && slot < indexed_.size() && indexed_[slot] == &row;
}

const QCollator& TResultSort::NameOrder() const {
    if (!nameOrder_)
        nameOrder_ = std::make_unique<QCollator>(DanishNameOrder());
    return *nameOrder_;
}

const std::vector<qint32>& TResultSort::Ranks(TText text) const {
    std::vector<qint32>& ranks = ranks_[std::size_t(text)];
    if (ranks.empty())
        ranks = RankTexts(text, indexed_, false);
    return ranks;
}

std::vector<qint32> TResultSort::RankTexts(TText text, const std::vector<const TResultat*>& rows) const {
    return RankTexts(text, rows, true);
}

std::vector<qint32> TResultSort::RankTexts(TText text, const std::vector<const TResultat*>& rows,
                                           bool keepKeys) const {
    // Each distinct text once, in its order; the rows take the rank of theirs. Ranked for the whole round,
    // the ranks are all that is read later: a key not kept leaves its memory to the next row's.
    QHash<QString, qint32> distinct;
    std::vector<QString> texts;
    QString made;
    std::vector<qint32> of(rows.size());
    // Over a big round the rows lie far apart in memory: each row's start (where the sort indexed it) and
    // the field holding its text asked for ahead, and nearer on the text's own bytes.
    constexpr std::size_t Ahead = 12;
    constexpr std::size_t Near = 6;
    const auto field = [text](const TResultat& row) {
        return text == TText::Navn ? static_cast<const void*>(&row.Navn)
                                   : (text == TText::Klub ? static_cast<const void*>(&row.Klub)
                                                          : static_cast<const void*>(&row.Serier));
    };
    const auto bytes = [text](const TResultat& row) {
        return text == TText::Navn ? static_cast<const void*>(row.Navn.constData())
                                   : (text == TText::Klub ? static_cast<const void*>(row.Klub.constData())
                                                          : row.Serier.Storage());
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i + Ahead < rows.size()) {
            __builtin_prefetch(rows[i + Ahead]);
            __builtin_prefetch(field(*rows[i + Ahead]));
        }
        if (i + Near < rows.size())
            __builtin_prefetch(bytes(*rows[i + Near]));
        const TResultat& row = *rows[i];
        const QString* key = keepKeys ? &KeyFor(text, row) : MadeKey(text, row);
        if (!key) {
            made = MakeKey(text, row);
            key = &made;
        }
        const auto found = distinct.constFind(*key);
        if (found != distinct.constEnd()) {
            of[i] = *found;
        } else {
            of[i] = static_cast<qint32>(texts.size());
            distinct.insert(*key, of[i]);
            texts.push_back(*key);
        }
    }
    std::vector<qint32> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<qint32> rankOf(texts.size(), 0);
    const auto rankBy = [&](const auto& compare) {
        std::sort(order.begin(), order.end(), [&](qint32 a, qint32 b) { return compare(a, b) < 0; });
        for (std::size_t k = 1; k < order.size(); ++k)
            rankOf[std::size_t(order[k])] =
                rankOf[std::size_t(order[k - 1])] + (compare(order[k - 1], order[k]) != 0 ? 1 : 0);
    };
    if (text == TText::TieBreak) {
        rankBy([&](qint32 a, qint32 b) { return CompareText(texts[std::size_t(a)], texts[std::size_t(b)]); });
    } else {
        std::vector<QCollatorSortKey> keys;
        keys.reserve(texts.size());
        for (const QString& key : texts)
            keys.push_back(NameOrder().sortKey(key));
        rankBy([&](qint32 a, qint32 b) { return keys[std::size_t(a)].compare(keys[std::size_t(b)]); });
    }
    for (qint32& rank : of)
        rank = rankOf[std::size_t(rank)];
    return of;
}

void TResultSort::RankForRuns(TText text, std::size_t tied) const {
    if (!HasTextRanks(text) && 2 * tied >= indexed_.size())
        Ranks(text);
}

qint32 TResultSort::TextRank(TText text, const TResultat& row) const {
    return Ranks(text)[row.sortSlot_];
}

int TResultSort::CompareNavn(const TResultat& a, const TResultat& b) const {
    if (IsIndexed(a) && IsIndexed(b))
        return Sign(TextRank(TText::Navn, a), TextRank(TText::Navn, b));
    const int c = NameOrder().compare(NavnKey(a), NavnKey(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int TResultSort::CompareKlub(const TResultat& a, const TResultat& b) const {
    if (IsIndexed(a) && IsIndexed(b))
        return Sign(TextRank(TText::Klub, a), TextRank(TText::Klub, b));
    const int c = NameOrder().compare(KlubKey(a), KlubKey(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int TResultSort::CompareTieBreak(const TResultat& a, const TResultat& b) const {
    // Ranks made are read without the keys' bytes, which lie anywhere in memory.
    if (HasTextRanks(TText::TieBreak) && IsIndexed(a) && IsIndexed(b))
        return Sign(TextRank(TText::TieBreak, a), TextRank(TText::TieBreak, b));
    return CompareText(TieBreakKey(a), TieBreakKey(b));
}

std::optional<QString>& TResultSort::KeyOf(TText text, const TResultat& row) const {
    // The sort keeps the keys of the rows it indexed last by their slots; others apart.
    if (!IsIndexed(row))
        return others_[&row][std::size_t(text)];
    std::vector<std::optional<QString>>& keys = keys_[std::size_t(text)];
    if (keys.size() != indexed_.size())
        keys.resize(indexed_.size());
    return keys[row.sortSlot_];
}

QString TResultSort::MakeKey(TText text, const TResultat& row) const {
    switch (text) {
    case TText::Navn:
        return row.Navn.toUpper();
    case TText::Klub:
        return row.Klub.toUpper();
    case TText::TieBreak:
        break;
    }
    return row.Serier.GetTieBreakKey(rules_.Ovtype);
}

const QString* TResultSort::MadeKey(TText text, const TResultat& row) const {
    const std::vector<std::optional<QString>>& keys = keys_[std::size_t(text)];
    if (!IsIndexed(row) || row.sortSlot_ >= keys.size() || !keys[row.sortSlot_])
        return nullptr;
    return &*keys[row.sortSlot_];
}

const QString& TResultSort::KeyFor(TText text, const TResultat& row) const {
    std::optional<QString>& key = KeyOf(text, row);
    if (!key)
        key = MakeKey(text, row);
    return *key;
}

const QString& TResultSort::TieBreakKey(const TResultat& row) const {
    return KeyFor(TText::TieBreak, row);
}

const QString& TResultSort::NavnKey(const TResultat& row) const {
    return KeyFor(TText::Navn, row);
}

const QString& TResultSort::KlubKey(const TResultat& row) const {
    return KeyFor(TText::Klub, row);
}

void SortResultater(std::vector<TResultat*>& rows, const TResultSort& sort, TResultatCompare compare) {
    SortBy(rows, sort, compare);
}

void SortResultater(std::vector<std::unique_ptr<TResultat>>& rows, const TResultSort& sort,
                    TResultatCompare compare) {
    SortBy(rows, sort, compare);
}

void TResultatManager::Sort(const TResultSort& sort, TResultatCompare compare) {
    SortResultater(rows_, sort, compare);
}

void TResultatManager::Reorder(const std::vector<TResultat*>& order) {
    std::unordered_map<const TResultat*, std::size_t> at;
    for (std::size_t i = 0; i < order.size(); ++i)
        at.emplace(order[i], i);
    std::vector<std::unique_ptr<TResultat>> rows(rows_.size());
    for (auto& row : rows_)
        rows[at.at(row.get())] = std::move(row);
    rows_ = std::move(rows);
}

void TResultatManager::Sort(TResultatCompare compare) {
    Sort(TResultSort(Rules()), compare);
}

void TResultatManager::SortRows(std::vector<TResultat*>& rows, TResultatCompare compare) {
    SortResultater(rows, TResultSort(Rules()), compare);
}

int TResultatManager::CompareResultat(qint32 a, qint32 b, bool withKorrektion) const {
    return CompareMarks(RulesOf(ovelseInfo_), a, b, withKorrektion);
}

// ---------------------------------------------------------------- comparisons

int CompareByStartnummer(const TResultSort&, const TResultat& a, const TResultat& b) {
    return Sign(a.Startnummer, b.Startnummer);
}

int CompareByStatus(const TResultSort&, const TResultat& a, const TResultat& b) {
    return Sign(a.GetStatusOrder(), b.GetStatusOrder());
}

int CompareByStatusUK(const TResultSort&, const TResultat& a, const TResultat& b) {
    return Sign(a.GetStatusOrderUK(), b.GetStatusOrderUK());
}

int CompareBySG(const TResultSort&, const TResultat& a, const TResultat& b) {
    return Sign(a.SG, b.SG);
}

int CompareBySeedning(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    const TResultRules& rules = sort.Rules();
    int c = Chain(sort, a, b, CompareByStatus, CompareBySG);
    if (c != 0)
        return c;
    if (rules.RankAsSeedning) {
        c = Sign(a.Rank, b.Rank);
        return c != 0 ? c : Sign(a.SeedLodtraekning, b.SeedLodtraekning);
    }
    return CompareMarks(rules, a.Seedning, b.Seedning, true);
}

int CompareByResultat(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    const TResultRules& rules = sort.Rules();
    int c = CompareByStatusUK(sort, a, b);
    if (c == 0)
        c = CompareMarks(rules, a.Resultat, b.Resultat, false);
    if (c == 0 && rules.HasTieBreak())
        c = -sort.CompareTieBreak(a, b);
    return c != 0 ? c : CompareByPK(sort, a, b);
}

int CompareByPK(const TResultSort&, const TResultat& a, const TResultat& b) {
    return Sign(a.PK, b.PK);
}

int CompareByPlac(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    const int c = Sign(a.Plac, b.Plac);
    return c != 0 ? c : CompareByPK(sort, a, b);
}

int CompareByForbedring(const TResultSort&, const TResultat& a, const TResultat& b) {
    return Descending(a.GetPRForbedring(), b.GetPRForbedring());
}

int CompareByHeat(const TResultSort&, const TResultat& a, const TResultat& b) {
    return Sign(a.GetHeatOrder(), b.GetHeatOrder());
}

int CompareByNavn(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return sort.CompareNavn(a, b);
}

int CompareByHeatNavn(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByHeat, CompareByNavn);
}

int CompareByHeatKlubNavn(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByHeat, CompareByKlub, CompareByNavn);
}

int CompareByKlubSeedning(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByKlub, CompareBySeedning);
}

int CompareByKlubResultat(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByKlub, CompareByResultat);
}

int CompareByRank(const TResultSort&, const TResultat& a, const TResultat& b) {
    const int c = Sign(a.Rank, b.Rank);
    return c != 0 ? c : Sign(a.Lodtraekning, b.Lodtraekning);
}

int CompareByHoldkode(const TResultSort&, const TResultat& a, const TResultat& b) {
    return Sign(a.Holdkode.unicode(), b.Holdkode.unicode());
}

int CompareByRankHoldkode(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByRank, CompareByHoldkode);
}

int CompareBySeedningRankNavn(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareBySeedning, CompareByRank, CompareByNavn);
}

int CompareByHeatSeedningRankNavn(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByHeat, CompareBySeedningRankNavn);
}

int CompareByHeatStartnummer(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByHeat, CompareByStartnummer);
}

int CompareByBaneSide(const TResultSort&, const TResultat& a, const TResultat& b) {
    // As the zero-padded text of lane, side and start number would compare, without making the texts.
    int c = Sign(a.Bane, b.Bane);
    if (c == 0)
        c = Sign(a.Side, b.Side);
    return c != 0 ? c : Sign(a.Startnummer, b.Startnummer);
}

int CompareByHeatBaneSide(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByHeat, CompareByBaneSide);
}

int CompareByHeatResultat(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByHeat, CompareByResultat, CompareByHeatBaneSide);
}

int CompareByResultatHeat(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByResultat, CompareByHeat, CompareByHeatBaneSide);
}

int CompareByResultatStartnummer(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByResultat, CompareByStartnummer);
}

int CompareByHeatKlubSeedning(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    return Chain(sort, a, b, CompareByHeat, CompareByKlubSeedning);
}

int CompareByPoint(const TResultSort&, const TResultat& a, const TResultat& b) {
    return StatusUKThenHigher(a, b, &TResultat::Point);
}

int CompareByPointPlac(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    const int c = Descending(a.Point, b.Point);
    return c != 0 ? c : CompareByPlac(sort, a, b);
}

int CompareByVTPoint(const TResultSort&, const TResultat& a, const TResultat& b) {
    return StatusUKThenHigher(a, b, &TResultat::VTPoint);
}

int CompareByVeteranPoint2(const TResultSort&, const TResultat& a, const TResultat& b) {
    return StatusUKThenHigher(a, b, &TResultat::VeteranPoint2);
}

// ---------------------------------------------------------------- sort methods

void TResultatManager::SortSeedning() {
    Sort(CompareBySeedningRankNavn);
}

void TResultatManager::SortHeatSeedning() {
    Sort(CompareByHeatSeedningRankNavn);
}

void TResultatManager::SortHeatStartnummer() {
    Sort(CompareByHeatStartnummer);
}

void TResultatManager::SortStartnummer() {
    Sort(CompareByStartnummer);
}

void TResultatManager::SortNavn() {
    Sort(CompareByNavn);
}

void TResultatManager::SortKlubSeedning() {
    Sort(CompareByKlubSeedning);
}

void TResultatManager::SortKlubResultat() {
    Sort(CompareByKlubResultat);
}

void TResultatManager::SortHeatBaneSide() {
    Sort(CompareByHeatBaneSide);
}

void TResultatManager::SortHeatResultat() {
    Sort(CompareByHeatResultat);
}

void TResultatManager::SortResultatHeat() {
    Sort(CompareByResultatHeat);
}

void TResultatManager::SortResultatStartnummer() {
    Sort(CompareByResultatStartnummer);
}

void TResultatManager::SortHeatKlubSeedning() {
    Sort(CompareByHeatKlubSeedning);
}

void TResultatManager::SortPoints() {
    Sort(CompareByPoint);
}

void TResultatManager::SortPointsPlacering() {
    Sort(CompareByPointPlac);
}

void TResultatManager::SortVTPoint() {
    Sort(CompareByVTPoint);
}

void TResultatManager::SortVeteranPoint2() {
    Sort(CompareByVeteranPoint2);
}

void TResultatManager::SortRankHoldkode() {
    Sort(CompareByRankHoldkode);
}

void TResultatManager::SortPRForbedring() {
    Sort(CompareByForbedring);
}

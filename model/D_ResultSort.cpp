// The current result manager, the rules of its round and the row orders that follow them.
#include "model/D_Result.h"

#include "model/D_Ovelser.h"

#include <algorithm>
#include <utility>

namespace {

// Every manager alive, oldest first, and the current one among them.
struct TManagers {
    std::vector<TResultatManager*> Alive;
    TResultatManager* Current = nullptr;
    // The sort running (0: none) and the last one begun: a row makes its tie-break key once per sort.
    quint64 Sort = 0;
    quint64 LastSort = 0;
};

TManagers& Managers() {
    static TManagers managers;
    return managers;
}

const TResultRules& CurrentRules() {
    static const TResultRules none;
    const TResultatManager* current = Managers().Current;
    return current ? current->Rules() : none;
}

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

int CompareUpper(const QString& a, const QString& b) {
    return CompareText(a.toUpper(), b.toUpper());
}

// The first comparison that tells the rows apart.
template <typename... Compare>
int Chain(const TResultat& a, const TResultat& b, Compare... compare) {
    int c = 0;
    ((c = c != 0 ? c : compare(a, b)), ...);
    return c;
}

// Status with out-of-competition rows, then a score, highest first.
template <typename T>
int StatusUKThenHigher(const TResultat& a, const TResultat& b, T TResultat::*score) {
    const int c = Sign(a.GetStatusOrderUK(), b.GetStatusOrderUK());
    return c != 0 ? c : Descending(a.*score, b.*score);
}

// Marks the rows' tie-break keys of the sort for its lifetime.
class TSortScope {
public:
    TSortScope()
        : saved_(std::exchange(Managers().Sort, ++Managers().LastSort)) {}
    ~TSortScope() { Managers().Sort = saved_; }
    TSortScope(const TSortScope&) = delete;
    TSortScope& operator=(const TSortScope&) = delete;

private:
    quint64 saved_;
};

// Outside a sort the key is made for each comparison, so a row's series may change between them.
QString TieBreakKeyOf(const TResultat& row, qint32 ovtype) {
    const quint64 sort = Managers().Sort;
    return sort == 0 ? row.Serier.GetTieBreakKey(ovtype) : row.TieBreakKey(ovtype, sort);
}

int CompareByKlub(const TResultat& a, const TResultat& b) {
    return CompareUpper(a.Klub, b.Klub);
}

// A mark's comparison value: timed events ascending, others descending.
int CompareMarks(const TResultRules& rules, qint32 a, qint32 b, bool withKorrektion) {
    const qint64 x = CompareValue(rules, a, withKorrektion);
    const qint64 y = CompareValue(rules, b, withKorrektion);
    return rules.IsTid() ? Sign(x, y) : Descending(x, y);
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

TResultatManager* CurrentResultatManager() {
    return Managers().Current;
}

// ---------------------------------------------------------------- the managers alive

void TResultatManager::Register() {
    Managers().Alive.push_back(this);
    Managers().Current = this;
}

void TResultatManager::Unregister() {
    TManagers& managers = Managers();
    std::erase(managers.Alive, this);
    if (managers.Current == this)
        managers.Current = managers.Alive.empty() ? nullptr : managers.Alive.back();
}

void TResultatManager::MakeCurrent() {
    Managers().Current = this;
}

// Stands in for the current manager, whichever was current before.
TResultatManager::TCurrentScope::TCurrentScope(TResultatManager& manager)
    : saved_(std::exchange(Managers().Current, &manager)) {
    manager.rules_ = RulesOf(manager.ovelseInfo_);
}

TResultatManager::TCurrentScope::~TCurrentScope() {
    Managers().Current = saved_;
}

template <typename Rows>
void TResultatManager::SortBy(Rows& rows, TResultatCompare compare) {
    const TCurrentScope current(*this);
    const TSortScope sort;
    std::stable_sort(rows.begin(), rows.end(),
                     [compare](const auto& a, const auto& b) { return compare(*a, *b) < 0; });
}

void TResultatManager::Sort(TResultatCompare compare) {
    SortBy(rows_, compare);
}

void TResultatManager::SortRows(std::vector<TResultat*>& rows, TResultatCompare compare) {
    SortBy(rows, compare);
}

int TResultatManager::CompareResultat(qint32 a, qint32 b, bool withKorrektion) const {
    return CompareMarks(RulesOf(ovelseInfo_), a, b, withKorrektion);
}

// ---------------------------------------------------------------- comparisons

int CompareByStartnummer(const TResultat& a, const TResultat& b) {
    return Sign(a.Startnummer, b.Startnummer);
}

int CompareByStatus(const TResultat& a, const TResultat& b) {
    return Sign(a.GetStatusOrder(), b.GetStatusOrder());
}

int CompareByStatusUK(const TResultat& a, const TResultat& b) {
    return Sign(a.GetStatusOrderUK(), b.GetStatusOrderUK());
}

int CompareBySG(const TResultat& a, const TResultat& b) {
    return Sign(a.SG, b.SG);
}

int CompareBySeedning(const TResultat& a, const TResultat& b) {
    const TResultRules& rules = CurrentRules();
    int c = Chain(a, b, CompareByStatus, CompareBySG);
    if (c != 0)
        return c;
    if (rules.RankAsSeedning) {
        c = Sign(a.Rank, b.Rank);
        return c != 0 ? c : Sign(a.SeedLodtraekning, b.SeedLodtraekning);
    }
    return CompareMarks(rules, a.Seedning, b.Seedning, true);
}

int CompareByResultat(const TResultat& a, const TResultat& b) {
    const TResultRules& rules = CurrentRules();
    int c = CompareByStatusUK(a, b);
    if (c == 0)
        c = CompareMarks(rules, a.Resultat, b.Resultat, false);
    if (c == 0 && rules.HasTieBreak())
        c = -CompareText(TieBreakKeyOf(a, rules.Ovtype), TieBreakKeyOf(b, rules.Ovtype));
    return c != 0 ? c : CompareByPK(a, b);
}

int CompareByPK(const TResultat& a, const TResultat& b) {
    return Sign(a.PK, b.PK);
}

int CompareByPlac(const TResultat& a, const TResultat& b) {
    return Chain(
        a, b, [](const TResultat& x, const TResultat& y) { return Sign(x.Plac, y.Plac); }, CompareByPK);
}

int CompareByForbedring(const TResultat& a, const TResultat& b) {
    return Descending(a.GetPRForbedring(), b.GetPRForbedring());
}

int CompareByHeat(const TResultat& a, const TResultat& b) {
    return Sign(a.GetHeatOrder(), b.GetHeatOrder());
}

int CompareByNavn(const TResultat& a, const TResultat& b) {
    return CompareUpper(a.Navn, b.Navn);
}

int CompareByHeatNavn(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByHeat, CompareByNavn);
}

int CompareByHeatKlubNavn(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByHeat, CompareByKlub, CompareByNavn);
}

int CompareByKlubSeedning(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByKlub, CompareBySeedning);
}

int CompareByKlubResultat(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByKlub, CompareByResultat);
}

int CompareByRank(const TResultat& a, const TResultat& b) {
    const int c = Sign(a.Rank, b.Rank);
    return c != 0 ? c : Sign(a.Lodtraekning, b.Lodtraekning);
}

int CompareByHoldkode(const TResultat& a, const TResultat& b) {
    return Sign(a.Holdkode.unicode(), b.Holdkode.unicode());
}

int CompareByRankHoldkode(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByRank, CompareByHoldkode);
}

int CompareBySeedningRankNavn(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareBySeedning, CompareByRank, CompareByNavn);
}

int CompareByHeatSeedningRankNavn(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByHeat, CompareBySeedningRankNavn);
}

int CompareByHeatStartnummer(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByHeat, CompareByStartnummer);
}

int CompareByBaneSide(const TResultat& a, const TResultat& b) {
    // As the zero-padded text of lane, side and start number would compare, without making the texts.
    int c = Sign(a.Bane, b.Bane);
    if (c == 0)
        c = Sign(a.Side, b.Side);
    return c != 0 ? c : Sign(a.Startnummer, b.Startnummer);
}

int CompareByHeatBaneSide(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByHeat, CompareByBaneSide);
}

int CompareByHeatResultat(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByHeat, CompareByResultat, CompareByHeatBaneSide);
}

int CompareByResultatHeat(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByResultat, CompareByHeat, CompareByHeatBaneSide);
}

int CompareByResultatStartnummer(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByResultat, CompareByStartnummer);
}

int CompareByHeatKlubSeedning(const TResultat& a, const TResultat& b) {
    return Chain(a, b, CompareByHeat, CompareByKlubSeedning);
}

int CompareByPoint(const TResultat& a, const TResultat& b) {
    return StatusUKThenHigher(a, b, &TResultat::Point);
}

int CompareByPointPlac(const TResultat& a, const TResultat& b) {
    return Chain(
        a, b, [](const TResultat& x, const TResultat& y) { return Descending(x.Point, y.Point); },
        CompareByPlac);
}

int CompareByVTPoint(const TResultat& a, const TResultat& b) {
    return StatusUKThenHigher(a, b, &TResultat::VTPoint);
}

int CompareByVeteranPoint2(const TResultat& a, const TResultat& b) {
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

// Team results: a club's best rows grouped into teams, the teams' totals, places and points.
#include "model/D_ResultHold.h"

#include "model/D_DBDef.h"
#include "model/D_Ovelser.h"
#include "model/D_ResultSortKeys.h"
#include "model/D_Tekster.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <utility>

namespace {

qint32 Clamped(qint64 value) {
    return static_cast<qint32>(
        std::clamp<qint64>(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

// The rows that can count for a team, in the order of rows.
template <typename Rows>
std::vector<TResultat*> TeamRows(const Rows& rows) {
    std::vector<TResultat*> picked;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // The statuses and the mark: the line of Modified and that of Plac.
        if (i + PrefetchNarrowRows < rows.size()) {
            __builtin_prefetch(&rows[i + PrefetchNarrowRows]->Modified);
            __builtin_prefetch(&rows[i + PrefetchNarrowRows]->Plac);
        }
        TResultat* row = &*rows[i];
        if (row->IsValid() && !row->IsUK() && !row->IsUdenforHold() && row->hasMark())
            picked.push_back(row);
    }
    return picked;
}

// Each team by its team row while the rows are sorted: one table in one block, where a map would make a
// node per team.
class TTeamOfRow {
public:
    explicit TTeamOfRow(std::size_t count) {
        std::size_t size = 16;
        while (size < 2 * count)
            size *= 2;
        slots_.resize(size);
        mask_ = size - 1;
    }
    void Put(std::unique_ptr<THold> hold) {
        const TResultat* row = hold->HoldResultat.get();
        std::size_t at = Home(row);
        while (slots_[at].first)
            at = (at + 1) & mask_;
        slots_[at] = {row, std::move(hold)};
    }
    std::unique_ptr<THold> Take(const TResultat* row) {
        std::size_t at = Home(row);
        while (slots_[at].first && slots_[at].first != row)
            at = (at + 1) & mask_;
        // The slot stays taken, so that the rows put after it are still found.
        return std::move(slots_[at].second);
    }

private:
    std::size_t Home(const TResultat* row) const {
        const auto bits = static_cast<quint64>(reinterpret_cast<std::uintptr_t>(row));
        return static_cast<std::size_t>((bits >> 4) * 0x9E3779B97F4A7C15ULL >> 20) & mask_;
    }

    std::vector<std::pair<const TResultat*, std::unique_ptr<THold>>> slots_;
    std::size_t mask_ = 0;
};

} // namespace

// ---------------------------------------------------------------- THold

THold::THold(std::unique_ptr<TResultat> holdResultat)
    : HoldResultat(std::move(holdResultat)) {}

TResultat* THold::GetResultat(int index) const {
    return index >= 0 && index < Count() ? Medlemmer[static_cast<std::size_t>(index)] : nullptr;
}

qint32 THold::CalcTotalTid() const {
    qint64 hundredths = 0;
    for (const TResultat* row : Medlemmer)
        hundredths += TidToHundredths(row->Resultat);
    return Clamped(HundredthsToTid(hundredths));
}

qint32 THold::CalcTotal() const {
    qint64 total = 0;
    for (const TResultat* row : Medlemmer)
        total += row->Resultat;
    return Clamped(total);
}

// ---------------------------------------------------------------- THoldResultater

qint32 THoldResultater::HoldSize() const {
    return OvelseInfo ? OvelseInfo->GetAntalPrHold() : 0;
}

THoldResultater::~THoldResultater() {
    Clear();
}

void THoldResultater::Clear() {
    byKey_.clear();
    // Over a big round the teams lie anywhere in memory, and freeing a team reads the whole of its row:
    // each team asked for a few teams ahead.
    constexpr std::size_t Ahead = 8;
    for (std::size_t h = 0; h < hold_.size(); ++h) {
        if (h + Ahead < hold_.size())
            __builtin_prefetch(hold_[h + Ahead].get());
        if (h + Ahead / 2 < hold_.size()) {
            const auto* row = reinterpret_cast<const char*>(hold_[h + Ahead / 2]->HoldResultat.get());
            for (std::size_t at = 0; at < sizeof(TResultat); at += 64)
                __builtin_prefetch(row + at);
        }
        hold_[h].reset();
    }
    hold_.clear();
}

THold* THoldResultater::GetHold(int index) const {
    return index >= 0 && index < Count() ? hold_[static_cast<std::size_t>(index)].get() : nullptr;
}

THold* THoldResultater::Add(std::unique_ptr<THold> hold) {
    THold* added = hold.get();
    hold_.push_back(std::move(hold));
    byKey_[added->GetHoldNavn()].push_back(added);
    return added;
}

void THoldResultater::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    hold_.erase(hold_.begin() + index);
    IndexHold();
}

void THoldResultater::IndexHold() {
    byKey_.clear();
    for (const auto& hold : hold_)
        byKey_[hold->GetHoldNavn()].push_back(hold.get());
}

void THoldResultater::Unindex(const THold* hold) {
    const auto found = byKey_.find(hold->GetHoldNavn());
    if (found == byKey_.end())
        return;
    std::vector<THold*>& teams = *found;
    // The club's last, as a rule: searched from the back.
    const auto own = std::find(teams.rbegin(), teams.rend(), hold);
    if (own != teams.rend())
        teams.erase(std::next(own).base());
    if (teams.empty())
        byKey_.erase(found);
}

THold* THoldResultater::FindOpenHold(const QString& key) const {
    // A club's teams fill one after another: only the last can still be open.
    const auto found = byKey_.constFind(key);
    if (found == byKey_.constEnd() || found->empty())
        return nullptr;
    THold* last = found->back();
    return last->Count() < HoldSize() ? last : nullptr;
}

void THoldResultater::CalcPlacering() {
    const qint32 size = HoldSize();
    // Only a club's last team can be short of members: it leaves the end of its club's teams.
    std::erase_if(hold_, [this, size](const auto& hold) {
        if (hold->Count() >= size)
            return false;
        Unindex(hold.get());
        return true;
    });
    if (hold_.empty())
        return;

    const bool tid = OvelseInfo && OvelseInfo->Ovelse().IsTidOvelse();
    std::vector<TResultat*> rows;
    rows.reserve(hold_.size());
    TTeamOfRow holdOf(hold_.size());
    // The members of a big round's teams lie anywhere in memory: their marks asked for a few teams ahead.
    constexpr std::size_t Ahead = 4;
    for (std::size_t h = 0; h < hold_.size(); ++h) {
        if (h + Ahead < hold_.size()) {
            for (const TResultat* member : hold_[h + Ahead]->Medlemmer)
                __builtin_prefetch(&member->Resultat);
        }
        auto& hold = hold_[h];
        TResultat& row = *hold->HoldResultat;
        row.SetResultat(tid ? hold->CalcTotalTid() : hold->CalcTotal());
        rows.push_back(&row);
        holdOf.Put(std::move(hold));
    }
    SortResultater(rows, TResultSort(RulesOf(OvelseInfo)), CompareByResultat);
    hold_.clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        TResultat& row = *rows[i];
        const TResultat* previous = i > 0 ? rows[i - 1] : nullptr;
        row.SetPlac(previous && previous->Resultat == row.Resultat ? previous->Plac
                                                                   : static_cast<qint32>(i + 1));
        hold_.push_back(holdOf.Take(&row));
    }
}

void THoldResultater::CalcPoint(qint32 method) {
    const int table = GetPlaceringsPointTabel(method);
    if (table == 0)
        return;
    for (const auto& hold : hold_)
        hold->HoldResultat->SetPoint(hold->HoldResultat->GetPlaceringsPoint(table));
}

// ---------------------------------------------------------------- the manager's teams

void TResultatManager::CalcHoldResultater() {
    const TResultSort sort(Rules());
    CalcHoldResultater(sort);
}

void TResultatManager::CalcHoldResultater(const TResultSort& sort,
                                          const std::vector<TResultat*>* resultOrder) {
    holdResultater_.reset();
    if (!ovelseInfo_ || ovelseInfo_->GetAntalPrHold() <= 0)
        return;
    // A club's best rows form its first team, whichever heat they ran in. Picked in order from rows
    // already in that order, they are in it too: a stable sort leaves them be.
    std::vector<TResultat*> rows = resultOrder ? TeamRows(*resultOrder) : TeamRows(rows_);
    if (!resultOrder)
        SortResultater(rows, sort, CompareByResultatHeat);

    auto hold = std::make_unique<THoldResultater>(ovelseInfo_);
    // In result order a big round's rows and their clubs' names lie anywhere in memory: asked for far
    // enough ahead to arrive in time.
    constexpr std::size_t Ahead = 32;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i + Ahead < rows.size())
            __builtin_prefetch(&rows[i + Ahead]->Klub);
        if (i + Ahead / 2 < rows.size())
            __builtin_prefetch(rows[i + Ahead / 2]->Klub.constData());
        TResultat* row = rows[i];
        THold* open = hold->FindOpenHold(row->Klub);
        if (!open) {
            auto holdResultat = std::make_unique<TResultat>(this, ovelseInfo_);
            holdResultat->Klub = row->Klub;
            open = hold->Add(std::make_unique<THold>(std::move(holdResultat)));
        }
        open->Add(row);
    }
    hold->CalcPlacering();
    if (ovelseInfo_->OvelseRn().GetField(OvelseRnField::HoldPoint)->GetAsInteger() == 1)
        hold->CalcPoint(ovelseInfo_->GetPointBeregning());
    holdResultater_ = std::move(hold);
}

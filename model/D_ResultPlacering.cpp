// Placing a round: its rows sorted by the round's result order and numbered, rows equal in that order
// sharing a place, per heat, over all heats or over the heats of lettered finals.
#include "model/D_Result.h"

#include "model/D_DBDef.h"
#include "model/D_Ovelser.h"
#include "model/D_ResultHold.h"
#include "model/D_ResultSortKeys.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

using TRows = std::vector<std::unique_ptr<TResultat>>;
using TRowIt = TRows::iterator;

// The rows of one heat in sorted order.
struct THeatRun {
    TRowIt First;
    TRowIt Last;
};

// Numbers a run of sorted rows from n on; a row equal to the one before it shares its place, and with
// perHeat each heat is numbered from 1 (in one pass: a big round's rows lie apart in memory, and every
// pass over them waits on each row). Returns the number after the run's last.
qint32 PlaceRun(const TResultSort& sort, TRowIt first, TRowIt last, qint32 n, bool perHeat = false) {
    const TResultat* previous = nullptr;
    for (auto it = first; it != last; ++it, ++n) {
        if (last - it > std::ptrdiff_t(PrefetchRows))
            PrefetchSortFields(**(it + PrefetchRows));
        TResultat& row = **it;
        if (perHeat && previous && row.Heat != previous->Heat) {
            previous = nullptr;
            n = 1;
        }
        row.SetPlac(previous && CompareByResultat(sort, row, *previous) == 0 ? previous->Plac : n);
        previous = &row;
    }
    return n;
}

// The runs of equal heat numbers in rows sorted by heat.
std::vector<THeatRun> HeatRuns(TRows& rows) {
    std::vector<THeatRun> runs;
    for (auto first = rows.begin(); first != rows.end();) {
        const quint16 heat = (*first)->Heat;
        const auto last =
            std::find_if(first, rows.end(), [heat](const auto& row) { return row->Heat != heat; });
        runs.push_back({first, last});
        first = last;
    }
    return runs;
}

// Rows in result order taken heat by heat, each heat keeping that order: the order by heat, then by result,
// as a stable sort on the heat alone leaves it.
void GroupByHeat(TRows& rows) {
    std::vector<quint32> heat(rows.size());
    quint32 least = std::numeric_limits<quint32>::max();
    quint32 most = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // Only the heat is read: one line a row.
        if (i + PrefetchNarrowRows < rows.size())
            __builtin_prefetch(&rows[i + PrefetchNarrowRows]->Heat);
        heat[i] = static_cast<quint32>(rows[i]->GetHeatOrder());
        least = std::min(least, heat[i]);
        most = std::max(most, heat[i]);
    }
    if (least == most)
        return;
    std::vector<std::size_t> start(most - least + 2, 0);
    for (const quint32 h : heat)
        ++start[h - least + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    TRows grouped(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        grouped[start[heat[i] - least]++] = std::move(rows[i]);
    rows = std::move(grouped);
}

qint32 CeilMean(qint64 sum, qint64 count) {
    return static_cast<qint32>(sum / count + (sum % count > 0 ? 1 : 0));
}

} // namespace

void TResultatManager::CalcPlacering() {
    const TResultSort sort(Rules());
    CalcPlacering(sort);
}

void TResultatManager::CalcPlacering(const TResultSort& sort, bool withTeams,
                                     std::vector<TResultat*>* byResult) {
    holdResultater_.reset();
    if (byResult)
        byResult->clear();
    if (!ovelseInfo_ || ovelser_.size() > 1)
        return;
    if (!HasResultat()) {
        // The last result is gone: so are the places it gave.
        for (const auto& row : rows_)
            row->SetPlac(0);
        return;
    }
    // One sort for the order, the places, the teams and the caller: the rows' keys are made once. With
    // places per heat the teams still want the round by result: sorted so, then grouped by heat.
    const TResultRules& rules = sort.Rules();
    const bool keepOrder = (withTeams && ovelseInfo_->GetAntalPrHold() > 0) || byResult;
    std::vector<TResultat*> resultOrder;
    if (rules.ResType == 0 && !keepOrder) {
        Sort(sort, CompareByHeatResultat);
    } else if (rules.ResType == 0 || rules.ResType == 1) {
        Sort(sort, CompareByResultatHeat);
        if (keepOrder)
            resultOrder = GetResultater();
        if (rules.ResType == 0)
            GroupByHeat(rows_);
    }

    if (rules.IsLetteredFinals()) {
        PlaceLetteredFinals(sort, rules.FinaleType == 2);
    } else {
        CalcStafetAargang();
        PlaceRows(sort, rules.ResType == 0);
    }
    // Placing changes places and relay ages, none of the keys the rows were sorted on.
    if (withTeams)
        CalcHoldResultater(sort, resultOrder.empty() ? nullptr : &resultOrder);
    if (byResult)
        *byResult = std::move(resultOrder);
}

void TResultatManager::PlaceLetteredFinals(const TResultSort& sort, bool highestFirst) {
    // The heats with a starter, each a final of its own; the places count on from one final to the
    // next. Rows without a heat, or in a heat where no one started, keep their places.
    std::vector<THeatRun> finals = HeatRuns(rows_);
    std::erase_if(finals, [](const THeatRun& run) {
        return (*run.First)->Heat == 0 ||
               std::none_of(run.First, run.Last, [](const auto& row) { return row->HasStarted(); });
    });
    if (highestFirst)
        std::reverse(finals.begin(), finals.end());
    qint32 n = 1;
    for (const THeatRun& final : finals)
        n = PlaceRun(sort, final.First, final.Last, n);
}

void TResultatManager::PlaceRows(const TResultSort& sort, bool perHeat) {
    PlaceRun(sort, rows_.begin(), rows_.end(), 1, perHeat);
}

void TResultatManager::CalcStafetAargang() {
    if (!ovelseInfo_->Ovelse().IsStafetOvelse())
        return;
    TDeltagerTable& deltager = DeltagerTable2();
    for (const auto& row : rows_) {
        qint64 sum = 0;
        qint64 count = 0;
        for (int i = 0; i < row->Serier.Count(); ++i) {
            const qint32 member = row->Serier.GetSerie(i)->Value;
            if (member <= 0 || !deltager.FindStaevneKey(0, {member}))
                continue;
            const qint32 aargang = deltager.GetField(DeltagerField::Aargang)->GetAsInteger();
            if (aargang > 0) {
                sum += aargang;
                ++count;
            }
        }
        const qint32 mean = count > 0 ? CeilMean(sum, count) : 0;
        if (row->Aargang != mean) {
            row->Aargang = static_cast<quint16>(mean);
            row->DeltagerModified = true;
        }
    }
}

// Combined events: the rows of the disciplines, and the combined rows' points totals, average wind and
// the long jump with lower wind that an athlete with too much wind on average may count instead.
#include "model/D_Result.h"

#include "model/D_DBDef.h"
#include "model/D_Ovelser.h"
#include "model/D_Tekster.h"

#include <cmath>
#include <unordered_map>

namespace {

// a / b rounded up towards plus infinity, for b > 0: -13 / 4 gives -3.
qint32 CeilDiv(qint32 a, qint32 b) {
    return a / b + (a % b > 0 ? 1 : 0);
}

} // namespace

// ---------------------------------------------------------------- TMKResultat

void TMKResultat::Reindex() const {
    index_.clear();
    for (int i = 0; i < Count(); ++i)
        index_.emplace(GetResultat(i)->Startnummer, i);
    indexed_ = Resultater.size();
}

int TMKResultat::IndexOfStartnummer(qint32 startnummer) const {
    if (indexed_ != Resultater.size())
        Reindex();
    auto found = index_.find(startnummer);
    if (found != index_.end() &&
        (found->second >= Count() || GetResultat(found->second)->Startnummer != startnummer)) {
        Reindex();
        found = index_.find(startnummer);
    }
    return found == index_.end() ? -1 : found->second;
}

// ---------------------------------------------------------------- the manager

void TResultatManager::CalcMKResultater() {
    mkResultater_.clear();
    for (const auto& row : rows_) {
        row->MKPointSum = -1.0;
        row->MKPoint3Sum = -1;
    }
    if (ovelser_.size() != 1 || !ovelseInfo_)
        return;
    for (TOvelseInfo* discipline : ovelseInfo_->MKOvelser()) {
        auto resultater = std::make_unique<TMKResultat>(discipline);
        ReadRound(*discipline, resultater->Resultater, nullptr);
        mkResultater_.push_back(std::move(resultater));
    }
    if (!ovelseInfo_->Ovelse().IsMangekampOvelse() ||
        ovelseInfo_->OvelseRn().GetField(OvelseRnField::AutoCalcPoint)->GetAsInteger() != 1)
        return;
    CalcMKPoint();
    CalcMKVindAlternativ();
    CalcPlacering();
}

void TResultatManager::CalcMKPoint() {
    std::unordered_map<qint32, TResultat*> combined;
    for (const auto& row : rows_) {
        combined.emplace(row->Startnummer, row.get());
        row->SetPoint(0);
        row->SetPoint3(0);
        row->SetResultat(0);
        row->SetVind(0);
        row->windDisciplines = 0;
        row->windExcess = 0;
        row->BestLegalResultat = 0;
        row->BestLegalVind = 0;
    }

    for (const auto& discipline : mkResultater_) {
        const bool vind = discipline->OvelseInfo->HasVindmaaling();
        for (const auto& row : discipline->Resultater) {
            row->alternativeAttempt = 0;
            const auto found = combined.find(row->Startnummer);
            // An athlete entered in a discipline but not in the combined event has no total to add to.
            if (found == combined.end())
                continue;
            TResultat& total = *found->second;
            total.SetResultat(total.Resultat + static_cast<qint32>(std::lround(row->Point)));
            total.SetPoint3(total.Point3 + row->Point3);
            if (vind) {
                ++total.windDisciplines;
                const bool unmeasured = total.Vind == WindNotMeasured || row->Vind == WindNotMeasured;
                total.SetVind(unmeasured ? WindNotMeasured : total.Vind + row->Vind);
            }
        }
    }

    for (const auto& row : rows_) {
        if (row->windDisciplines < 1 || row->Vind == WindNotMeasured)
            continue;
        const qint32 excess = row->Vind - MaxLegalVind * row->windDisciplines;
        row->SetVind(CeilDiv(row->Vind, row->windDisciplines));
        row->windExcess = std::max(excess, 0);
    }
}

void TResultatManager::CalcMKVindAlternativ() {
    std::unordered_map<qint32, TResultat*> excess;
    for (const auto& row : rows_) {
        if (row->windExcess > 0)
            excess.emplace(row->Startnummer, row.get());
    }
    if (excess.empty())
        return;
    for (const auto& discipline : mkResultater_) {
        const TOvelseInfo& info = *discipline->OvelseInfo;
        if (!info.Ovelse().IsHorizontalSpringOvelse() || !info.IsVindPrForsog())
            continue;
        for (const auto& row : discipline->Resultater) {
            const auto found = excess.find(row->Startnummer);
            if (found == excess.end())
                continue;
            TResultat& total = *found->second;
            // The longest jump whose wind, given, would bring the average down to 2.0 m/s.
            const qint32 target = row->Vind - total.windExcess;
            int best = -1;
            for (int i = 0; i < row->Serier.Count(); ++i) {
                const TSerie& serie = *row->Serier.GetSerie(i);
                if (serie.IsMark() && serie.Kode != SerieUdenVind && serie.Kode <= target &&
                    (best < 0 || serie.Value > row->Serier.GetSerie(best)->Value))
                    best = i;
            }
            if (best < 0)
                continue;
            const TSerie& alternativ = *row->Serier.GetSerie(best);
            const qint32 count = total.windDisciplines;
            total.BestLegalResultat = static_cast<qint32>(std::trunc(row->Point)) - alternativ.Point1;
            total.BestLegalVind =
                CeilDiv(MaxLegalVind * count + total.windExcess - row->Vind + alternativ.Kode, count);
            row->alternativeAttempt = best + 1;
        }
    }
}

// The event-overlap model: shared start numbers between the rounds of a class.
#include "model/D_GridKlasse.h"

#include "model/D_Ovelser.h"
#include "model/D_Result.h"

#include <algorithm>

TGridOvelse::TGridOvelse(TOvelseInfo* ovelseInfo)
    : OvelseInfo(ovelseInfo)
    , Titel(ovelseInfo ? ovelseInfo->GetKlasseOvelseText() : QString()) {}

const TGridDeltager* TGridOvelse::GetDeltager(int index) const {
    return index >= 0 && index < Count() ? &deltagere_[static_cast<std::size_t>(index)] : nullptr;
}

void TGridOvelse::LoadDeltagere(TResultatManager& manager) {
    deltagere_.clear();
    antal_.clear();
    manager.LoadOvelse(OvelseInfo);
    for (const TResultat* row : manager.GetResultater()) {
        if (!row->HasStarted())
            continue;
        deltagere_.push_back({row->Startnummer, row->Aargang, row->Navn, row->Klub});
        ++antal_[row->Startnummer];
    }
}

void TGridOvelse::CountStartnummer(qint32 startnummer) {
    const auto found = antal_.find(startnummer);
    if (found != antal_.end())
        Overlap += found->second;
}

TGridKlasse::TGridKlasse(const QString& klasseNavn)
    : KlasseNavn(klasseNavn) {}

TGridOvelse* TGridKlasse::GetOvelse(int index) const {
    return index >= 0 && index < Count() ? ovelser_[static_cast<std::size_t>(index)].get() : nullptr;
}

TGridOvelse& TGridKlasse::AddOvelse(TOvelseInfo* ovelseInfo, TResultatManager& manager) {
    auto ovelse = std::make_unique<TGridOvelse>(ovelseInfo);
    ovelse->LoadDeltagere(manager);
    ovelser_.push_back(std::move(ovelse));
    return *ovelser_.back();
}

TGridOvelse* TGridKlasse::Find(const TOvelseInfo* ovelseInfo) const {
    const auto found = std::find_if(ovelser_.begin(), ovelser_.end(), [ovelseInfo](const auto& ovelse) {
        return ovelse->OvelseInfo == ovelseInfo;
    });
    return found == ovelser_.end() ? nullptr : found->get();
}

void TGridKlasse::CalcOverlap(const TOvelseInfo* ovelseInfo) {
    for (const auto& ovelse : ovelser_)
        ovelse->Overlap = 0;
    const TGridOvelse* chosen = Find(ovelseInfo);
    if (!chosen)
        return;
    for (int i = 0; i < chosen->Count(); ++i) {
        const qint32 startnummer = chosen->GetDeltager(i)->Startnummer;
        for (const auto& ovelse : ovelser_) {
            if (ovelse.get() != chosen)
                ovelse->CountStartnummer(startnummer);
        }
    }
}

int TGridKlasse::GetOverlap(const TOvelseInfo* ovelseInfo) const {
    const TGridOvelse* ovelse = Find(ovelseInfo);
    return ovelse ? ovelse->Overlap : 0;
}

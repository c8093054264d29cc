#include "print/D_UdskriftReaktionstider.h"

#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Tekster.h"

#include <algorithm>

TReaktionstiderUdskrift::TReaktionstiderUdskrift(QObject* owner)
    : TOversigtUdskrift(owner, QStringLiteral("Reaktionstider"), QStringLiteral("reaktion"),
                        QStringLiteral("REAKTIONSTIDER")) {}

std::vector<TReaktionsTid> TReaktionstiderUdskrift::Collect(const std::vector<TOvelseInfo*>& rounds) {
    std::vector<TReaktionsTid> tider;
    TResultatManager& manager = OtherRounds();
    for (TOvelseInfo* info : rounds) {
        if (!info || info->AntalDeltagere < 1)
            continue;
        manager.LoadOvelse(info);
        if (!manager.HasResultat())
            continue;
        const QString ovelse = info->GetKlasseKode() + QStringLiteral(" / ") + info->GetOvelseKode() +
                               QStringLiteral(" - ") + info->GetRundeText();
        for (int i = 0; i < manager.Count(); ++i) {
            const TResultat& row = *manager.GetResultat(i);
            if (row.IsValid() && row.Reaktion != 0)
                tider.push_back({row.Reaktion, row.GetFormattedNavn(), row.GetKlub(), ovelse});
        }
    }
    manager.Clear();
    std::stable_sort(tider.begin(), tider.end(),
                     [](const TReaktionsTid& a, const TReaktionsTid& b) { return a.Tid < b.Tid; });
    return tider;
}

void TReaktionstiderUdskrift::Run() {
    std::vector<TOvelseInfo*> rounds;
    if (OvelseManager)
        for (const auto& entry : OvelseManager->KlasseIndex())
            rounds.push_back(entry.second);
    const std::vector<TReaktionsTid> tider = Collect(rounds);
    BeginOutput();
    for (std::size_t i = 0; i < tider.size(); ++i) {
        const TReaktionsTid& tid = tider[i];
        const bool equal = i > 0 && tider[i - 1].Tid == tid.Tid;
        OutputRow({equal ? QStringLiteral("=") : QString::number(i + 1), FloatToStrDec(tid.Tid / 1000.0, 3),
                   tid.Navn, tid.Klub, tid.Ovelse});
    }
    EndOutput();
}

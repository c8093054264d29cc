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
    ForEachHeldRound(rounds, [&](TOvelseInfo& info, TResultatManager& manager) {
        const QString ovelse = info.GetKlasseKode() + QStringLiteral(" / ") + info.GetOvelseKode() +
                               QStringLiteral(" - ") + info.GetRundeText();
        for (int i = 0; i < manager.Count(); ++i) {
            const TResultat& row = *manager.GetResultat(i);
            if (row.IsValid() && row.Reaktion != 0)
                tider.push_back({row.Reaktion, row.GetFormattedNavn(), row.GetKlub(), ovelse});
        }
    });
    std::stable_sort(tider.begin(), tider.end(),
                     [](const TReaktionsTid& a, const TReaktionsTid& b) { return a.Tid < b.Tid; });
    return tider;
}

void TReaktionstiderUdskrift::Run() {
    const std::vector<TReaktionsTid> tider = Collect(AllRounds());
    BeginOutput();
    for (std::size_t i = 0; i < tider.size(); ++i) {
        const TReaktionsTid& tid = tider[i];
        const bool equal = i > 0 && tider[i - 1].Tid == tid.Tid;
        OutputRow({equal ? QStringLiteral("=") : QString::number(i + 1), FloatToStrDec(tid.Tid / 1000.0, 3),
                   tid.Navn, tid.Klub, tid.Ovelse});
    }
    EndOutput();
}

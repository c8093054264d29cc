#include "model/D_ResultStafet.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "model/D_Result.h"

#include <map>

int StafetTurOf(const TResultat& hold, qint32 startnummer) {
    for (int i = 0; i < hold.GetSerieCount(); ++i) {
        const TSerie* serie = hold.GetSerie(i);
        if (serie && !serie->IsEmpty() && serie->Value == startnummer)
            return i + 1;
    }
    return 0;
}

void SetStafetTure(TResultat& hold, const std::vector<TStafetTur>& ture) {
    std::map<int, qint32> legs;
    for (const TStafetTur& tur : ture) {
        const QString typed = TrimBlanks(tur.Tur);
        if (typed.isEmpty())
            continue;
        bool ok = false;
        const int leg = typed.toInt(&ok);
        if (!ok || leg < 1)
            throw Exception(QStringLiteral("Turen \"%1\" for startnummer %2 er ikke et helt tal fra 1")
                                .arg(typed)
                                .arg(tur.Startnummer));
        if (!legs.emplace(leg, tur.Startnummer).second)
            throw Exception(QStringLiteral("Der findes flere \"tur %1\"").arg(leg));
    }
    if (!legs.empty() && legs.rbegin()->first != static_cast<int>(legs.size()))
        throw Exception(QStringLiteral("Stafet-ture skal angives fortløbende"));
    hold.ClearSerier();
    for (const auto& [leg, startnummer] : legs)
        hold.SetSerieText(leg - 1, IntStr(startnummer));
}

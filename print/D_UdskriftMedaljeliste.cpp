#include "print/D_UdskriftMedaljeliste.h"

#include "foundation/DanishOrder.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_StaevneSystemData.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <map>

namespace {

// The heat whose places win medals: the A final of a round split into lettered finals; 0 for every heat.
qint32 MedalHeat(const TResultatManager& manager, const TOvelseInfo& info) {
    if (!RulesOf(&info).IsLetteredFinals())
        return 0;
    if (info.IsFinaleType1())
        return 1;
    qint32 highest = 0;
    for (int i = 0; i < manager.Count(); ++i)
        highest = std::max<qint32>(highest, manager.GetResultat(i)->Heat);
    return highest;
}

} // namespace

TMedaljelisteUdskrift::TMedaljelisteUdskrift(QObject* owner)
    : TOversigtUdskrift(owner, QStringLiteral("Medaljeliste"), QStringLiteral("medaljer"),
                        QStringLiteral("MEDALJER")) {}

std::vector<TMedaljeKlub> TMedaljelisteUdskrift::Collect(const std::vector<TOvelseInfo*>& rounds) {
    std::vector<TMedaljeKlub> clubs;
    std::map<QString, std::size_t> index;
    std::vector<TOvelseInfo*> official;
    for (TOvelseInfo* info : rounds)
        if (info && info->IsLastRunde() &&
            info->OvelseRk().GetField(OvelseRkField::Uofficiel)->GetAsInteger() == 0)
            official.push_back(info);
    ForEachHeldRound(official, [&](TOvelseInfo& info, TResultatManager& manager) {
        const qint32 heat = MedalHeat(manager, info);
        for (int i = 0; i < manager.Count(); ++i) {
            const TResultat& row = *manager.GetResultat(i);
            if (!row.IsValid() || row.Plac < 1 || row.Plac > 3 || (heat != 0 && row.Heat != heat))
                continue;
            const auto [it, added] = index.emplace(row.GetKlub(), clubs.size());
            if (added)
                clubs.push_back({row.GetKlub()});
            TMedaljeKlub& club = clubs[it->second];
            ++(row.Plac == 1 ? club.Guld : row.Plac == 2 ? club.Soelv : club.Bronze);
        }
    });
    const QCollator collator = DanishNameOrder();
    std::stable_sort(clubs.begin(), clubs.end(), [&](const TMedaljeKlub& a, const TMedaljeKlub& b) {
        if (a.Guld != b.Guld)
            return a.Guld > b.Guld;
        if (a.Soelv != b.Soelv)
            return a.Soelv > b.Soelv;
        if (a.Bronze != b.Bronze)
            return a.Bronze > b.Bronze;
        return collator.compare(a.Klub, b.Klub) < 0;
    });
    return clubs;
}

void TMedaljelisteUdskrift::Run() {
    const std::vector<TMedaljeKlub> clubs = Collect(AllRounds());
    BeginOutput();
    if (CurrentSystemData().Redid && !clubs.empty()) {
        OutputBlankRow();
        OutputBlankRow();
    }
    const TMedaljeKlub* previous = nullptr;
    int n = 0;
    for (const TMedaljeKlub& club : clubs) {
        ++n;
        const bool shared = previous && previous->Guld == club.Guld && previous->Soelv == club.Soelv &&
                            previous->Bronze == club.Bronze;
        OutputRow({shared ? QString() : QString::number(n), club.Klub, QString::number(club.Guld),
                   QString::number(club.Soelv), QString::number(club.Bronze), QString::number(club.Total())});
        previous = &club;
    }
    EndOutput();
}

#include "model/D_StaevneDefHold.h"

#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneDefRaekke.h"
#include "model/D_StdKlasser.h"

namespace {

// The heat allocation of every DT round.
constexpr qint32 DTHeatinddeling = 4;

QString KoenText(bool maend) {
    return maend ? QStringLiteral("MÆND") : QStringLiteral("KVINDER");
}

QString DistriktText(THoldDistrikt distrikt, bool smaa) {
    if (distrikt == THoldDistrikt::Oest)
        return smaa ? QStringLiteral("øst") : QStringLiteral("Øst");
    return smaa ? QStringLiteral("vest") : QStringLiteral("Vest");
}

// The settings every league sets alike: its own kind on and the others off, one round.
void SetFaellesSettings(THoldTurnering turnering, TSystemData& systemData, TStaevneRegistry& registry) {
    systemData.DT = turnering == THoldTurnering::DT;
    systemData.VT = turnering == THoldTurnering::VT;
    systemData.LTU = turnering == THoldTurnering::LTU;
    systemData.FlereRunder = false;
    systemData.MaxAntalOvelserPrDeltager = turnering == THoldTurnering::LTU ? 2 : 3;
    systemData.BrugPersonligRekord = false;
    systemData.Indendors = false;
    systemData.AntalDeltagerePrOvelse = 2;
    registry.VisNulOvelser = true;
    registry.OversigtGridSortering = 0;
}

void SetDTSettings(const THoldValg& valg, TSystemData& systemData) {
    systemData.AntalDTHold = valg.AntalHold;
    systemData.Overskrift1 = QStringLiteral("DT - ") + KoenText(valg.Maend.value_or(false));
    QString overskrift2 = valg.Division == DTEliteDivision
                              ? QStringLiteral("Elitedivisionen")
                              : QString::number(valg.Division) + QStringLiteral(". division ") +
                                    DistriktText(valg.Distrikt, true);
    overskrift2 += QStringLiteral(", ");
    if (valg.Runde == THoldRunde::Indledende)
        overskrift2 += QStringLiteral("indledende");
    else if (valg.Runde == THoldRunde::Kvalifikation)
        overskrift2 += QStringLiteral("kvalifikation");
    else
        overskrift2 += QStringLiteral("finale");
    systemData.Overskrift2 = overskrift2;
}

void SetVTSettings(const THoldValg& valg, TSystemData& systemData) {
    systemData.FlereRunder = valg.Runde == THoldRunde::Runde2;
    systemData.Overskrift1 = QStringLiteral("VT - ") + KoenText(valg.Maend.value_or(false));
    if (valg.Runde == THoldRunde::Finale) {
        systemData.Overskrift2 = QStringLiteral("Finale");
        return;
    }
    const QString runde = valg.Runde == THoldRunde::Runde1   ? QStringLiteral("1. runde")
                          : valg.Runde == THoldRunde::Runde2 ? QStringLiteral("2. runde")
                                                             : QStringLiteral("finale");
    systemData.Overskrift2 = runde + QStringLiteral(", ") + DistriktText(valg.Distrikt, false);
}

void SetLTUSettings(const THoldValg& valg, TSystemData& systemData) {
    systemData.AntalTaellendeDeltagere = 1;
    systemData.PointBeregning = valg.Klasse.endsWith(u"15") ? 5 : 13;
    systemData.Overskrift1 = QStringLiteral("DMU hold - ") + valg.Klasse;
    systemData.Overskrift2 = valg.Runde == THoldRunde::Finale
                                 ? QStringLiteral("Finale")
                                 : QStringLiteral("Indledende, ") + DistriktText(valg.Distrikt, false);
}

} // namespace

THoldProgram HoldProgram(const THoldValg& valg) {
    if (valg.Runde == THoldRunde::Ingen)
        return {};
    switch (valg.Turnering) {
    case THoldTurnering::DT:
        return valg.Maend ? DTProgram(*valg.Maend, valg.Division, valg.Runde == THoldRunde::Indledende)
                          : THoldProgram();
    case THoldTurnering::VT:
        return valg.Maend ? VTProgram(*valg.Maend) : THoldProgram();
    case THoldTurnering::LTU:
        return LTUProgram(valg.Klasse);
    }
    return {};
}

int HoldKlasseNr(const THoldValg& valg) {
    if (valg.Turnering == THoldTurnering::LTU)
        return FindStdKlasse(valg.Klasse);
    return FindStdKlasse(valg.Maend.value_or(false) ? QStringLiteral("M") : QStringLiteral("K"));
}

void SetHoldSettings(const THoldValg& valg, TSystemData& systemData, TStaevneRegistry& registry) {
    SetFaellesSettings(valg.Turnering, systemData, registry);
    switch (valg.Turnering) {
    case THoldTurnering::DT:
        SetDTSettings(valg, systemData);
        break;
    case THoldTurnering::VT:
        SetVTSettings(valg, systemData);
        break;
    case THoldTurnering::LTU:
        SetLTUSettings(valg, systemData);
        break;
    }
}

void MakeHoldRaekke(const THoldValg& valg, const QDate& dato, TOvelseManager& ovelser,
                    TEditOvelsesRaekke& raekke, TSystemData& systemData) {
    const bool dt = valg.Turnering == THoldTurnering::DT;
    const int klasseNr = HoldKlasseNr(valg);
    raekke.Clear();
    for (const THoldProgramPost& post : HoldProgram(valg)) {
        const TOvelseKode kode = SplitOvelseKode(post.Ovelse);
        const TOvelseElement* ovelse = ovelser.FindOvelse(kode.Ovelse);
        if (ovelse == nullptr)
            continue;
        const TOvDefElement* ovDef =
            kode.Attribut.isEmpty() ? nullptr : ovelser.FindOvDef(kode.Ovelse, kode.Attribut);
        std::unique_ptr<TEditOvelseData> row = NyOvelseData(klasseNr, *ovelse, ovDef);
        row->Attribut = kode.Attribut;
        row->AntalPrHeat = post.AntalPrHeat;
        TEditRundeData& runde = row->Slot(1);
        const QString& tid = valg.DobbeltMatch && !post.DobbeltTid.isEmpty() ? post.DobbeltTid : post.Tid;
        runde.DatoTid = QDateToDateTime(dato) + HoldProgramTid(tid);
        runde.ResType = post.Tidtagning;
        runde.Sted = QStringLiteral("ALL");
        if (dt)
            runde.Heatinddeling = DTHeatinddeling;
        row->HoldBaneFordeling = HoldBaneFordeling(post.Baneraekkefoelge);
        if (dt && post.Vaegt == 2 && !systemData.DTOvelserHalvePoints.contains(row->Ovelse))
            systemData.DTOvelserHalvePoints.append(row->Ovelse);
        raekke.Add(std::move(row));
    }
    raekke.SortByKlasse();
}

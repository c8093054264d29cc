#include "model/D_StaevneData.h"

#include "foundation/BusyCursor.h"
#include "foundation/Exception.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "model/D_Context.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneDataTabel.h"
#include "platform/Registry.h"
#include "storage/BtvTransaction.h"

#include <cmath>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

struct TTekst {
    QString TSystemData::*Felt;
    const char* Navn;
};

// The texts the settings window edits, with the names its messages give them.
const TTekst Tekster[] = {
    {&TSystemData::Overskrift1, "Overskrift 1"},
    {&TSystemData::Overskrift2, "Overskrift 2"},
    {&TSystemData::Overskrift3, "Overskrift 3"},
    {&TSystemData::Arrangor, "Arrangør"},
    {&TSystemData::Stadion, "Stadion"},
    {&TSystemData::ReportFilename, "Rapport filnavn"},
    {&TSystemData::RekordFilenames, "Rekord filnavne"},
    {&TSystemData::CsvLoadFilePath, "Mappe til serie-filer"},
    {&TSystemData::ScoreboardFilePath, "Mappe til scoreboard-filer"},
    {&TSystemData::KlublisteBundtekst1, "Bundtekst 1"},
    {&TSystemData::KlublisteBundtekst2, "Bundtekst 2"},
    {&TSystemData::MangekampOverskrift, "Mangekamp overskrift"},
    {&TSystemData::TabelOpslagPath, "Mappe til pointtabeller"},
};

const std::pair<QString TSystemData::*, const char*> PlaceringsPoint[] = {
    {&TSystemData::PlaceringsPoint1, "Placering-1"},
    {&TSystemData::PlaceringsPoint2, "Placering-2"},
    {&TSystemData::PlaceringsPoint3, "Placering-3"},
    {&TSystemData::PlaceringsPoint4, "Placering-4"},
};

const std::pair<qint32 TSystemData::*, const char*> Antal[] = {
    {&TSystemData::AntalDTHold, "Antal DT hold"},
    {&TSystemData::AntalDeltagerePrOvelse, "Antal deltagere pr. øvelse"},
    {&TSystemData::MaxAntalOvelserPrDeltager, "Max. antal øvelser pr. deltager"},
    {&TSystemData::AntalTaellendeDeltagere, "Antal tællende deltagere"},
    {&TSystemData::AntalPointDec, "Antal decimaler i points"},
};

// Moves every round of the open meet that has a time, in the files.
void FlytRunder(int dage) {
    TOvelseRnTable runder;
    runder.Open();
    std::vector<std::pair<quint32, TDateTime>> flyttes;
    for (bool found = runder.First(); found; found = runder.Next()) {
        const TDateTime datoTid = runder.GetField(OvelseRnField::DatoTid)->GetAsFloat();
        if (datoTid != EmptyDateTime)
            flyttes.emplace_back(runder.GetPosition(), datoTid);
    }
    for (const auto& [position, datoTid] : flyttes) {
        runder.GotoPosition(position);
        runder.Edit();
        runder.GetField(OvelseRnField::DatoTid)->SetAsFloat(datoTid + dage);
        runder.Post();
    }
}

void SaveScoreboard(const QString& server, qint32 port) {
    Platform::TRegistry registry;
    if (!registry.OpenKey(Platform::TRegistry::ProgramKey(QStringLiteral(".cfg")), true))
        return;
    registry.WriteString(QStringLiteral("ScoreboardServer"), server);
    registry.WriteInteger(QStringLiteral("ScoreboardServerPort"), port);
}

} // namespace

void CheckPlaceringsPoint(const QString& text, const QString& hvad) {
    if (TrimBlanks(text).isEmpty())
        return;
    const QStringList items = text.split(u',');
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString item = TrimBlanks(items.at(i));
        if (item == u"*" && i == items.size() - 1)
            continue;
        bool ok = false;
        const int points = item.toInt(&ok);
        if (!ok || points < 0)
            throw Exception(hvad + QStringLiteral(": \"") + text +
                            QStringLiteral("\" er ikke en liste af points som 10,9,8,7,6,5,4,3,2,1,*"));
    }
}

void CheckStaevneData(const TSystemData& data) {
    for (const TTekst& tekst : Tekster)
        CheckTekst(data.*tekst.Felt, 0, QString::fromUtf8(tekst.Navn));
    for (const auto& [felt, navn] : PlaceringsPoint) {
        CheckTekst(data.*felt, 0, QString::fromUtf8(navn));
        CheckPlaceringsPoint(data.*felt, QString::fromUtf8(navn));
    }
    for (const auto& [felt, navn] : Antal) {
        if (data.*felt < 0)
            throw Exception(QString::fromUtf8(navn) + QStringLiteral(" kan ikke være mindre end 0"));
    }
    for (const QString& tekst : data.OversattelsesTekster)
        CheckTekst(tekst, 0, QStringLiteral("Oversættelsen"));
}

int DageFlyttet(TDateTime fra, TDateTime til) {
    if (fra <= EmptyDateTime || til <= EmptyDateTime)
        return 0;
    return static_cast<int>(std::floor(til) - std::floor(fra));
}

void FlytRaekke(TEditOvelsesRaekke& raekke, int dage) {
    if (dage == 0)
        return;
    for (int i = 0; i < raekke.GetCount(); ++i) {
        for (TEditRundeData& slot : raekke.GetItem(i)->Runde) {
            if (slot.DatoTid != EmptyDateTime)
                slot.DatoTid += dage;
        }
    }
}

void GemStaevneData(const TStaevneDataValg& valg) {
    CheckStaevneData(valg.SystemData);
    TStaevneManager& manager = *StaevneManager;
    const int index = manager.GetCurrentIndex();
    if (index < 0)
        throw Exception(QStringLiteral("Der er ikke valgt noget stævne"));
    const TBusyCursor busy;
    const TSystemData systemData = manager.SystemData();
    const TStaevneRegistry registry = manager.Registry();
    const QString lastUsedName = manager.GetLastUsedName();
    try {
        TBtvTransaction transaction;
        if (const int dage = DageFlyttet(systemData.Dato, valg.SystemData.Dato); dage != 0)
            FlytRunder(dage);
        manager.SystemData() = valg.SystemData;
        manager.SetDato(valg.SystemData.Dato);
        manager.Registry() = valg.Registry;
        manager.SetLastUsedName(valg.VaelgSidsteStaevne ? manager.GetStaevneNavn(index) : QString());
        if (!manager.SaveStaevneData())
            throw Exception(QStringLiteral("Stævnets data er gemt af en nyere version af ZUNO og kan ikke "
                                           "gemmes af denne version"));
        transaction.Commit();
    } catch (...) {
        // The files are as they were; the settings in memory and the registry follow them again.
        manager.SystemData() = systemData;
        manager.SetDato(systemData.Dato);
        manager.Registry() = registry;
        manager.SetLastUsedName(lastUsedName);
        try {
            manager.SaveRegistry();
        } catch (...) {
            // the save's own error is the one to report
        }
        throw;
    }
    SaveScoreboard(valg.ScoreboardServer, valg.ScoreboardServerPort);
    manager.Scoreboard().ScoreboardServer = valg.ScoreboardServer;
    manager.Scoreboard().ScoreboardServerPort = valg.ScoreboardServerPort;
    manager.SelectPrinter();
    manager.OpenStaevne(index);
}

QStringList DTOvelseKoder(const TOvelseManager& ovelser) {
    QStringList koder;
    std::unordered_set<QString> set;
    for (const auto& [key, info] : ovelser.KlasseIndex()) {
        const QString kode = info->GetOvelseKode();
        if (set.insert(kode.toUpper()).second)
            koder.append(kode);
    }
    return koder;
}

QString UploadStaevneXml() {
    StaevneManager->SaveStaevneXml();
    return PathJoin(ModelContext().ProgramDir, QStringLiteral("zuno-staevne.xml"));
}

#pragma once
// Two meets in a program folder made by the installation, and records of clubs, participants, entries,
// goods and payments written straight into the files of the current meet, as an earlier session of
// the program or an import would have left them.
#include "ProgramFolderFixture.h"
#include "model/D_DBDef.h"
#include "model/D_Staevne.h"

#include <initializer_list>
#include <utility>

class TKlubMeetsTest : public TProgramFolderTest {
protected:
    TKlubMeetsTest()
        : meetA_(CreateMeet(QStringLiteral("Stævne A")))
        , meetB_(CreateMeet(QStringLiteral("Stævne B"))) {}

    void OpenA() { Manager().OpenStaevne(Manager().IndexOfStID(meetA_)); }
    void OpenB() { Manager().OpenStaevne(Manager().IndexOfStID(meetB_)); }

    // Inserts a record of the current meet with the fields given.
    template <typename Table>
    static void Store(std::initializer_list<std::pair<int, TKeyValue>> fields) {
        Table table;
        table.Open();
        table.Insert();
        table.GetField(StaevneField::StID)->SetAsInteger(CurrentStID());
        for (const auto& [fieldNo, value] : fields)
            table.GetField(fieldNo)->AssignValue(value);
        table.Post();
    }
    static void StoreKlub(qint64 klubNr, const QString& navn, qint64 prisgruppe = 0) {
        Store<TKlubTable>(
            {{KlubField::KlubNr, klubNr}, {KlubField::Navn, navn}, {KlubField::Prisgruppe, prisgruppe}});
    }
    static void StoreDeltager(qint64 startnummer, qint64 klubNr, const QString& navn) {
        Store<TDeltagerTable>({{DeltagerField::Startnummer, startnummer},
                               {DeltagerField::KlubNr, klubNr},
                               {DeltagerField::Navn, navn}});
    }
    static void StoreResultat(qint64 startnummer, const QString& ovelse, const QString& runde = {}) {
        Store<TResultatTable>({{ResultatField::Startnummer, startnummer},
                               {ResultatField::Klasse, QStringLiteral("M")},
                               {ResultatField::Ovelse, ovelse},
                               {ResultatField::Runde, runde}});
    }
    static void StoreKlubkob(qint64 klubNr, qint64 varenummer, qint64 antal) {
        Store<TKlubkobTable>({{KlubkobField::Klubnr, klubNr},
                              {KlubkobField::Varenummer, varenummer},
                              {KlubkobField::Antal, antal}});
    }
    static void StoreBetaling(qint64 klubNr, double belob) {
        Store<TBetalingTable>({{BetalingField::Klubnr, klubNr}, {BetalingField::Belob, belob}});
    }
    static void StoreGruppe(qint64 gruppe, const QString& tekst) {
        Store<TGruppeTable>({{GruppeField::Gruppe, gruppe}, {GruppeField::Tekst, tekst}});
    }
    static void StoreVare(qint64 varenummer, qint64 gruppe, double pris) {
        Store<TVareTable>(
            {{VareField::Varenummer, varenummer}, {VareField::Gruppe, gruppe}, {VareField::Pris, pris}});
    }

    qint32 meetA_;
    qint32 meetB_;
};

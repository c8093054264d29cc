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

    static void StoreKlub(qint64 klubNr, const QString& navn, qint64 prisgruppe = 0) {
        StoreRecord<TKlubTable>(
            {{KlubField::KlubNr, klubNr}, {KlubField::Navn, navn}, {KlubField::Prisgruppe, prisgruppe}});
    }
    static void StoreDeltager(qint64 startnummer, qint64 klubNr, const QString& navn) {
        StoreRecord<TDeltagerTable>({{DeltagerField::Startnummer, startnummer},
                                     {DeltagerField::KlubNr, klubNr},
                                     {DeltagerField::Navn, navn}});
    }
    static void StoreResultat(qint64 startnummer, const QString& ovelse, const QString& runde = {}) {
        StoreRecord<TResultatTable>({{ResultatField::Startnummer, startnummer},
                                     {ResultatField::Klasse, QStringLiteral("M")},
                                     {ResultatField::Ovelse, ovelse},
                                     {ResultatField::Runde, runde}});
    }
    static void StoreKlubkob(qint64 klubNr, qint64 varenummer, qint64 antal) {
        StoreRecord<TKlubkobTable>({{KlubkobField::Klubnr, klubNr},
                                    {KlubkobField::Varenummer, varenummer},
                                    {KlubkobField::Antal, antal}});
    }
    static void StoreBetaling(qint64 klubNr, double belob) {
        StoreRecord<TBetalingTable>({{BetalingField::Klubnr, klubNr}, {BetalingField::Belob, belob}});
    }
    static void StoreGruppe(qint64 gruppe, const QString& tekst) {
        StoreRecord<TGruppeTable>({{GruppeField::Gruppe, gruppe}, {GruppeField::Tekst, tekst}});
    }
    static void StoreVare(qint64 varenummer, qint64 gruppe, double pris) {
        StoreRecord<TVareTable>(
            {{VareField::Varenummer, varenummer}, {VareField::Gruppe, gruppe}, {VareField::Pris, pris}});
    }

    qint32 meetA_;
    qint32 meetB_;
};

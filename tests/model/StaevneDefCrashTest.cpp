// The meet wizard's finish killed at every step of its commit: afterwards each listed meet has its date,
// classes, programme, clubs and settings, a meet killed before its commit is not there at all, and no
// record is left without its meet.
#include "model/D_StaevneDef.h"

#include "support/KillAtStep.h"
#include "support/Test.h"

#include "ProgramFolderFixture.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneDefRaekke.h"
#include "model/D_StdKlasser.h"

#include <set>

namespace {

class StaevneDefCrashTest : public TProgramFolderTest {
protected:
    // What every meet of a kind holds when it is whole.
    struct TWhole {
        QString Overskrift1;
        QStringList Klasser;
        int Runder = 0;
        int Klubber = 0;
    };

    static TStaevneDefValg Valg(const QString& navn) {
        TStaevneDefValg valg;
        valg.Navn = navn;
        valg.Stadion = QStringLiteral("Stadion");
        valg.Arrangor = QStringLiteral("Klubben");
        valg.Dato = EncodeDateTime(QDate(2025, 6, 14), QTime(10, 0));
        valg.Overskrift3 = QStringLiteral("den 14.jun 2025 på Stadion");
        return valg;
    }

    // The women's elite preliminary round of the team league with three teams.
    static TStaevneDefValg HoldValg(const QString& navn) {
        TStaevneDefValg valg = Valg(navn);
        THoldValg hold;
        hold.Maend = false;
        hold.Division = DTEliteDivision;
        hold.Runde = THoldRunde::Indledende;
        hold.AntalHold = 8;
        hold.Hold = {{"AK", "A", 0}, {"Sparta", "B", 0}, {"Hold C", "C", 0}};
        valg.Hold = hold;
        return valg;
    }

    // Classes P12 and D12 with the 80 m and the high jump each.
    static void StandardRaekke(TEditOvelsesRaekke& raekke) {
        TOvelseManager ovelser;
        for (const char* klasse : {"P12", "D12"}) {
            for (const char* ovelse : {"80", "HØ"}) {
                auto row = NyOvelseData(FindStdKlasse(klasse), *ovelser.FindOvelse(ovelse), nullptr);
                SetRundeSlots(*row, QDateToDateTime(QDate(2025, 6, 14)));
                raekke.Add(std::move(row));
            }
        }
    }

    // Every listed meet has what a whole one has, and every record of a meet-bound file is a listed
    // meet's. The names of the listed meets.
    QStringList ExpectWholeMeetsOnly(const TWhole& whole) {
        TStaevneManager& manager = Restart();
        EXPECT_EQ(Shown(), QStringList()) << "no meet left unfinished";
        std::set<qint32> listed;
        QStringList navne;
        OvelseManager = std::make_unique<TOvelseManager>();
        for (int i = 0; i < manager.GetStaevneCount(); ++i) {
            listed.insert(manager.GetStaevneStID(i));
            navne << manager.GetStaevneNavn(i);
            manager.OpenStaevne(i);
            SCOPED_TRACE(manager.GetStaevneNavn(i).toStdString());
            EXPECT_NE(manager.SystemData().Dato, 0);
            EXPECT_EQ(manager.SystemData().Overskrift1, whole.Overskrift1);
            EXPECT_EQ(manager.SystemData().Arrangor, "Klubben");
            QStringList klasser;
            for (const TKlasseElement* klasse : OvelseManager->GetKlasser())
                klasser << klasse->GetTrimmedString(KlasseField::Klasse);
            EXPECT_EQ(klasser, whole.Klasser);
            EXPECT_EQ(OvelseManager->GetInfoCount(), whole.Runder);
            EXPECT_EQ(TKlubManager(AlleKlubber).GetKlubCount(), whole.Klubber);
        }
        for (const TRecordFileDef& file : RecordFileDefs()) {
            if (!file.IsStaevneBound())
                continue;
            TZunoDataTable table(file);
            table.Open();
            for (table.StepFirst(); !table.GetEof(); table.StepNext()) {
                const qint32 stID = table.GetField(StaevneField::StID)->GetAsInteger();
                EXPECT_TRUE(listed.contains(stID)) << "a record of meet " << stID << " without its meet";
            }
        }
        return navne;
    }

    // Finishes a new meet, named "<prefix><step>", killed at step 1, 2, ... until one runs to its end;
    // after each the meets are whole or absent. Then a name whose meet was killed before its commit
    // serves a new meet.
    void KillAtEveryStep(const QString& prefix, const TWhole& whole,
                         const std::function<TStaevneDefValg(const QString&)>& valgOf) {
        int killed = 0;
        for (int step = 1; step < 200; ++step) {
            const QString navn = prefix + QString::number(step);
            OvelseManager.reset();
            StaevneManager.reset();
            const bool stopped = KilledAt(
                step, [this] { Manager(); }, [&] { UdfoerNytStaevne(valgOf(navn)); });
            SCOPED_TRACE(step);
            const QStringList navne = ExpectWholeMeetsOnly(whole);
            if (!stopped) {
                EXPECT_TRUE(navne.contains(navn));
                EXPECT_GT(step, 8) << "the journal and the commit of each file the meet is written to";
                break;
            }
            killed += navne.contains(navn) ? 0 : 1;
        }
        ASSERT_GT(killed, 0) << "no kill came before the commit";
        // The first try was killed before anything was decided: its name is free.
        const QString first = prefix + QStringLiteral("1");
        ASSERT_FALSE(Manager().IndexOfStaevneNavn(first) >= 0);
        EXPECT_EQ(ErrorText([&] { UdfoerNytStaevne(valgOf(first)); }), "<no error>");
        EXPECT_EQ(ExpectWholeMeetsOnly(whole).count(first), 1);
    }
};

TEST_F(StaevneDefCrashTest, ATeamLeagueMeetKilledAtEveryStepOfItsFinishIsWholeOrAbsent) {
    KillAtEveryStep(QStringLiteral("Holdkamp "), {QStringLiteral("DT - KVINDER"), {"K"}, 18, 3}, HoldValg);
}

TEST_F(StaevneDefCrashTest, AMeetOfChosenClassesKilledAtEveryStepOfItsFinishIsWholeOrAbsent) {
    TEditOvelsesRaekke raekke;
    Manager();
    StandardRaekke(raekke);
    KillAtEveryStep(QStringLiteral("Stævne "), {QString(), {"P12", "D12"}, 4, 0}, [&](const QString& navn) {
        TStaevneDefValg valg = Valg(navn);
        valg.Klasser = {FindStdKlasse("P12"), FindStdKlasse("D12")};
        valg.Raekke = &raekke;
        return valg;
    });
}

} // namespace

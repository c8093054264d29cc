// The meet wizard's finish as the model does it: a new meet with its programme, clubs and settings or
// nothing, the open meet written or left as it was, and the team leagues' rules.
#include "model/D_StaevneDef.h"

#include "support/Test.h"

#include "ProgramFolderFixture.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneDefRaekke.h"
#include "model/D_StdKlasser.h"
#include "platform/Registry.h"
#include "platform/recordmanager/FileSystem.h"

#include <cstring>

namespace {

// A disk full for the record manager's journal: a transaction over several files fails before anything
// is decided.
class TFullJournal : public RecordManager::FileSystem {
public:
    int beforeWrite(const char* path) override {
        return std::strstr(path, ".zrm-journal") ? ENOSPC : FileSystem::beforeWrite(path);
    }
};

class StaevneDefTest : public TProgramFolderTest {
protected:
    // "Åbent" with the men's 100 m is open.
    StaevneDefTest() {
        CreateMeet(QStringLiteral("Åbent"));
        OvelseManager = std::make_unique<TOvelseManager>();
        TEditOvelsesRaekke raekke;
        AddRow(raekke, "M", "100");
        const std::vector<int> klasser = {FindStdKlasse("M")};
        OvelseManager->SaveEditOvelsesRaekke(&klasser, raekke);
    }

    static void AddRow(TEditOvelsesRaekke& raekke, const char* klasse, const char* ovelse) {
        auto row = NyOvelseData(FindStdKlasse(klasse), *OvelseManager->FindOvelse(ovelse), nullptr);
        SetRundeSlots(*row, QDateToDateTime(QDate(2025, 6, 14)));
        raekke.Add(std::move(row));
    }

    // Classes P12 and D12, the 80 m for both and the high jump for P12.
    TStaevneDefValg Valg(const QString& navn) {
        AddRow(raekke_, "P12", "80");
        AddRow(raekke_, "P12", "HØ");
        AddRow(raekke_, "D12", "80");
        TStaevneDefValg valg;
        valg.Navn = navn;
        valg.Stadion = QStringLiteral(" Østerbro Stadion ");
        valg.Arrangor = QStringLiteral("Sparta ");
        valg.Dato = EncodeDateTime(QDate(2025, 6, 14), QTime(10, 30));
        valg.Overskrift3 = QStringLiteral("den 14.jun 2025 på Østerbro Stadion");
        valg.Klasser = {FindStdKlasse("P12"), FindStdKlasse("D12")};
        valg.Raekke = &raekke_;
        return valg;
    }

    static QStringList Runder() {
        QStringList runder;
        for (const auto& [key, info] : OvelseManager->KlasseIndex())
            runder.append(info->GetKlasseKode() + u' ' + info->GetOvelseKode());
        return runder;
    }
    static bool HasRegistryKey(const QString& navn) {
        return Platform::TRegistry().KeyExists(Platform::TRegistry::ProgramKey(QStringLiteral(".cfg")) +
                                               u'\\' + navn);
    }
    // The meet open before, its programme on show.
    void ExpectAabentOpen() {
        ASSERT_GE(Manager().GetCurrentIndex(), 0);
        EXPECT_EQ(Manager().GetStaevneNavn(Manager().GetCurrentIndex()), "Åbent");
        EXPECT_EQ(ModelContext().CurrentStID, Manager().GetCurrentStID());
        EXPECT_EQ(Runder(), QStringList{"M 100"});
    }

    TEditOvelsesRaekke raekke_;
};

TEST_F(StaevneDefTest, ANewMeetIsCreatedWithItsProgrammeAndSettingsAndShown) {
    Manager().SystemData().Indendors = true;
    const int index = UdfoerNytStaevne(Valg(QStringLiteral(" Sommerstævne ")));
    EXPECT_EQ(Manager().GetStaevneNavn(index), "Sommerstævne");
    EXPECT_EQ(Manager().GetCurrentIndex(), index);
    EXPECT_EQ(Runder(), QStringList({"P12 80", "P12 HØ", "D12 80"}))
        << "the event manager shows the new meet";
    EXPECT_EQ(Shown(), QStringList());

    Restart();
    OvelseManager = std::make_unique<TOvelseManager>();
    Manager().OpenStaevne(Manager().IndexOfStaevneNavn("Sommerstævne"));
    const TSystemData& data = Manager().SystemData();
    EXPECT_EQ(QStringList({data.Stadion, data.Arrangor, data.Overskrift1, data.Overskrift3}),
              QStringList({"Østerbro Stadion", "Sparta", "", "den 14.jun 2025 på Østerbro Stadion"}));
    EXPECT_FALSE(data.Indendors || data.DT || data.VT || data.LTU || data.FlereRunder);
    EXPECT_EQ(data.PointBeregning, 6);
    EXPECT_EQ(DateTimeToQDateTime(data.Dato), QDateTime(QDate(2025, 6, 14), QTime(10, 30)));
    EXPECT_EQ(Manager().GetStaevneDatoText(Manager().GetCurrentIndex()), "14-06-2025");
    EXPECT_EQ(Runder(), QStringList({"P12 80", "P12 HØ", "D12 80"}));
}

TEST_F(StaevneDefTest, ARefusedNameCreatesNothingAndLeavesTheOpenMeetOnShow) {
    EXPECT_EQ(ErrorText([&] { UdfoerNytStaevne(Valg(QStringLiteral("åbent"))); }),
              "Fejl ved oprettelse af stævne: åbent\r\nIllegalt stævnenavn: åbent\r\n"
              "Stævnenavnet er allerede brugt");
    EXPECT_EQ(ErrorText([&] { UdfoerNytStaevne(Valg(QStringLiteral("  "))); }),
              "Fejl ved oprettelse af stævne: \r\nDer skal angives et stævnenavn");
    EXPECT_EQ(Manager().GetStaevneCount(), 1);
    ExpectAabentOpen();
}

TEST_F(StaevneDefTest, AStadiumOrOrganiserOutsideWindows1252IsRefusedLikeTheName) {
    TStaevneDefValg valg = Valg(QStringLiteral("Sommerstævne"));
    valg.Stadion = QStringLiteral("Łódź Stadion");
    EXPECT_EQ(
        ErrorText([&] { UdfoerNytStaevne(valg); }),
        "Illegalt stadion: Łódź Stadion\r\nEt stadion kan kun indeholde tegn fra tegnsættet Windows-1252");
    valg.Stadion = QStringLiteral("Århus Stadion €");
    valg.Arrangor = QStringLiteral("Klub ✓");
    EXPECT_EQ(ErrorText([&] { UdfoerNytStaevne(valg); }),
              "Illegal arrangør: Klub ✓\r\nEn arrangør kan kun indeholde tegn fra tegnsættet Windows-1252");
    EXPECT_EQ(Manager().GetStaevneCount(), 1);
    EXPECT_FALSE(QFileInfo::exists(Path("Sommerstævne")));
    ExpectAabentOpen();

    // The open meet's are refused the same way, and it keeps its own.
    Manager().SystemData().Stadion = QStringLiteral("Banen");
    valg.Arrangor = QStringLiteral("Sparta");
    valg.Stadion = QStringLiteral("Łódź");
    EXPECT_TRUE(ErrorText([&] { UdfoerRetStaevne(valg); }).startsWith("Illegalt stadion: Łódź\r\n"));
    EXPECT_EQ(Manager().SystemData().Stadion, "Banen");
    valg.Stadion = QStringLiteral("Århus Stadion €");
    UdfoerRetStaevne(valg);
    EXPECT_EQ(Restart().SystemData().Stadion, "Århus Stadion €");
}

TEST_F(StaevneDefTest, AFinishThatCannotBeStoredLeavesNothingAndTheOpenMeetAsItWas) {
    {
        TFullJournal full;
        const RecordManager::ScopedFileSystem seam(full);
        EXPECT_NE(ErrorText([&] { UdfoerNytStaevne(Valg(QStringLiteral("Sommerstævne"))); }), "<no error>");
    }
    EXPECT_EQ(Manager().IndexOfStaevneNavn("Sommerstævne"), -1);
    EXPECT_FALSE(QFileInfo::exists(Path("Sommerstævne")));
    EXPECT_FALSE(HasRegistryKey("Sommerstævne"));
    ExpectAabentOpen();
    EXPECT_EQ(Restart().GetStaevneCount(), 1);
    EXPECT_EQ(Shown(), QStringList());

    // The open meet: neither its programme nor its settings change.
    OvelseManager = std::make_unique<TOvelseManager>();
    Manager().OpenStaevne(0);
    TStaevneDefValg valg = Valg(QStringLiteral("Sommerstævne"));
    {
        TFullJournal full;
        const RecordManager::ScopedFileSystem seam(full);
        EXPECT_NE(ErrorText([&] { UdfoerRetStaevne(valg); }), "<no error>");
    }
    EXPECT_EQ(Manager().SystemData().Stadion, "");
    ExpectAabentOpen();
    Restart();
    OvelseManager = std::make_unique<TOvelseManager>();
    Manager().OpenStaevne(0);
    EXPECT_EQ(Manager().SystemData().Dato, 0);
    ExpectAabentOpen();

    // Once the disk has room, the same choices go through.
    UdfoerNytStaevne(Valg(QStringLiteral("Sommerstævne")));
    EXPECT_EQ(Manager().GetStaevneCount(), 2);
    EXPECT_TRUE(HasRegistryKey("Sommerstævne"));
}

TEST_F(StaevneDefTest, ATeamLeagueMeetGetsItsTableClassSettingsAndClubs) {
    TStaevneDefValg valg = Valg(QStringLiteral("Holdkamp"));
    THoldValg hold;
    hold.Turnering = THoldTurnering::VT;
    hold.Maend = true;
    hold.Runde = THoldRunde::Runde2;
    hold.Distrikt = THoldDistrikt::Oest;
    hold.Hold = {{"AK", "A", 12.5}, {"Hold B", "B", 0}};
    valg.Hold = hold;
    UdfoerNytStaevne(valg);
    EXPECT_EQ(OvelseManager->GetInfoCount(), 12);
    EXPECT_EQ(OvelseManager->GetKlasser().size(), 1u);
    const TSystemData& data = Manager().SystemData();
    EXPECT_TRUE(data.VT && data.FlereRunder && Manager().Registry().VisNulOvelser);
    EXPECT_EQ(QStringList({data.Overskrift1, data.Overskrift2}), QStringList({"VT - MÆND", "2. runde, Øst"}));
    TKlubManager klubber(AlleKlubber);
    ASSERT_EQ(klubber.GetKlubCount(), 2);
    EXPECT_EQ(klubber.GetKlub(0).GetTrimmedString(KlubField::Navn), "AK");
    EXPECT_EQ(klubber.GetKlub(0).GetField(KlubField::PointRunde1)->GetAsFloat(), 12.5);
    EXPECT_EQ(klubber.GetKlub(1).GetTrimmedString(KlubField::HoldKode), "B");
}

TEST(StaevneDefHoldTest, TheTableAndTheHeadingsOfEachLeaguesChoices) {
    THoldValg dt;
    dt.Maend = true;
    dt.Division = 3;
    EXPECT_TRUE(HoldProgram(dt).empty()) << "no round chosen";
    dt.Runde = THoldRunde::Kvalifikation;
    EXPECT_EQ(HoldProgram(dt).data(), DTProgram(true, 3, false).data());
    dt.Maend.reset();
    EXPECT_TRUE(HoldProgram(dt).empty()) << "no sex chosen";
    dt.Maend = false;
    dt.Distrikt = THoldDistrikt::Vest;
    dt.AntalHold = 6;
    TSystemData data;
    TStaevneRegistry registry;
    SetHoldSettings(dt, data, registry);
    EXPECT_EQ(QStringList({data.Overskrift1, data.Overskrift2}),
              QStringList({"DT - KVINDER", "3. division vest, kvalifikation"}));
    EXPECT_EQ(std::tuple(data.AntalDTHold, data.MaxAntalOvelserPrDeltager), std::tuple(6, 3));
    EXPECT_EQ(GetStdKlasseKode(HoldKlasseNr(dt)), "K");

    THoldValg vt;
    vt.Turnering = THoldTurnering::VT;
    vt.Maend = false;
    vt.Runde = THoldRunde::OestVestFinale;
    vt.Distrikt = THoldDistrikt::Vest;
    SetHoldSettings(vt, data, registry);
    EXPECT_EQ(QStringList({data.Overskrift1, data.Overskrift2}),
              QStringList({"VT - KVINDER", "finale, Vest"}));
    EXPECT_FALSE(data.DT || data.FlereRunder);
    vt.Runde = THoldRunde::Finale;
    SetHoldSettings(vt, data, registry);
    EXPECT_EQ(data.Overskrift2, "Finale");

    THoldValg ltu;
    ltu.Turnering = THoldTurnering::LTU;
    ltu.Klasse = QStringLiteral("D19");
    ltu.Runde = THoldRunde::Indledende;
    ltu.Distrikt = THoldDistrikt::Oest;
    SetHoldSettings(ltu, data, registry);
    EXPECT_EQ(QStringList({data.Overskrift1, data.Overskrift2}),
              QStringList({"DMU hold - D19", "Indledende, Øst"}));
    EXPECT_EQ(std::tuple(data.PointBeregning, data.MaxAntalOvelserPrDeltager, data.AntalTaellendeDeltagere),
              std::tuple(13, 2, 1));
    EXPECT_EQ(GetStdKlasseKode(HoldKlasseNr(ltu)), "D19");
    ltu.Klasse = QStringLiteral("M");
    EXPECT_TRUE(HoldProgram(ltu).empty());
}

TEST_F(StaevneDefTest, TeamLeagueRowsTakeTheDoubleTimesOnlyWhereTheTableHasThem) {
    THoldValg dt;
    dt.Maend = true;
    dt.Division = 3;
    dt.Runde = THoldRunde::Indledende;
    dt.DobbeltMatch = true;
    TEditOvelsesRaekke raekke;
    TSystemData data;
    MakeHoldRaekke(dt, QDate(2025, 6, 14), *OvelseManager, raekke, data);
    ASSERT_EQ(raekke.GetCount(), 15);
    const TDateTime dato = QDateToDateTime(QDate(2025, 6, 14));
    for (int i = 0; i < raekke.GetCount(); ++i) {
        const TEditOvelseData& row = *raekke.GetItem(i);
        if (row.Ovelse == "100") {
            EXPECT_DOUBLE_EQ(row.Slot(1).DatoTid, dato + HoldProgramTid("0:45")) << "the single time";
        }
        EXPECT_EQ(std::tuple(row.Runder, row.Slot(1).Sted, row.Slot(1).Heatinddeling),
                  std::tuple("F", "ALL", 4));
    }
    EXPECT_EQ(data.DTOvelserHalvePoints, QStringList());

    dt.Division = DTEliteDivision;
    MakeHoldRaekke(dt, QDate(2025, 6, 14), *OvelseManager, raekke, data);
    EXPECT_EQ(raekke.GetCount(), 19);
    EXPECT_EQ(data.DTOvelserHalvePoints, QStringList({"100", "1500", "LÆ", "KU"}));
    for (int i = 0; i < raekke.GetCount(); ++i) {
        if (raekke.GetItem(i)->Ovelse != "100")
            continue;
        EXPECT_DOUBLE_EQ(raekke.GetItem(i)->Slot(1).DatoTid, dato + HoldProgramTid("0:30"))
            << "the double time";
        EXPECT_EQ(raekke.GetItem(i)->HoldBaneFordeling, "12345678");
    }
}

} // namespace

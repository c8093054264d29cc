// One run of the timing reader as its window drives it: the states, the timer's poll, acceptance and
// cancelling, winds, the heading and the scoreboard commands.
#include "ui/eltid/EltidSession.h"
#include "EltidFixture.h"

#include "foundation/Windows1252.h"
#include "model/D_Staevne.h"

namespace {

class TEltidSessionTest : public TEltidTest {
protected:
    TEltidSession& Start(qint32 heat = 1) {
        manager_.LoadOvelse(&Round("M", "100", "I"));
        QDir().mkpath(Folder());
        WriteFile(Path("Omega-0.path"), Folder().toUtf8());
        const TEltidRun run{&manager_, "M", "100 m", heat, manager_.CountHeat(heat), true};
        session_ = std::make_unique<TEltidSession>(run);
        return *session_;
    }
    // Heat 1's Omega file, chosen and read.
    TEltidSession& Read() {
        TEltidSession& session = Start();
        Copy("HEAT1.CL");
        session.Choose("HEAT1");
        EXPECT_EQ(session.Tick(std::chrono::seconds(10)).Poll, TEltidPoll::Read);
        return session;
    }
    QString Board(const QString& name) const { return Windows1252::Decode(ReadFile(Path("board/") + name)); }

    std::unique_ptr<TEltidSession> session_;
};

TEST_F(TEltidSessionTest, FromChoosingThroughReadingAndEditingToAccepted) {
    TEltidSession& session = Start();
    EXPECT_TRUE(session.IsTimed());
    EXPECT_EQ(session.Caption(), " M 100 m, Heat: 1, Antal: 9");
    Copy("HEAT1.CL");
    Write("HEAT1.COL", "");
    EXPECT_EQ(session.ListFiles().Names, QStringList({"HEAT1"}));
    EXPECT_TRUE(session.CanFjern());
    EXPECT_FALSE(session.CanGodkend());
    session.Choose("HEAT1");
    EXPECT_EQ(session.State(), TEltidState::Reading);
    EXPECT_FALSE(session.CanChoose());
    EXPECT_FALSE(session.CanFjern());
    EXPECT_EQ(session.Tick(std::chrono::seconds(10)).Poll, TEltidPoll::Read);
    EXPECT_EQ(session.LineTexts(0), QStringList({"1", "0", "104", "  10.52", "OK", "  0"}));
    EXPECT_EQ(session.VindText(), "+1.2");
    EXPECT_TRUE(session.CanRediger());
    session.Rediger();
    EXPECT_EQ(session.State(), TEltidState::Editing);
    // The timer is stopped: a changed file is not read while editing.
    Write("HEAT1.CL", "");
    EXPECT_EQ(session.Tick(std::chrono::seconds(1)).Poll, TEltidPoll::Unchanged);
    session.EditStartNr(0, "101");
    EXPECT_EQ(Runner(101).Resultat, 1052);
    EXPECT_EQ(Runner(104).Resultat, 0);
    EXPECT_EQ(session.GodkendQuestion(), "");
    session.Godkend("+1.2");
    EXPECT_EQ(session.State(), TEltidState::Accepted);
    EXPECT_EQ(Runner(101).Vind, 12);
    EXPECT_EQ(Runner(109).Vind, 12);
    EXPECT_EQ(Runner(201).Vind, 0);
    EXPECT_EQ(Runner(104).RK, "E");
    EXPECT_EQ(ReadFile(Path("Omega-0.files")), "HEAT1\r\n");
}

TEST_F(TEltidSessionTest, LinesLeftAsFejlAskBeforeAccepting) {
    TEltidSession& session = Start();
    session.SetTidligere(true);
    Write("H.CL", ReadFile(Sample("HEAT1.CL")).replace("  105  ", "  555  "));
    session.Choose("H");
    ASSERT_EQ(session.Tick(std::chrono::seconds(10)).Poll, TEltidPoll::Read);
    EXPECT_EQ(session.LineTexts(1)[4], "FEJL");
    EXPECT_EQ(session.GodkendQuestion(),
              "1 linje(r) er markeret FEJL og giver ingen resultater. Løbere i heatet "
              "uden tid får status \"Ej mødt\". Godkend alligevel");
    session.Godkend({});
    // Read before: not counted again.
    EXPECT_FALSE(QFileInfo::exists(Path("Omega-0.files")));
}

TEST_F(TEltidSessionTest, AFailingPollShowsOneBoxAndRestsUntilItIsClosed) {
    TEltidSession& session = Start();
    QDir().mkpath(Folder() + "/HEAT1.CL");
    session.Choose("HEAT1");
    const QString fejl = "Exception, EltidReader: Filen HEAT1.CL kunne ikke læses";
    EXPECT_EQ(session.Tick(std::chrono::seconds(10)).Fejl, fejl);
    EXPECT_TRUE(session.PollingPaused());
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_EQ(session.Tick(std::chrono::seconds(10)).Fejl, "");
    session.ResumePolling();
    EXPECT_EQ(session.Tick(std::chrono::seconds(10)).Fejl, fejl);
}

TEST_F(TEltidSessionTest, AnnullerGivesBackOnlyTheHeat) {
    TEltidSession& session = Read();
    Runner(202).SetResultat(1234); // typed in heat 2, not saved
    session.EnterVind("+0.5");
    EXPECT_EQ(Runner(103).Vind, 5);
    session.Annuller();
    EXPECT_EQ(session.State(), TEltidState::Cancelled);
    EXPECT_EQ(Runner(104).Resultat, 0);
    EXPECT_EQ(Runner(103).Vind, 0);
    EXPECT_EQ(Runner(202).Resultat, 1234);
    EXPECT_TRUE(Runner(202).Modified);
}

TEST_F(TEltidSessionTest, AWindThatIsNoWindIsShownAndNotTaken) {
    TEltidSession& session = Start();
    Write("W.CL", ReadFile(Sample("HEAT1.CL")).replace("+1.2 m/s", "+12.5 m/s"));
    session.Choose("W");
    ASSERT_EQ(session.Tick(std::chrono::seconds(10)).Poll, TEltidPoll::Read);
    EXPECT_EQ(session.VindText(), "+12.5");
    EXPECT_EQ(session.VindFejl(), "Vinden \"+12.5\" kan ikke bruges");
    EXPECT_EQ(ErrorText([&] { session.EnterVind("abc"); }), "Vinden \"abc\" kan ikke bruges");
    EXPECT_EQ(ErrorText([&] { session.Godkend("+12.5"); }), "Vinden \"+12.5\" kan ikke bruges");
    EXPECT_EQ(session.State(), TEltidState::Reading);
    EXPECT_EQ(Runner(104).Vind, 0);
    EXPECT_EQ(Runner(109).RK, "");
}

TEST_F(TEltidSessionTest, TheSystemAndCameraAreKeptByTheMeetManager) {
    TEltidSession& session = Start();
    EXPECT_EQ(session.Reader().SystemName(), "Omega-0");
    session.SetEltidSystem(2);
    session.SetCameraNo(1);
    EXPECT_EQ(session.Reader().SystemName(), "Lynx-1");
    EXPECT_EQ(Manager().Registry().EltidSystem, 2);
    EXPECT_EQ(Manager().Registry().CameraNo, 1);
    // A new run starts where the last one left off.
    EXPECT_EQ(Start().Reader().SystemName(), "Lynx-1");
}

TEST_F(TEltidSessionTest, TheHeadingFollowsTheMeetsSettings) {
    AddProgramme({{"P14", "100", "IF"}});
    const TOvelseInfo& m = Round("M", "100", "I");
    EXPECT_EQ(EltidOverskrift(m, 2, 2), "M - 100 heat 2");
    EXPECT_EQ(EltidOverskrift(m, 1, 1), "M - 100");
    TSystemData& data = Manager().SystemData();
    data.Engelsk = true;
    EXPECT_EQ(EltidOverskrift(m, 2, 2), m.GetKlasseText().left(1) + " " + m.GetOvelseText() + " heat 2");
    data.ECup2007 = true;
    EXPECT_EQ(EltidOverskrift(m, 2, 2),
              m.Klasse().GetTrimmedString(KlasseField::Korttekst) + " - 100 heat 2");
    // A later round of a running event shows its letter.
    EXPECT_EQ(EltidOverskrift(Round("M", "100", "F"), 1, 1),
              m.Klasse().GetTrimmedString(KlasseField::Korttekst) + " - 100F");
    data.Redid = true;
    EXPECT_EQ(EltidOverskrift(Round("P14", "100", "I"), 3, 4), "G U14 100 h3");
    EXPECT_EQ(EltidOverskrift(Round("M", "LÆ", "F"), 1, 1),
              m.Klasse().GetTrimmedString(KlasseField::Langtekst) + " " +
                  Round("M", "LÆ", "F").Ovelse().GetTrimmedString(OvelseField::Korttekst));
}

TEST_F(TEltidSessionTest, ScoreboardFilesAreNumberedFromOne) {
    QDir().mkpath(Path("board"));
    Manager().SystemData().ScoreboardFilePath = Path("board");
    TEltidSession& session = Read();
    session.SetOverskrift("100 m heat #");
    session.Send(TScoreboardKnap::Resultat);
    EXPECT_EQ(manager_.ScoreboardFiler, QStringList({"zuno-scoreboard-001.xml"}));
    EXPECT_TRUE(Board("zuno-scoreboard-001.xml").contains("Command=\"results\""));
    EXPECT_TRUE(Board("zuno-scoreboard-data.xml").contains("zuno-scoreboard-001.xml"));
    // Collected: no clearing, no index until activated.
    session.SetCollect(true);
    session.SetKunSide1(true);
    session.Send(TScoreboardKnap::StartListeLane);
    session.Send(TScoreboardKnap::ResultatTotal);
    EXPECT_EQ(manager_.ScoreboardFiler.size(), 3);
    EXPECT_TRUE(Board("zuno-scoreboard-003.xml").contains("Command=\"results-best\""));
    EXPECT_FALSE(Board("zuno-scoreboard-data.xml").contains("zuno-scoreboard-003.xml"));
    session.ActivateCollected();
    EXPECT_FALSE(session.Collect());
    EXPECT_TRUE(Board("zuno-scoreboard-data.xml").contains("zuno-scoreboard-003.xml"));
    // Every heat, each under its own heading.
    session.SetAlleHeats(true);
    session.Send(TScoreboardKnap::Presentation);
    EXPECT_FALSE(session.AlleHeats());
    EXPECT_EQ(manager_.ScoreboardFiler, QStringList({"zuno-scoreboard-001.xml", "zuno-scoreboard-002.xml"}));
    EXPECT_TRUE(Board("zuno-scoreboard-002.xml").contains("Header=\"100 m heat 2\""));
    EXPECT_TRUE(Board("zuno-scoreboard-002.xml").contains("Command=\"presentation\""));
    // "C" without a chosen command sends nothing.
    session.Send(TScoreboardKnap::Clear);
    EXPECT_EQ(manager_.ScoreboardFiler.size(), 2);
    session.Send(TScoreboardKnap::Clear, "clear");
    EXPECT_TRUE(Board("zuno-scoreboard-001.xml").contains("Command=\"clear\""));
}

TEST_F(TEltidSessionTest, CommandsAndOngoingEventsComeFromTheDataFolder) {
    WriteFile(Path("scoreboard-commands"), "clear\r\n\r\nlogo\r\n");
    WriteFile(Path("100m-result.xml"), "<x/>");
    WriteFile(Path("other.xml"), "<x/>");
    EXPECT_EQ(TEltidSession::ScoreboardCommands(), QStringList({"clear", "logo"}));
    EXPECT_EQ(TEltidSession::OngoingEvents(), QStringList({"100m-result.xml"}));
}

} // namespace

#include "ui/Kelvo2MainProg.h"

#include "UiTestSupport.h"
#include "board/FolderFiles.h"
#include "controls/Gui.h"
#include "support/ProgramFolderFixture.h"
#include "support/Test.h"

#include "foundation/PathResolver.h"
#include "model/D_Staevne.h"
#include "platform/Registry.h"
#include "ui/Kelvo2MainProgJobs.h"
#include "ui/Launchers.h"
#include "ui/board/ResultatInfo.h"
#include "ui/board/ResultatInfoPages.h"
#include "ui/staevne/ValgStaevne2.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <filesystem>

namespace {

// A program folder with meets; the main window starts over it as the program would.
class MainProgTest : public TProgramFolderTest {
protected:
    // Creates the meets, remembers the last used one, and leaves the start-up to the window.
    void Prepare(const QStringList& meets, const QString& lastUsed = {}) {
        for (const QString& navn : meets)
            stIDs_.append(CreateMeet(navn));
        Manager().SetLastUsedName(lastUsed);
        Manager().SaveRegistry();
        OvelseManager.reset();
        StaevneManager.reset();
    }
    qint32 StID(int meet) const { return stIDs_.at(meet); }

    // Shows the window and lets its deferred start work run.
    std::unique_ptr<TKelvo2MainProgForm> Start(const QStringList& arguments) {
        auto form = std::make_unique<TKelvo2MainProgForm>(arguments, Dir());
        form->show();
        QApplication::processEvents();
        QApplication::processEvents();
        return form;
    }

private:
    QList<qint32> stIDs_;
};

TEST_F(MainProgTest, IdOpensItsMeetAndAnythingElseFallsBackToTheLastUsed) {
    Prepare({"Forår", "Sommer", "Efterår"}, "Sommer");
    const QString forAar = QString::number(StID(0));
    const QString efterAar = QString::number(StID(2));
    struct TCase {
        QStringList Arguments;
        QString Opened;
    };
    const TCase cases[] = {
        {{"ID=" + efterAar}, "Efterår"},
        {{"id=" + forAar, "/XYZ"}, "Forår"},
        {{"ID=9999"}, "Sommer"}, // unknown number
        {{"ID=abc"}, "Sommer"},  // not a number
        {{"ID=-1"}, "Sommer"},
        {{"ID="}, "Sommer"}, // no value
        {{}, "Sommer"},
    };
    for (const TCase& test : cases) {
        const auto form = Start(test.Arguments);
        EXPECT_EQ(CurrentStaevneNavn(), test.Opened) << test.Arguments.join(' ').toStdString();
        EXPECT_EQ(form->ExitCode(), 0);
        EXPECT_TRUE(form->isVisible());
    }
    const auto form = Start({"ID=" + efterAar});
    EXPECT_EQ(form->StaevneLabel->text(), "Efterår (" + efterAar + ")");
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(MainProgTest, AFailedStartUpClosesTheWindowWithItsReason) {
    Prepare({"Stævne"}, "Stævne");
    WriteFile(Path("zuno-installation"), {});
    const auto form = Start({});
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->ExitCode(), 1);
    EXPECT_EQ(form->StartupFailure(),
              "ZUNO installation er ikke tilendebragt korrekt, og ZUNO kan derfor ikke startes");
    EXPECT_EQ(Shown(), QStringList{form->StartupFailure()});
    EXPECT_FALSE(StaevneManager);

    QFile::remove(Path("zuno-installation"));
    QFile::remove(ResolvePath(Path("klub.zu2")));
    const auto missing = Start({});
    EXPECT_EQ(missing->ExitCode(), 1);
    EXPECT_EQ(missing->StartupFailure(),
              "Systemfejl 1: filen klub.zu2 findes ikke\r\n\r\nInstallationsprogrammet "
              "zuno2-setup opretter de manglende filer:\r\nzuno2-setup \"" +
                  Dir() + '"');
}

TEST_F(MainProgTest, BoardNumberIsBoardAndOneDigitFromOneToNine) {
    const std::pair<const char*, int> cases[] = {{"BOARD3", 3}, {"board3", 3},  {"BoArD9", 9},
                                                 {"BOARD0", 0}, {"BOARD10", 0}, {"BOARD3X", 0},
                                                 {"BOARD", 0},  {"XBOARD3", 0}};
    for (const auto& [text, number] : cases)
        EXPECT_EQ(TKelvo2MainProgForm::BoardNumber(text), number) << text;
    // Only the first parameter counts.
    Prepare({"Stævne"}, "Stævne");
    TScriptedDialogs dialogs;
    for (int shown = 0; shown < 2; ++shown)
        dialogs->Answer<TResultatInfoForm>([](TResultatInfoForm& board) {
            EXPECT_EQ(board.Pages().Board(), 3);
            return mrCancel;
        });
    EXPECT_EQ(Start({"board3"})->CheckBoard(), 3);
    EXPECT_EQ(Start({"/S", "BOARD3"})->CheckBoard(), 0);
}

TEST_F(MainProgTest, ABoardShowsOverTheOpenMeetThenEndsTheProgramHavingStoredNothing) {
    Prepare({"Stævne"}, "Stævne");
    Platform::TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(TStdFormBehaviour::PlacementKey(), true));
    registry.DeleteValue("TKelvo2MainProgForm_Left");
    registry.CloseKey();
    TScriptedDialogs dialogs;
    dialogs->Answer<TResultatInfoForm>([](TResultatInfoForm& board) {
        EXPECT_EQ(CurrentStaevneNavn(), "Stævne");
        EXPECT_EQ(board.Pages().Board(), 7);
        return mrCancel;
    });
    int closed = 0;
    const auto form = std::make_unique<TKelvo2MainProgForm>(QStringList{"BOARD7"}, Dir());
    QObject::connect(form.get(), &TKelvo2MainProgForm::FormClosed, [&closed] { ++closed; });
    form->show();
    Settle();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->ExitCode(), 0);
    // Not even the main window's place on the screen.
    EXPECT_FALSE(registry.OpenKey(TStdFormBehaviour::PlacementKey(), false) &&
                 registry.ValueExists("TKelvo2MainProgForm_Left"));
    // Without a board the window's place is kept, as always.
    Start({})->close();
    EXPECT_TRUE(registry.OpenKey(TStdFormBehaviour::PlacementKey(), false) &&
                registry.ValueExists("TKelvo2MainProgForm_Left"));
}

TEST_F(MainProgTest, ABoardProgramLeavesTheFolderAndTheSettingsAsTheyWere) {
    Prepare({"Stævne"}, "Stævne");
    WriteFile(Path("BOARD2"), "TIMER\r\n");
    const QString settings = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A machine where no window was ever placed: reading the places makes no empty key either.
    for (QDirIterator it(settings, {"*.dsk.ini"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        ASSERT_TRUE(QFile::remove(it.next()));
    const TFolderFiles before = FolderFiles({Dir(), settings});
    TScriptedDialogs dialogs;
    int steps = 0;
    dialogs->Answer<TResultatInfoForm>([&steps](TResultatInfoForm& board) {
        board.Start();
        for (; steps < 5; ++steps)
            board.Read();
        board.Stop();
        return mrCancel;
    });
    Start({"BOARD2"});
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(FolderFiles({Dir(), settings}), before);
}

TEST_F(MainProgTest, ABoardWithNoMeetOpenSaysSoAndTheWindowStays) {
    Prepare({"Stævne"});
    const auto form = Start({"BOARD4"});
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Shown(), QStringList{"Resultattavle 4 kan ikke vises, fordi der ikke er noget stævne åbent.\r\n"
                                   "Vælg et stævne med \"Vælg stævne\", så vises tavlen."});
    EXPECT_EQ(Start({"BOARD0"})->CheckBoard(), 0);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(MainProgTest, ABoardWaitingForItsMeetShowsOnceOneIsChosen) {
    Prepare({"Stævne"});
    const auto form = Start({"BOARD4"});
    ASSERT_EQ(Shown().size(), 1);
    TScriptedDialogs dialogs;
    dialogs->Answer<TValgStaevne2Form>([](TValgStaevne2Form&) {
        StaevneManager->OpenStaevne(StaevneManager->IndexOfStaevneNavn("Stævne"));
        return mrOk;
    });
    int shown = 0;
    dialogs->Answer<TResultatInfoForm>([&shown](TResultatInfoForm& board) {
        EXPECT_EQ(board.Pages().Board(), 4);
        ++shown;
        return mrCancel;
    });
    int closed = 0;
    QObject::connect(form.get(), &TKelvo2MainProgForm::FormClosed, [&closed] { ++closed; });
    form->VaelgStaevneButton->click();
    Settle();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(MainProgTest, AnnouncerModeLeavesOnlyChoosingEventsAndChangeNotes) {
    Prepare({"Stævne"}, "Stævne");
    const auto form = Start({});
    EXPECT_TRUE(form->ExportButton->isEnabled());
    SpeakerMode = true;
    form->UpdateView();
    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{form->NytStaevneButton, form->StaevneDataButton,
                                                 form->KlubberButton, form->ExportButton, form->ImportButton})
        EXPECT_FALSE(form->IsCommandAllowed(button)) << button->objectName().toStdString();
    EXPECT_FALSE(form->ExportButton->isEnabled());
    EXPECT_TRUE(form->IsCommandAllowed(form->OvelserButton));
    EXPECT_TRUE(form->VaelgStaevneButton->isEnabled() && form->RettelserButton->isEnabled());
}

TEST_F(MainProgTest, CtrlShiftF5RevealsTheImportButton) {
    Prepare({"Stævne"}, "Stævne");
    const auto form = Start({});
    EXPECT_FALSE(form->ImportButton->isVisible());
    QKeyEvent plainF5(QEvent::KeyPress, Qt::Key_F5, Qt::ControlModifier);
    QApplication::sendEvent(form.get(), &plainF5);
    EXPECT_FALSE(form->ImportButton->isVisible());
    QKeyEvent reveal(QEvent::KeyPress, Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::sendEvent(form.get(), &reveal);
    EXPECT_TRUE(form->ImportButton->isVisible());
    EXPECT_TRUE(form->ImportButton->isEnabled()) << "on with a meet open";
}

TEST_F(MainProgTest, ChangeNotesOpenTheShippedPageAndClosingTheWindowEndsTheProgram) {
    Prepare({});
    const auto form = Start({});
    TUrlRecorder opener;
    QDesktopServices::setUrlHandler("file", &opener, "Open");
    form->RettelserButton->click();
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(opener.Opened.size(), 1);
    EXPECT_EQ(opener.Opened.front().toLocalFile(), QFileInfo(Path("zuno2.htm")).canonicalFilePath());
    EXPECT_EQ(Shown(), QStringList());

    // No program for HTML pages (here: none at all), or no page: said in so many words, naming the file.
    form->RettelserButton->click();
    EXPECT_EQ(Shown(),
              QStringList{"Rettelserne kan ikke vises: der er intet program til at vise HTML-sider på "
                          "denne maskine.\r\nÅbn filen \"" +
                          Path("zuno2.htm") + "\" i en browser."});
    ASSERT_TRUE(QFile::remove(Path("zuno2.htm")));
    form->RettelserButton->click();
    EXPECT_EQ(Shown(),
              QStringList{"Rettelserne kan ikke vises: filen \"" + Path("zuno2.htm") + "\" findes ikke."});

    int closed = 0;
    QObject::connect(form.get(), &TKelvo2MainProgForm::FormClosed, [&closed] { ++closed; });
    form->close();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(form->ExitCode(), 0);
}

// ---------------------------------------------------------------- batch jobs

TEST_F(MainProgTest, KipWritesTheNamedMeetStampedWithTheClockAndEnds) {
    Prepare({"Forår", "Sommer"}, "Sommer");
    const TClockScope clock(EncodeDateTime(QDate(2025, 6, 7), QTime(8, 9, 10)));
    const auto form = Start({"ID=" + QString::number(StID(0)), "/kip"});
    EXPECT_TRUE(form->IsBatch());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->ExitCode(), 0);
    EXPECT_TRUE(QFileInfo(Path("Forår/_kip_20250607_080910.kip")).isFile());
    EXPECT_FALSE(QDir(Path("Sommer")).entryList(QDir::Files).contains("_kip_20250607_080910.kip"));
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(MainProgTest, TwoKipRunsWithinOneSecondKeepBothFiles) {
    Prepare({"Forår"}, "Forår");
    const TClockScope clock(EncodeDateTime(QDate(2025, 6, 7), QTime(8, 9, 10)));
    for (int run = 0; run < 2; ++run)
        EXPECT_EQ(Start({"/KIP"})->ExitCode(), 0);
    EXPECT_EQ(QDir(Path("Forår")).entryList({"_kip_*.kip"}, QDir::Files, QDir::Name),
              QStringList({"_kip_20250607_080910.kip", "_kip_20250607_080910_2.kip"}));
    EXPECT_TRUE(Shown().isEmpty());
}

// A batch run with no meet at all is run through the program itself (tests/app).
TEST_F(MainProgTest, ABatchRunWithABadIdFailsAndWritesNothing) {
    Prepare({"Forår"}, "Forår");
    for (const QString& id : {QStringLiteral("ID=9999"), QStringLiteral("ID=abc"), QStringLiteral("ID=")}) {
        const auto form = Start({id, "/KIP"});
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->ExitCode(), 1);
        EXPECT_EQ(Shown(),
                  QStringList{"Der findes intet stævne med ID=" + id.mid(3) + ", så der er ikke kørt noget"});
    }
    EXPECT_TRUE(QDir(Path("Forår")).entryList(QDir::Files).isEmpty());
}

TEST_F(MainProgTest, JobsRunInTheirOrderAndAJobThatCannotRunStopsTheRunBeforeAnythingIsWritten) {
    Prepare({"Forår"}, "Forår");
    // "/HTML_RESULTS" comes after "/KIP" whatever the order on the command line.
    const auto form = Start({"/HTML_RESULTS", "/KIP"});
    EXPECT_EQ(form->ExitCode(), 0);
    EXPECT_FALSE(form->isVisible());
    const QStringList kip = QDir(Path("Forår")).entryList({"_kip_*.kip"}, QDir::Files);
    ASSERT_EQ(kip.size(), 1);
    const auto written = [this](const QString& name) {
        return std::filesystem::last_write_time(QFile::encodeName(Path("Forår/" + name)).toStdString());
    };
    EXPECT_LT(written(kip.front()), written("resultatliste.htm"));
    EXPECT_TRUE(Shown().isEmpty());

    // An XML job without its file name is found out before the transfer file is written.
    const auto failed = Start({"/KIP", "/XML_STAEVNE"});
    EXPECT_EQ(failed->ExitCode(), 1);
    EXPECT_FALSE(failed->isVisible());
    EXPECT_EQ(QDir(Path("Forår")).entryList({"_kip_*.kip"}, QDir::Files).size(), 1);
    EXPECT_EQ(Shown(), QStringList{"/XML_STAEVNE: der er ikke givet noget filnavn med /FILENAME=, så der er "
                                   "ikke skrevet noget"});
}

TEST(BatchCommandLineTest, OnlyAJobSwitchWithoutValueMakesABatchRunAndASwitchNeverGivesItsOwnText) {
    EXPECT_TRUE(IsBatchCommandLine({"ID=3", "/kip"}));
    EXPECT_TRUE(IsBatchCommandLine({"/XML_STAEVNE", "/FILENAME=x.xml"}));
    EXPECT_FALSE(IsBatchCommandLine({"ID=3", "/S", "BOARD2"}) || IsBatchCommandLine({"/KIPX"}));
    EXPECT_EQ(SwitchArgument("/FILENAME=", {"/FILENAME="}), "");
    EXPECT_EQ(SwitchArgument("/FILENAME=", {"/FILENAME=\"a b.xml\""}), "a b.xml");
    EXPECT_EQ(SwitchArgument("ID=", {"id=12"}), "12");
}

} // namespace

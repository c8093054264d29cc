// The timing reader's window as the result grid opens it through its launcher: a heat's file taken only
// once it is whole, the lines shown, mended by typing and accepted into the rows; the failure box of a
// poll; the file list's commands; the scoreboard buttons; each timing system's sample file.
#include "EltidFixture.h"
#include "UiTestSupport.h"
#include "controls/Gui.h"

#include "foundation/Windows1252.h"
#include "foundation/controls/Extstrgr.h"
#include "model/D_Staevne.h"
#include "ui/LaunchersEltid.h"
#include "ui/eltid/EltidReaderForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>

#include <set>

namespace {

using TForm = TEltidReaderForm;
constexpr std::chrono::seconds LongWait{10};

class EltidReaderWindow : public TEltidTest {
protected:
    EltidReaderWindow() {
        manager_.LoadOvelse(&Round("M", "100", "I"));
        QDir().mkpath(Folder());
    }
    // The system's ".path" file names the folder.
    void PathFile(const QString& system) {
        WriteFile(Path(system + "-0.path"), (Folder() + "\r\n").toUtf8());
    }
    // The reader on a heat of the loaded round through its launcher; play is what the user does in it.
    bool RunReader(const std::function<void(TForm&)>& play, qint32 heat = 1) {
        dialogs_->Answer<TForm>([&](TForm& form) {
            play(form);
            return mrNone;
        });
        return KoerEltidReader(nullptr, manager_, Round("M", "100", "I"), heat);
    }
    static TRecordingPresenter& Recorder() { return static_cast<TRecordingPresenter&>(MessagePresenter()); }
    static QStringList Items(const TForm& form) {
        QStringList items;
        for (int i = 0; i < form.FileListbox->count(); ++i)
            items << form.FileListbox->item(i)->text();
        return items;
    }
    static void Select(TForm& form, const QString& name) {
        const QList<QListWidgetItem*> found = form.FileListbox->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        form.FileListbox->setCurrentItem(found.front());
    }
    static void Choose(TForm& form, const QString& name) {
        Select(form, name);
        ASSERT_TRUE(form.VaelgButton->isEnabled());
        form.VaelgButton->click();
    }
    static QStringList GridRow(const TForm& form, int row) {
        QStringList cells;
        for (int col = 0; col < form.TiderGrid->ColCount(); ++col)
            cells << form.TiderGrid->Cells(col, row);
        return cells;
    }
    // Saved where the environment asks for pictures of the windows (ZUNO_SCREENSHOTS).
    static void Picture(QWidget& window, const QString& name) {
        const QString folder = qEnvironmentVariable("ZUNO_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        ShowActive(window);
        Settle();
        EXPECT_TRUE(window.grab().save(folder + u'/' + name));
    }

    TScriptedDialogs dialogs_;
};

TEST_F(EltidReaderWindow, AHeatsFileWrittenInTwoStepsIsShownOnlyWholeMatchedAndAfterGodkendPlacedAndStored) {
    PathFile("Omega");
    Write("HEAT1.COL", "");
    const QByteArray whole = ReadFile(Sample("HEAT1.CL"));
    std::set<int> rowCounts;
    const bool accepted = RunReader([&](TForm& form) {
        const TOvelseInfo& round = Round("M", "100", "I");
        EXPECT_EQ(
            form.windowTitle(),
            QStringLiteral(" %1 %2, Heat: 1, Antal: 9").arg(round.GetKlasseText(), round.GetOvelseText()));
        EXPECT_EQ(Items(form), QStringList({"HEAT1"}));
        EXPECT_FALSE(form.Godkend->isEnabled());
        Choose(form, "HEAT1");
        EXPECT_TRUE(form.Timer->isActive());
        EXPECT_EQ(form.FilenameLabel->text(), "HEAT1");
        EXPECT_FALSE(form.FilePanel->isVisibleTo(&form));
        EXPECT_TRUE(form.TiderPanel->isVisibleTo(&form));
        EXPECT_FALSE(form.EltidSystem->isEnabled());

        // The first half, cut inside a line, is left for a later look.
        Write("HEAT1.CL", whole.left(whole.indexOf("10.61") + 3));
        form.Tick(LongWait);
        EXPECT_EQ(GridRow(form, 1), QStringList({"", "", "", "", "", ""}));
        EXPECT_FALSE(form.Godkend->isEnabled());
        // The whole file, as the window's own timer takes it.
        Write("HEAT1.CL", whole);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                rowCounts.insert(form.TiderGrid->RowCount());
                return form.TiderGrid->RowCount() == 8;
            },
            10000));
        EXPECT_EQ(GridRow(form, 0), QStringList({"Nr", "Bane", "StartNr", "  Tid", "Status", "1 / 1000"}));
        EXPECT_EQ(GridRow(form, 1), QStringList({"1", "0", "104", "  10.52", "OK", "  0"}));
        for (int row = 1; row < form.TiderGrid->RowCount(); ++row)
            EXPECT_EQ(GridRow(form, row), form.Session().LineTexts(row - 1));
        EXPECT_EQ(form.Vind->text(), "+1.2");
        EXPECT_TRUE(form.Vind->isVisibleTo(&form));
        EXPECT_TRUE(form.Rediger->isEnabled());
        ASSERT_TRUE(form.Godkend->isEnabled());
        form.Godkend->click();
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(rowCounts, std::set<int>({2, 8})) << "never part of the file";
    EXPECT_TRUE(Shown().isEmpty()) << "no line is FEJL: no question";
    // Placed: the placing code kept only for the tie at 10.61; no time, no show; the wind for the heat.
    EXPECT_EQ(Runner(104).Plac, 1);
    EXPECT_EQ(Runner(104).PK, 0);
    EXPECT_EQ(Runner(105).PK, 2);
    EXPECT_EQ(Runner(103).PK, 3);
    EXPECT_EQ(Runner(101).RK, "E");
    EXPECT_EQ(Runner(108).RK, "U");
    EXPECT_EQ(Runner(104).Vind, 12);
    EXPECT_EQ(Runner(201).Resultat, 0) << "the other heat is not touched";
    EXPECT_EQ(ReadFile(Path("Omega-0.files")), "HEAT1\r\n");

    manager_.SaveResultater();
    TResultatManager stored;
    stored.LoadOvelse(&Round("M", "100", "I"));
    EXPECT_EQ(Row(stored, 104).Resultat, 1052);
    EXPECT_EQ(Row(stored, 104).Plac, 1);
    EXPECT_EQ(Row(stored, 106).Resultat, 1088);
    EXPECT_EQ(Row(stored, 106).Plac, 4);
    EXPECT_EQ(Row(stored, 101).RK, "E");
    EXPECT_EQ(Row(stored, 104).Vind, 12);
}

TEST_F(EltidReaderWindow, ALineThatMatchesNoOneIsRedWithItsReasonAndIsMendedByTypingTheStartNumber) {
    PathFile("Omega");
    Write("H.COL", "");
    Write("H.CL", ReadFile(Sample("HEAT1.CL")).replace("  105  ", "  555  "));
    const bool accepted = RunReader([&](TForm& form) {
        ShowActive(form);
        Choose(form, "H");
        form.Tick(LongWait);
        ASSERT_EQ(form.TiderGrid->Cells(TForm::StatusCol, 2), "FEJL");
        // White on red, the reason as the cell's tool tip.
        TCellCanvas fejl;
        form.TiderGrid->BeforeDrawCell(TForm::StatusCol, 2, {}, fejl);
        EXPECT_EQ(fejl.BrushColor, QColor(Qt::red));
        EXPECT_EQ(fejl.FontColor, QColor(Qt::white));
        TCellCanvas ok;
        form.TiderGrid->BeforeDrawCell(TForm::StatusCol, 1, {}, ok);
        EXPECT_FALSE(ok.BrushColor.isValid());
        QWidget* viewport = form.TiderGrid->viewport();
        const QPoint at =
            form.TiderGrid->visualRect(form.TiderGrid->model()->index(1, TForm::StatusCol)).center();
        QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &help);
        EXPECT_EQ(QToolTip::text(), "Ingen i heatet har startnummer 555 eller bane 0");
        Picture(form, "eltid-fejl.png");

        // Accepting with the line left asks first; Nej keeps the window.
        Recorder().QueueAnswer(mrNo);
        form.Godkend->click();
        ASSERT_EQ(Recorder().Shown().size(), 1u);
        EXPECT_TRUE(Recorder().Shown().back().Text.startsWith("1 linje(r) er markeret FEJL"));
        EXPECT_EQ(Recorder().Shown().back().DefaultResult(), mrNo);
        EXPECT_TRUE(form.Timer->isActive());

        // "Rediger": the timer stops and the cursor stands in the start number of the first line.
        form.Rediger->click();
        Settle();
        EXPECT_FALSE(form.Timer->isActive());
        EXPECT_FALSE(form.Rediger->isEnabled());
        EXPECT_EQ(form.TiderGrid->Col(), TForm::StartNrCol);
        EXPECT_EQ(form.TiderGrid->Row(), 1);
        Press(Qt::Key_Down);
        ASSERT_EQ(form.TiderGrid->Row(), 2);
        QLineEdit* editor = form.TiderGrid->InplaceEditor();
        editor->selectAll();
        QTest::keyClicks(editor, "10x");
        Press(Qt::Key_Down);
        EXPECT_EQ(form.TiderGrid->Row(), 2) << "a text that is no number keeps the cursor";
        EXPECT_EQ(Recorder().Shown().size(), 2u);
        EXPECT_EQ(Runner(105).Resultat, 0);
        editor->selectAll();
        QTest::keyClicks(editor, "105");
        Press(Qt::Key_Up);
        EXPECT_EQ(form.TiderGrid->Cells(TForm::StatusCol, 2), "OK");
        EXPECT_EQ(Runner(105).Resultat, 1061);
        // A wind typed with Enter is the heat's at once.
        form.Vind->setFocus();
        form.Vind->setText("-0.4");
        Press(Qt::Key_Return);
        EXPECT_EQ(Runner(109).Vind, -4);
        EXPECT_TRUE(form.isVisible()) << "Enter closes nothing";
        form.Godkend->click();
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(Recorder().Shown().size(), 2u) << "mended: no second question";
    EXPECT_EQ(Runner(105).Plac, 2);
    EXPECT_EQ(Runner(104).Vind, -4);
}

// Keeps each box and runs WhileOpen (once) as if the user took that long to close it.
class TSlowBoxes : public TMessagePresenter {
public:
    int Present(QObject*, const TMessageBox& box) override {
        Texts << box.Text;
        if (const std::function<void()> whileOpen = std::exchange(WhileOpen, nullptr))
            whileOpen();
        return box.DefaultResult();
    }
    QStringList Texts;
    std::function<void()> WhileOpen;
};

TEST_F(EltidReaderWindow, AFailureWhilePollingShowsOneBoxAndPollsAgainOnlyOnceItIsClosed) {
    PathFile("Omega");
    Write("HEAT1.COL", "");
    QDir().mkpath(Folder() + "/HEAT1.CL"); // found, and never read
    auto presenter = std::make_unique<TSlowBoxes>();
    TSlowBoxes& boxes = *presenter;
    const TScopedMessagePresenter scope(std::move(presenter));
    bool pausedWhileOpen = false;
    qsizetype boxesWhileOpen = -1;
    const bool accepted = RunReader([&](TForm& form) {
        boxes.WhileOpen = [&] {
            pausedWhileOpen = form.Session().PollingPaused();
            // Four ticks of the timer pass while the box is open.
            QTest::qWait(1000);
            boxesWhileOpen = boxes.Texts.size();
        };
        Choose(form, "HEAT1");
        EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.Texts.size() >= 2; }, 10000)) << "polls again";
        EXPECT_FALSE(form.Session().PollingPaused());
        form.Annuller->click();
    });
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(pausedWhileOpen);
    EXPECT_EQ(boxesWhileOpen, 1);
    EXPECT_EQ(boxes.Texts.front(), "Exception, EltidReader: Filen HEAT1.CL kunne ikke læses");
}

TEST_F(EltidReaderWindow, TheFileListsCommandsKeepTheirFilesAndAFolderThatIsNotThereIsShown) {
    Write("A.COL", "");
    Write("B.COL", "");
    RunReader([&](TForm& form) {
        EXPECT_TRUE(Items(form).isEmpty());
        EXPECT_TRUE(form.FolderLabel->text().contains("Sæt eltid reference"));
        dialogs_->Answer<QFileDialog>([&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), "OpenDialog");
            dialog.selectFile(Folder() + "/B.COL");
            return mrOk;
        });
        form.SetEltidReference->click();
        EXPECT_EQ(Items(form), QStringList({"A", "B"}));
        EXPECT_EQ(ReadFile(Path("Omega-0.path")), (Folder() + "\r\n").toUtf8());
        EXPECT_EQ(form.FolderLabel->text(), "Mappe: " + Folder());
        Picture(form, "eltid-filer.png");

        Select(form, "A");
        form.FjernButton->click();
        EXPECT_EQ(Items(form), QStringList({"B"}));
        EXPECT_EQ(ReadFile(Path("Omega-0.files")), "A\r\n");
        form.Tidligere->setChecked(true);
        EXPECT_EQ(Items(form), QStringList({"A"}));
        EXPECT_FALSE(form.FjernButton->isEnabled());
        form.Tidligere->setChecked(false);
        form.Nulstil->click();
        EXPECT_EQ(Items(form), QStringList({"A", "B"}));
        EXPECT_FALSE(QFileInfo::exists(Path("Omega-0.files")));
        // Several chosen: "Vælg" waits for one.
        form.FileListbox->selectAll();
        EXPECT_FALSE(form.VaelgButton->isEnabled());

        // Another system and camera are kept by the meet manager; a Windows drive is not found and said so.
        WriteFile(Path("Lynx-1.path"), "C:\\Timing\r\n");
        form.EltidSystem->setCurrentIndex(2);
        form.CameraNo->setCurrentIndex(1);
        EXPECT_EQ(Manager().Registry().EltidSystem, 2);
        EXPECT_EQ(Manager().Registry().CameraNo, 1);
        EXPECT_TRUE(Items(form).isEmpty());
        EXPECT_EQ(form.FolderLabel->text(), "Eltid-mappen C:\\Timing findes ikke");
        form.Annuller->click();
    });
    EXPECT_EQ(dialogs_->Shown, QStringList({"TEltidReaderForm", "QFileDialog"}));
}

TEST_F(EltidReaderWindow, ClosingWithoutGodkendGivesTheHeatBackAndOtherHeatsKeepTheirEdits) {
    PathFile("Omega");
    Copy("HEAT1.CL");
    Write("HEAT1.COL", "");
    Runner(202).SetResultat(1234);
    const bool accepted = RunReader([&](TForm& form) {
        Choose(form, "HEAT1");
        form.Tick(LongWait);
        EXPECT_EQ(Runner(104).Resultat, 1052);
        form.reject(); // Escape
    });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(Runner(104).Resultat, 0);
    EXPECT_FALSE(Runner(104).Modified);
    EXPECT_EQ(Runner(202).Resultat, 1234);
    EXPECT_FALSE(QFileInfo::exists(Path("Omega-0.files")));
}

TEST_F(EltidReaderWindow, TheScoreboardButtonsSendTheTypedHeadingAndTheChecksFollowTheSession) {
    QDir().mkpath(Path("board"));
    Manager().SystemData().ScoreboardFilePath = Path("board");
    WriteFile(Path("scoreboard-commands"), "clear\r\nlogo\r\n");
    WriteFile(Path("100m-result.xml"), "<x/>");
    RunReader(
        [&](TForm& form) {
            EXPECT_EQ(form.CommandsCombobox->currentIndex(), -1) << "no command chosen at first";
            EXPECT_EQ(form.OngoingEventsCombobox->itemText(0), "100m-result.xml");
            form.Overskrift->setText("100 m heat #");
            form.AlleHeats->setChecked(true);
            form.PresentationButton->click();
            EXPECT_FALSE(form.AlleHeats->isChecked()) << "one send of every heat";
            EXPECT_TRUE(Windows1252::Decode(ReadFile(Path("board/zuno-scoreboard-002.xml")))
                            .contains("Header=\"100 m heat 2\""));
            EXPECT_FALSE(form.ClearCollectedButton->isEnabled());
            form.CollectCheckBox->setChecked(true);
            EXPECT_TRUE(form.ClearCollectedButton->isEnabled());
            form.ActivateCollectedButton->click();
            EXPECT_FALSE(form.CollectCheckBox->isChecked());
            EXPECT_FALSE(form.ActivateCollectedButton->isEnabled());
            form.CommandsCombobox->setCurrentIndex(1);
            form.ClearButton->click();
            EXPECT_TRUE(Windows1252::Decode(ReadFile(Path("board/zuno-scoreboard-001.xml")))
                            .contains("Command=\"logo\""));
            form.Annuller->click();
        },
        2);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(EltidReaderWindow, AnEventThatIsNotRunShowsOnlyTheScoreboard) {
    AddResultat(Round("M", "LÆ"), 101, Fields({{ResultatField::Heat, 1}}));
    TResultatManager laengde;
    laengde.LoadOvelse(&Round("M", "LÆ"));
    dialogs_->Answer<TForm>([](TForm& form) {
        EXPECT_FALSE(form.TimingPanel->isVisibleTo(&form));
        EXPECT_FALSE(form.FilePanel->isVisibleTo(&form));
        EXPECT_FALSE(form.TiderPanel->isVisibleTo(&form));
        EXPECT_TRUE(form.ScoreboardPanel->isVisibleTo(&form));
        EXPECT_FALSE(form.Godkend->isEnabled());
        form.Annuller->click();
        return mrNone;
    });
    EXPECT_FALSE(KoerEltidReader(nullptr, laengde, Round("M", "LÆ"), 1));
    // Nor does the reader run in announcer mode.
    ModelContext().SpeakerMode = true;
    EXPECT_FALSE(KoerEltidReader(nullptr, laengde, Round("M", "LÆ"), 1));
    ModelContext().SpeakerMode = false;
}

// Each system's sample: the file, its wind, the lines as the window shows them.
struct TSample {
    TEltidSystem System;
    const char* Word;
    std::vector<const char*> Files;
    const char* Tid;
    const char* Vind;
    const char* Picture;
};

void PrintTo(const TSample& sample, std::ostream* out) {
    *out << sample.Word;
}

class EltidReaderSamples : public EltidReaderWindow, public ::testing::WithParamInterface<TSample> {};

TEST_P(EltidReaderSamples, AHeatIsReadFromTheSystemsSampleFile) {
    const TSample& sample = GetParam();
    Manager().Registry().EltidSystem = int(sample.System);
    PathFile(QString::fromLatin1(sample.Word));
    for (const char* file : sample.Files)
        Copy(QString::fromLatin1(file));
    // Omega lists its heats by their ".COL" files.
    if (sample.System == TEltidSystem::Omega)
        Write("HEAT1.COL", "");
    const bool accepted = RunReader([&](TForm& form) {
        EXPECT_EQ(form.EltidSystem->currentIndex(), int(sample.System));
        ASSERT_EQ(Items(form), QStringList({"HEAT1"}));
        Choose(form, "HEAT1");
        form.Tick(LongWait);
        EXPECT_EQ(GridRow(form, 1).mid(0, 4),
                  QStringList({"1", "0", "104", QString::fromLatin1(sample.Tid)}));
        EXPECT_EQ(form.Vind->text(), QString::fromLatin1(sample.Vind));
        Picture(form, QString::fromLatin1(sample.Picture));
        form.Godkend->click();
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(Runner(104).GetFieldText(TResultColumn::Resultat), QString::fromLatin1(sample.Tid).trimmed());
    EXPECT_EQ(Runner(104).Plac, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, EltidReaderSamples,
    ::testing::Values(
        TSample{TEltidSystem::Omega, "Omega", {"HEAT1.CL"}, "  10.52", "+1.2", "eltid-omega.png"},
        TSample{TEltidSystem::Alge, "Alge", {"HEAT1.TXT", "HEAT1.SAV"}, "  10.52", "+0.8", "eltid-alge.png"},
        // Three decimals: the hundredths rounded up.
        TSample{TEltidSystem::Lynx, "Lynx", {"HEAT1.LIF"}, "  10.53", "+1.5", "eltid-lynx.png"}),
    [](const ::testing::TestParamInfo<TSample>& each) { return std::string(each.param.Word); });

} // namespace

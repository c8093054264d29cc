// The event editor's running page in a fun run, driven by keys: start numbers and results in the two
// boxes that take turns, automatic timing with its log, the question before a result is overwritten,
// typing in the grid, the running time from the start time, saving on the way off the page and out of
// the window, and announcer mode only showing.
#include "EditOvelseTestSupport.h"

#include "foundation/controls/EditUtil.h"
#include "model/D_Context.h"
#include "model/D_Result.h"
#include "ui/eltid/QuickEntry.h"
#include "ui/ovelse/EditOvelseLoeb.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>

namespace {

constexpr int ResultatCol = int(TQuickColumn::Resultat);

class EditOvelseLoeb : public TEditOvelseTest {
protected:
    // A fun run: the 100 m of both classes at 10:00, its runners in no heat; K's runner 103 has finished.
    EditOvelseLoeb() {
        Manager().SystemData().Motionsloeb = true;
        Place(Round("M", "100", "I"), Loerdag(), QTime(10, 0), "LØB");
        Place(Round("K", "100"), Loerdag(), QTime(10, 0), "LØB");
        Enter(Round("M", "100", "I"), 1, 4);
        Enter(Round("K", "100"), 101, 2);
        Enter(Round("K", "100"), 103, 1, 0, 1234);
    }
    static TRecordingPresenter& Recorder() { return static_cast<TRecordingPresenter&>(MessagePresenter()); }
    // Both rounds selected, on the running page.
    void OpenPage(TEditOvelseForm& form) {
        Click(form, Round("K", "100"));
        const auto cell = form.Oversigt().Find(&Round("M", "100", "I"));
        ASSERT_TRUE(cell.has_value());
        form.OversigtGrid->SetSelection(
            {form.OversigtGrid->Col(), form.OversigtGrid->Row(), cell->first, cell->second});
        Settle();
        ASSERT_EQ(form.SelectedOvelser().size(), 2u);
        form.PageControl->setCurrentWidget(form.LobeResultatPage);
        Settle();
        ASSERT_EQ(form.PageControl->currentWidget(), form.LobeResultatPage);
    }
    static void TypeKeys(const QString& text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        Settle();
    }
    // The grid row of the start number.
    static int GridRow(TEditOvelseForm& form, qint32 startnummer) {
        return form.RunningPage().Entry()->RowOf(startnummer) + form.LobeResultatGrid->FixedRows();
    }
    static QString Cell(TEditOvelseForm& form, qint32 startnummer, TQuickColumn col) {
        return form.LobeResultatGrid->Cells(int(col), GridRow(form, startnummer));
    }
    // The stored result and place of the start number in its round.
    struct TStored {
        qint32 Resultat;
        int Plac;
    };
    static TStored Stored(TOvelseInfo& round, qint32 startnummer) {
        TResultatManager stored;
        stored.LoadOvelse(&round);
        const TResultat& row = Row(stored, startnummer);
        return {row.Resultat, row.Plac};
    }
    QString Log() { return QString::fromLatin1(ReadFile(Path("AutoTid.Txt"))); }
    // Saved where the environment asks for pictures of the windows (ZUNO_SCREENSHOTS).
    static void Picture(QWidget& window, const QString& name) {
        const QString folder = qEnvironmentVariable("ZUNO_SCREENSHOTS");
        if (!folder.isEmpty()) {
            EXPECT_TRUE(window.grab().save(folder + u'/' + name));
        }
    }
};

TEST_F(EditOvelseLoeb, StartNumbersAndResultsTakeTurnsInTheBoxesAndLeavingThePageStoresThemWithPlaces) {
    const auto form = Open();
    OpenPage(*form);
    TRunningPage& page = form->RunningPage();
    EXPECT_EQ(QApplication::focusWidget(), page.QuickStartnummer);
    EXPECT_FALSE(page.QuickResultat->isEnabled());
    EXPECT_FALSE(form->OvelseHeader->isVisibleTo(form.get()));
    EXPECT_FALSE(form->NavigationEnabled) << "Enter belongs to the boxes";
    EXPECT_FALSE(form->PageControl->isTabVisible(form->PageControl->indexOf(form->OvelsePage)));
    QStringList headings;
    for (int col = 0; col < form->LobeResultatGrid->ColCount(); ++col)
        headings << form->LobeResultatGrid->Cells(col, 0);
    EXPECT_EQ(headings, TQuickEntry::Headings());
    EXPECT_EQ(form->LobeResultatGrid->RowCount(), 1 + 7) << "every runner of both rounds";
    EXPECT_EQ(form->LobeResultatGrid->Cells(int(TQuickColumn::Nr), 1), "103") << "the finisher first";

    TypeKeys("2");
    Press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), page.QuickResultat);
    EXPECT_FALSE(page.QuickStartnummer->isEnabled());
    EXPECT_EQ(form->LobeResultatGrid->Row(), GridRow(*form, 2)) << "the grid stands on the runner";
    TypeKeys("12.50");
    Press(Qt::Key_Return);
    EXPECT_EQ(Cell(*form, 2, TQuickColumn::Resultat), "12.50");
    EXPECT_EQ(page.QuickResultat->text(), "");
    EXPECT_FALSE(page.QuickResultat->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), page.QuickStartnummer);
    EXPECT_EQ(page.QuickStartnummer->selectedText(), "2") << "ready for the next number";

    // A result that does not parse stays in its box with the reason.
    TypeKeys("101");
    Press(Qt::Key_Return);
    TypeKeys("12,3x");
    Press(Qt::Key_Return);
    EXPECT_EQ(Shown(), QStringList({"\"12,3x\" er ikke et gyldigt resultat"}));
    EXPECT_EQ(page.QuickResultat->text(), "12,3x");
    EXPECT_EQ(QApplication::focusWidget(), page.QuickResultat);
    page.QuickResultat->selectAll();
    TypeKeys("13.10");
    Press(Qt::Key_Return);
    EXPECT_EQ(Cell(*form, 101, TQuickColumn::Resultat), "13.10");

    // A number nobody has is refused; the number stays selected for the next try.
    TypeKeys("99");
    Press(Qt::Key_Return);
    EXPECT_EQ(Shown(), QStringList({"Startnummer findes ikke"}));
    EXPECT_EQ(page.QuickStartnummer->selectedText(), "99");
    EXPECT_EQ(QApplication::focusWidget(), page.QuickStartnummer);

    // Back on the overview: each round stored with its places, results without a heat in a fun run.
    form->PageControl->setCurrentWidget(form->OversigtPage);
    Settle();
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_TRUE(form->NavigationEnabled);
    EXPECT_TRUE(form->OvelseHeader->isVisibleTo(form.get()));
    EXPECT_EQ(Stored(Round("M", "100", "I"), 2).Resultat, 1250);
    EXPECT_EQ(Stored(Round("M", "100", "I"), 2).Plac, 1);
    EXPECT_EQ(Stored(Round("K", "100"), 101).Resultat, 1310);
    EXPECT_EQ(Stored(Round("K", "100"), 101).Plac, 2);
    EXPECT_EQ(Stored(Round("K", "100"), 103).Plac, 1);
    EXPECT_FALSE(QFileInfo::exists(Path("AutoTid.Txt"))) << "no automatic timing";
}

TEST_F(EditOvelseLoeb, ClosingFromThePageAsksAsTheResultPageDoesAndNejStoresNothing) {
    for (const int answer : {int(mrNo), int(mrYes)}) {
        const auto form = Open();
        OpenPage(*form);
        TypeKeys("2");
        Press(Qt::Key_Return);
        TypeKeys("12.50");
        Press(Qt::Key_Return);
        Recorder().QueueAnswer(answer);
        form->reject();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(Shown(), QStringList{"Ændringer er ikke gemt, skal de gemmes?"});
        EXPECT_EQ(Stored(Round("M", "100", "I"), 2).Resultat, answer == mrYes ? 1250 : 0);
        EXPECT_EQ(Stored(Round("M", "100", "I"), 2).Plac, answer == mrYes ? 1 : 0);
    }
    // Nothing typed: nothing to ask.
    const auto form = Open();
    OpenPage(*form);
    form->reject();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(EditOvelseLoeb, AutomaticTimingTakesTheTimeOfEnterLogsItAndAsksBeforeOverwriting) {
    const TClockScope clock(EncodeDateTime(Loerdag(), QTime(10, 15, 3)));
    const auto form = Open();
    form->AutoTidRegistrering->setChecked(true);
    OpenPage(*form);
    TRunningPage& page = form->RunningPage();
    EXPECT_EQ(page.AktuelTid->text(), "10:15:03");
    EXPECT_TRUE(page.Timer1->isActive());

    TypeKeys("2");
    Press(Qt::Key_Return);
    EXPECT_EQ(Log(), "    2 10:15:03\r\n");
    EXPECT_EQ(Cell(*form, 2, TQuickColumn::Resultat), "10.15.03");
    EXPECT_EQ(QApplication::focusWidget(), page.QuickStartnummer);
    EXPECT_EQ(page.QuickStartnummer->selectedText(), "2");
    EXPECT_FALSE(page.QuickResultat->isEnabled());

    // 103 has finished: Nej (the default) keeps the result; the log line is written all the same.
    TypeKeys("103");
    Press(Qt::Key_Return);
    ASSERT_EQ(Recorder().Shown().size(), 1u);
    EXPECT_EQ(Recorder().Shown().back().Text, "Der er allerede indtastet resultater, overskriv resultat?");
    EXPECT_EQ(Recorder().Shown().back().DefaultResult(), mrNo);
    EXPECT_EQ(Cell(*form, 103, TQuickColumn::Resultat), "12.34");
    EXPECT_EQ(Log(), "    2 10:15:03\r\n  103 10:15:03\r\n");
    Recorder().QueueAnswer(mrYes);
    TypeKeys("103");
    Press(Qt::Key_Return);
    EXPECT_EQ(Cell(*form, 103, TQuickColumn::Resultat), "10.15.03");
    Shown();
    TypeKeys("4");
    Picture(*form, "loeb.png");

    // Closing the window from the page asks as the result page does; Ja saves as leaving the page does.
    Recorder().QueueAnswer(mrYes);
    form->reject();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(Shown(), QStringList{"Ændringer er ikke gemt, skal de gemmes?"});
    EXPECT_EQ(Stored(Round("M", "100", "I"), 2).Resultat, 101503);
    EXPECT_EQ(Stored(Round("K", "100"), 103).Resultat, 101503);
    EXPECT_EQ(Stored(Round("K", "100"), 103).Plac, 1);
}

TEST_F(EditOvelseLoeb, TheGridsResultCellIsTypedAndTidCountsFromTheStartTime) {
    const auto form = Open();
    OpenPage(*form);
    TRunningPage& page = form->RunningPage();
    TExtStringGrid& grid = *form->LobeResultatGrid;
    // Only "Resultat" takes typing.
    ASSERT_TRUE(grid.GotoCell(ResultatCol, GridRow(*form, 3), true));
    grid.setFocus();
    Settle();
    TypeKeys("abc");
    Press(Qt::Key_Down);
    EXPECT_EQ(Shown(), QStringList({"\"abc\" er ikke et gyldigt resultat"}));
    EXPECT_EQ(grid.Row(), GridRow(*form, 3)) << "the cell keeps the cursor";
    grid.InplaceEditor()->selectAll();
    TypeKeys("15.50");
    Press(Qt::Key_Down);
    EXPECT_EQ(Cell(*form, 3, TQuickColumn::Resultat), "15.50");
    EXPECT_EQ(page.Entry()->RowAt(GridRow(*form, 3) - 1)->Resultat, 1550);
    ASSERT_TRUE(grid.GotoCell(int(TQuickColumn::Navn), GridRow(*form, 4), true));
    TypeKeys("x");
    EXPECT_EQ(Cell(*form, 4, TQuickColumn::Navn),
              page.Entry()->CellText(GridRow(*form, 4) - 1, TQuickColumn::Navn));

    // Leaving the start time counts each scan time from it.
    page.Entry()->RowAt(GridRow(*form, 1) - 1)->ScanningTid = 101503;
    page.Starttid->setFocus();
    page.Starttid->setTime(QTime(10, 0, 0));
    Settle();
    EXPECT_EQ(Cell(*form, 1, TQuickColumn::Tid), "") << "counted once the time is left";
    grid.setFocus();
    Settle();
    EXPECT_EQ(Cell(*form, 1, TQuickColumn::Tid), "00:15:03");
    EXPECT_EQ(Cell(*form, 2, TQuickColumn::Tid), "");
}

TEST_F(EditOvelseLoeb, InAnnouncerModeThePageOnlyShows) {
    SpeakerMode = true;
    const TClockScope clock(EncodeDateTime(Loerdag(), QTime(10, 15, 3)));
    {
        const auto form = Open();
        form->AutoTidRegistrering->setChecked(true);
        OpenPage(*form);
        TRunningPage& page = form->RunningPage();
        EXPECT_EQ(form->LobeResultatGrid->RowCount(), 1 + 7);
        EXPECT_FALSE(page.QuickStartnummer->isEnabled());
        EXPECT_FALSE(page.QuickResultat->isEnabled());
        EXPECT_FALSE(form->LobeResultatGrid->Options().testFlag(TGridOption::goEditing));
        page.QuickStartnummer->setText("2");
        QTest::keyClick(page.QuickStartnummer, Qt::Key_Return);
        form->LobeResultatGrid->setFocus();
        TypeKeys("12");
        Press(Qt::Key_Down);
        EXPECT_EQ(Cell(*form, 2, TQuickColumn::Resultat), "");
        form->reject();
        EXPECT_FALSE(form->isVisible());
    }
    SpeakerMode = false;
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path("AutoTid.Txt")));
    EXPECT_EQ(Stored(Round("M", "100", "I"), 2).Resultat, 0);
}

} // namespace

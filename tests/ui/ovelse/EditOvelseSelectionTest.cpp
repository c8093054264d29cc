// What the overview's selection holds and shows: the panels and info lines, the pages that may open, the
// class filter's overlap counts, Ctrl+A and Ctrl+C, and the commands the selection enables.
#include "EditOvelseTestSupport.h"

#include "model/D_GridKlasse.h"
#include "model/D_Result.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QTabWidget>

namespace {

class OversigtSelection : public TEditOvelseTest {
protected:
    // Saturday at 10:00: 100 m I (M, 12 entries) and 100 m F (K, 5 seeded) on the track, long jump M (3
    // with results) in its pit; at 11:30 high jump M (athletes 4 and 5, also in the 100 m).
    OversigtSelection() {
        Place(Round("M", "100", "I"), Loerdag(), QTime(10, 0), "LØB");
        Place(Round("K", "100"), Loerdag(), QTime(10, 0), "LØB");
        Place(Round("M", "LÆ"), Loerdag(), QTime(10, 0), "LÆ");
        Place(Round("M", "HØ"), Loerdag(), QTime(11, 30), "HØ");
        Enter(Round("M", "100", "I"), 1, 12);
        Enter(Round("K", "100"), 101, 5, 1);
        Enter(Round("M", "LÆ"), 1, 3, 1, 650);
        Enter(Round("M", "HØ"), 4, 2);
    }
    static bool TabShown(const TEditOvelseForm& form, QWidget* page) {
        return form.PageControl->isTabVisible(form.PageControl->indexOf(page));
    }
    static void Select(TEditOvelseForm& form, const TOvelseInfo& from, const TOvelseInfo& to) {
        Click(form, from);
        const auto cell = form.Oversigt().Find(&to);
        form.OversigtGrid->SetSelection(
            {form.OversigtGrid->Col(), form.OversigtGrid->Row(), cell->first, cell->second});
        Settle();
    }
};

TEST_F(OversigtSelection, TheCurrentRoundFillsThePanelsAndInfoLinesAndAnEmptyCellClearsThem) {
    const auto form = Open();
    Click(*form, Round("M", "LÆ"));
    QStringList panels;
    for (int panel = 0; panel < 8; ++panel)
        panels << form->StatusText(panel);
    EXPECT_EQ(panels, QStringList({" 10:00", "M", "LÆ F", "3", "0", "JA", "JA", "1"}));
    EXPECT_EQ(form->InfoLinie1->text(),
              "Antal pr heat: 8,  Antal til næste runde: 0,  Antal placering pr. heat: 0");
    EXPECT_TRUE(form->InfoLinie4->isVisibleTo(form.get()));
    EXPECT_EQ(form->CurrentOvelse(), &Round("M", "LÆ"));

    form->OversigtGrid->GotoCell(1, 1, true); // the empty first venue
    Settle();
    EXPECT_EQ(form->CurrentOvelse(), nullptr);
    EXPECT_EQ(form->StatusText(1), "");
    EXPECT_EQ(form->StatusText(7), "0");
    EXPECT_FALSE(form->InfoLinie1->isVisibleTo(form.get()));
    EXPECT_FALSE(TabShown(*form, form->OvelsePage));
}

TEST_F(OversigtSelection, OneRoundOrOneEventAtOneTimeOpensTheResultPageOtherSelectionsDoNot) {
    const auto form = Open();
    EXPECT_FALSE(TabShown(*form, form->OvelsePage)) << "hidden until a round is chosen";
    Click(*form, Round("M", "HØ"));
    EXPECT_TRUE(TabShown(*form, form->OvelsePage));
    EXPECT_FALSE(TabShown(*form, form->LobeResultatPage)) << "no running page outside fun runs";

    // The 100 m of both classes at 10:00 go together; the 100 m and the long jump do not.
    Select(*form, Round("K", "100"), Round("M", "100", "I"));
    EXPECT_EQ(form->SelectedOvelser().size(), 2u);
    EXPECT_TRUE(TabShown(*form, form->OvelsePage));
    Select(*form, Round("K", "100"), Round("M", "LÆ"));
    EXPECT_EQ(form->SelectedOvelser().size(), 2u);
    EXPECT_FALSE(TabShown(*form, form->OvelsePage));

    // In a fun run any selection opens, and on the running page too.
    StaevneManager->SystemData().Motionsloeb = true;
    form->ShowSelection();
    EXPECT_TRUE(TabShown(*form, form->OvelsePage));
    EXPECT_TRUE(TabShown(*form, form->LobeResultatPage));

    // A round without entries, the time view and the class filter open nothing.
    form->VisNulOvelser->setChecked(true);
    Settle();
    Click(*form, Round("M", "KU"));
    EXPECT_FALSE(TabShown(*form, form->OvelsePage));
    EXPECT_FALSE(TabShown(*form, form->LobeResultatPage));
    Click(*form, Round("M", "HØ"));
    form->OversigtKlasseComboBox->setCurrentIndex(form->OversigtKlasseComboBox->findText("M"));
    Settle();
    EXPECT_FALSE(TabShown(*form, form->OvelsePage));
}

TEST_F(OversigtSelection, EnterOrADoubleClickOpensTheResultPageWithTheRoundLoaded) {
    const auto form = Open();
    Click(*form, Round("M", "LÆ"));
    form->OversigtGrid->setFocus();
    Press(Qt::Key_Return);
    ASSERT_EQ(form->PageControl->currentWidget(), form->OvelsePage);
    EXPECT_EQ(form->Manager().Count(), 3);
    EXPECT_EQ(form->SortComboBox->currentIndex(), TEditOvelseForm::SortHeatResultat)
        << "results by heat sort by heat and result";
    EXPECT_FALSE(TabShown(*form, form->LobeResultatPage));
    form->PageControl->setCurrentWidget(form->OversigtPage);
    Settle();
    EXPECT_EQ(form->CurrentOvelse(), &Round("M", "LÆ")) << "back on the round it came from";
}

TEST_F(OversigtSelection, CtrlASelectsEveryRoundInTimeOrderAndCtrlCCopiesTheWholeGrid) {
    const auto form = Open();
    form->OversigtGrid->setFocus();
    Press(Qt::Key_A, Qt::ControlModifier);
    const std::vector<TOvelseInfo*> expected = {&Round("K", "100"), &Round("M", "100", "I"),
                                                &Round("M", "LÆ"), &Round("M", "HØ")};
    EXPECT_EQ(form->SelectedOvelser(), expected);
    EXPECT_EQ(form->StatusText(7), "4");

    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "\tSTADION\tLØB\tLÆ\tHØ\t\r\n"
                                                 "Lør 10:00\t\tK (5)\tM (3)\t\tLør 10:00\r\n"
                                                 "\t\tM (12)\t\t\t\r\n"
                                                 "Lør 11:30\t\t\t\tM (2)\tLør 11:30\r\n");
}

TEST_F(OversigtSelection, TheClassFilterCountsSharedAthletesWithoutTouchingTheResultPagesRows) {
    const auto form = Open();
    // Rows of the long jump in the editor's manager, changed and not saved.
    Click(*form, Round("M", "100", "I"));
    form->Manager().LoadOvelse(&Round("M", "LÆ"));
    form->Manager().GetResultat(0)->SetResultat(701);

    form->OversigtKlasseComboBox->setCurrentIndex(form->OversigtKlasseComboBox->findText("M"));
    Settle();
    ASSERT_NE(form->OverlapModel(), nullptr);
    EXPECT_EQ(form->Manager().Count(), 3);
    EXPECT_TRUE(form->Manager().IsModified()) << "the filter reads through a manager of its own";
    EXPECT_EQ(Rows(*form), QStringList({"Lør 10:00||K (5)|M (3) %3||Lør 10:00", "||M (12)|||",
                                        "Lør 11:30||||M (2) %2|Lør 11:30"}))
        << "the 100 m's athletes in the long and high jumps";
    Click(*form, Round("M", "HØ"));
    EXPECT_EQ(Rows(*form).at(1), "||M (12) %2|||");
    EXPECT_EQ(Rows(*form).at(0), "Lør 10:00||K (5)|M (3)||Lør 10:00");

    form->OversigtKlasseComboBox->setCurrentIndex(0);
    Settle();
    EXPECT_EQ(form->OverlapModel(), nullptr);
    EXPECT_EQ(Rows(*form).at(1), "||M (12)|||");
}

TEST_F(OversigtSelection, CommandsFollowTheSelectionButThoseStillToComeStayDisabled) {
    const auto form = Open();
    Click(*form, Round("M", "HØ"));
    EXPECT_TRUE(form->IsCommandWanted(form->SeedningToolButton)) << "no results yet: seeding";
    EXPECT_FALSE(form->IsCommandWanted(form->BeregnPointToolButton));
    EXPECT_TRUE(form->IsCommandWanted(form->StartlisteToolButton));
    EXPECT_TRUE(form->IsCommandWanted(form->OvelseEgenskaberToolButton));
    EXPECT_FALSE(form->IsCommandWanted(form->GemToolButton)) << "saving is for the result page";
    Click(*form, Round("M", "LÆ"));
    EXPECT_FALSE(form->IsCommandWanted(form->SeedningToolButton));
    EXPECT_TRUE(form->IsCommandWanted(form->BeregnPointToolButton));
    // The commands on results and rounds, the prints and the board file are there.
    EXPECT_FALSE(form->SeedningToolButton->isEnabled());
    EXPECT_TRUE(form->BeregnPointToolButton->isEnabled());
    EXPECT_TRUE(form->SletOvelseMenu->isEnabled());
    EXPECT_TRUE(form->TilfoejRundeMenu->isEnabled());
    EXPECT_TRUE(form->StartlisteToolButton->isEnabled());
    EXPECT_TRUE(form->Boards[0]->isEnabled());
    EXPECT_TRUE(form->OversigtSortering->isEnabled());
    EXPECT_FALSE(form->VisTidsskema->isEnabled()) << "only in the class/event layout";
    EXPECT_FALSE(form->InklusivKlubkonkurrence->isEnabled());
    Layout(*form, TOversigtSortering::KlasseOvelse);
    EXPECT_TRUE(form->VisTidsskema->isEnabled());

    SpeakerMode = true;
    form->UpdateControls();
    EXPECT_FALSE(form->IsCommandWanted(form->BeregnPointToolButton));
    EXPECT_FALSE(form->SletOvelseMenu->isEnabled());
    EXPECT_FALSE(form->TilfoejRundeMenu->isEnabled());
    EXPECT_FALSE(form->VisTidsskema->isEnabled());
    EXPECT_TRUE(form->InklusivKlubkonkurrence->isEnabled());
    EXPECT_TRUE(form->VisUgedagComboBox->isEnabled());
    SpeakerMode = false;
}

} // namespace

namespace {

TEST_F(TProgramFolderTest, AnEmptyMeetShowsAnOverviewOfTwoRowsAndNoResultTab) {
    Manager();
    OvelseManager = std::make_unique<TOvelseManager>();
    CreateMeet("Tomt stævne");
    for (int layout = 0; layout < OversigtSorteringCount; ++layout) {
        TEditOvelseForm form;
        form.OversigtSortering->setCurrentIndex(layout);
        form.show();
        Settle();
        EXPECT_EQ(form.OversigtGrid->RowCount(), 2) << layout;
        EXPECT_FALSE(form.PageControl->isTabVisible(form.PageControl->indexOf(form.OvelsePage))) << layout;
        EXPECT_EQ(form.CurrentOvelse(), nullptr);
    }
    EXPECT_TRUE(Shown().isEmpty());
}

} // namespace

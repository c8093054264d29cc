// The result grid: what typing into its cells does (a status typed as the result, a wind reaching its
// whole heat, a save straight after typing), what it shows (no place for rows that have none, the
// modified mark, the heats' colours), its columns and sort choices, Escape, and announcer mode.
#include "EditOvelseTestSupport.h"

#include "model/D_Result.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"
#include "ui/eltid/EltidReaderForm.h"

#include <QAction>
#include <QMenu>

namespace {

class ResultGrid : public TEditOvelseTest {
protected:
    // 100 m I of class M: runners 1-4 in heat 1 and 5-8 in heat 2.
    ResultGrid() {
        Enter(Round("M", "100", "I"), 1, 4, 1);
        Enter(Round("M", "100", "I"), 5, 4, 2);
    }
    static TResultat& GridRow(TEditOvelseForm& form, int row) { return *form.RowAt(row); }
};

TEST_F(ResultGrid, AStatusTypedUnderTheResultIsTheRowsStatusAndKeepsItsMark) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    ASSERT_EQ(form->Manager().Count(), 8);
    EXPECT_EQ(form->SortComboBox->currentIndex(), TEditOvelseForm::SortHeatBaneSide) << "heats, no results";
    TypeCell(*form, TResultColumn::Resultat, 1, "10.45");
    TypeCell(*form, TResultColumn::Resultat, 1, "d");
    const TResultat& row = GridRow(*form, 1);
    EXPECT_EQ(row.RK, "D");
    EXPECT_EQ(row.Resultat, 1045) << "the mark stays, the status is added";
    EXPECT_EQ(Cell(*form, TResultColumn::RK, 1), row.GetFieldText(TResultColumn::RK));
    EXPECT_EQ(Cell(*form, TResultColumn::Resultat, 1), row.GetFieldText(TResultColumn::Resultat));
    EXPECT_EQ(form->OvelseGrid->Cells(TEditOvelseForm::MarkCol, 1), "*");
    EXPECT_TRUE(Shown().isEmpty());

    form->GemToolButton->trigger();
    Settle();
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("M", "100", "I"));
    EXPECT_EQ(Row(fresh, row.Startnummer).RK, "D");
    EXPECT_EQ(form->OvelseGrid->Cells(TEditOvelseForm::MarkCol, 1), " ") << "saved: no mark";
}

TEST_F(ResultGrid, AWindTypedInOneRowOfAWindPerHeatRoundReachesItsWholeHeatOnly) {
    ASSERT_TRUE(Round("M", "100", "I").IsVindPrHeat());
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    TypeCell(*form, TResultColumn::Vind, 2, "1.5");
    for (int row = 1; row <= 8; ++row) {
        const TResultat& resultat = GridRow(*form, row);
        const qint32 expected = resultat.Heat == 1 ? 15 : 0;
        EXPECT_EQ(resultat.Vind, expected) << resultat.Startnummer;
        EXPECT_EQ(Cell(*form, TResultColumn::Vind, row), resultat.GetFieldText(TResultColumn::Vind));
        EXPECT_EQ(form->OvelseGrid->Cells(TEditOvelseForm::MarkCol, row), resultat.Heat == 1 ? "*" : " ");
    }
    // A wind per athlete stays with its row.
    SetRunde(Round("M", "100", "I"), OvelseRnField::Vindmaaling, 2);
    Recorder().QueueAnswer(mrYes);
    form->FortrydToolButton->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList{"Er du sikker på du vil overskrive ændringer?"});
    EXPECT_EQ(GridRow(*form, 1).Vind, 0) << "read anew";
    TypeCell(*form, TResultColumn::Vind, 2, "0.8");
    EXPECT_EQ(GridRow(*form, 2).Vind, 8);
    EXPECT_EQ(GridRow(*form, 1).Vind, 0);
}

TEST_F(ResultGrid, ASaveRightAfterTypingKeepsTheTypedValue) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    const qint32 startnummer = GridRow(*form, 3).Startnummer;
    TypeCell(*form, TResultColumn::Resultat, 3, "11.02", 0);
    form->GemToolButton->trigger();
    Settle();
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("M", "100", "I"));
    EXPECT_EQ(Row(fresh, startnummer).Resultat, 1102);
    EXPECT_FALSE(form->Manager().IsModified());
    // Saved with a result: the rows by heat and result, the typed one first of its heat.
    EXPECT_EQ(form->SortComboBox->currentIndex(), TEditOvelseForm::SortHeatResultat);

    // A text that is no mark is refused with the reason and changes nothing.
    TypeCell(*form, TResultColumn::Resultat, 1, "abc");
    Settle();
    EXPECT_EQ(Shown().size(), 1);
    EXPECT_EQ(GridRow(*form, 1).Resultat, 1102);
}

TEST_F(ResultGrid, AWindThatIsNoWindIsRefusedAndLeavesTheHeatsWindAsItWas) {
    ASSERT_TRUE(Round("M", "100", "I").IsVindPrHeat());
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    TypeCell(*form, TResultColumn::Vind, 2, "1.5");
    ASSERT_EQ(form->OvelseGrid->Row(), 3);
    for (const char* bad : {"abc", "1.5abc", "m/s"}) {
        Press(Qt::Key_A, Qt::ControlModifier);
        TypeKeys(bad);
        Press(Qt::Key_Down);
        EXPECT_EQ(Shown(), QStringList{QStringLiteral("\"%1\" er ikke et gyldigt tal").arg(bad)});
        EXPECT_EQ(form->OvelseGrid->Row(), 3) << "the cell keeps the cursor";
        for (int row = 1; row <= 8; ++row)
            EXPECT_EQ(GridRow(*form, row).Vind, GridRow(*form, row).Heat == 1 ? 15 : 0) << bad << row;
    }
    // "x" is a wind not measured, for the whole heat.
    Press(Qt::Key_A, Qt::ControlModifier);
    TypeKeys("x");
    Press(Qt::Key_Down);
    EXPECT_TRUE(Shown().isEmpty());
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(GridRow(*form, row).Vind, WindNotMeasured);
}

TEST_F(ResultGrid, ATimeWithMinutesOrSecondsOfSixtyIsRefusedAndAFieldMarkOfOneDecimalIsInMetres) {
    Enter(Round("M", "KU"), 21, 1, 1);
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    const qint32 startnummer = GridRow(*form, 1).Startnummer;
    for (const char* bad : {"99.99.99", "1.60.00", "1.5.23"}) {
        TypeCell(*form, TResultColumn::Resultat, 1, bad);
        const QStringList shown = Shown();
        ASSERT_EQ(shown.size(), 1) << bad;
        EXPECT_TRUE(shown.front().contains(bad) && shown.front().contains("60"))
            << shown.front().toStdString();
        EXPECT_EQ(GridRow(*form, 1).Resultat, 0);
        Press(Qt::Key_A, Qt::ControlModifier);
        Press(Qt::Key_Backspace);
        form->OvelseGrid->CommitCell();
    }
    TypeCell(*form, TResultColumn::Resultat, 1, "1.05.23");
    form->GemToolButton->trigger();
    Settle();
    EXPECT_TRUE(Shown().isEmpty());
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("M", "100", "I"));
    EXPECT_EQ(Row(fresh, startnummer).Resultat, 10523);

    // A shot put's seeding mark and record typed as 11.5 and 9,8 are 11.50 m and 9.80 m.
    form->PageControl->setCurrentWidget(form->OversigtPage);
    Settle();
    OpenResultPage(*form, Round("M", "KU"));
    TypeCell(*form, TResultColumn::Seedning, 1, "11.5");
    TypeCell(*form, TResultColumn::PR, 1, "9,8");
    form->GemToolButton->trigger();
    Settle();
    EXPECT_TRUE(Shown().isEmpty());
    TResultatManager kugle;
    kugle.LoadOvelse(&Round("M", "KU"));
    EXPECT_EQ(Row(kugle, 21).Seedning, 1150);
    EXPECT_EQ(Row(kugle, 21).PR, 980);
}

TEST_F(ResultGrid, ATextCellTakesNoMoreCharactersThanItsFieldHolds) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    const qint32 startnummer = GridRow(*form, 1).Startnummer;
    TypeCell(*form, TResultColumn::Bem, 1, "Lang tekst", 0);
    EXPECT_EQ(form->OvelseGrid->InplaceEditor()->text(), "Lan") << "the remark is stored in 3 characters";
    Press(Qt::Key_Down);
    TypeCell(*form, TResultColumn::Navn, 1, QString(40, u'n'), 0);
    EXPECT_EQ(form->OvelseGrid->InplaceEditor()->text().size(), 25);
    Press(Qt::Key_Down);
    form->GemToolButton->trigger();
    Settle();
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("M", "100", "I"));
    EXPECT_EQ(Row(fresh, startnummer).Bem, "Lan");
    EXPECT_EQ(Row(fresh, startnummer).Navn, QString(25, u'n'));
}

TEST_F(ResultGrid, AfterTheTimingReadersDoubleClickTypingGoesIntoNoCell) {
    Manager().Registry().EltidDirekte = true;
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    TScriptedDialogs dialogs;
    const int navnCol = form->OvelseGridCol(TResultColumn::Navn);
    // However the reader's window ends.
    for (const int answer : {int(mrOk), int(mrCancel)}) {
        dialogs->Answer<TEltidReaderForm>([answer](TEltidReaderForm&) { return answer; });
        const int row = answer == mrOk ? 3 : 5;
        const QString navn = GridRow(*form, row).Navn;
        form->OvelseGrid->setFocus();
        form->OvelseGrid->GotoCell(form->OvelseGridCol(TResultColumn::Resultat), 1, true);
        Settle();
        // The first click moves to the cell and opens the editor on it, which takes the second.
        const QRect cell = form->OvelseGrid->visualRect(form->OvelseGrid->model()->index(row - 1, navnCol));
        QTest::mouseClick(form->OvelseGrid->viewport(), Qt::LeftButton, {}, cell.center());
        Settle();
        ASSERT_EQ(form->OvelseGrid->Row(), row);
        QWidget* editor = form->OvelseGrid->InplaceEditor();
        ASSERT_TRUE(editor->isVisible());
        QTest::mouseDClick(editor, Qt::LeftButton, {}, editor->rect().center());
        Settle();
        ASSERT_EQ(dialogs->Shown.size(), answer == mrOk ? 1 : 2);
        EXPECT_EQ(form->OvelseGrid->Row(), row);
        EXPECT_FALSE(form->OvelseGrid->InplaceEditor()->isVisible());
        TypeKeys("Hacked");
        Press(Qt::Key_Down);
        EXPECT_EQ(GridRow(*form, row).Navn, navn);
        EXPECT_FALSE(GridRow(*form, row).DeltagerModified);
        EXPECT_EQ(Cell(*form, TResultColumn::Navn, row),
                  GridRow(*form, row).GetFieldText(TResultColumn::Navn));
        EXPECT_EQ(form->OvelseGrid->Row(), row + 1) << "the keys that move still move";
        EXPECT_TRUE(form->OvelseGrid->InplaceEditor()->isVisible()) << "and open the editor again";
    }
    form->GemToolButton->trigger();
    Settle();
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("M", "100", "I"));
    for (int i = 0; i < fresh.Count(); ++i)
        EXPECT_FALSE(fresh.GetResultat(i)->Navn.contains("Hacked"));
}

TEST_F(ResultGrid, RowsWithAStatusOrWithoutAMarkShowNoPlaceWhateverIsStored) {
    Enter(Round("K", "100"), 20, 1, 1, 1234);
    AddResultat(
        Round("K", "100"), 21,
        Fields({{ResultatField::Heat, 1}, {ResultatField::Resultat, 1200}, {ResultatField::Placering, 1}}));
    AddResultat(Round("K", "100"), 22, [](TResultatTable& t) {
        t.GetField(ResultatField::Heat)->SetAsInteger(1);
        t.GetField(ResultatField::Resultat)->SetAsInteger(1100);
        t.GetField(ResultatField::ResultatKode)->SetAsString("D");
    });
    AddResultat(Round("K", "100"), 23, Fields({{ResultatField::Heat, 1}, {ResultatField::Placering, 2}}));
    AddDeltager(21, "Een");
    AddDeltager(22, "To");
    AddDeltager(23, "Tre");
    const auto form = Open();
    OpenResultPage(*form, Round("K", "100"));
    QStringList places;
    for (int row = 1; row <= 4; ++row)
        places << QString::number(GridRow(*form, row).Startnummer) + ":" +
                      Cell(*form, TResultColumn::Plac, row);
    EXPECT_EQ(places, QStringList({"21:1", "20:2", "23:", "22:"}));
}

TEST_F(ResultGrid, TheHeatsAreColouredUnderTheHeatSortsAndTheCurrentRowIsBlack) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    const int col = form->OvelseGridCol(TResultColumn::Navn);
    const auto brush = [&](int row) {
        TCellCanvas canvas;
        form->OvelseGrid->BeforeDrawCell(col, row, {}, canvas);
        return canvas.BrushColor;
    };
    EXPECT_EQ(brush(1), QColor(Qt::black)) << "the current row";
    EXPECT_EQ(brush(2), QColor(230, 230, 250)) << "heat 1";
    EXPECT_EQ(brush(5), QColor(250, 250, 210)) << "heat 2";
    form->SortComboBox->setCurrentIndex(0);
    emit form->SortComboBox->activated(0);
    Settle();
    EXPECT_EQ(form->SortComboBox->currentIndex(), 0);
    EXPECT_FALSE(brush(2).isValid()) << "by start number: no heat colours";
    QList<qint32> order;
    for (int row = 1; row <= 8; ++row)
        order << GridRow(*form, row).Startnummer;
    EXPECT_EQ(order, QList<qint32>({1, 2, 3, 4, 5, 6, 7, 8}));

    // The popup's sort items sort the same way.
    form->SorteringMenu->actions().at(1)->trigger(); // "Navn"
    Settle();
    EXPECT_EQ(form->SortComboBox->currentIndex(), 1);
}

TEST_F(ResultGrid, TheColumnMenuRemovesAndAddsColumnsAndSavesTheLayoutButNeverTheLastColumn) {
    Manager().SystemData().OvelseGridColumns = "Nr,3,40,;Navn,17,150,;Resultat,8,,;";
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    QAction* navn = form->KolonnerMenu->actions().at(17 - 3);
    QAction* vind = form->KolonnerMenu->actions().at(15 - 3);
    ASSERT_TRUE(navn->isChecked());
    ASSERT_TRUE(navn->isEnabled());
    navn->trigger();
    Settle();
    EXPECT_EQ(form->GridColumns().GetAsText(), "Nr,3,40,;Resultat,8,70,;");
    EXPECT_FALSE(navn->isChecked());
    EXPECT_EQ(form->OvelseGridCol(TResultColumn::Navn), -1);
    vind->trigger();
    Settle();
    EXPECT_EQ(form->GridColumns().GetAsText(), "Nr,3,40,;Resultat,8,70,;Vind,15,50,;");
    EXPECT_EQ(Cell(*form, TResultColumn::Vind, 1), GridRow(*form, 1).GetFieldText(TResultColumn::Vind));
    EXPECT_EQ(Manager().SystemData().OvelseGridColumns, "Nr,3,40,;Resultat,8,70,;Vind,15,50,;") << "stored";

    // The last column stays.
    form->KolonnerMenu->actions().at(3 - 3)->trigger();
    form->KolonnerMenu->actions().at(15 - 3)->trigger();
    Settle();
    EXPECT_EQ(form->GridColumns().GetAsText(), "Resultat,8,70,;");
    form->KolonnerMenu->actions().at(8 - 3)->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList{"Der skal altid være mindst 1 kolonne"});
    EXPECT_EQ(form->GridColumns().GetAsText(), "Resultat,8,70,;");
}

TEST_F(ResultGrid, OneEventAtOneTimeOpensAsOnePageOfAllItsRoundsAndSavesEachRow) {
    Enter(Round("K", "100"), 21, 2, 1);
    Manager().SystemData().OvelseGridColumns = "Nr,3,,;Navn,20,,;Resultat,8,,;Plac,10,,;";
    const auto form = Open();
    Click(*form, Round("K", "100"));
    const auto cell = form->Oversigt().Find(&Round("M", "100", "I"));
    form->OversigtGrid->SetSelection(
        {form->OversigtGrid->Col(), form->OversigtGrid->Row(), cell->first, cell->second});
    Settle();
    ASSERT_EQ(form->SelectedOvelser().size(), 2u);
    form->OpenOvelsePage();
    Settle();
    ASSERT_EQ(form->Manager().Count(), 10);
    EXPECT_EQ(form->Manager().OvelseCount(), 2);
    int row = 1;
    while (form->RowAt(row)->Startnummer != 21)
        ++row;
    EXPECT_TRUE(Cell(*form, TResultColumn::NavnAargang, row).endsWith("(K)"))
        << Cell(*form, TResultColumn::NavnAargang, row).toStdString();
    TypeCell(*form, TResultColumn::Resultat, row, "12.50");
    form->GemToolButton->trigger();
    Settle();
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("K", "100"));
    EXPECT_EQ(Row(fresh, 21).Resultat, 1250);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(ResultGrid, AMovedColumnIsStoredInItsNewPlaceWithTheFixedColumnsKeptInFront) {
    Manager().SystemData().OvelseGridColumns = "Nr,3,40,;Navn,17,150,;Resultat,8,,;";
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    form->OvelseGrid->MoveColumn(4, 2);
    form->OvelseGrid->OnColumnMoved(4, 2);
    Settle();
    EXPECT_EQ(form->GridColumns().GetAsText(), "Resultat,8,70,;Nr,3,40,;Navn,17,150,;");
    EXPECT_EQ(Manager().SystemData().OvelseGridColumns, form->GridColumns().GetAsText());
    EXPECT_EQ(form->OvelseGridCol(TResultColumn::Resultat), TEditOvelseForm::FirstLayoutCol);
    EXPECT_EQ(Cell(*form, TResultColumn::Navn, 1), GridRow(*form, 1).Navn);
}

TEST_F(ResultGrid, ADoubleClickRunsTheTimingReaderOnTheRowsHeatWhenTheMeetReadsItsFilesDirectly) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    TScriptedDialogs dialogs;
    const auto doubleClick = [&](int row) {
        const int col = form->OvelseGridCol(TResultColumn::Navn);
        form->OvelseGrid->GotoCell(col, row, true);
        Settle();
        const QRect cell = form->OvelseGrid->visualRect(form->OvelseGrid->model()->index(row - 1, col));
        QTest::mouseDClick(form->OvelseGrid->viewport(), Qt::LeftButton, {}, cell.center());
        Settle();
    };
    doubleClick(5);
    EXPECT_TRUE(dialogs->Shown.isEmpty()) << "the meet does not read its timing files directly";

    Manager().Registry().EltidDirekte = true;
    TypeCell(*form, TResultColumn::Resultat, 1, "10.99");
    // The reader is left without accepting after a time came into heat 2: that heat is given back as it
    // was, the unsaved time of heat 1 stays, and nothing is read anew from the files.
    dialogs->Answer<TEltidReaderForm>([&](TEltidReaderForm&) {
        GridRow(*form, 6).SetResultat(1111);
        return mrCancel;
    });
    doubleClick(6);
    EXPECT_EQ(dialogs->Shown, QStringList{"TEltidReaderForm"});
    EXPECT_EQ(GridRow(*form, 6).Resultat, 0);
    EXPECT_EQ(GridRow(*form, 1).Resultat, 1099);
    EXPECT_EQ(Cell(*form, TResultColumn::Resultat, 1),
              GridRow(*form, 1).GetFieldText(TResultColumn::Resultat));

    SpeakerMode = true;
    doubleClick(6);
    SpeakerMode = false;
    EXPECT_EQ(dialogs->Shown.size(), 1) << "never in announcer mode";
}

TEST_F(ResultGrid, EscapeGoesBackToTheOverviewAndSavesOnTheWay) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    const qint32 startnummer = GridRow(*form, 1).Startnummer;
    TypeCell(*form, TResultColumn::Resultat, 1, "12.34", 0);
    Press(Qt::Key_Escape);
    EXPECT_EQ(form->PageControl->currentWidget(), form->OversigtPage);
    EXPECT_TRUE(form->isVisible()) << "Escape leaves the page, not the window";
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("M", "100", "I"));
    EXPECT_EQ(Row(fresh, startnummer).Resultat, 1234);
}

TEST_F(ResultGrid, InAnnouncerModeTheGridOnlyShowsAndTheRowCommandsAreOff) {
    SpeakerMode = true;
    {
        const auto form = Open();
        OpenResultPage(*form, Round("M", "100", "I"));
        EXPECT_FALSE(form->OvelseGrid->Options().testFlag(TGridOption::goEditing));
        for (QAction* command : {form->SletDeltager, form->Stafetnavne, form->ErstatDeltager,
                                 form->GemToolButton, form->KorrigerToolButton, form->SeedningToolButton})
            EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();
        EXPECT_TRUE(form->SortComboBox->isEnabled());
        // A column changed for the view is not stored.
        const QString stored = Manager().SystemData().OvelseGridColumns;
        form->KolonnerMenu->actions().at(17 - 3)->trigger();
        Settle();
        EXPECT_EQ(form->OvelseGridCol(TResultColumn::Navn), -1);
        form->PageControl->setCurrentWidget(form->OversigtPage);
        Settle();
        EXPECT_FALSE(form->SletOvelseMenu->isEnabled());
        EXPECT_FALSE(form->TilfoejRundeMenu->isEnabled());
        form->reject();
        Restart().OpenStaevne(Manager().IndexOfStaevneNavn("Stævne"));
        EXPECT_EQ(Manager().SystemData().OvelseGridColumns, stored);
    }
    SpeakerMode = false;
}

} // namespace

// The event editor's life: start times typed in the overview, reopening with Space and F5 and the
// settings that survive it, saving on the way off a page and out of the window, the column layout it
// writes back, announcer mode writing nothing, and the main window's events button.
#include "EditOvelseTestSupport.h"

#include "model/D_Result.h"
#include "model/D_StaevneSystemData.h"
#include "ui/Kelvo2MainProg.h"
#include "ui/LaunchersOvelse.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

#include <map>

namespace {

class EditOvelseLife : public TEditOvelseTest {
protected:
    // Saturday at 10:00: 100 m I (M) on the track and long jump M in its pit; high jump M at 11:30. The
    // meet starts at midnight.
    EditOvelseLife() {
        Manager().SystemData().Dato = QDateToDateTime(Loerdag());
        Place(Round("M", "100", "I"), Loerdag(), QTime(10, 0), "LØB");
        Place(Round("M", "LÆ"), Loerdag(), QTime(10, 0), "LÆ");
        Place(Round("M", "HØ"), Loerdag(), QTime(11, 30), "HØ");
        Enter(Round("M", "100", "I"), 1, 12);
        Enter(Round("M", "LÆ"), 1, 3, 1, 650);
        Enter(Round("M", "HØ"), 4, 2);
    }
    // The stored start of the round record of class and event.
    static TDateTime StoredDatoTid(const QString& klasse, const QString& ovelse) {
        TOvelseRnTable table;
        table.Open();
        for (bool found = table.First(); found; found = table.Next())
            if (table.GetField(OvelseRnField::Klasse)->GetTrimmedString() == klasse &&
                table.GetField(OvelseRnField::Ovelse)->GetTrimmedString() == ovelse)
                return table.GetField(OvelseRnField::DatoTid)->GetAsFloat();
        return -1;
    }
    // Every file of the program folder, read with no record file open.
    std::map<QString, QByteArray> Files() {
        OvelseManager.reset();
        StaevneManager.reset();
        std::map<QString, QByteArray> files;
        for (QDirIterator it(Dir(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString path = it.next();
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            files[path] = file.readAll();
        }
        Manager();
        Ov();
        Manager().OpenStaevne(Manager().IndexOfStaevneNavn("Stævne"));
        return files;
    }
};

TEST_F(EditOvelseLife, ATimeTypedInTheOverviewKeepsTheDateSavesAndReindexesAndABadOneIsRefused) {
    const auto form = Open();
    Layout(*form, TOversigtSortering::KlasseOvelse);
    form->VisTidsskema->setChecked(true);
    Settle();
    ASSERT_TRUE(form->IsTidEditing());
    Click(*form, Round("M", "LÆ"));
    form->OversigtGrid->setFocus();
    TypeKeys("930");
    Press(Qt::Key_Return);
    const auto [col, row] = *form->Oversigt().Find(&Round("M", "LÆ"));
    EXPECT_EQ(form->OversigtGrid->Cells(col, row), "09:30");
    EXPECT_EQ(StoredDatoTid("M", "LÆ"), EncodeDateTime(Loerdag(), QTime(9, 30))) << "saved, the date kept";
    EXPECT_EQ(OvelseManager->TidIndex().GetItem(0), &Round("M", "LÆ")) << "first in time order at once";
    EXPECT_TRUE(Shown().isEmpty());

    // Hours past 23 or minutes past 59: told, and nothing saved.
    Click(*form, Round("M", "HØ"));
    form->OversigtGrid->setFocus();
    TypeKeys("2575");
    Press(Qt::Key_Return);
    Settle();
    EXPECT_EQ(Shown(),
              QStringList{"Ugyldigt klokkeslæt \"2575\": timerne skal være 0-23 og minutterne 0-59"});
    EXPECT_EQ(StoredDatoTid("M", "HØ"), EncodeDateTime(Loerdag(), QTime(11, 30)));
    const auto [hoejdeCol, hoejdeRow] = *form->Oversigt().Find(&Round("M", "HØ"));
    EXPECT_EQ(form->OversigtGrid->Cells(hoejdeCol, hoejdeRow), "11:30");

    // Only rounds take a time, and only in this view.
    form->OversigtGrid->GotoCell(1, 1, true);
    EXPECT_FALSE(form->OversigtGrid->OnCanEditCell(1, 1)) << "no round of class K in this row";
    form->VisTidsskema->setChecked(false);
    Settle();
    EXPECT_FALSE(form->OversigtGrid->OnCanEditCell(hoejdeCol, hoejdeRow));
}

TEST_F(EditOvelseLife, SpaceAndF5ReopenTheEditorWithItsSettingsAndTheLoopEndsWhenItClosesOrCannotOpen) {
    TScriptedDialogs dialogs;
    dialogs->Answer<TEditOvelseForm>([](TEditOvelseForm& form) {
        form.OversigtSortering->setCurrentIndex(1);
        form.VisNulOvelser->setChecked(true);
        form.HtmlUdskrift->setChecked(true);
        form.VisUgedagComboBox->setCurrentIndex(6);
        form.PageTabPosition->setCurrentIndex(1);
        form.OversigtKlasseComboBox->setCurrentIndex(1);
        QTest::keyClick(form.OversigtGrid, Qt::Key_Space);
        return mrNone;
    });
    dialogs->Answer<TEditOvelseForm>([](TEditOvelseForm& form) {
        EXPECT_EQ(form.OversigtSortering->currentIndex(), 1);
        EXPECT_TRUE(form.VisNulOvelser->isChecked());
        EXPECT_TRUE(form.HtmlUdskrift->isChecked());
        EXPECT_EQ(form.VisUgedagComboBox->currentIndex(), 6);
        EXPECT_EQ(form.PageTabPosition->currentIndex(), 1);
        EXPECT_EQ(form.PageControl->tabPosition(), QTabWidget::West);
        EXPECT_EQ(form.OversigtKlasseComboBox->currentIndex(), 0) << "the class filter starts at \"-\"";
        EXPECT_EQ(StaevneManager->Registry().OversigtKlasse, 1) << "though it was stored";
        QTest::keyClick(form.OversigtGrid, Qt::Key_F5);
        return mrNone;
    });
    dialogs->Answer<TEditOvelseForm>([](TEditOvelseForm& form) {
        form.reject();
        return mrNone;
    });
    RunOvelseEditor(nullptr);
    EXPECT_EQ(dialogs->Shown.size(), 3);
    EXPECT_FALSE(ReopenOvelseEditor);

    // An editor that asks to be reopened but cannot be opened again ends the loop, with the reason shown.
    dialogs->Answer<TEditOvelseForm>([](TEditOvelseForm& form) {
        QTest::keyClick(form.OversigtGrid, Qt::Key_Space);
        OvelseManager.reset();
        return mrNone;
    });
    RunOvelseEditor(nullptr);
    EXPECT_EQ(dialogs->Shown.size(), 4);
    EXPECT_FALSE(ReopenOvelseEditor);
    EXPECT_EQ(Shown(), QStringList{"Der er intet stævne åbent"});
}

TEST_F(EditOvelseLife, LeavingTheResultPageSavesAndAFailedSaveKeepsThePageAndTheWindow) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "LÆ"));
    ASSERT_EQ(form->Manager().Count(), 3);
    TResultat* row = form->Manager().GetResultat(0);
    const qint32 startnummer = row->Startnummer;
    row->SetResultat(712);
    form->PageControl->setCurrentWidget(form->OversigtPage);
    Settle();
    EXPECT_EQ(form->PageControl->currentWidget(), form->OversigtPage);
    form->Manager().LoadOvelse(&Round("M", "LÆ"));
    EXPECT_EQ(Row(form->Manager(), startnummer).Resultat, 712) << "saved without a question";
    EXPECT_TRUE(Shown().isEmpty());

    // The row's record goes behind the editor's back: the save fails, and the page stays with the change.
    OpenResultPage(*form, Round("M", "LÆ"));
    row = &Row(form->Manager(), startnummer);
    row->SetResultat(733);
    {
        TResultatTable table;
        table.Open();
        table.GotoPosition(row->Position);
        table.Delete();
    }
    form->PageControl->setCurrentWidget(form->OversigtPage);
    Settle();
    EXPECT_EQ(form->PageControl->currentWidget(), form->OvelsePage);
    EXPECT_TRUE(form->Manager().IsModified());
    QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().startsWith("Fejl ved skrivning af resultat")) << shown.front().toStdString();

    // Closing asks; Ja tries to save and, failing, keeps the window open; Nej closes without saving.
    Recorder().QueueAnswer(mrYes);
    form->reject();
    Settle();
    EXPECT_TRUE(form->isVisible());
    shown = Shown();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown.front(), "Ændringer er ikke gemt, skal de gemmes?");
    Recorder().QueueAnswer(mrNo);
    form->reject();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), mrCancel);
}

TEST_F(EditOvelseLife, ClosingWithChangesAsksAndJaSavesThem) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "HØ"));
    const qint32 startnummer = form->Manager().GetResultat(0)->Startnummer;
    form->Manager().GetResultat(0)->SetResultat(185);
    Recorder().QueueAnswer(mrYes);
    form->reject();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(Shown(), QStringList{"Ændringer er ikke gemt, skal de gemmes?"});
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("M", "HØ"));
    EXPECT_EQ(Row(fresh, startnummer).Resultat, 185);
}

TEST_F(EditOvelseLife, TheColumnLayoutIsReadAsFarAsItIsGoodAndWrittenBackWhole) {
    Manager().SystemData().OvelseGridColumns = "Nr,x,;Navn, 17, 150,;Ukendt,77,;";
    auto form = Open();
    EXPECT_EQ(form->GridColumns().GetAsText(), "Navn,17,150,;");
    EXPECT_TRUE(form->KolonnerMenu->actions().at(17 - 3)->isChecked());
    EXPECT_FALSE(form->KolonnerMenu->actions().at(0)->isChecked());
    form->reject();
    form.reset();
    Restart().OpenStaevne(Manager().IndexOfStaevneNavn("Stævne"));
    EXPECT_EQ(Manager().SystemData().OvelseGridColumns, "Navn,17,150,;") << "stored by the close";

    Manager().SystemData().OvelseGridColumns = "nothing to read";
    Ov();
    form = Open();
    EXPECT_EQ(form->GridColumns().GetCount(), 21) << "the default layout; the editor opens all the same";
}

TEST_F(EditOvelseLife, AnnouncerModeWritesNothingToTheMeetButKeepsTheViewSettings) {
    const std::map<QString, QByteArray> before = Files();
    SpeakerMode = true;
    {
        const auto form = Open();
        form->VisNulOvelser->setChecked(true);
        Layout(*form, TOversigtSortering::KlasseOvelse);
        form->VisTidsskema->setChecked(true);
        Settle();
        EXPECT_FALSE(form->IsTidEditing());
        Click(*form, Round("M", "LÆ"));
        form->OversigtGrid->setFocus();
        TypeKeys("930");
        Press(Qt::Key_Return);
        form->OversigtKlasseComboBox->setCurrentIndex(1);
        Settle();

        form->OversigtKlasseComboBox->setCurrentIndex(0);
        form->VisTidsskema->setChecked(false);
        Layout(*form, TOversigtSortering::Tidsskema);
        OpenResultPage(*form, Round("M", "LÆ"));
        form->Manager().GetResultat(0)->SetResultat(999);
        form->PageControl->setCurrentWidget(form->OversigtPage);
        Settle();
        EXPECT_EQ(form->PageControl->currentWidget(), form->OversigtPage);
        OpenResultPage(*form, Round("M", "LÆ"));
        form->Manager().GetResultat(0)->SetResultat(999);
        form->reject();
        EXPECT_FALSE(form->isVisible()) << "closed without a question";
    }
    SpeakerMode = false;
    EXPECT_TRUE(Shown().isEmpty());
    const std::map<QString, QByteArray> after = Files();
    EXPECT_EQ(after.size(), before.size());
    for (const auto& [path, bytes] : before)
        EXPECT_TRUE(after.count(path) && after.at(path) == bytes) << path.toStdString();
    EXPECT_TRUE(Manager().Registry().VisNulOvelser) << "the machine's own view settings are kept";
}

TEST_F(EditOvelseLife, TheMainWindowsEventsButtonOpensTheEditorWhileTheMainWindowIsHidden) {
    Manager().SetLastUsedName("Stævne");
    Manager().SaveRegistry();
    OvelseManager.reset();
    StaevneManager.reset();
    TKelvo2MainProgForm main({}, Dir());
    main.show();
    Settle();
    ASSERT_TRUE(main.OvelserButton->isEnabled());
    TScriptedDialogs dialogs;
    bool hidden = false;
    dialogs->Answer<TEditOvelseForm>([&](TEditOvelseForm& form) {
        hidden = !main.isVisible();
        EXPECT_EQ(form.windowTitle(), " Redigering af øvelser - Stævne");
        QTest::keyClick(form.OversigtGrid, Qt::Key_F5);
        return mrNone;
    });
    dialogs->Answer<TEditOvelseForm>([](TEditOvelseForm&) { return mrCancel; });
    main.OvelserButton->click();
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(dialogs->Shown.size(), 2);
}

} // namespace

#include "ui/klub/EditKlubImport.h"

#include "EditKlubTestSupport.h"
#include "support/RecordedMessages.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>

namespace {

class EditKlubImport : public TEditKlubTest {
protected:
    TAutoTilmeldPanel& OpenImport() {
        TEditKlubForm& form = Open();
        form.AutoTilmeldTool->trigger();
        Settle();
        return *form.AutoTilmeldPanel;
    }
    // The text pasted with Ctrl+V on the text page, then the rows interpreted by turning the page.
    void Paste(TAutoTilmeldPanel& panel, const QString& text) {
        panel.PageControl->setCurrentWidget(panel.RaaDataSide);
        Settle();
        QApplication::clipboard()->setText(text);
        panel.RichEdit->setFocus();
        Press(Qt::Key_V, Qt::ControlModifier);
        // The text box keeps its lines without CR and makes a non-breaking space a blank.
        EXPECT_EQ(panel.RichEdit->toPlainText(), QString(text).remove(u'\r').replace(QChar(0xA0), u' '))
            << "the whole text replaced by the clipboard's";
        panel.PageControl->setCurrentWidget(panel.OpdaterDataside);
        Settle();
    }
    static QStringList ImportRows(const TAutoTilmeldPanel& panel, std::initializer_list<int> cols) {
        return Rows(*panel.AutoDataGrid, cols);
    }
    static void Click(QPushButton* button) {
        button->click();
        Settle();
    }
};

using namespace ImportCol;

TEST_F(EditKlubImport, APastedListIsInterpretedCheckedAndMadeParticipantsOfTheCurrentClub) {
    AddAarhusAndOdense();
    TAutoTilmeldPanel& panel = OpenImport();
    TEditKlubForm& form = Form();
    EXPECT_TRUE(panel.isVisibleTo(&form));
    EXPECT_EQ(panel.PageControl->currentWidget(), panel.OpdaterDataside);
    EXPECT_FALSE(panel.AutoDataGrid->isEnabled()) << "nothing interpreted yet";
    const QList<int> sizes = form.WorkSplitter->sizes();
    EXPECT_NEAR(sizes[0], sizes[2], 2) << "the grids above, the import below, half each";

    panel.RichEdit->setPlainText("some text");
    panel.PageControl->setCurrentWidget(panel.RaaDataSide);
    Settle();
    EXPECT_EQ(panel.RichEdit->toPlainText(), "") << "the text page starts empty";
    Paste(panel, QString("Ida Holm\t1999\tm\t100 m\t12,45 sek\t\t\t\tOdense\tBo Berg\r\n") + QChar(0xA0) +
                     "-\t\t\tLængde\t5,12 m\r\n"
                     "Karl Ek\t2001\tM\tKugle\r\n");
    EXPECT_TRUE(panel.AutoDataGrid->isEnabled());
    EXPECT_EQ(ImportRows(panel, {Navn, Aargang, Klasse, Ovelse, TilmeldtRes}),
              QStringList({"Ida Holm/1999/M/100/12,45", "//M/LÆ/5,12", "Karl Ek/2001/M/KU/"}));
    EXPECT_EQ(panel.AutoKlubNavnEdit->text(), "Odense");
    EXPECT_EQ(panel.AutoKontaktpersonEdit->text(), "Bo Berg");
    EXPECT_EQ(form.KlubberListbox->currentItem()->text(), "Odense") << "the club list searched for the club";
    EXPECT_TRUE(panel.AutoOpdDeltagere->isEnabled());
    EXPECT_EQ(Shown(), QStringList());

    TRecordedMessages answers;
    answers.Recorder().QueueAnswer(mrYes);
    Click(panel.AutoOpdDeltagere);
    EXPECT_EQ(answers.Shown(), QStringList({"Opdater alle deltagere i klubben \"Odense\"?"}));
    EXPECT_EQ(Rows({C::StartnummerCol, C::NavnCol, C::OvelseCol, C::SeedningCol}),
              QStringList({"123/Carl/100/", "124/Ida Holm/100/12.45", "//LÆ/5.12", "125/Karl Ek/KU/"}));
    EXPECT_FALSE(panel.AutoOpdDeltagere->isEnabled()) << "not the same athletes twice";
    EXPECT_EQ(StoredDeltagere().size(), 3) << "the import does not save";
    Save();
    EXPECT_EQ(StoredDeltagere(),
              QStringList({"1/Bent/1", "2/Anna/1", "123/Carl/2", "124/Ida Holm/2", "125/Karl Ek/2"}));
    EXPECT_TRUE(StoredResultater().contains("124/M/LÆ/"));
}

TEST_F(EditKlubImport, FailingRowsAreToldAndMarkedAndKeepTheUpdateButtonsOff) {
    AddKlub(1, QStringLiteral("Aarhus"));
    TAutoTilmeldPanel& panel = OpenImport();
    Paste(panel, "Ida;1999;M;100\nBo;2000;K;LÆ\nEva;2001;M;HØ;1,7x0\n");
    EXPECT_EQ(panel.PageControl->currentWidget(), panel.OpdaterDataside);
    // The separator was TAB: one field per line.
    EXPECT_EQ(ImportRows(panel, {Navn}).size(), 3);
    EXPECT_EQ(Shown(), QStringList()) << "names only";

    panel.UseTABSeparator->setChecked(false);
    Paste(panel, "Ida;1999;M;100\nBo;2000;K;LÆ\nEva;2001;M;HØ;1,7x0\n");
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    const QStringList lines = shown[0].split("\r\n");
    ASSERT_EQ(lines.size(), 2) << shown[0].toStdString();
    EXPECT_TRUE(lines[0].startsWith("Fejl i linie 2, ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("Fejl i linie 3, \"1,7x0\"")) << lines[1].toStdString();
    EXPECT_EQ(panel.Markers(), std::vector<int>({0, 1, 1}));
    EXPECT_FALSE(panel.AutoOpdDeltagere->isEnabled());
    EXPECT_FALSE(panel.AutoOpdKlubDeltagere->isEnabled());

    // Mended in the grid and checked again: the buttons come back.
    TExtStringGrid& grid = *panel.AutoDataGrid;
    grid.SetCells(Klasse, 2, "M");
    grid.SetCells(TilmeldtRes, 3, "1,70");
    Click(panel.AutoKontrol);
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(panel.Markers(), std::vector<int>({0, 0, 0}));
    EXPECT_TRUE(panel.AutoOpdDeltagere->isEnabled());
}

TEST_F(EditKlubImport, CreateClubAndUpdateMakesTheClubOnceAndUpdatesItAfterwards) {
    AddKlub(1, QStringLiteral("Aarhus"));
    TAutoTilmeldPanel& panel = OpenImport();
    TEditKlubForm& form = Form();
    panel.UseTABSeparator->setChecked(false);
    Paste(panel, "Ida;1999;M;100;;;;;Viborg AM;Bo Berg;Vej 1;8800 Viborg;bo@v.dk;12345678\nKarl;2001;M;KU");
    TRecordedMessages answers;
    answers.Recorder().QueueAnswer(mrYes);
    Click(panel.AutoOpdKlubDeltagere);
    EXPECT_EQ(answers.Shown(),
              QStringList({"Opret klubben \"Viborg AM\" og opdater herefter alle deltagere?"}));
    EXPECT_EQ(form.KlubberListbox->currentItem()->text(), "Viborg AM");
    EXPECT_EQ(form.KontaktPersonEdit->text(), "Bo Berg");
    EXPECT_EQ(form.Adresse2Edit->text(), "8800 Viborg");
    EXPECT_EQ(form.TelefonEdit->text(), "12345678");
    EXPECT_EQ(Rows({C::StartnummerCol, C::NavnCol, C::OvelseCol}), QStringList({"1/Ida/100", "2/Karl/KU"}));
    Save();
    EXPECT_EQ(StoredKlubber(), QStringList({"1/Aarhus", "2/Viborg AM"}));
    EXPECT_EQ(StoredDeltagere(), QStringList({"1/Ida/2", "2/Karl/2"}));

    // The same list again, from another club: the club of that name is updated, no second one made.
    form.KlubberListbox->setCurrentRow(0);
    Settle();
    Paste(panel, "Eva;2002;m;hø;;;;;viborg am\n");
    answers.Recorder().QueueAnswer(mrYes);
    Click(panel.AutoOpdKlubDeltagere);
    EXPECT_EQ(answers.Shown(), QStringList({"Opdater alle deltagere i klubben \"Viborg AM\"?"}));
    Save();
    EXPECT_EQ(StoredKlubber(), QStringList({"1/Aarhus", "2/Viborg AM"}));
    EXPECT_EQ(StoredDeltagere(), QStringList({"1/Ida/2", "2/Karl/2", "3/Eva/2"}));
}

TEST_F(EditKlubImport, AListGoesOnlyToTheClubItNamesAndAnotherNameCanOnlyMakeItsClub) {
    AddKlub(1, QStringLiteral("Esbjerg AF"));
    AddKlub(2, QStringLiteral("Ørsted AK"));
    TAutoTilmeldPanel& panel = OpenImport();
    TEditKlubForm& form = Form();
    panel.UseTABSeparator->setChecked(false);
    Paste(panel, "Ida;1999;M;100;;;;;ørsted ak\n");
    EXPECT_EQ(form.KlubberListbox->currentItem()->text(), "Ørsted AK");
    EXPECT_TRUE(panel.AutoOpdDeltagere->isEnabled());

    form.KlubberListbox->setCurrentRow(0);
    Settle();
    for (const QString heading : {"Ålborg AM", "Ørsted", "Fredericia AC", "Esbjerg"}) {
        SCOPED_TRACE(heading.toStdString());
        Paste(panel, "Ida;1999;M;100;;;;;" + heading + "\n");
        EXPECT_EQ(form.KlubberListbox->currentItem()->text(), "Esbjerg AF") << "no other club chosen";
        EXPECT_FALSE(panel.AutoOpdDeltagere->isEnabled()) << "nor the one on show updated";
        EXPECT_TRUE(panel.AutoOpdKlubDeltagere->isEnabled());
    }
    EXPECT_EQ(Shown(), QStringList());

    Paste(panel, "Ida;1999;M;100;;;;;Ålborg AM\n");
    TRecordedMessages answers;
    answers.Recorder().QueueAnswer(mrYes);
    Click(panel.AutoOpdKlubDeltagere);
    EXPECT_EQ(answers.Shown(),
              QStringList({"Opret klubben \"Ålborg AM\" og opdater herefter alle deltagere?"}));
    Save();
    EXPECT_EQ(StoredKlubber(), QStringList({"1/Esbjerg AF", "2/Ørsted AK", "3/Ålborg AM"}));
    EXPECT_EQ(StoredDeltagere(), QStringList({"1/Ida/3"}));
}

TEST_F(EditKlubImport, AClubNameTheRecordFilesCannotHoldKeepsTheUpdateOffUntilMended) {
    AddKlub(1, QStringLiteral("Aarhus"));
    TAutoTilmeldPanel& panel = OpenImport();
    panel.UseTABSeparator->setChecked(false);
    const QString navn = QString::fromUtf8("Løb \xF0\x9F\x8F\x83");
    Paste(panel, "Ida;1999;M;100;;;;;" + navn + "\n");
    EXPECT_EQ(Shown(), QStringList({"Fejl i linie 1, \"" + navn +
                                    "\" kan kun indeholde tegn fra tegnsættet Windows-1252"}));
    EXPECT_FALSE(panel.AutoOpdDeltagere->isEnabled() || panel.AutoOpdKlubDeltagere->isEnabled());

    panel.AutoKlubNavnEdit->setText("Løb");
    Click(panel.AutoKontrol);
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_TRUE(panel.AutoOpdKlubDeltagere->isEnabled());
    EXPECT_EQ(StoredKlubber(), QStringList({"1/Aarhus"}));
}

TEST_F(EditKlubImport, DeletingAnAthletesFirstRowMovesTheNameToTheNextRow) {
    AddKlub(1, QStringLiteral("Aarhus"));
    TAutoTilmeldPanel& panel = OpenImport();
    panel.UseTABSeparator->setChecked(false);
    Paste(panel, "Ida;1999;M;100\n-;;;LÆ\nBo;2000;M;KU;xx1\n");
    EXPECT_EQ(panel.Markers(), std::vector<int>({0, 0, 1}));
    TExtStringGrid& grid = *panel.AutoDataGrid;
    Goto(grid, Ovelse, 1);
    Press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(ImportRows(panel, {Navn, Aargang, Ovelse}), QStringList({"Ida/1999/LÆ", "Bo/2000/KU"}));
    EXPECT_EQ(panel.Markers(), std::vector<int>({0, 1})) << "the row's marker goes with it";
}

} // namespace

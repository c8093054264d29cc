// The raw record editor driven by keys and clicks, the files read back afterwards; its launcher, and the
// main window's Import button and meet label.
#include "ui/EditTabel.h"

#include "UiTestSupport.h"
#include "controls/Gui.h"
#include "support/ResultFixture.h"
#include "support/Test.h"

#include "foundation/Windows1252.h"
#include "foundation/controls/Extstrgr.h"
#include "model/D_EditTabel.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "ui/Kelvo2MainProg.h"
#include "ui/LaunchersTabel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class EditTabelForm : public TResultTest {
protected:
    EditTabelForm() {
        AddKlub(1, QStringLiteral("Aarhus"));
        AddDeltager(10, QStringLiteral("Bo"), 1990);
        AddDeltager(2, QStringLiteral("Eva"), 1991);
        AddDeltager(1, QStringLiteral("Ib"), 1992);
    }

    // The form shown and active, on the table of that name.
    TEditTabelForm& Form(const QString& tabel) {
        ShowActive(form_);
        Choose(tabel);
        form_.Grid->setFocus();
        Settle();
        return form_;
    }
    void Choose(const QString& tabel) {
        form_.Tabelnavn->setCurrentIndex(form_.Tabelnavn->findText(tabel));
        Settle();
    }
    TExtStringGrid& Grid() { return *form_.Grid; }
    // Puts the cursor on the cell and types text over what it held.
    void TypeAt(int col, int row, const QString& text) {
        ASSERT_TRUE(Grid().GotoCell(col, row, true));
        Grid().setFocus();
        Settle();
        QLineEdit* editor = Grid().InplaceEditor();
        editor->selectAll();
        QTest::keyClicks(editor, text);
        Settle();
    }
    // The grid column of a field.
    static int Col(int fieldNo) { return fieldNo + 1; }
    // The row that shows the record at position; -1 when none does.
    int RowOf(quint32 position) {
        for (int row = 1; row < Grid().RowCount(); ++row)
            if (form_.RowPosition(row) == position)
                return row;
        return -1;
    }
    static QByteArray StoredBytes(quint32 position) {
        TDeltagerTable table;
        table.Open();
        table.GotoPosition(position);
        return {reinterpret_cast<const char*>(table.RecordBuffer()->Current()), table.GetRecordLength()};
    }
    QStringList Column(int col) {
        QStringList texts;
        for (int row = 1; row < Grid().RowCount(); ++row)
            texts << Grid().Cells(col, row).trimmed();
        return texts;
    }
    static int DeltagerCount() {
        TDeltagerTable table;
        table.Open();
        return table.GetRecordCount();
    }

    TEditTabelForm form_;
};

TEST_F(EditTabelForm, ATableShowsEveryRecordOfEveryMeetUnderItsFieldNames) {
    CreateMeet(QStringLiteral("Andet"));
    AddDeltager(5, QStringLiteral("Ole"));
    Form("DELTAGER");
    EXPECT_EQ(form_.windowTitle(), "[" + Dir() + "DELTAGER.ZU2]");
    EXPECT_EQ(Grid().ColCount(), 11);
    EXPECT_EQ(Grid().Cells(Col(DeltagerField::Navn), 0), "Navn");
    EXPECT_EQ(Grid().Cells(Col(DeltagerField::Koen), 0), "Køn");
    EXPECT_EQ(Column(0), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(Column(Col(DeltagerField::Navn)), QStringList({"Ib", "Eva", "Bo", "Ole"}));
    TDeltagerTable table;
    table.Open();
    for (int row = 1; row <= 4; ++row) {
        table.GotoPosition(form_.RowPosition(row));
        EXPECT_EQ(table.GetField(DeltagerField::Navn)->GetAsString(),
                  Grid().Cells(Col(DeltagerField::Navn), row));
    }

    // An empty file: one empty row under the names.
    Choose("GRUPPE");
    EXPECT_EQ(Grid().RowCount(), 2);
    EXPECT_EQ(Grid().Cells(Col(GruppeField::Tekst), 0), "Tekst");
    EXPECT_TRUE(Grid().IsRowEmpty(1));
    EXPECT_EQ(form_.RowPosition(1), 0u);
}

TEST_F(EditTabelForm, LeavingAChangedRowWritesItsChangedCellsAndNothingElse) {
    Form("DELTAGER");
    const quint32 eva = form_.RowPosition(2);
    const QByteArray before = StoredBytes(eva);
    TypeAt(Col(DeltagerField::Navn), 2, "Eva Ås");
    EXPECT_EQ(StoredBytes(eva), before) << "not before the row is left";
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid().Row(), 3);
    TDeltagerTable table;
    table.Open();
    table.GotoPosition(eva);
    EXPECT_EQ(table.GetField(DeltagerField::Navn)->GetTrimmedString(), "Eva Ås");
    const int offset = table.GetField(DeltagerField::Navn)->Offset;
    const QByteArray after = StoredBytes(eva);
    EXPECT_EQ(after.left(offset), before.left(offset)) << "its time stamps too";
    EXPECT_EQ(after.mid(offset + DeltagerFieldSize::Navn), before.mid(offset + DeltagerFieldSize::Navn));

    // A row left as it was is not written: its creation time, shown to the second, would come back
    // without the rest.
    const quint32 ib = form_.RowPosition(1);
    table.GotoPosition(ib);
    table.Edit();
    table.GetField(0)->SetAsFloat(45000.123456789);
    table.Post();
    Choose("KLUB");
    Choose("DELTAGER");
    const QByteArray ibBefore = StoredBytes(ib);
    ASSERT_TRUE(Grid().GotoCell(Col(DeltagerField::Navn), 1, true));
    TypeAt(Col(DeltagerField::Aargang), 1, "1992"); // the same text again
    Press(Qt::Key_Down);
    Press(Qt::Key_Up);
    Press(Qt::Key_Down);
    EXPECT_EQ(StoredBytes(ib), ibBefore);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(EditTabelForm, ARowTypedAfterTheLastIsStoredOnceAndKeepsItsRecord) {
    Form("DELTAGER");
    const int count = DeltagerCount();
    ASSERT_TRUE(Grid().GotoCell(Col(DeltagerField::StID), 3, true));
    Press(Qt::Key_Down);
    ASSERT_EQ(Grid().RowCount(), 5);
    EXPECT_EQ(form_.RowPosition(4), 0u);
    TypeAt(Col(DeltagerField::StID), 4, QString::number(CurrentStID()));
    TypeAt(Col(DeltagerField::Startnummer), 4, "44");
    TypeAt(Col(DeltagerField::Navn), 4, "Ny");
    EXPECT_EQ(DeltagerCount(), count) << "not while the cursor is in the row";
    Press(Qt::Key_Up);
    EXPECT_EQ(DeltagerCount(), count + 1);
    const quint32 position = form_.RowPosition(4);
    ASSERT_NE(position, 0u);
    EXPECT_FALSE(Grid().Cells(Col(0), 4).isEmpty()) << "its creation time shown";

    TypeAt(Col(DeltagerField::Navn), 4, "Nyere");
    Press(Qt::Key_Up);
    EXPECT_EQ(DeltagerCount(), count + 1);
    EXPECT_EQ(form_.RowPosition(4), position);
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Startnummer, DeltagerField::Navn}).last(), "44/Nyere");
}

TEST_F(EditTabelForm, CtrlDeleteDeletesTheRecordAtOnceAndAnUnstoredRowWithoutTheFile) {
    Form("DELTAGER");
    const int count = DeltagerCount();
    ASSERT_TRUE(Grid().GotoCell(Col(DeltagerField::Navn), 2, true));
    Grid().setFocus();
    Press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(DeltagerCount(), count - 1);
    EXPECT_EQ(Column(Col(DeltagerField::Navn)), QStringList({"Ib", "Bo"}));
    EXPECT_TRUE(Shown().isEmpty());

    // A new row, typed in and deleted before it was stored.
    ASSERT_TRUE(Grid().GotoCell(Col(DeltagerField::StID), 2, true));
    Press(Qt::Key_Down);
    TypeAt(Col(DeltagerField::Navn), 3, "Væk");
    Press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Column(Col(DeltagerField::Navn)), QStringList({"Ib", "Bo"}));
    Press(Qt::Key_Up);
    EXPECT_EQ(DeltagerCount(), count - 1);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(EditTabelForm, APendingRowIsWrittenOnATableSwitchAndOnClose) {
    Form("DELTAGER");
    TypeAt(Col(DeltagerField::Navn), 1, "Ib Skift");
    Choose("KLUB");
    EXPECT_EQ(form_.windowTitle(), "[" + Dir() + "KLUB.ZU2]");
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Navn}).first(), "Ib Skift");

    TypeAt(Col(KlubField::Navn), 1, "Aarhus AM");
    Press(Qt::Key_Escape);
    EXPECT_FALSE(form_.isVisible());
    EXPECT_EQ(Stored<TKlubTable>({KlubField::Navn}), QStringList({"Aarhus AM"}));
}

TEST_F(EditTabelForm, ARefusedTextIsShownAndItsRowStaysPending) {
    Form("DELTAGER");
    TypeAt(Col(DeltagerField::Aargang), 1, "abc");
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid().Row(), 1) << "the row is not left";
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Aargang}).first(), "1992");
    // Mended, it goes.
    TypeAt(Col(DeltagerField::Aargang), 1, "1993");
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid().Row(), 2);
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Aargang}).first(), "1993");
    // A close with a refused row keeps the window.
    TypeAt(Col(DeltagerField::Aargang), 2, "x");
    Press(Qt::Key_Escape);
    EXPECT_TRUE(form_.isVisible());
    EXPECT_EQ(Shown().size(), 1);
}

TEST_F(EditTabelForm, ADoubleClickSortsOnTheCurrentColumnByNumberOrByText) {
    Form("DELTAGER");
    TypeAt(Col(DeltagerField::Navn), 3, "Anna");
    const auto doubleClick = [this](int col) {
        ASSERT_TRUE(Grid().GotoCell(col, 1, true));
        QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {},
                           Grid().visualRect(Grid().model()->index(1, col)).center());
        Settle();
    };
    doubleClick(Col(DeltagerField::Navn));
    EXPECT_EQ(Column(Col(DeltagerField::Navn)), QStringList({"Anna", "Eva", "Ib"}));
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Navn}), QStringList({"Ib", "Eva", "Anna"}))
        << "the pending row written first";
    doubleClick(Col(DeltagerField::Startnummer));
    EXPECT_EQ(Column(Col(DeltagerField::Startnummer)), QStringList({"1", "2", "10"}));
    doubleClick(0);
    EXPECT_EQ(Column(0), QStringList({"1", "2", "3"}));
    // The positions went with their rows.
    TDeltagerTable table;
    table.Open();
    table.GotoPosition(form_.RowPosition(3));
    EXPECT_EQ(table.GetField(DeltagerField::Navn)->GetTrimmedString(), "Anna");
}

// ---------------------------------------------------------------- the launcher and the main window

TEST_F(EditTabelForm, TheLauncherReadsTheOpenMeetAgainAfterTheEditor) {
    TScriptedDialogs dialogs;
    dialogs->Answer<TEditTabelForm>([](TEditTabelForm& form) {
        form.Tabelnavn->setCurrentIndex(form.Tabelnavn->findText("STAEVNE"));
        form.Grid->GotoCell(StaevneField::Navn + 1, 1, false);
        form.Grid->SetCells(StaevneField::Navn + 1, 1, QStringLiteral("Omdøbt"));
        form.done(mrCancel);
        return mrNone;
    });
    const qint32 stID = CurrentStID();
    RedigerTabeller(nullptr);
    EXPECT_EQ(CurrentStID(), stID);
    EXPECT_EQ(Manager().GetStaevneNavn(Manager().GetCurrentIndex()), "Omdøbt");
}

class MainWindowImport : public EditTabelForm {
protected:
    std::unique_ptr<TKelvo2MainProgForm> Start() {
        Manager().SetLastUsedName(QStringLiteral("Stævne"));
        Manager().SaveRegistry();
        OvelseManager.reset();
        StaevneManager.reset();
        auto form = std::make_unique<TKelvo2MainProgForm>(QStringList(), Dir());
        form->show();
        Settle();
        return form;
    }
    void WriteProgramFile(const QString& name, const QString& text) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Windows1252::Encode(text));
    }
};

TEST_F(MainWindowImport, TheImportButtonReadsDeltagereOrWithRedidTilmeldinger) {
    WriteProgramFile("Deltagere.csv", "3;Åse;1990;K;100m;13.1;Odense;K\n0;Nul;1990;K;100m;;Odense;K\n");
    WriteProgramFile("tilmeldinger.csv", "7;Tim;Aarhus;M;100;\n");
    const auto form = Start();
    form->ImportButton->show();
    ASSERT_TRUE(form->ImportButton->isEnabled());
    form->ImportButton->click();
    QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Indlæst: 1 nye klubber, 1 nye deltagere og 1 nye tilmeldinger."))
        << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains("Startnummer 0: Odense  0;Nul;1990;K;100m;;Odense;K, line = 1"));

    StaevneManager->SystemData().Redid = true;
    form->ImportButton->click();
    shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "Indlæst: 0 nye klubber, 1 nye deltagere og 1 nye tilmeldinger.");
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Startnummer, DeltagerField::Navn}).last(), "10/Bo");
    EXPECT_TRUE(Stored<TDeltagerTable>({DeltagerField::Startnummer, DeltagerField::Navn}).contains("7/Tim"));

    // A file that is not there is an error, and nothing more.
    QFile::remove(Path("tilmeldinger.csv"));
    form->ImportButton->click();
    shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains("kan ikke læses")) << shown[0].toStdString();
}

TEST_F(MainWindowImport, TheMeetLabelsDoubleClickOpensTheRawEditorOutsideAnnouncerMode) {
    const auto form = Start();
    TScriptedDialogs dialogs;
    dialogs->Answer<TEditTabelForm>([](TEditTabelForm&) { return mrCancel; });
    QTest::mouseDClick(form->StaevneLabel, Qt::LeftButton);
    EXPECT_EQ(dialogs->Shown, QStringList({"TEditTabelForm"}));
    SpeakerMode = true;
    QTest::mouseDClick(form->StaevneLabel, Qt::LeftButton);
    EXPECT_EQ(dialogs->Shown.size(), 1);
    SpeakerMode = false;
}

} // namespace

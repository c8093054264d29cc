#include "foundation/controls/Extstrgr.h"

#include "Gui.h"
#include "foundation/controls/RvkForms.h"
#include "storage/DBField.h"
#include "support/RecordedMessages.h"
#include "support/Test.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A dialog as the editing dialogs are: edits around a grid of columns "Nr", "Navn", "Klub".
class TGridForm : public TStdRVKForm {
    Q_OBJECT
public:
    TGridForm() {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(Before);
        layout->addWidget(Grid);
        layout->addWidget(After);
        layout->addWidget(Save);
        Save->setFocusPolicy(Qt::NoFocus);
        Grid->SetFixedCols(0);
        for (const char* heading : {"Nr", "Navn", "Klub"})
            Grid->Columns().Add().SetText(heading);
        Grid->SetRowCount(3);
        Grid->AutoExtend = true;
        resize(400, 300);
    }
    void GridMoved(QWidget* grid) override { Moved << grid; }

    QLineEdit* Before = new QLineEdit(this);
    TExtStringGrid* Grid = new TExtStringGrid(this);
    QLineEdit* After = new QLineEdit(this);
    QToolButton* Save = new QToolButton(this);
    QList<QWidget*> Moved;
};

class Grid : public ::testing::Test {
protected:
    void SetUp() override {
        ShowActive(form);
        ASSERT_EQ(QApplication::activeWindow(), &form);
        grid().setFocus();
        Settle();
    }
    TExtStringGrid& grid() { return *form.Grid; }
    static void Type(const QString& text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        Settle();
    }
    std::pair<int, int> Cursor() { return {grid().Col(), grid().Row()}; }
    // The cursor after a key press.
    std::pair<int, int> After(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Press(key, modifiers);
        return Cursor();
    }
    QStringList Column(int col) {
        QStringList texts;
        for (int row = grid().FixedRows(); row < grid().RowCount(); ++row)
            texts << grid().Cells(col, row);
        return texts;
    }
    void Fill(const QList<QStringList>& rows) {
        grid().SetRowCount(static_cast<int>(rows.size()) + 1);
        for (int row = 0; row < rows.size(); ++row)
            for (int col = 0; col < rows[row].size(); ++col)
                grid().SetCells(col, row + 1, rows[row][col]);
    }

    TRecordedMessages messages;
    TGridForm form;
};

TEST_F(Grid, TypingGoesIntoTheCurrentCellAndTheGridsKeysWinOverTheDialogs) {
    ASSERT_EQ(QApplication::focusWidget(), grid().InplaceEditor()) << "the editor stands on the cell";
    EXPECT_EQ(Cursor(), std::pair(0, 1));
    Type("12");
    EXPECT_EQ(grid().Cells(0, 1), "12") << "the cell follows the editor as it is typed";
    EXPECT_TRUE(grid().CellModified(0));
    EXPECT_EQ(After(Qt::Key_Return), std::pair(1, 1))
        << "Enter moves to the next tab column, not to the next edit";
    Type("Ane");
    EXPECT_EQ(After(Qt::Key_Down), std::pair(1, 2));
    EXPECT_EQ(After(Qt::Key_Up), std::pair(1, 1));
    EXPECT_EQ(QApplication::focusWidget(), grid().InplaceEditor());
    EXPECT_EQ(grid().InplaceEditor()->text(), "Ane");
    EXPECT_EQ(form.Moved, QList<QWidget*>(3, &grid())) << "every key move is told to the form";

    // Enter skips columns that are no tab stops and starts the next line where it should.
    grid().Columns().GetItem(1).Tabulator = false;
    grid().StartColumnAtNewLine = 1;
    grid().GotoCell(0, 1, true);
    EXPECT_EQ(After(Qt::Key_Return), std::pair(2, 1));
    EXPECT_EQ(After(Qt::Key_Return), std::pair(1, 2)) << "from the last tab column on to the next row";
    grid().EnterKeyMovement = TEnterKeyMovement::ekDownArrow;
    EXPECT_EQ(After(Qt::Key_Return), std::pair(1, 2)) << "an empty last row does not grow";
    grid().EnterKeyMovement = TEnterKeyMovement::ekRightArrow;
    EXPECT_EQ(After(Qt::Key_Return), std::pair(2, 2));
}

TEST_F(Grid, KeysSentToTheGridWhileItsEditorIsOpenReachTheEditor) {
    Fill({{"", "Bo"}});
    grid().GotoCell(0, 1, true);
    grid().setFocus();
    Settle();
    // Every key goes to the grid itself, as a test tool or an event filter may send them.
    QTest::keyClicks(&grid(), "41");
    Settle();
    EXPECT_EQ(grid().Cells(0, 1), "41") << "the second key follows the first";
}

TEST_F(Grid, AClosedEditorTakesNoTypingUntilAClickAMoveOrF2OpensIt) {
    Fill({{"1", "Bo"}, {"2", "Ane"}});
    grid().Columns().GetItem(1).MaxLength = 4;
    grid().GotoCell(1, 1, true);
    Settle();
    grid().CloseEditor();
    Settle();
    EXPECT_FALSE(grid().InplaceEditor()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), &grid()) << "the focus is the grid's, not a hidden editor's";
    Type("Hacked");
    EXPECT_EQ(grid().Cells(1, 1), "Bo");
    EXPECT_FALSE(grid().InplaceEditor()->isVisible());
    // A move opens it on the new cell.
    EXPECT_EQ(After(Qt::Key_Down), std::pair(1, 2));
    EXPECT_TRUE(grid().InplaceEditor()->isVisible());
    Type("Kirsten");
    EXPECT_EQ(grid().Cells(1, 2), "Kirs") << "no more than the column takes";

    // A click on the current cell, and F2, open it where it stands.
    grid().CloseEditor();
    Settle();
    const QRect cell = grid().visualRect(grid().model()->index(1, 1));
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell.center());
    Settle();
    EXPECT_EQ(Cursor(), std::pair(1, 2));
    EXPECT_TRUE(grid().InplaceEditor()->isVisible());
    grid().CloseEditor();
    Settle();
    Press(Qt::Key_F2);
    EXPECT_TRUE(grid().InplaceEditor()->isVisible());
    Type("x");
    EXPECT_EQ(grid().Cells(1, 2), "Kirs") << "opened at the end of a full text";
    Press(Qt::Key_Backspace);
    Type("x");
    EXPECT_EQ(grid().Cells(1, 2), "Kirx");
    // Committing the cell, as a command does, leaves a closed editor closed.
    grid().CloseEditor();
    EXPECT_TRUE(grid().CommitCell());
    EXPECT_FALSE(grid().InplaceEditor()->isVisible());
}

TEST_F(Grid, ArrowsLeaveTheEditorOnlyAtTheEndsOfItsTextAndGrowOrShrinkTheGridByOneEmptyRow) {
    grid().SetCells(0, 1, "abc");
    grid().SetCells(1, 1, "def");
    grid().GotoCell(1, 1, true);
    grid().GotoCell(0, 1, true);
    QLineEdit* editor = grid().InplaceEditor();
    EXPECT_EQ(editor->selectedText(), "abc") << "entering selects the text";
    Press(Qt::Key_End);
    EXPECT_EQ(After(Qt::Key_Left), std::pair(0, 1)) << "inside the text the caret moves";
    Press(Qt::Key_Right);
    EXPECT_EQ(After(Qt::Key_Right), std::pair(1, 1)) << "at the end the cell moves";
    EXPECT_EQ(editor->selectedText(), "def");
    grid().AutoPosCursor = true;
    Press(Qt::Key_Left);
    EXPECT_EQ(After(Qt::Key_Right), std::pair(1, 1));
    EXPECT_EQ(std::pair(editor->hasSelectedText(), editor->cursorPosition()), std::pair(false, 3))
        << "after a move right the caret stands at the end";
    Press(Qt::Key_Right);
    EXPECT_EQ(After(Qt::Key_Right), std::pair(0, 2)) << "from the last column to the first of the next row";
    EXPECT_EQ(After(Qt::Key_Left), std::pair(2, 1)) << "and back";

    // Down on a filled last row adds exactly one row, and Up on the new empty row removes it.
    grid().SetRowCount(3);
    grid().StartColumnAtNewLine = 1;
    grid().GotoCell(2, 2, true);
    Type("x");
    Press(Qt::Key_Down);
    EXPECT_EQ(grid().RowCount(), 4);
    EXPECT_EQ(Cursor(), std::pair(1, 3)) << "the new line starts in its start column";
    Press(Qt::Key_Down);
    EXPECT_EQ(grid().RowCount(), 4) << "an empty last row does not grow";
    Press(Qt::Key_Up);
    EXPECT_EQ(grid().RowCount(), 3);
    EXPECT_EQ(Cursor(), std::pair(1, 2));

    // Left from the first column of an empty last row removes it too.
    Press(Qt::Key_Down);
    ASSERT_EQ(grid().RowCount(), 4);
    grid().GotoCell(0, 3, true);
    Press(Qt::Key_Left);
    EXPECT_EQ(grid().RowCount(), 3);
    EXPECT_EQ(Cursor(), std::pair(2, 2));
    grid().AutoExtend = false;
    Press(Qt::Key_Down);
    EXPECT_EQ(grid().RowCount(), 3) << "without AutoExtend the last row is the last";
}

TEST_F(Grid, SortingKeepsEachRowsObjectsAndFieldsWithItsTexts) {
    Fill({{"3", "bo", "B"}, {"1", "Åse", "A"}, {"2", "", "C"}, {"10", "anne", "D"}, {"x", "Øjvind", "E"}});
    for (int row = 1; row <= 5; ++row)
        grid().SetObjects(0, row, 1000 + row - 1); // record index + 1000
    grid().SortRowsByText({1});
    EXPECT_EQ(Column(1), (QStringList{"", "anne", "bo", "Øjvind", "Åse"}))
        << "an empty key first, case ignored, Danish letters last";
    EXPECT_EQ(Column(2), (QStringList{"C", "D", "B", "E", "A"}));
    EXPECT_EQ(std::tuple(grid().Objects(0, 1), grid().Objects(0, 5)), std::tuple(1002, 1001));
    grid().SortRows(TSortKind::Integer, {0}, true);
    EXPECT_EQ(Column(0), (QStringList{"10", "3", "2", "1", "x"})) << "no integer counts as 0";

    Fill({{"1,5", "2"}, {"1.25", "9"}, {"-2", "1"}, {"1,5", "1,0"}});
    grid().SortRowsByNumber({0, 1});
    EXPECT_EQ(Column(0), (QStringList{"-2", "1.25", "1,5", "1,5"}));
    EXPECT_EQ(Column(1), (QStringList{"1", "9", "1,0", "2"})) << "ties go to the next column";
}

TEST_F(Grid, TextsThatDifferOnlyInCaseTieAndTheNextColumnDecides) {
    Fill({{"b", "2"}, {"A", "1"}, {"a", "0"}, {"B", "3"}, {"a", "0"}});
    for (int row = 1; row <= 5; ++row)
        grid().SetObjects(0, row, row);
    grid().SortRowsByText({0, 1});
    EXPECT_EQ(Column(1), (QStringList{"0", "0", "1", "2", "3"}));
    EXPECT_EQ(std::tuple(grid().Objects(0, 1), grid().Objects(0, 2)), std::tuple(3, 5))
        << "equal rows keep their order";
    grid().SortRows(TSortKind::Text, {0}, true);
    EXPECT_EQ(Column(0), (QStringList{"b", "B", "a", "a", "A"}))
        << "descending, ties in the order they stood";
}

TEST_F(Grid, ABoundFieldTakesTheCellsTextWhenTheCellIsLeft) {
    TDataBuffer record(8);
    TIntegerField number;
    number.SetBuffer(&record);
    number.Size = 4;
    number.FieldName = "Startnummer";
    grid().BindCellField(0, 1, number);
    ASSERT_NE(grid().GetCellField(0, 1), nullptr);
    Type("42");
    EXPECT_EQ(number.GetAsInteger(), 0) << "nothing is written while the cell is being typed";
    Press(Qt::Key_Right);
    EXPECT_EQ(number.GetAsInteger(), 42);

    // A text the field refuses keeps the cursor in the cell and tells the user why.
    grid().GotoCell(0, 1, true);
    Type("4x");
    EXPECT_EQ(After(Qt::Key_Down), std::pair(0, 1));
    const QStringList shown = messages.Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains("4x")) << shown[0].toStdString();
    EXPECT_EQ(number.GetAsInteger(), 42);
}

TEST_F(Grid, AVetoOnLeavingARowOrACellKeepsTheCursorForKeysAndClicks) {
    Fill({{"1", "Ane"}, {"2", "Bo"}, {"3", "Carl"}});
    QList<int> leftRows;
    grid().OnLeaveRow = [&](int row, bool& allow) {
        leftRows << row;
        allow = grid().Cells(1, row) != "Bo";
    };
    grid().GotoCell(1, 2, true);
    EXPECT_EQ(After(Qt::Key_Down), std::pair(1, 2));
    const QRect other = grid().visualRect(grid().model()->index(0, 0));
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, other.center());
    Settle();
    EXPECT_EQ(Cursor(), std::pair(1, 2)) << "a click is refused the same way";
    EXPECT_EQ(After(Qt::Key_Right), std::pair(2, 2)) << "a move within the row does not leave it";

    grid().OnLeaveCell = [](int, int, bool&) { throw Exception("Der skal angives et startnummer"); };
    EXPECT_EQ(After(Qt::Key_Left), std::pair(2, 2));
    EXPECT_EQ(messages.Shown(), QStringList{"Der skal angives et startnummer"});
    EXPECT_EQ(QApplication::focusWidget(), grid().InplaceEditor());

    grid().OnLeaveCell = nullptr;
    grid().SetCells(1, 2, "Bodil");
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, other.center());
    Settle();
    EXPECT_EQ(Cursor(), std::pair(0, 1));
    EXPECT_EQ(leftRows.last(), 2);
}

TEST_F(Grid, CtrlDeleteAsksBeforeDeletingAndKeepsTheCursorInPlace) {
    Fill({{"1"}, {"2"}, {"3"}});
    grid().AutoDelete = true;
    QList<int> deleted;
    bool allowed = false;
    grid().BeforeDelete = [&](int, bool& allow) { allow = allowed; };
    grid().AfterDelete = [&](int row) { deleted << row; };
    grid().GotoCell(0, 2, true);
    Press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Column(0), (QStringList{"1", "2", "3"})) << "refused";
    EXPECT_TRUE(deleted.isEmpty());
    allowed = true;
    Press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Column(0), (QStringList{"1", "3"}));
    EXPECT_EQ(deleted, QList<int>{2});
    EXPECT_EQ(Cursor(), std::pair(0, 2));
    EXPECT_EQ(grid().InplaceEditor()->text(), "3");
    Press(Qt::Key_Delete, Qt::ControlModifier);
    Press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid().RowCount(), 2) << "the last data row is emptied, not deleted";
    EXPECT_EQ(Column(0), QStringList{""});

    grid().AutoDelete = false;
    grid().SetCells(0, 1, "abc");
    Press(Qt::Key_End);
    Press(Qt::Key_Left);
    Press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid().Cells(0, 1), "ab") << "without AutoDelete the key is the editor's";
}

TEST_F(Grid, InsertAddsAnEmptyRowAtTheCurrentOne) {
    Fill({{"1", "Ane"}, {"2", "Bo"}});
    grid().AutoInsert = true;
    grid().StartColumnAtNewLine = 1;
    grid().SetObjects(0, 2, 1001);
    grid().GotoCell(0, 2, true);
    Press(Qt::Key_Insert);
    EXPECT_EQ(Column(1), (QStringList{"Ane", "", "Bo"}));
    EXPECT_EQ(grid().Objects(0, 3), 1001);
    EXPECT_EQ(Cursor(), std::pair(1, 2));
}

TEST_F(Grid, AToolButtonCommandCommitsTheOpenEditorWithOneCall) {
    QList<QString> leftTexts;
    grid().OnLeaveCell = [&](int col, int row, bool&) { leftTexts << grid().Cells(col, row); };
    grid().OnSelectCell = [&](int col, int row, bool&) {
        grid().SetCells(col, row, grid().Cells(col, row).trimmed());
    };
    bool committed = false;
    QObject::connect(form.Save, &QToolButton::clicked, [&] { committed = grid().CommitCell(); });
    Type(" 7 ");
    QTest::mouseClick(form.Save, Qt::LeftButton);
    Settle();
    EXPECT_TRUE(committed);
    EXPECT_EQ(leftTexts, QList<QString>{" 7 "});
    EXPECT_EQ(grid().InplaceEditor()->text(), "7") << "the cell is entered again";
    EXPECT_FALSE(grid().CellModified(0));
    EXPECT_EQ(QApplication::focusWidget(), grid().InplaceEditor());

    grid().OnLeaveCell = [](int, int, bool& allow) { allow = false; };
    EXPECT_FALSE(grid().CommitCell());
}

TEST_F(Grid, TheGridIsLeftByTabOrClickAndTellsSo) {
    int exits = 0;
    QObject::connect(&grid(), &TExtStringGrid::Exited, [&] { ++exits; });
    Press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.After);
    EXPECT_EQ(exits, 1);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), grid().InplaceEditor());
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.Before) << "Shift+Tab goes on past the grid";
    EXPECT_EQ(exits, 2);
}

TEST_F(Grid, ColumnDescriptionsLayTheGridOut) {
    TExtColumn& klub = grid().Columns().GetItem(2);
    klub.CharCase = "U";
    grid().GotoCell(2, 1, true);
    Type("aik");
    EXPECT_EQ(grid().Cells(2, 1), "AIK");

    TExtColumn& navn = grid().Columns().GetItem(1);
    navn.SetInvisible(true);
    EXPECT_EQ(grid().GetExtColumn(1), &klub);
    EXPECT_EQ(grid().Cells(1, 0), "Klub");
    navn.SetInvisible(false);
    navn.ReadOnly = true; // seen when a cell of the column is entered
    grid().GotoCell(2, 1, true);
    grid().GotoCell(1, 1, true);
    EXPECT_FALSE(grid().InplaceEditor()->isVisible()) << "a read-only column has no editor";
    Type("zz");
    EXPECT_EQ(grid().Cells(1, 1), "");
    EXPECT_EQ(After(Qt::Key_Right), std::pair(2, 1)) << "but the keys still move";

    grid().RemoveColumn(0);
    EXPECT_EQ(grid().Cells(0, 0), "Navn");
    grid().RemoveColumn(0);
    grid().SetCells(0, 1, "x");
    grid().RemoveColumn(0);
    EXPECT_EQ(grid().ColCount(), 1) << "the only column is emptied, not removed";
    EXPECT_EQ(grid().Cells(0, 1), "");
}

TEST_F(Grid, AColumnIsNeverNarrowerThanItsHeading) {
    const QFontMetrics metrics = grid().horizontalHeader()->fontMetrics();
    grid().SetColWidths(0, 10);
    EXPECT_EQ(grid().ColWidths(0), grid().HeadingWidth(0)) << "set narrower than \"Nr\" by the program";
    EXPECT_GT(grid().HeadingWidth(0), metrics.horizontalAdvance("Nr"));
    grid().SetColWidths(1, 300);
    EXPECT_EQ(grid().ColWidths(1), 300) << "a wider width stays";
    grid().SetColWidths(2, 20);
    grid().Columns().GetItem(2).SetText("Startnummer");
    EXPECT_GE(grid().ColWidths(2), metrics.horizontalAdvance("Startnummer")) << "a longer heading widens";
    grid().SetCells(2, 0, "");
    grid().SetColWidths(2, 20);
    EXPECT_EQ(grid().ColWidths(2), 20) << "no heading, no minimum";
}

// ---------------------------------------------------------------- range selection

class RangeGrid : public Grid {
protected:
    void SetUp() override {
        Grid::SetUp();
        Fill({{"1", "Ane", "A"}, {"2", "Bo", "B"}, {"3", "Carl", "C"}, {"4", "Dan", "D"}});
        grid().SetOptions(grid().Options() | TGridOption::goRangeSelect);
        grid().OnSelectionChanged = [this] { ++changes; };
        grid().GotoCell(0, 1, true);
        changes = 0;
    }
    QPoint At(int col, int row) {
        return grid().visualRect(grid().model()->index(row - grid().FixedRows(), col)).center();
    }
    // The mouse moved with its left button held, as a drag delivers it.
    void DragTo(int col, int row) {
        QMouseEvent move(QEvent::MouseMove, At(col, row), grid().viewport()->mapToGlobal(At(col, row)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid().viewport(), &move);
        Settle();
    }
    static TGridRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }

    int changes = 0;
};

TEST_F(RangeGrid, ADragSpansTheCellsFromThePressedOneWhichStaysCurrent) {
    QTest::mousePress(grid().viewport(), Qt::LeftButton, {}, At(1, 2));
    Settle();
    EXPECT_EQ(Cursor(), std::pair(1, 2));
    EXPECT_EQ(grid().Selection(), Rect(1, 2, 1, 2));
    changes = 0;
    DragTo(2, 3);
    DragTo(2, 4);
    DragTo(0, 1);
    QTest::mouseRelease(grid().viewport(), Qt::LeftButton, {}, At(0, 1));
    Settle();
    EXPECT_EQ(grid().Selection(), Rect(0, 1, 1, 2)) << "back over the pressed cell to the other side";
    EXPECT_EQ(Cursor(), std::pair(1, 2));
    EXPECT_EQ(changes, 3) << "every step tells";
    DragTo(2, 4);
    EXPECT_EQ(grid().Selection(), Rect(0, 1, 1, 2)) << "without the button held nothing moves";

    // Shift with a click or an arrow moves the far corner; a plain move makes the current cell the
    // selection again.
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, Qt::ShiftModifier, At(2, 4));
    Settle();
    EXPECT_EQ(grid().Selection(), Rect(1, 2, 2, 4));
    EXPECT_EQ(Cursor(), std::pair(1, 2));
    Press(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(grid().Selection(), Rect(1, 2, 2, 3));
    Press(Qt::Key_Down);
    EXPECT_EQ(grid().Selection(), Rect(1, 3, 1, 3));
    EXPECT_EQ(Cursor(), std::pair(1, 3));
}

TEST_F(RangeGrid, CtrlASelectsEveryCellAndTheSelectionStaysInsideTheGrid) {
    // With no editor open: in an open one Ctrl+A selects its text.
    grid().SetOptions(TGridOption::goRangeSelect);
    grid().GotoCell(1, 2, false);
    grid().setFocus();
    Settle();
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid().Selection(), Rect(0, 1, 2, 4));
    EXPECT_EQ(Cursor(), std::pair(1, 2));
    grid().SetRowCount(3);
    EXPECT_EQ(grid().Selection(), Rect(0, 1, 2, 2)) << "rows taken away leave the selection";
    grid().SetSelection(Rect(5, 9, -3, 0));
    EXPECT_EQ(grid().Selection(), Rect(0, 1, 2, 2));

    // Without the option the selection is the current cell, whatever the mouse does.
    grid().SetOptions(grid().Options() & ~TGridOptions(TGridOption::goRangeSelect));
    grid().SelectAll();
    EXPECT_EQ(grid().Selection(), Rect(1, 2, 1, 2));
}

TEST_F(RangeGrid, OnlyTheCellsThatTakeTypingOpenTheEditor) {
    grid().SetOptions(TGridOption::goEditing | TGridOption::goRangeSelect);
    grid().OnCanEditCell = [](int col, int row) { return col == 1 && row != 3; };
    grid().GotoCell(1, 2, true);
    Type("x");
    EXPECT_EQ(grid().Cells(1, 2), "x") << "the first character typed takes the text's place";
    Type("y");
    EXPECT_EQ(grid().Cells(1, 2), "xy");
    Press(Qt::Key_Down);
    Type("z");
    EXPECT_EQ(grid().Cells(1, 3), "Carl") << "a cell that takes no typing";
    EXPECT_FALSE(grid().InplaceEditor()->isVisible());
    Press(Qt::Key_Right);
    Type("z");
    EXPECT_EQ(grid().Cells(2, 3), "C");
    grid().GotoCell(1, 2, true);
    Press(Qt::Key_F2);
    Type("!");
    EXPECT_EQ(grid().Cells(1, 2), "xy!") << "F2 opens the editor at the end of the text";
}

} // namespace

#include "ExtstrgrTest.moc"

TEST_F(Grid, RemoveRowOnTheOnlyDataRowEmptiesItButKeepsIt) {
    grid().SetRowCount(2);
    grid().SetCells(1, 1, "Ane");
    grid().SetObjects(0, 1, 1007);
    grid().RemoveRow(1);
    EXPECT_EQ(grid().RowCount(), 2);
    EXPECT_EQ(grid().Cells(1, 1), "");
    EXPECT_EQ(grid().Objects(0, 1), 0);
    EXPECT_EQ(grid().Cells(1, 0), "Navn") << "the heading stays";
    Fill({{"1"}, {"2"}, {"3"}});
    grid().RemoveRow(2);
    EXPECT_EQ(Column(0), (QStringList{"1", "3"}));
}

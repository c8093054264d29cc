#pragma once
// The editable table of every editing dialog: a string grid with column descriptions, its own cell
// editor, keys tuned for data entry, events on leaving cells and rows and before deleting, cells bound to
// record fields, and row sorting. Rows and columns are counted as in the grid (fixed ones included): with
// a fixed row the data rows start at 1. Cells live in the grid; the view paints only the visible ones.
#include "foundation/controls/Alignment.h"

#include <QFlags>
#include <QLineEdit>
#include <QList>
#include <QTableView>

#include <functional>
#include <memory>
#include <vector>

class QMenu;
class TExtStringGrid;

// A record field as a cell sees it: the cell's text is stored through it when the cell is left.
class TCellField {
public:
    virtual ~TCellField() = default;
    virtual QString GetAsString() const = 0;
    virtual void SetAsString(const QString& text) = 0;
};

// Binds any field class with GetAsString and SetAsString (the record fields) without the grid knowing it.
template <typename Field>
class TBoundCellField final : public TCellField {
public:
    explicit TBoundCellField(Field& field)
        : field_(field) {}
    QString GetAsString() const override { return field_.GetAsString(); }
    void SetAsString(const QString& text) override { field_.SetAsString(text); }
    Field& Bound() const { return field_; }

private:
    Field& field_;
};

class TExtColumns;

// One column description. Alignment, Text and Invisible re-lay the grid, so they are set through setters.
class TExtColumn {
public:
    explicit TExtColumn(TExtColumns& owner)
        : owner_(owner) {}

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    const QString& Text() const { return text_; }
    void SetText(const QString& text);
    bool Invisible() const { return invisible_; }
    void SetInvisible(bool invisible);
    const QString& DisplayName() const { return text_; }

    QString CharCase; // "U" upper case, "L" lower case, else as typed
    QString FileId;   // free tags tying the column to a record field
    QString FieldId;
    int MaxLength{0}; // 0: no limit
    bool ReadOnly{false};
    bool Tabulator{true}; // Enter (ekEnter) stops here

private:
    TExtColumns& owner_;
    TAlignment alignment_{TAlignment::taLeftJustify};
    QString text_;
    bool invisible_{false};
};

class TExtColumns {
public:
    explicit TExtColumns(TExtStringGrid& grid)
        : grid_(grid) {}

    TExtColumn& Add();
    TExtColumn& GetItem(int index) const;
    int Count() const { return static_cast<int>(items_.size()); }
    void Delete(int index);
    void Move(int from, int to);
    void Clear();
    // Changes between the two re-lay the grid once, at the end.
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

    // The update hook: a whole-collection change (item null) re-lays every column.
    void Changed(const TExtColumn* item);

private:
    TExtStringGrid& grid_;
    std::vector<std::unique_ptr<TExtColumn>> items_;
    int updating_{0};
};

enum class TEnterKeyMovement { ekEnter, ekRightArrow, ekDownArrow };

enum class TColumnPopupOption {
    poEditColumns = 0x1,
    poExtendedSort = 0x2,
    poProperties = 0x4,
    poRemoveColumn = 0x8
};
Q_DECLARE_FLAGS(TColumnPopupOptions, TColumnPopupOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TColumnPopupOptions)

enum class TGridOption {
    goEditing = 0x1,          // cells can be edited
    goAlwaysShowEditor = 0x2, // the editor stands open on the current cell
    goRowSelect = 0x4,        // the whole current row is highlighted
    goColSizing = 0x8,        // the user may resize columns
    goColMoving = 0x10,       // the user may drag columns
    goRangeSelect = 0x20,     // a rectangle of cells is selected by mouse drag, Shift and Ctrl+A
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

// How rows compare in a sort: as text without regard to case (empty first), as integers, as numbers.
enum class TSortKind { Text = 0, Integer = 1, Float = 2 };

enum class TGridDrawState { gdSelected = 0x1, gdFocused = 0x2, gdFixed = 0x4 };
Q_DECLARE_FLAGS(TGridDrawStates, TGridDrawState)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridDrawStates)

// A rectangle of cells, both corners included.
struct TGridRect {
    int Left{0};
    int Top{0};
    int Right{0};
    int Bottom{0};

    bool Contains(int col, int row) const {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
    bool operator==(const TGridRect&) const = default;
};

// What BeforeDrawCell may change before a cell is drawn.
struct TCellCanvas {
    QFont Font;
    QColor FontColor;
    QColor BrushColor;
};

// The editor that stands on the current cell. The grid's moving keys go to the grid; Left and Right
// only at the ends of the text (or with all of it selected).
class TExtInplaceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TExtInplaceEdit(TExtStringGrid& grid);
    QString CharCase; // of the current cell's column

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TExtStringGrid& grid_;
};

class TExtStringGrid : public QTableView {
    Q_OBJECT
public:
    explicit TExtStringGrid(QWidget* parent = nullptr);
    ~TExtStringGrid() override;

    // ---- size and cells
    int ColCount() const { return colCount_; }
    void SetColCount(int count);
    int RowCount() const { return static_cast<int>(rows_.size()); }
    void SetRowCount(int count);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count);
    // 0 or 1: the fixed row is the heading.
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int count);
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);
    // A number kept with the cell: the dialogs keep a record's list index + 1000 here (0: none).
    qintptr Objects(int col, int row) const;
    void SetObjects(int col, int row, qintptr object);
    // A field bound to the cell (the cell's object): written from the cell's text when the cell is left.
    void SetCellField(int col, int row, std::unique_ptr<TCellField> field);
    template <typename Field>
    void BindCellField(int col, int row, Field& field) {
        SetCellField(col, row, std::make_unique<TBoundCellField<Field>>(field));
    }
    TCellField* GetCellField(int col, int row) const;
    int ColWidths(int col) const;
    // A column is given at least the width its heading needs.
    void SetColWidths(int col, int width);
    // The width the heading of a column needs in the fixed row; 0 without one.
    int HeadingWidth(int col) const;
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);
    // Cell changes between the two repaint once, at the end (the layout is suspended meanwhile).
    void BeginUpdate();
    void EndUpdate();

    // ---- current cell
    int Col() const { return col_; }
    int Row() const { return row_; }
    // Moves the current cell as a click would, through the leave and select events; false when refused.
    // What an event raises reaches the caller.
    bool GotoCell(int col, int row, bool scroll);
    // Leaves and enters the current cell again, so its text reaches its bound field and the events; for a
    // command started from a tool button, which takes no focus. False when refused (the reason is shown).
    bool CommitCell();
    bool CellModified(int col) const;
    TExtInplaceEdit* InplaceEditor() const { return editor_; }
    // Closes the editor, also one that always stands open, until the user asks for it again: a click on a
    // cell, a move, or F2. Typing meanwhile goes nowhere, so keys meant for something that has just
    // closed (a dialog opened by a double click) cannot land in a cell.
    void CloseEditor();

    // ---- range selection (goRangeSelect): the current cell is one corner of the selected rectangle,
    // which a move of the current cell shrinks to that cell; without the option it is the current cell.
    TGridRect Selection() const;
    // The rectangle, kept inside the data cells; the current cell stays where it is.
    void SetSelection(const TGridRect& rect);
    // Every data cell.
    void SelectAll();

    // ---- columns
    TExtColumns& Columns() { return *columns_; }
    TExtColumn* GetExtColumn(int col) const;

    // ---- rows and columns
    void ClearRow(int row);
    void ClearRows();
    void ClearColumn(int col);
    void InsertRow(int row);
    // Clears the row, then deletes it unless it is the only data row.
    void RemoveRow(int row);
    // Clears the column; unless it is the only data column, deletes it with its description.
    void RemoveColumn(int col);
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);
    bool IsRowEmpty(int row) const;
    bool IsEmpty() const;

    // ---- sorting: the data rows, by the columns in order, each row with its texts and objects
    void SortRows(TSortKind kind, const QList<int>& columns, bool decending);
    void SortRowsByText(const QList<int>& columns);
    void SortRowsByNumber(const QList<int>& columns);

    bool AutoDelete{false};    // Ctrl+Delete deletes the current row
    bool AutoExtend{false};    // Down past the last row adds one; Up from an empty last row removes it
    bool AutoInsert{false};    // Insert adds a row at the current one
    bool AutoPosCursor{false}; // after a move to the right the caret goes to the end of the text
    int StartColumnAtNewLine{0};
    TEnterKeyMovement EnterKeyMovement{TEnterKeyMovement::ekEnter};
    bool Decending{false};
    QMenu* ColumnPopupMenu{nullptr}; // shown on the heading when set; not owned
    TColumnPopupOptions ColumnPopupOptions;

    std::function<void(int row, bool& allow)> BeforeDelete;
    std::function<void(int row)> AfterDelete;
    std::function<void(int col, int row, bool& allow)> OnLeaveCell;
    std::function<void(int row, bool& allow)> OnLeaveRow;
    // The cell about to become current; its handler may refuse it.
    std::function<void(int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(int col, int row, TGridDrawStates state, TCellCanvas& canvas)> BeforeDrawCell;
    std::function<void(int from, int to)> OnColumnMoved;
    // The selected rectangle changed (every step of a drag tells it).
    std::function<void()> OnSelectionChanged;
    // Whether a cell of an editable column takes typing; every one does when it is not set.
    std::function<bool(int col, int row)> OnCanEditCell;

    virtual bool DoBeforeDelete(int row);
    virtual void DoAfterDelete(int row);
    virtual bool DoLeaveRow(int row);
    // After the event allows it, a bound field takes the cell's text.
    virtual bool DoLeaveCell(int col, int row);

signals:
    // The focus went from the grid to another control of its window.
    void Exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void updateEditorGeometries() override;
    void keyboardSearch(const QString& search) override;

private:
    struct TGridCell {
        QString text;
        qintptr object{0};
        std::unique_ptr<TCellField> field;
    };
    using TGridRow = std::vector<TGridCell>;
    class TModel;
    class TSelection;
    class TDelegate;
    friend class TExtInplaceEdit;
    friend class TExtColumns;

    // A key for the grid, from the grid or its editor; true when the grid took it.
    bool GridKey(QKeyEvent* event);
    // Ctrl+A and Shift with an arrow under range selection; true when taken.
    bool RangeKey(QKeyEvent* event);
    // Re-lays the columns from their descriptions (the collection's update hook).
    void LayoutColumns();
    void SetupColumn(int col);

    // The view's index of a data cell, and the view told of changed cells.
    QModelIndex ViewIndex(int col, int row) const;
    void RowChanged(int row);
    void AllCellsChanged();
    bool IsDataCell(int col, int row) const;
    const TGridCell* CellAt(int col, int row) const;
    TGridCell* CellAt(int col, int row);
    void CellChanged(int col, int row);
    bool IsEditable(int col, int row) const;
    bool IsDrawnSelected(int col, int row) const;
    bool IsRangeSelect() const { return options_.testFlag(TGridOption::goRangeSelect); }
    // The rectangle from the current cell to (col, row), the far corner kept for the next step.
    void ExtendSelection(int col, int row);
    void SetSelectionRect(const TGridRect& rect);
    // The current cell alone.
    void CollapseSelection();
    // The data cell at a point of the viewport, the nearest one when the point lies outside them.
    std::pair<int, int> NearestCell(const QPoint& at) const;
    TCellCanvas DefaultCanvas(int col, int row, TGridDrawStates state) const;

    // The move of the current cell with its events (may raise); the same cell is no move.
    bool SelectCell(int col, int row);
    // The move a click or the view's own keys ask for; a refusal's reason is shown.
    bool ViewMove(int col, int row);
    void SetCurrent(int col, int row, bool scroll);
    // The current cell has been entered: its text remembered, the editor placed on it.
    void EnterCell(bool movedRight);
    void UpdateEditor();
    // The editor takes the current column's case and length.
    void PrepareEditor();
    void KeepCurrentInside();

    bool MoveRight();
    bool MoveLeft();
    bool MoveDown();
    bool MoveUp();
    bool MoveEnter();
    void InsertAtCurrent();
    void DeleteCurrentRow();
    int FirstDataCol() const { return fixedCols_; }
    int DataRowCount() const { return RowCount() - fixedRows_; }
    bool IsEmptyLastRow(int row) const;

    std::unique_ptr<TExtColumns> columns_;
    std::vector<TGridRow> rows_;
    std::vector<int> visibleColumns_; // grid column -> index of its description
    int colCount_{0};
    int fixedCols_{0};
    int fixedRows_{0};
    int col_{0};
    int row_{0};
    QString cellText_; // the current cell's text when it was entered
    TGridRect range_;
    int extentCol_{0}; // the corner of the selection that Shift and a drag move
    int extentRow_{0};
    bool dragging_{false};
    TGridOptions options_;
    int updating_{0};
    bool internalMove_{false};
    bool editorLeftBackwards_{false}; // Shift+Tab in the editor goes on past the grid
    bool focusInside_{false};         // for telling each leave once
    bool editorClosed_{false};        // by CloseEditor, until the user opens it again
    // Children of the grid, which owns them as their Qt parent.
    TModel* model_;
    TSelection* selection_;
    TDelegate* delegate_;
    TExtInplaceEdit* editor_;
};

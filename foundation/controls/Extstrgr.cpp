#include "foundation/controls/Extstrgr.h"

#include "foundation/LxClass.h"
#include "foundation/LxString.h"
#include "foundation/controls/MsgForm.h"
#include "foundation/controls/RvkForms.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCollator>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScopeGuard>
#include <QStyledItemDelegate>

#include <algorithm>
#include <numeric>

namespace {

constexpr int DefaultColCount = 5;
constexpr int DefaultRowCount = 5;
constexpr int DefaultColWidth = 64;
constexpr int LaidOutColWidth = 50; // a column the descriptions add
constexpr int DefaultRowHeightPixels = 24;
constexpr int CellTextMargin = 2;

Qt::KeyboardModifiers Modifiers(const QKeyEvent* event) {
    return event->modifiers() & ~Qt::KeypadModifier;
}

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QString WithCharCase(const QString& text, const QString& charCase) {
    if (charCase == QStringLiteral("U"))
        return text.toUpper();
    if (charCase == QStringLiteral("L"))
        return text.toLower();
    return text;
}

} // namespace

// ---------------------------------------------------------------- columns

void TExtColumn::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    owner_.Changed(this);
}

void TExtColumn::SetText(const QString& text) {
    text_ = text;
    owner_.Changed(this);
}

void TExtColumn::SetInvisible(bool invisible) {
    invisible_ = invisible;
    owner_.Changed(nullptr);
}

TExtColumn& TExtColumns::Add() {
    items_.push_back(std::make_unique<TExtColumn>(*this));
    Changed(nullptr);
    return *items_.back();
}

TExtColumn& TExtColumns::GetItem(int index) const {
    if (index < 0 || index >= Count())
        RaiseListIndexError(index);
    return *items_[static_cast<std::size_t>(index)];
}

void TExtColumns::Delete(int index) {
    GetItem(index);
    items_.erase(items_.begin() + index);
    Changed(nullptr);
}

void TExtColumns::Move(int from, int to) {
    GetItem(from);
    GetItem(to);
    auto item = std::move(items_[static_cast<std::size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
    Changed(nullptr);
}

void TExtColumns::Clear() {
    items_.clear();
    Changed(nullptr);
}

void TExtColumns::EndUpdate() {
    if (updating_ > 0 && --updating_ == 0)
        Changed(nullptr);
}

void TExtColumns::Changed(const TExtColumn* item) {
    if (updating_ > 0)
        return;
    if (!item) {
        grid_.LayoutColumns();
        return;
    }
    for (int col = 0; col < grid_.ColCount(); ++col)
        if (grid_.GetExtColumn(col) == item)
            grid_.SetupColumn(col);
}

// ---------------------------------------------------------------- the view's parts

// The cells as the view sees them: data rows only, the fixed row being the heading.
class TExtStringGrid::TModel : public QAbstractTableModel {
public:
    explicit TModel(TExtStringGrid& grid)
        : QAbstractTableModel(&grid)
        , grid_(grid) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : grid_.DataRowCount();
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : grid_.colCount_;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const int col = index.column();
        if (role == Qt::DisplayRole)
            return grid_.rows_[static_cast<std::size_t>(index.row() + grid_.fixedRows_)][col].text;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(CellAlignment(col));
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || grid_.fixedRows_ == 0 || section >= grid_.colCount_)
            return {};
        if (role == Qt::DisplayRole)
            return grid_.rows_[0][section].text;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (index.column() < grid_.fixedCols_)
            return Qt::ItemIsEnabled;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }
    Qt::Alignment CellAlignment(int col) const {
        const TExtColumn* column = grid_.GetExtColumn(col);
        return HorizontalAlignment(column ? column->Alignment() : TAlignment::taLeftJustify) |
               Qt::AlignVCenter;
    }
    void AllChanged() {
        if (rowCount({}) > 0 && columnCount({}) > 0)
            emit dataChanged(index(0, 0), index(rowCount({}) - 1, columnCount({}) - 1));
        if (columnCount({}) > 0)
            emit headerDataChanged(Qt::Horizontal, 0, columnCount({}) - 1);
    }

    using QAbstractTableModel::beginInsertColumns;
    using QAbstractTableModel::beginInsertRows;
    using QAbstractTableModel::beginRemoveColumns;
    using QAbstractTableModel::beginRemoveRows;
    using QAbstractTableModel::beginResetModel;
    using QAbstractTableModel::endInsertColumns;
    using QAbstractTableModel::endInsertRows;
    using QAbstractTableModel::endRemoveColumns;
    using QAbstractTableModel::endRemoveRows;
    using QAbstractTableModel::endResetModel;

private:
    TExtStringGrid& grid_;
};

// Every move of the current cell the view makes (clicks, page keys) goes through the grid's events.
class TExtStringGrid::TSelection : public QItemSelectionModel {
public:
    TSelection(TExtStringGrid& grid, QAbstractItemModel* model)
        : QItemSelectionModel(model, &grid)
        , grid_(grid) {}

    void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override {
        if (grid_.internalMove_)
            QItemSelectionModel::setCurrentIndex(index, command);
        else if (index.isValid())
            grid_.ViewMove(index.column(), index.row() + grid_.fixedRows_);
    }

private:
    TExtStringGrid& grid_;
};

// Draws a cell as BeforeDrawCell leaves the canvas: background, then the text in its column's alignment.
class TExtStringGrid::TDelegate : public QStyledItemDelegate {
public:
    explicit TDelegate(TExtStringGrid& grid)
        : QStyledItemDelegate(&grid)
        , grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int col = index.column();
        const int row = index.row() + grid_.fixedRows_;
        TGridDrawStates state;
        if (col < grid_.fixedCols_)
            state |= TGridDrawState::gdFixed;
        if (grid_.IsDrawnSelected(col, row))
            state |= TGridDrawState::gdSelected;
        if (col == grid_.col_ && row == grid_.row_)
            state |= TGridDrawState::gdFocused;
        TCellCanvas canvas = grid_.DefaultCanvas(col, row, state);
        canvas.Font = option.font;
        if (grid_.BeforeDrawCell)
            grid_.BeforeDrawCell(col, row, state, canvas);
        painter->save();
        painter->fillRect(option.rect, canvas.BrushColor);
        painter->setFont(canvas.Font);
        painter->setPen(canvas.FontColor);
        painter->drawText(option.rect.adjusted(CellTextMargin, 0, -CellTextMargin, 0),
                          static_cast<int>(grid_.model_->CellAlignment(col)), grid_.Cells(col, row));
        painter->restore();
    }

private:
    TExtStringGrid& grid_;
};

// ---------------------------------------------------------------- editor

TExtInplaceEdit::TExtInplaceEdit(TExtStringGrid& grid)
    : QLineEdit(grid.viewport())
    , grid_(grid) {
    setFrame(false);
    // Reached through the grid, never by Tab on its own.
    setFocusPolicy(Qt::ClickFocus);
    hide();
}

void TExtInplaceEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = Modifiers(event);
    bool gridKey = false;
    if (modifiers == Qt::NoModifier) {
        const bool allSelected = hasSelectedText() && selectedText().size() == text().size();
        switch (key) {
        case Qt::Key_Left:
            gridKey = allSelected || (!hasSelectedText() && cursorPosition() == 0);
            break;
        case Qt::Key_Right:
            gridKey = allSelected || (!hasSelectedText() && cursorPosition() == text().size());
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Insert:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            gridKey = true;
            break;
        default:
            break;
        }
    } else if (modifiers == Qt::ControlModifier && key == Qt::Key_Delete) {
        gridKey = grid_.AutoDelete;
    }
    if (!gridKey) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (grid_.GridKey(event))
        event->accept();
    else
        event->ignore(); // on to the grid's own handling through the parent chain
}

void TExtInplaceEdit::focusOutEvent(QFocusEvent* event) {
    grid_.editorLeftBackwards_ = event->reason() == Qt::BacktabFocusReason;
    QLineEdit::focusOutEvent(event);
}

// ---------------------------------------------------------------- grid

TExtStringGrid::TExtStringGrid(QWidget* parent)
    : QTableView(parent)
    , columns_(std::make_unique<TExtColumns>(*this))
    , options_(TGridOption::goEditing | TGridOption::goAlwaysShowEditor | TGridOption::goColSizing)
    , model_(new TModel(*this))
    , selection_(nullptr)
    , delegate_(new TDelegate(*this))
    , editor_(nullptr) {
    rows_.resize(DefaultRowCount);
    for (TGridRow& cells : rows_)
        cells.resize(DefaultColCount);
    colCount_ = DefaultColCount;
    fixedCols_ = 1;
    fixedRows_ = 1;
    col_ = 1;
    row_ = 1;

    setModel(model_);
    selection_ = new TSelection(*this, model_);
    setSelectionModel(selection_);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(DefaultRowHeightPixels);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(DefaultColWidth);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(horizontalHeader(), &QHeaderView::customContextMenuRequested, this, [this](const QPoint& at) {
        if (ColumnPopupMenu)
            ColumnPopupMenu->popup(horizontalHeader()->mapToGlobal(at));
    });
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
        // The data moves, not just the view: put the section back and move the column.
        const QSignalBlocker blocker(horizontalHeader());
        horizontalHeader()->moveSection(to, from);
        MoveColumn(from, to);
        if (OnColumnMoved)
            OnColumnMoved(from, to);
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { updateEditorGeometries(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        // Told once per leave, also when the focus passes through the grid on its way elsewhere.
        if (!now)
            return;
        if (now == this || isAncestorOf(now)) {
            focusInside_ = true;
        } else if (focusInside_ && now->window() == window()) {
            focusInside_ = false;
            emit Exited();
        }
    });

    editor_ = new TExtInplaceEdit(*this);
    connect(editor_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        const QString text = WithCharCase(typed, editor_->CharCase);
        if (text != typed) {
            const int position = editor_->cursorPosition();
            editor_->setText(text);
            editor_->setCursorPosition(position);
        }
        if (IsDataCell(col_, row_)) {
            CellAt(col_, row_)->text = text;
            CellChanged(col_, row_);
        }
    });
    SetOptions(options_);
    SetCurrent(col_, row_, false);
}

TExtStringGrid::~TExtStringGrid() = default;

// ---- size and cells

bool TExtStringGrid::IsDataCell(int col, int row) const {
    return col >= fixedCols_ && col < colCount_ && row >= fixedRows_ && row < RowCount();
}

const TExtStringGrid::TGridCell* TExtStringGrid::CellAt(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount())
        return nullptr;
    return &rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

TExtStringGrid::TGridCell* TExtStringGrid::CellAt(int col, int row) {
    return const_cast<TGridCell*>(std::as_const(*this).CellAt(col, row));
}

void TExtStringGrid::CellChanged(int col, int row) {
    if (col == col_ && row == row_ && editor_->text() != Cells(col, row))
        editor_->setText(Cells(col, row));
    if (updating_ > 0)
        return;
    if (row < fixedRows_)
        emit model_->headerDataChanged(Qt::Horizontal, col, col);
    else
        emit model_->dataChanged(model_->index(row - fixedRows_, col), model_->index(row - fixedRows_, col));
}

void TExtStringGrid::SetColCount(int count) {
    count = std::max(count, 0);
    if (count == colCount_)
        return;
    if (count > colCount_) {
        model_->beginInsertColumns({}, colCount_, count - 1);
        colCount_ = count;
        for (TGridRow& cells : rows_)
            cells.resize(static_cast<std::size_t>(count));
        model_->endInsertColumns();
    } else {
        model_->beginRemoveColumns({}, count, colCount_ - 1);
        colCount_ = count;
        for (TGridRow& cells : rows_)
            cells.resize(static_cast<std::size_t>(count));
        model_->endRemoveColumns();
    }
    fixedCols_ = std::min(fixedCols_, std::max(colCount_ - 1, 0));
    KeepCurrentInside();
}

void TExtStringGrid::SetRowCount(int count) {
    count = std::max(count, fixedRows_ + 1);
    const int old = RowCount();
    if (count == old)
        return;
    if (count > old) {
        model_->beginInsertRows({}, old - fixedRows_, count - fixedRows_ - 1);
        rows_.resize(static_cast<std::size_t>(count));
        for (int row = old; row < count; ++row)
            rows_[static_cast<std::size_t>(row)].resize(static_cast<std::size_t>(colCount_));
        model_->endInsertRows();
    } else {
        model_->beginRemoveRows({}, count - fixedRows_, old - fixedRows_ - 1);
        rows_.resize(static_cast<std::size_t>(count));
        model_->endRemoveRows();
    }
    KeepCurrentInside();
}

void TExtStringGrid::SetFixedCols(int count) {
    fixedCols_ = std::clamp(count, 0, std::max(colCount_ - 1, 0));
    model_->AllChanged();
    KeepCurrentInside();
}

void TExtStringGrid::SetFixedRows(int count) {
    count = std::clamp(count, 0, 1);
    if (count == fixedRows_)
        return;
    model_->beginResetModel();
    if (count > fixedRows_) {
        rows_.insert(rows_.begin(), TGridRow(static_cast<std::size_t>(colCount_)));
        ++row_;
    } else {
        rows_.erase(rows_.begin());
        row_ = std::max(row_ - 1, 0);
    }
    fixedRows_ = count;
    if (rows_.size() <= static_cast<std::size_t>(fixedRows_))
        rows_.emplace_back(static_cast<std::size_t>(colCount_));
    model_->endResetModel();
    horizontalHeader()->setVisible(fixedRows_ > 0);
    LayoutColumns();
    KeepCurrentInside();
}

QString TExtStringGrid::Cells(int col, int row) const {
    const TGridCell* cell = CellAt(col, row);
    return cell ? cell->text : QString();
}

void TExtStringGrid::SetCells(int col, int row, const QString& text) {
    TGridCell* cell = CellAt(col, row);
    if (!cell)
        RaiseListIndexError(std::max(col, row));
    cell->text = text;
    CellChanged(col, row);
}

qintptr TExtStringGrid::Objects(int col, int row) const {
    const TGridCell* cell = CellAt(col, row);
    return cell ? cell->object : 0;
}

void TExtStringGrid::SetObjects(int col, int row, qintptr object) {
    TGridCell* cell = CellAt(col, row);
    if (!cell)
        RaiseListIndexError(std::max(col, row));
    cell->object = object;
    cell->field.reset();
}

void TExtStringGrid::SetCellField(int col, int row, std::unique_ptr<TCellField> field) {
    TGridCell* cell = CellAt(col, row);
    if (!cell)
        RaiseListIndexError(std::max(col, row));
    cell->object = 0;
    cell->field = std::move(field);
}

TCellField* TExtStringGrid::GetCellField(int col, int row) const {
    const TGridCell* cell = CellAt(col, row);
    return cell ? cell->field.get() : nullptr;
}

int TExtStringGrid::ColWidths(int col) const {
    return horizontalHeader()->sectionSize(col);
}

void TExtStringGrid::SetColWidths(int col, int width) {
    horizontalHeader()->resizeSection(col, width);
}

int TExtStringGrid::DefaultRowHeight() const {
    return verticalHeader()->defaultSectionSize();
}

void TExtStringGrid::SetDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height);
}

void TExtStringGrid::SetOptions(TGridOptions options) {
    options_ = options;
    horizontalHeader()->setSectionResizeMode(
        options.testFlag(TGridOption::goColSizing) ? QHeaderView::Interactive : QHeaderView::Fixed);
    horizontalHeader()->setSectionsMovable(options.testFlag(TGridOption::goColMoving));
    UpdateEditor();
    viewport()->update();
}

void TExtStringGrid::BeginUpdate() {
    ++updating_;
}

void TExtStringGrid::EndUpdate() {
    if (updating_ > 0 && --updating_ == 0)
        model_->AllChanged();
}

// ---- current cell

void TExtStringGrid::SetCurrent(int col, int row, bool scroll) {
    col_ = col;
    row_ = row;
    if (!IsDataCell(col, row)) {
        UpdateEditor();
        return;
    }
    const QModelIndex index = model_->index(row - fixedRows_, col);
    internalMove_ = true;
    selection_->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    internalMove_ = false;
    if (scroll)
        scrollTo(index);
    viewport()->update();
}

void TExtStringGrid::KeepCurrentInside() {
    const int col = std::clamp(col_, fixedCols_, std::max(colCount_ - 1, fixedCols_));
    const int row = std::clamp(row_, fixedRows_, std::max(RowCount() - 1, fixedRows_));
    SetCurrent(col, row, false);
    UpdateEditor();
}

bool TExtStringGrid::IsEditable(int col) const {
    const TExtColumn* column = GetExtColumn(col);
    return col >= fixedCols_ && col < colCount_ && !(column && column->ReadOnly);
}

void TExtStringGrid::UpdateEditor() {
    if (!editor_)
        return;
    const bool shown = options_.testFlag(TGridOption::goEditing) &&
                       options_.testFlag(TGridOption::goAlwaysShowEditor) && isEnabled() &&
                       IsDataCell(col_, row_) && IsEditable(col_);
    if (!shown) {
        const bool hadFocus = editor_->hasFocus();
        editor_->hide();
        if (hadFocus)
            setFocus(Qt::OtherFocusReason);
        return;
    }
    const TExtColumn* column = GetExtColumn(col_);
    editor_->CharCase = column ? column->CharCase : QString();
    editor_->setMaxLength(column && column->MaxLength > 0 ? column->MaxLength : 32767);
    editor_->setAlignment(model_->CellAlignment(col_));
    if (editor_->text() != Cells(col_, row_))
        editor_->setText(Cells(col_, row_));
    updateEditorGeometries();
    editor_->show();
    if (hasFocus())
        editor_->setFocus(Qt::OtherFocusReason);
}

void TExtStringGrid::updateEditorGeometries() {
    QTableView::updateEditorGeometries();
    if (editor_ && IsDataCell(col_, row_))
        editor_->setGeometry(visualRect(model_->index(row_ - fixedRows_, col_)));
}

void TExtStringGrid::EnterCell(bool movedRight) {
    cellText_ = Cells(col_, row_);
    UpdateEditor();
    if (AutoPosCursor && movedRight) {
        editor_->deselect();
        editor_->end(false);
    } else {
        editor_->selectAll();
    }
}

bool TExtStringGrid::SelectCell(int col, int row) {
    if (col == col_ && row == row_)
        return true;
    if (!IsDataCell(col, row))
        return false;
    if (IsDataCell(col_, row_)) {
        if (row != row_ && !DoLeaveRow(row_))
            return false;
        if (!DoLeaveCell(col_, row_))
            return false;
    }
    bool canSelect = true;
    if (OnSelectCell)
        OnSelectCell(col, row, canSelect);
    if (!canSelect || !IsDataCell(col, row))
        return false;
    const bool movedRight = row == row_ && col > col_;
    SetCurrent(col, row, true);
    EnterCell(movedRight);
    return true;
}

bool TExtStringGrid::ViewMove(int col, int row) {
    return Guarded(this, [&] { return SelectCell(col, row); });
}

bool TExtStringGrid::GotoCell(int col, int row, bool scroll) {
    if (!SelectCell(col, row))
        return false;
    if (scroll)
        scrollTo(model_->index(row_ - fixedRows_, col_));
    return true;
}

bool TExtStringGrid::CommitCell() {
    return Guarded(this, [this] {
        if (!IsDataCell(col_, row_))
            return true;
        if (!DoLeaveCell(col_, row_))
            return false;
        bool canSelect = true;
        if (OnSelectCell)
            OnSelectCell(col_, row_, canSelect);
        EnterCell(false);
        return true;
    });
}

bool TExtStringGrid::CellModified(int col) const {
    return Cells(col, row_) != cellText_;
}

bool TExtStringGrid::DoBeforeDelete(int row) {
    bool allow = true;
    if (BeforeDelete)
        BeforeDelete(row, allow);
    return allow;
}

void TExtStringGrid::DoAfterDelete(int row) {
    if (AfterDelete)
        AfterDelete(row);
}

bool TExtStringGrid::DoLeaveRow(int row) {
    bool allow = true;
    if (OnLeaveRow)
        OnLeaveRow(row, allow);
    return allow;
}

bool TExtStringGrid::DoLeaveCell(int col, int row) {
    bool allow = true;
    if (OnLeaveCell)
        OnLeaveCell(col, row, allow);
    if (allow)
        if (TCellField* field = GetCellField(col, row))
            field->SetAsString(Cells(col, row));
    return allow;
}

// ---- columns

TExtColumn* TExtStringGrid::GetExtColumn(int col) const {
    if (col < 0 || col >= static_cast<int>(visibleColumns_.size()))
        return nullptr;
    return &columns_->GetItem(visibleColumns_[static_cast<std::size_t>(col)]);
}

void TExtStringGrid::LayoutColumns() {
    if (columns_->Count() == 0) {
        visibleColumns_.clear();
        return;
    }
    visibleColumns_.clear();
    for (int index = 0; index < columns_->Count(); ++index)
        if (!columns_->GetItem(index).Invisible())
            visibleColumns_.push_back(index);
    const int old = colCount_;
    SetColCount(static_cast<int>(visibleColumns_.size()));
    for (int col = old; col < colCount_; ++col)
        SetColWidths(col, LaidOutColWidth);
    for (int col = 0; col < colCount_; ++col)
        SetupColumn(col);
}

void TExtStringGrid::SetupColumn(int col) {
    const TExtColumn* column = GetExtColumn(col);
    if (!column)
        return;
    if (fixedRows_ > 0 && rows_[0][static_cast<std::size_t>(col)].text != column->Text()) {
        rows_[0][static_cast<std::size_t>(col)].text = column->Text();
        CellChanged(col, 0);
    }
    if (col == col_)
        UpdateEditor();
    viewport()->update();
}

// ---- rows and columns

void TExtStringGrid::ClearRow(int row) {
    if (row < 0 || row >= RowCount())
        RaiseListIndexError(row);
    for (TGridCell& cell : rows_[static_cast<std::size_t>(row)]) {
        cell.text.clear();
        cell.object = 0;
        cell.field.reset();
    }
    if (row >= fixedRows_ && !updating_)
        emit model_->dataChanged(model_->index(row - fixedRows_, 0),
                                 model_->index(row - fixedRows_, std::max(colCount_ - 1, 0)));
    if (row == row_)
        UpdateEditor();
}

void TExtStringGrid::ClearRows() {
    BeginUpdate();
    for (int row = fixedRows_; row < RowCount(); ++row)
        ClearRow(row);
    EndUpdate();
}

void TExtStringGrid::ClearColumn(int col) {
    BeginUpdate();
    for (int row = fixedRows_; row < RowCount(); ++row) {
        TGridCell* cell = CellAt(col, row);
        if (!cell)
            RaiseListIndexError(col);
        cell->text.clear();
        cell->object = 0;
        cell->field.reset();
    }
    EndUpdate();
    UpdateEditor();
}

void TExtStringGrid::InsertRow(int row) {
    row = std::clamp(row, fixedRows_, RowCount());
    model_->beginInsertRows({}, row - fixedRows_, row - fixedRows_);
    rows_.insert(rows_.begin() + row, TGridRow(static_cast<std::size_t>(colCount_)));
    model_->endInsertRows();
    KeepCurrentInside();
}

void TExtStringGrid::RemoveRow(int row) {
    ClearRow(row);
    if (row < fixedRows_ || DataRowCount() <= 1)
        return;
    model_->beginRemoveRows({}, row - fixedRows_, row - fixedRows_);
    rows_.erase(rows_.begin() + row);
    model_->endRemoveRows();
    KeepCurrentInside();
}

void TExtStringGrid::RemoveColumn(int col) {
    ClearColumn(col);
    if (col < fixedCols_ || colCount_ - fixedCols_ <= 1)
        return;
    MoveColumn(col, colCount_ - 1);
    if (!visibleColumns_.empty()) {
        // The description goes, and the layout takes the column away with it.
        columns_->Delete(visibleColumns_.back());
    } else {
        SetColCount(colCount_ - 1);
    }
}

void TExtStringGrid::MoveRow(int from, int to) {
    if (from < fixedRows_ || from >= RowCount() || to < fixedRows_ || to >= RowCount())
        RaiseListIndexError(std::max(from, to));
    if (from == to)
        return;
    TGridRow moved = std::move(rows_[static_cast<std::size_t>(from)]);
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, std::move(moved));
    model_->AllChanged();
    UpdateEditor();
}

void TExtStringGrid::MoveColumn(int from, int to) {
    if (from < 0 || from >= colCount_ || to < 0 || to >= colCount_)
        RaiseListIndexError(std::max(from, to));
    if (from == to)
        return;
    for (TGridRow& cells : rows_) {
        TGridCell moved = std::move(cells[static_cast<std::size_t>(from)]);
        cells.erase(cells.begin() + from);
        cells.insert(cells.begin() + to, std::move(moved));
    }
    std::vector<int> widths;
    for (int col = 0; col < colCount_; ++col)
        widths.push_back(ColWidths(col));
    const int width = widths[static_cast<std::size_t>(from)];
    widths.erase(widths.begin() + from);
    widths.insert(widths.begin() + to, width);
    if (!visibleColumns_.empty()) {
        columns_->BeginUpdate();
        columns_->Move(visibleColumns_[static_cast<std::size_t>(from)],
                       visibleColumns_[static_cast<std::size_t>(to)]);
        columns_->EndUpdate();
    }
    for (int col = 0; col < colCount_; ++col)
        SetColWidths(col, widths[static_cast<std::size_t>(col)]);
    model_->AllChanged();
    UpdateEditor();
}

bool TExtStringGrid::IsRowEmpty(int row) const {
    for (int col = fixedCols_; col < colCount_; ++col)
        if (!TrimBlanks(Cells(col, row)).isEmpty())
            return false;
    return true;
}

bool TExtStringGrid::IsEmpty() const {
    for (int row = fixedRows_; row < RowCount(); ++row)
        if (!IsRowEmpty(row))
            return false;
    return true;
}

bool TExtStringGrid::IsEmptyLastRow(int row) const {
    return row == RowCount() - 1 && DataRowCount() > 1 && IsRowEmpty(row);
}

// ---- sorting

namespace {

// One row's keys in the sort columns, made once so that the sort only compares them.
struct TRowKeys {
    std::vector<QCollatorSortKey> texts;
    std::vector<bool> blank;
    std::vector<double> numbers;
};

qint64 IntegerOrZero(const QString& text) {
    bool ok = false;
    const qint64 value = TrimBlanks(text).toLongLong(&ok);
    return ok && value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max()
               ? value
               : 0;
}

} // namespace

void TExtStringGrid::SortRows(TSortKind kind, const QList<int>& columns, bool decending) {
    const int count = DataRowCount();
    if (count < 2 || columns.isEmpty())
        return;
    for (int col : columns)
        if (col < 0 || col >= colCount_)
            RaiseListIndexError(col);
    QCollator collator{QLocale(QLocale::Danish, QLocale::Denmark)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<TRowKeys> keys(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        TRowKeys& key = keys[static_cast<std::size_t>(i)];
        for (int col : columns) {
            const QString& text =
                rows_[static_cast<std::size_t>(i + fixedRows_)][static_cast<std::size_t>(col)].text;
            switch (kind) {
            case TSortKind::Text:
                key.texts.push_back(collator.sortKey(text));
                key.blank.push_back(TrimBlanks(text).isEmpty());
                break;
            case TSortKind::Integer:
                key.numbers.push_back(static_cast<double>(IntegerOrZero(text)));
                break;
            case TSortKind::Float:
                key.numbers.push_back(CommaStrToFloatDef(TrimBlanks(text), 0));
                break;
            }
        }
    }
    const auto compare = [&](const TRowKeys& a, const TRowKeys& b) {
        for (std::size_t c = 0; c < static_cast<std::size_t>(columns.size()); ++c) {
            int result = 0;
            if (kind == TSortKind::Text) {
                result = a.blank[c] != b.blank[c] ? (a.blank[c] ? -1 : 1) : a.texts[c].compare(b.texts[c]);
            } else {
                result = (a.numbers[c] > b.numbers[c]) - (a.numbers[c] < b.numbers[c]);
            }
            if (result != 0)
                return decending ? -result : result;
        }
        return 0;
    };
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return compare(keys[static_cast<std::size_t>(a)], keys[static_cast<std::size_t>(b)]) < 0;
    });
    // Whole rows move, so every cell keeps its object and bound field with its text.
    std::vector<TGridRow> sorted;
    sorted.reserve(static_cast<std::size_t>(count));
    for (int index : order)
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(index + fixedRows_)]));
    std::move(sorted.begin(), sorted.end(), rows_.begin() + fixedRows_);
    model_->AllChanged();
    EnterCell(false);
}

void TExtStringGrid::SortRowsByText(const QList<int>& columns) {
    SortRows(TSortKind::Text, columns, Decending);
}

void TExtStringGrid::SortRowsByNumber(const QList<int>& columns) {
    SortRows(TSortKind::Float, columns, Decending);
}

// ---- drawing

bool TExtStringGrid::IsDrawnSelected(int col, int row) const {
    return IsDataCell(col, row) && row == row_ &&
           (col == col_ || options_.testFlag(TGridOption::goRowSelect));
}

TCellCanvas TExtStringGrid::DefaultCanvas(int, int, TGridDrawStates state) const {
    TCellCanvas canvas;
    canvas.Font = font();
    if (state.testFlag(TGridDrawState::gdFixed)) {
        canvas.BrushColor = palette().color(QPalette::Button);
        canvas.FontColor = palette().color(QPalette::ButtonText);
    } else if (state.testFlag(TGridDrawState::gdSelected)) {
        canvas.BrushColor = palette().color(QPalette::Highlight);
        canvas.FontColor = palette().color(QPalette::HighlightedText);
    } else {
        canvas.BrushColor = palette().color(QPalette::Base);
        canvas.FontColor = palette().color(QPalette::Text);
    }
    return canvas;
}

// ---- keys

void TExtStringGrid::keyPressEvent(QKeyEvent* event) {
    if (GridKey(event)) {
        event->accept();
        return;
    }
    // A character typed while the editor is closed opens it and goes into it.
    const QString typed = event->text();
    if (options_.testFlag(TGridOption::goEditing) && IsDataCell(col_, row_) && IsEditable(col_) &&
        (event->key() == Qt::Key_F2 ||
         (typed.size() == 1 && typed.at(0).isPrint() && !(Modifiers(event) & ~Qt::ShiftModifier)))) {
        const TExtColumn* column = GetExtColumn(col_);
        editor_->CharCase = column ? column->CharCase : QString();
        editor_->setText(Cells(col_, row_));
        updateEditorGeometries();
        editor_->show();
        editor_->setFocus(Qt::OtherFocusReason);
        if (event->key() == Qt::Key_F2)
            editor_->end(false);
        else
            QApplication::sendEvent(editor_, event);
        return;
    }
    QTableView::keyPressEvent(event);
}

void TExtStringGrid::keyboardSearch(const QString&) {
    // typed characters are cell text, never a search
}

void TExtStringGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (event->reason() == Qt::BacktabFocusReason && std::exchange(editorLeftBackwards_, false)) {
        focusNextPrevChild(false);
        return;
    }
    if (editor_->isVisible())
        editor_->setFocus(event->reason());
}

bool TExtStringGrid::GridKey(QKeyEvent* event) {
    if (!options_.testFlag(TGridOption::goEditing))
        return false;
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = Modifiers(event);
    std::function<void()> action;
    if (key == Qt::Key_Delete && modifiers == Qt::ControlModifier && AutoDelete)
        action = [this] { DeleteCurrentRow(); };
    else if (modifiers != Qt::NoModifier)
        return false;
    else if (key == Qt::Key_Right)
        action = [this] { MoveRight(); };
    else if (key == Qt::Key_Left)
        action = [this] { MoveLeft(); };
    else if (key == Qt::Key_Down)
        action = [this] { MoveDown(); };
    else if (key == Qt::Key_Up)
        action = [this] { MoveUp(); };
    else if (IsEnterKey(key))
        action = [this] { MoveEnter(); };
    else if (key == Qt::Key_Insert && AutoInsert)
        action = [this] { InsertAtCurrent(); };
    else
        return false;
    const int col = col_;
    const int row = row_;
    const int rows = RowCount();
    Guarded(this, [&] {
        action();
        return true;
    });
    if (col != col_ || row != row_ || rows != RowCount())
        TStdFormBehaviour::PostToForm(this, &TStdFormBehaviour::GridMoved);
    return true;
}

bool TExtStringGrid::MoveRight() {
    if (col_ < colCount_ - 1)
        return SelectCell(col_ + 1, row_);
    if (row_ < RowCount() - 1)
        return SelectCell(FirstDataCol(), row_ + 1);
    return MoveDown(); // past the last cell: as Down, which may add a row
}

bool TExtStringGrid::MoveLeft() {
    if (col_ > FirstDataCol())
        return SelectCell(col_ - 1, row_);
    if (row_ <= fixedRows_)
        return false;
    const int left = row_;
    const bool drop = AutoExtend && IsEmptyLastRow(left);
    if (!SelectCell(colCount_ - 1, row_ - 1))
        return false;
    if (drop)
        RemoveRow(left);
    return true;
}

bool TExtStringGrid::MoveDown() {
    if (!(AutoExtend && row_ == RowCount() - 1))
        return row_ < RowCount() - 1 && SelectCell(col_, row_ + 1);
    if (IsRowEmpty(row_))
        return false;
    SetRowCount(RowCount() + 1);
    bool moved = false;
    // A refused move (or a failing event) takes the new row away again.
    const auto undo = qScopeGuard([&] {
        if (!moved)
            SetRowCount(RowCount() - 1);
    });
    moved = SelectCell(std::clamp(StartColumnAtNewLine, FirstDataCol(), colCount_ - 1), RowCount() - 1);
    return moved;
}

bool TExtStringGrid::MoveUp() {
    if (row_ <= fixedRows_)
        return false;
    const int left = row_;
    const bool drop = AutoExtend && IsEmptyLastRow(left);
    if (!SelectCell(col_, row_ - 1))
        return false;
    if (drop)
        RemoveRow(left);
    return true;
}

bool TExtStringGrid::MoveEnter() {
    switch (EnterKeyMovement) {
    case TEnterKeyMovement::ekRightArrow:
        return MoveRight();
    case TEnterKeyMovement::ekDownArrow:
        return MoveDown();
    case TEnterKeyMovement::ekEnter:
        break;
    }
    for (int col = col_ + 1; col < colCount_; ++col) {
        const TExtColumn* column = GetExtColumn(col);
        if (!column || column->Tabulator)
            return SelectCell(col, row_);
    }
    if (row_ < RowCount() - 1)
        return SelectCell(std::clamp(StartColumnAtNewLine, FirstDataCol(), colCount_ - 1), row_ + 1);
    return MoveDown();
}

void TExtStringGrid::InsertAtCurrent() {
    if (!DoLeaveRow(row_) || !DoLeaveCell(col_, row_))
        return;
    InsertRow(row_);
    SetCurrent(std::clamp(StartColumnAtNewLine, FirstDataCol(), colCount_ - 1), row_, true);
    EnterCell(false);
}

void TExtStringGrid::DeleteCurrentRow() {
    const int row = row_;
    if (!DoBeforeDelete(row))
        return;
    RemoveRow(row);
    EnterCell(false);
    DoAfterDelete(row);
}

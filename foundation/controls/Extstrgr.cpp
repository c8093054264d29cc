#include "foundation/controls/Extstrgr.h"

#include "foundation/LxClass.h"
#include "foundation/controls/MsgForm.h"
#include "foundation/controls/RvkForms.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int DefaultColCount = 5;
constexpr int DefaultRowCount = 5;
constexpr int DefaultColWidth = 64;
constexpr int DefaultRowHeightPixels = 24;
constexpr int CellTextMargin = 2;
// QLineEdit's own default: no limit.
constexpr int NoMaxLength = 32767;

QString WithCharCase(const QString& text, const QString& charCase) {
    if (charCase == QStringLiteral("U"))
        return text.toUpper();
    if (charCase == QStringLiteral("L"))
        return text.toLower();
    return text;
}

} // namespace

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
    CollapseSelection();
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
    // A heading is read whole: its column is never narrower than it.
    if (row == 0 && row < fixedRows_ && ColWidths(col) < HeadingWidth(col))
        horizontalHeader()->resizeSection(col, HeadingWidth(col));
    if (updating_ > 0)
        return;
    if (row < fixedRows_)
        emit model_->headerDataChanged(Qt::Horizontal, col, col);
    else
        emit model_->dataChanged(model_->index(row - fixedRows_, col), model_->index(row - fixedRows_, col));
}

QModelIndex TExtStringGrid::ViewIndex(int col, int row) const {
    return model_->index(row - fixedRows_, col);
}

void TExtStringGrid::RowChanged(int row) {
    emit model_->dataChanged(ViewIndex(0, row), ViewIndex(std::max(colCount_ - 1, 0), row));
}

void TExtStringGrid::AllCellsChanged() {
    model_->AllChanged();
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
    horizontalHeader()->resizeSection(col, std::max(width, HeadingWidth(col)));
}

int TExtStringGrid::HeadingWidth(int col) const {
    if (fixedRows_ == 0 || col < 0 || col >= colCount_)
        return 0;
    const QString& text = rows_[0][static_cast<std::size_t>(col)].text;
    if (text.trimmed().isEmpty())
        return 0;
    const QHeaderView* header = horizontalHeader();
    const QFontMetrics metrics = header->fontMetrics();
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest + 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
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

bool TExtStringGrid::IsEditable(int col, int row) const {
    const TExtColumn* column = GetExtColumn(col);
    return col >= fixedCols_ && col < colCount_ && !(column && column->ReadOnly) &&
           (!OnCanEditCell || OnCanEditCell(col, row));
}

void TExtStringGrid::UpdateEditor() {
    if (!editor_)
        return;
    const bool shown = !editorClosed_ && options_.testFlag(TGridOption::goEditing) &&
                       options_.testFlag(TGridOption::goAlwaysShowEditor) && isEnabled() &&
                       IsDataCell(col_, row_) && IsEditable(col_, row_);
    if (!shown) {
        const bool hadFocus = editor_->hasFocus();
        editor_->hide();
        if (hadFocus)
            setFocus(Qt::OtherFocusReason);
        return;
    }
    PrepareEditor();
    editor_->setAlignment(model_->CellAlignment(col_));
    if (editor_->text() != Cells(col_, row_))
        editor_->setText(Cells(col_, row_));
    updateEditorGeometries();
    editor_->show();
    if (hasFocus())
        editor_->setFocus(Qt::OtherFocusReason);
}

void TExtStringGrid::PrepareEditor() {
    const TExtColumn* column = GetExtColumn(col_);
    editor_->CharCase = column ? column->CharCase : QString();
    editor_->setMaxLength(column && column->MaxLength > 0 ? column->MaxLength : NoMaxLength);
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
    CollapseSelection();
    editorClosed_ = false;
    EnterCell(movedRight);
    return true;
}

void TExtStringGrid::CloseEditor() {
    // Also while a dialog holds the focus: the window gives it back to the grid, not to a hidden editor.
    const bool editorFocus = editor_->hasFocus() || window()->focusWidget() == editor_;
    editorClosed_ = true;
    UpdateEditor();
    if (editorFocus)
        setFocus(Qt::OtherFocusReason);
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
// ---- drawing

bool TExtStringGrid::IsDrawnSelected(int col, int row) const {
    if (!IsDataCell(col, row))
        return false;
    if (row == row_ && (col == col_ || options_.testFlag(TGridOption::goRowSelect)))
        return true;
    return IsRangeSelect() && Selection().Contains(col, row);
}

// ---- range selection

TGridRect TExtStringGrid::Selection() const {
    if (!IsRangeSelect())
        return {col_, row_, col_, row_};
    // Rows or columns may have gone since it was made.
    const int lastCol = std::max(colCount_ - 1, fixedCols_);
    const int lastRow = std::max(RowCount() - 1, fixedRows_);
    return {std::clamp(range_.Left, fixedCols_, lastCol), std::clamp(range_.Top, fixedRows_, lastRow),
            std::clamp(range_.Right, fixedCols_, lastCol), std::clamp(range_.Bottom, fixedRows_, lastRow)};
}

void TExtStringGrid::SetSelection(const TGridRect& rect) {
    const int lastCol = std::max(colCount_ - 1, fixedCols_);
    const int lastRow = std::max(RowCount() - 1, fixedRows_);
    TGridRect kept{std::clamp(std::min(rect.Left, rect.Right), fixedCols_, lastCol),
                   std::clamp(std::min(rect.Top, rect.Bottom), fixedRows_, lastRow),
                   std::clamp(std::max(rect.Left, rect.Right), fixedCols_, lastCol),
                   std::clamp(std::max(rect.Top, rect.Bottom), fixedRows_, lastRow)};
    // The corner opposite the current cell is the one that moves on.
    extentCol_ = kept.Left == col_ ? kept.Right : kept.Left;
    extentRow_ = kept.Top == row_ ? kept.Bottom : kept.Top;
    SetSelectionRect(kept);
}

void TExtStringGrid::CollapseSelection() {
    extentCol_ = col_;
    extentRow_ = row_;
    SetSelectionRect({col_, row_, col_, row_});
}

void TExtStringGrid::SelectAll() {
    SetSelection({fixedCols_, fixedRows_, colCount_ - 1, RowCount() - 1});
}

void TExtStringGrid::ExtendSelection(int col, int row) {
    if (!IsRangeSelect() || !IsDataCell(col, row))
        return;
    extentCol_ = col;
    extentRow_ = row;
    SetSelectionRect({std::min(col, col_), std::min(row, row_), std::max(col, col_), std::max(row, row_)});
}

void TExtStringGrid::SetSelectionRect(const TGridRect& rect) {
    if (rect == range_)
        return;
    range_ = rect;
    viewport()->update();
    if (IsRangeSelect() && OnSelectionChanged)
        OnSelectionChanged();
}

std::pair<int, int> TExtStringGrid::NearestCell(const QPoint& at) const {
    const int viewRows = DataRowCount();
    int col = columnAt(at.x());
    int viewRow = rowAt(at.y());
    if (col < 0)
        col = at.x() < 0 ? fixedCols_ : colCount_ - 1;
    if (viewRow < 0)
        viewRow = at.y() < 0 ? 0 : viewRows - 1;
    return {std::clamp(col, fixedCols_, std::max(colCount_ - 1, fixedCols_)), viewRow + fixedRows_};
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

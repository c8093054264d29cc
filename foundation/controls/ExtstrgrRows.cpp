// The grid's column descriptions and layout, its row and column operations and its sorting.
#include "foundation/controls/Extstrgr.h"

#include "foundation/DanishOrder.h"
#include "foundation/LxClass.h"
#include "foundation/LxString.h"

#include <QCollator>
#include <QHash>
#include <QHeaderView>

#include <algorithm>
#include <functional>
#include <numeric>

namespace {

constexpr int LaidOutColWidth = 50; // a column the descriptions add

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
// ---- layout

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
        RowChanged(row);
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
    AllCellsChanged();
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
    AllCellsChanged();
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

qint64 IntegerOrZero(const QString& text) {
    bool ok = false;
    const qint64 value = TrimBlanks(text).toLongLong(&ok);
    return ok && value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max()
               ? value
               : 0;
}

// Each of count texts' place in text order, without regard to case, a text whose trimmed form is empty
// first; texts that compare equal share a place. Each distinct text is ranked once.
std::vector<int> TextRanks(int count, const std::function<const QString&(int)>& text) {
    QHash<QString, int> distinctIndex;
    std::vector<QString> distinct;
    std::vector<int> ids(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto found = distinctIndex.constFind(text(i));
        if (found == distinctIndex.constEnd()) {
            found = distinctIndex.insert(text(i), static_cast<int>(distinct.size()));
            distinct.push_back(text(i));
        }
        ids[static_cast<std::size_t>(i)] = *found;
    }
    const QCollator collator = DanishNameOrder();
    std::vector<QCollatorSortKey> sortKeys;
    std::vector<bool> blank;
    for (const QString& each : distinct) {
        sortKeys.push_back(collator.sortKey(each));
        blank.push_back(TrimBlanks(each).isEmpty());
    }
    const auto compare = [&](int a, int b) {
        const auto ua = static_cast<std::size_t>(a);
        const auto ub = static_cast<std::size_t>(b);
        return blank[ua] != blank[ub] ? (blank[ua] ? -1 : 1) : sortKeys[ua].compare(sortKeys[ub]);
    };
    std::vector<int> order(distinct.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
    std::vector<int> rankOf(distinct.size());
    int rank = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && compare(order[i - 1], order[i]) != 0)
            ++rank;
        rankOf[static_cast<std::size_t>(order[i])] = rank;
    }
    std::vector<int> ranks(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < ranks.size(); ++i)
        ranks[i] = rankOf[static_cast<std::size_t>(ids[i])];
    return ranks;
}

} // namespace

void TExtStringGrid::SortRows(TSortKind kind, const QList<int>& columns, bool decending) {
    const int count = DataRowCount();
    if (count < 2 || columns.isEmpty())
        return;
    for (int col : columns)
        if (col < 0 || col >= colCount_)
            RaiseListIndexError(col);
    // Every row's keys in the sort columns as numbers, side by side (row i's key of column c at
    // i * width + c), made once so that the sort only compares them; a text's key is its rank among
    // the column's distinct texts.
    const std::size_t width = static_cast<std::size_t>(columns.size());
    std::vector<double> keys(static_cast<std::size_t>(count) * width);
    for (std::size_t c = 0; c < width; ++c) {
        const auto text = [&](int i) -> const QString& {
            return rows_[static_cast<std::size_t>(i + fixedRows_)][static_cast<std::size_t>(columns[c])].text;
        };
        if (kind == TSortKind::Text) {
            const std::vector<int> ranks = TextRanks(count, text);
            for (int i = 0; i < count; ++i)
                keys[static_cast<std::size_t>(i) * width + c] = ranks[static_cast<std::size_t>(i)];
            continue;
        }
        for (int i = 0; i < count; ++i)
            keys[static_cast<std::size_t>(i) * width + c] = kind == TSortKind::Integer
                                                                ? static_cast<double>(IntegerOrZero(text(i)))
                                                                : CommaStrToFloatDef(TrimBlanks(text(i)), 0);
    }
    const auto compare = [&](std::size_t a, std::size_t b) {
        for (std::size_t c = 0; c < width; ++c, ++a, ++b) {
            const int result = (keys[a] > keys[b]) - (keys[a] < keys[b]);
            if (result != 0)
                return decending ? -result : result;
        }
        return 0;
    };
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return compare(static_cast<std::size_t>(a) * width, static_cast<std::size_t>(b) * width) < 0;
    });
    // Whole rows move, so every cell keeps its object and bound field with its text.
    std::vector<TGridRow> sorted;
    sorted.reserve(static_cast<std::size_t>(count));
    for (int index : order)
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(index + fixedRows_)]));
    std::move(sorted.begin(), sorted.end(), rows_.begin() + fixedRows_);
    AllCellsChanged();
    EnterCell(false);
}

void TExtStringGrid::SortRowsByText(const QList<int>& columns) {
    SortRows(TSortKind::Text, columns, Decending);
}

void TExtStringGrid::SortRowsByNumber(const QList<int>& columns) {
    SortRows(TSortKind::Float, columns, Decending);
}

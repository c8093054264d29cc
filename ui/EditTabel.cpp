#include "ui/EditTabel.h"

#include "foundation/BusyCursor.h"
#include "foundation/LxString.h"
#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_EditTabel.h"
#include "ui/WidgetKit.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QScopeGuard>
#include <QSet>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr QSize StartSize(900, 560);
constexpr int MinColWidth = 64;
constexpr int MaxColWidth = 320;
constexpr int TextMargin = 12;
// The rows whose texts the column widths are made for.
constexpr int MeasuredRows = 50;
// Distinct texts of a column shared between its cells: many rows repeat a few values (meet numbers,
// codes, zeros), and a shared text is stored once.
constexpr int MaxSharedTexts = 512;

// Texts of one column, each distinct one kept once while there are few of them.
class TSharedTexts {
public:
    const QString& Share(const QString& text) {
        if (full_)
            return text;
        const auto found = texts_.constFind(text);
        if (found != texts_.constEnd())
            return *found;
        if (texts_.size() >= MaxSharedTexts) {
            full_ = true;
            texts_.clear();
            return text;
        }
        return *texts_.insert(text);
    }

private:
    QSet<QString> texts_;
    bool full_ = false;
};

} // namespace

TEditTabelForm::TEditTabelForm(QWidget* owner)
    : TStdRVKForm(owner)
    , Tabelnavn(Named(new QComboBox(this), QStringLiteral("Tabelnavn")))
    , Grid(Named(new TExtStringGrid(this), QStringLiteral("Grid"))) {
    setObjectName(QStringLiteral("EditTabelForm"));
    setWindowTitle(QStringLiteral("Rediger tabeller"));
    BuildLayout();
    BuildHandlers();
}

TEditTabelForm::~TEditTabelForm() = default;

void TEditTabelForm::BuildLayout() {
    Tabelnavn->addItems(EditTabelNavne());
    Tabelnavn->setCurrentIndex(-1);
    Tabelnavn->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    Grid->SetFixedCols(0);
    Grid->SetFixedRows(1);
    Grid->SetColCount(1);
    Grid->SetRowCount(2);
    Grid->AutoExtend = true;
    Grid->AutoInsert = true;
    Grid->AutoDelete = true;
    Grid->EnterKeyMovement = TEnterKeyMovement::ekEnter;

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(4, 4, 4, 4);
    form->addWidget(Tabelnavn, 0, Qt::AlignLeft);
    form->addWidget(Grid, 1);
    resize(StartSize);
}

void TEditTabelForm::BuildHandlers() {
    connect(Tabelnavn, &QComboBox::currentIndexChanged, this, [this] {
        Guarded(this, [this] {
            TabelnavnChange();
            return true;
        });
    });
    Grid->OnSelectCell = [this](int col, int row, bool& canSelect) { GridSelectCell(col, row, canSelect); };
    Grid->OnLeaveCell = [this](int col, int row, bool& allow) { GridLeaveCell(col, row, allow); };
    Grid->OnLeaveRow = [this](int row, bool& allow) { GridLeaveRow(row, allow); };
    Grid->BeforeDelete = [this](int row, bool& allow) { GridBeforeDelete(row, allow); };
    Grid->AfterDelete = [this](int) { RememberCurrent(); };
    // A double click lands on the cell editor when it is on the current cell, else on the cells.
    for (QWidget* target :
         {static_cast<QWidget*>(Grid->viewport()), static_cast<QWidget*>(Grid->InplaceEditor())})
        OnDoubleClick(target, [this] {
            Guarded(this, [this] {
                GridDblClick();
                return true;
            });
        });
}

quint32 TEditTabelForm::RowPosition(int row) const {
    return static_cast<quint32>(Grid->Objects(0, row));
}

// ---------------------------------------------------------------- choosing and loading

void TEditTabelForm::TabelnavnChange() {
    const int index = Tabelnavn->currentIndex();
    if (index == tabelIndex_)
        return;
    try {
        WritePendingRow();
    } catch (...) {
        // The pending row stays, and with it the table it belongs to.
        const QSignalBlocker blocker(Tabelnavn);
        Tabelnavn->setCurrentIndex(tabelIndex_);
        throw;
    }
    OpenTabel(index);
}

void TEditTabelForm::OpenTabel(int index) {
    changed_.clear();
    table_.reset();
    tabelIndex_ = -1;
    std::unique_ptr<TZunoDataTable> table = MakeEditTabel(index);
    if (!table)
        return;
    table->Open();
    table_ = std::move(table);
    tabelIndex_ = index;
    setWindowTitle(u'[' + table_->FileName() + u']');
    LoadGrid();
}

void TEditTabelForm::LoadGrid() {
    const TBusyCursor busy;
    loading_ = true;
    const auto done = qScopeGuard([this] { loading_ = false; });
    const int fieldCount = table_->GetFieldCount();
    const int records = table_->GetRecordCount();

    Grid->BeginUpdate();
    const auto update = qScopeGuard([this] { Grid->EndUpdate(); });
    // What the grid held goes first, so that only the one row kept is cleared.
    Grid->SetRowCount(2);
    Grid->ClearRows();
    Grid->SetColCount(fieldCount + 1);
    Grid->SetRowCount(std::max(records, 1) + 1);
    Grid->SetCells(0, 0, QString());
    for (int fieldNo = 0; fieldNo < fieldCount; ++fieldNo)
        Grid->SetCells(fieldNo + 1, 0, table_->GetFieldDefs().GetItem(fieldNo).Name);

    std::vector<TSharedTexts> shared(static_cast<std::size_t>(fieldCount));
    int row = 0;
    ForEachEditRecord(*table_, [&] {
        if (++row >= Grid->RowCount())
            Grid->SetRowCount(row + 1);
        Grid->SetCells(0, row, QString::number(row));
        Grid->SetObjects(0, row, static_cast<qintptr>(table_->GetPosition()));
        for (int fieldNo = 0; fieldNo < fieldCount; ++fieldNo)
            Grid->SetCells(
                fieldNo + 1, row,
                shared[static_cast<std::size_t>(fieldNo)].Share(table_->GetField(fieldNo)->GetAsString()));
    });
    // The statistics may have counted records another program has deleted since.
    Grid->SetRowCount(std::max(row, 1) + 1);
    FitColumns();
    Grid->GotoCell(std::min(1, fieldCount), 1, true);
    RememberCurrent();
}

void TEditTabelForm::FitColumns() {
    const QFontMetrics metrics(Grid->font());
    const int rows = std::min(Grid->RowCount(), MeasuredRows + 1);
    for (int col = 0; col < Grid->ColCount(); ++col) {
        int width = MinColWidth;
        for (int row = 0; row < rows; ++row)
            width =
                std::max(width, metrics.horizontalAdvance(TrimBlanks(Grid->Cells(col, row))) + TextMargin);
        Grid->SetColWidths(col, std::min(width, MaxColWidth));
    }
}

void TEditTabelForm::ShowRecord(int row) {
    const bool wasLoading = std::exchange(loading_, true);
    for (int fieldNo = 0; fieldNo < table_->GetFieldCount(); ++fieldNo)
        Grid->SetCells(fieldNo + 1, row, table_->GetField(fieldNo)->GetAsString());
    loading_ = wasLoading;
}

// ---------------------------------------------------------------- the grid's events

void TEditTabelForm::RememberCurrent() {
    enteredText_ = Grid->Cells(Grid->Col(), Grid->Row());
}

void TEditTabelForm::GridSelectCell(int col, int row, bool&) {
    enteredText_ = Grid->Cells(col, row);
}

void TEditTabelForm::GridLeaveCell(int col, int row, bool&) {
    if (loading_ || !table_ || col < 1)
        return;
    if (Grid->Cells(col, row) != enteredText_)
        changed_.insert(col - 1);
}

void TEditTabelForm::GridLeaveRow(int row, bool& allow) {
    // The grid tells of the row before the cell: the cell being left counts too.
    bool cellAllow = true;
    GridLeaveCell(Grid->Col(), row, cellAllow);
    WriteRow(row);
    allow = true;
}

void TEditTabelForm::GridBeforeDelete(int row, bool& allow) {
    if (table_ && RowPosition(row) != 0)
        DeleteEditRecord(*table_, RowPosition(row));
    // A row not yet stored goes without the file being touched.
    if (row == Grid->Row())
        changed_.clear();
    allow = true;
}

void TEditTabelForm::GridDblClick() {
    if (!table_)
        return;
    WritePendingRow();
    const int col = Grid->Col();
    const TSortKind kind =
        col == 0 || IsEditNumberField(*table_, col - 1) ? TSortKind::Integer : TSortKind::Text;
    Grid->SortRows(kind, {col}, Grid->Decending);
    RememberCurrent();
}

// ---------------------------------------------------------------- writing

void TEditTabelForm::WriteRow(int row) {
    if (!table_ || changed_.empty())
        return;
    std::map<int, QString> texts;
    for (const int fieldNo : changed_)
        texts[fieldNo] = Grid->Cells(fieldNo + 1, row);
    const quint32 position = WriteEditRecord(*table_, RowPosition(row), texts);
    changed_.clear();
    if (RowPosition(row) == 0) {
        Grid->SetObjects(0, row, static_cast<qintptr>(position));
        Grid->SetCells(0, row, QString::number(row));
    }
    // What the fields made of the texts, and what the record got (its time stamps, its number).
    table_->GotoPosition(position);
    ShowRecord(row);
    if (row == Grid->Row())
        RememberCurrent();
}

void TEditTabelForm::WritePendingRow() {
    if (!table_)
        return;
    Grid->CommitCell();
    WriteRow(Grid->Row());
}

void TEditTabelForm::done(int result) {
    if (const std::optional<QString> failure = FailureOf([this] { WritePendingRow(); })) {
        ShowError(this, *failure);
        return;
    }
    TStdRVKForm::done(result);
}

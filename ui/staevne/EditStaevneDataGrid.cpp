#include "ui/staevne/EditStaevneDataGrid.h"

#include "foundation/LxString.h"
#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/MsgForm.h"
#include "ui/Launchers.h"
#include "ui/WidgetKit.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

using K = TStaevneDataTabel::TKolonneArt;

TStaevneDataGrid::TStaevneDataGrid(QWidget* parent, const QString& prefix)
    : QObject(parent)
    , Panel(MakePanel(parent, prefix + QStringLiteral("Panel")))
    , Grid(Named(new TExtStringGrid(Panel), prefix + QStringLiteral("Grid")))
    , FlytOp(MakeButton(Panel, prefix + QStringLiteral("FlytOp"), QStringLiteral("Flyt op")))
    , FlytNed(MakeButton(Panel, prefix + QStringLiteral("FlytNed"), QStringLiteral("Flyt ned"))) {
    Grid->SetFixedRows(1);
    Grid->SetOptions(TGridOption::goEditing | TGridOption::goAlwaysShowEditor | TGridOption::goColSizing);
    Grid->AutoExtend = true;
    Grid->AutoInsert = true;
    Grid->AutoDelete = true;
    Grid->OnLeaveCell = [this](int col, int row, bool&) { LeaveCell(col, row); };
    Grid->OnLeaveRow = [this](int row, bool&) { LeaveRow(row); };
    Grid->BeforeDelete = [this](int row, bool&) { BeforeDelete(row); };
    Grid->AfterDelete = [this](int) { Nummerer(); };

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(FlytOp);
    buttons->addWidget(FlytNed);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(Panel);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
    connect(FlytOp, &QPushButton::clicked, this,
            [this] { RunShowingErrors(Grid, [this] { FlytOpClick(); }); });
    connect(FlytNed, &QPushButton::clicked, this,
            [this] { RunShowingErrors(Grid, [this] { FlytNedClick(); }); });
}

TStaevneDataGrid::~TStaevneDataGrid() = default;

void TStaevneDataGrid::Bind(std::unique_ptr<TStaevneDataTabel> tabel) {
    tabel_ = std::move(tabel);
    // The rows are made anew: what the grid held before is no record any more.
    binding_ = true;
    const auto bound = qScopeGuard([this] { binding_ = false; });
    const std::vector<TStaevneDataTabel::TKolonne>& kolonner = tabel_->Kolonner();
    const std::vector<TDataElement*> records = tabel_->Records();
    Grid->BeginUpdate();
    Grid->ClearRows();
    if (Grid->Columns().Count() == 0) {
        Grid->Columns().BeginUpdate();
        for (const TStaevneDataTabel::TKolonne& kolonne : kolonner) {
            TExtColumn& column = Grid->Columns().Add();
            column.SetText(kolonne.Overskrift);
            column.MaxLength = kolonne.MaxLength;
            column.ReadOnly = kolonne.Art == K::Nummer && kolonne.FieldNo < 0;
            column.Tabulator = !column.ReadOnly;
            if (kolonne.Art == K::Kode && kolonne.MaxLength > 0)
                column.CharCase = QStringLiteral("U");
            if (kolonne.Art != K::Kode && kolonne.Art != K::Tekst)
                column.SetAlignment(TAlignment::taRightJustify);
        }
        Grid->Columns().EndUpdate();
        for (std::size_t col = 0; col < kolonner.size(); ++col)
            Grid->SetColWidths(static_cast<int>(col), kolonner[col].Bredde);
    }
    Grid->StartColumnAtNewLine = tabel_->KodeKolonne();
    Grid->SetRowCount(static_cast<int>(records.size()) + 1);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        Grid->SetObjects(0, row, reinterpret_cast<qintptr>(records[i]));
        for (std::size_t col = 0; col < kolonner.size(); ++col)
            Grid->SetCells(static_cast<int>(col), row,
                           tabel_->CellText(*records[i], static_cast<int>(col), row));
    }
    Grid->EndUpdate();
    Grid->GotoCell(tabel_->KodeKolonne(), 1, true);
}

TDataElement* TStaevneDataGrid::Record(int row) const {
    return reinterpret_cast<TDataElement*>(Grid->Objects(0, row));
}

std::vector<TDataElement*> TStaevneDataGrid::Records() const {
    std::vector<TDataElement*> records;
    for (int row = Grid->FixedRows(); row < Grid->RowCount(); ++row) {
        if (TDataElement* record = Record(row))
            records.push_back(record);
    }
    return records;
}

QStringList TStaevneDataGrid::Koder() const {
    QStringList koder;
    for (int row = Grid->FixedRows(); row < Grid->RowCount(); ++row) {
        if (const QString kode = TrimBlanks(Grid->Cells(tabel_->KodeKolonne(), row)); !kode.isEmpty())
            koder.append(kode);
    }
    return koder;
}

void TStaevneDataGrid::LeaveCell(int col, int row) {
    TDataElement* record = Record(row);
    if (binding_ || record == nullptr)
        return;
    const QString text = Grid->Cells(col, row);
    const QString stored = tabel_->CellText(*record, col, row);
    if (text == stored)
        return;
    if (col == tabel_->KodeKolonne()) {
        Grid->SetCells(col, row, stored);
        return;
    }
    tabel_->SetCell(*record, col, text);
    Grid->SetCells(col, row, tabel_->CellText(*record, col, row));
}

void TStaevneDataGrid::LeaveRow(int row) {
    if (binding_ || Record(row) != nullptr || Grid->IsRowEmpty(row))
        return;
    QStringList cells;
    for (int col = 0; col < Grid->ColCount(); ++col)
        cells.append(Grid->Cells(col, row));
    TDataElement& record = tabel_->Add(cells);
    Grid->SetObjects(0, row, reinterpret_cast<qintptr>(&record));
    for (int col = 0; col < Grid->ColCount(); ++col)
        Grid->SetCells(col, row, tabel_->CellText(record, col, row));
    Nummerer();
}

void TStaevneDataGrid::BeforeDelete(int row) {
    if (TDataElement* record = Record(row))
        tabel_->Delete(*record);
}

void TStaevneDataGrid::Nummerer() {
    tabel_->Nummerer(Records());
    for (int row = Grid->FixedRows(); row < Grid->RowCount(); ++row) {
        if (const TDataElement* record = Record(row))
            Grid->SetCells(0, row, tabel_->CellText(*record, 0, row));
    }
}

bool TStaevneDataGrid::Commit() {
    if (!tabel_)
        return true;
    if (!Grid->CommitCell())
        return false;
    return Guarded(Grid, [this] {
        LeaveRow(Grid->Row());
        return true;
    });
}

void TStaevneDataGrid::Flyt(int by) {
    if (!Commit())
        return;
    const int from = Grid->Row();
    const int to = from + by;
    if (to < Grid->FixedRows() || to >= Grid->RowCount())
        return;
    Grid->MoveRow(from, to);
    Grid->GotoCell(Grid->Col(), to, true);
    Nummerer();
}

void TStaevneDataGrid::FlytOpClick() {
    Flyt(-1);
}

void TStaevneDataGrid::FlytNedClick() {
    Flyt(1);
}

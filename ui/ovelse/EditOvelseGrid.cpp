// The result grid of the event editor: its columns by the layout, the rows' texts, a cell's edit text on
// entering and its value written on leaving, the wind of a heat, the colours, the sort choices and the
// "Kolonner" menu.
#include "ui/ovelse/EditOvelse.h"

#include "foundation/LxString.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_Tekster.h"
#include "ui/LaunchersEltid.h"
#include "ui/WidgetKit.h"
#include "ui/ovelse/EditOvelseShown.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QTabWidget>

#include <algorithm>

namespace {

const QColor OddHeat(230, 230, 250);
const QColor EvenHeat(250, 250, 210);
constexpr int MarkPointSize = 16;
// More changed rows than this are written under one repaint.
constexpr std::size_t ManyRows = 40;

// The sort choices under which heats are coloured.
bool ColoursHeats(int choice) {
    return choice == 3 || choice == 4 || choice == 5 || choice == 9 || choice == 12;
}

} // namespace

void TEditOvelseForm::SetupOvelseGrid() {
    TExtStringGrid& grid = *OvelseGrid;
    grid.SetOptions(TGridOption::goEditing | TGridOption::goAlwaysShowEditor | TGridOption::goColSizing |
                    TGridOption::goColMoving);
    grid.SetDefaultRowHeight(20);
    grid.installEventFilter(this);
    grid.InplaceEditor()->installEventFilter(this);
    grid.OnSelectCell = [this](int col, int row, bool&) { OvelseEnterCell(col, row); };
    grid.OnLeaveCell = [this](int col, int row, bool&) { OvelseLeaveCell(col, row); };
    grid.BeforeDrawCell = [this](int col, int row, TGridDrawStates state, TCellCanvas& canvas) {
        DrawOvelseCell(col, row, state, canvas);
    };
    grid.OnColumnMoved = [this](int, int) {
        Guarded(this, [this] {
            SaveGridColumns();
            // Fixed columns stay in front whatever was dragged.
            BuildOvelseColumns();
            FillOvelseGrid();
            return true;
        });
    };
    // The editor stands on the current cell: a double click there is the grid's too.
    for (QWidget* clicked :
         {static_cast<QWidget*>(grid.viewport()), static_cast<QWidget*>(grid.InplaceEditor())})
        OnDoubleClick(clicked, [this] { RunCommand([this] { EltidClick(); }); });
    connect(SortComboBox, &QComboBox::activated, this, [this](int choice) {
        RunCommand([this, choice] {
            if (CommitPage())
                ChooseSort(choice);
        });
    });
    for (QAction* item : SorteringMenu->actions())
        connect(item, &QAction::triggered, this, [this, item] {
            RunCommand([this, item] {
                if (CommitPage())
                    ChooseSort(item->data().toInt());
            });
        });
    for (QAction* item : KolonnerMenu->actions())
        connect(item, &QAction::triggered, this, [this, item] {
            RunCommand([this, item] {
                if (CommitPage())
                    ToggleKolonne(item->data().toInt());
            });
        });
}

// ---------------------------------------------------------------- columns

std::optional<TResultColumn> TEditOvelseForm::OvelseColumn(int col) const {
    if (col < 0 || col >= static_cast<int>(columnKinds_.size()))
        return std::nullopt;
    return columnKinds_[static_cast<std::size_t>(col)];
}

int TEditOvelseForm::OvelseGridCol(TResultColumn kind) const {
    for (int col = FirstLayoutCol; col < OvelseGrid->ColCount(); ++col) {
        if (OvelseColumn(col) == kind)
            return col;
    }
    return -1;
}

void TEditOvelseForm::BuildOvelseColumns() {
    TExtStringGrid& grid = *OvelseGrid;
    const bool wasSuppressed = suppress_;
    suppress_ = true;
    grid.BeginUpdate();
    TExtColumns& columns = grid.Columns();
    columns.BeginUpdate();
    columns.Clear();
    for (int fixed = 0; fixed < FirstLayoutCol; ++fixed) {
        TExtColumn& column = columns.Add();
        column.ReadOnly = true;
    }
    for (int i = 0; i < gridColumns_.GetCount(); ++i) {
        const TOvelseGridColumn& layout = *gridColumns_.GetColumn(i);
        const std::optional<TResultColumn> kind = ResultColumnOf(layout.Kind);
        if (!kind)
            continue;
        TExtColumn& column = columns.Add();
        column.SetText(layout.Caption);
        column.FieldId = QString::number(layout.Kind);
        column.SetAlignment(AlignmentOf(manager_->GetColumnAlignment(*kind)));
        column.MaxLength = manager_->GetColumnMaxLength(*kind);
        column.ReadOnly = manager_->IsColumnReadOnly(*kind) || !manager_->IsColumnEnabled(*kind);
        column.Tabulator = manager_->GetColumnTabulator(*kind);
    }
    columns.EndUpdate();
    grid.SetFixedRows(1);
    grid.SetFixedCols(FirstLayoutCol);
    columnKinds_.assign(static_cast<std::size_t>(grid.ColCount()), std::nullopt);
    for (int col = FirstLayoutCol; col < grid.ColCount(); ++col) {
        if (const TExtColumn* column = grid.GetExtColumn(col))
            columnKinds_[static_cast<std::size_t>(col)] = ResultColumnOf(column->FieldId.toInt());
    }
    // Every row is written anew under new columns.
    shown_->Rows.clear();
    grid.SetColWidths(NrCol, 32);
    grid.SetColWidths(MarkCol, 18);
    for (int col = FirstLayoutCol; col < grid.ColCount(); ++col) {
        const TOvelseGridColumn* layout = gridColumns_.GetColumn(col - FirstLayoutCol);
        const int width = layout ? layout->Width : 0;
        grid.SetColWidths(col, width > 0 ? width : manager_->GetColumnWidth(*OvelseColumn(col)));
    }
    grid.EndUpdate();
    for (QAction* item : KolonnerMenu->actions()) {
        const std::optional<TResultColumn> kind = ResultColumnOf(item->data().toInt());
        item->setChecked(gridColumns_.FindKind(item->data().toInt()) != nullptr);
        item->setProperty("columnEnabled", kind && manager_->IsColumnEnabled(*kind));
    }
    suppress_ = wasSuppressed;
}

void TEditOvelseForm::SaveGridColumns() {
    TOvelseGridColumns layout;
    for (int col = 0; col < OvelseGrid->ColCount(); ++col) {
        const TExtColumn* column = OvelseGrid->GetExtColumn(col);
        const int kind = column ? column->FieldId.toInt() : 0;
        if (kind >= 1)
            layout.Add(column->Text(), kind, OvelseGrid->ColWidths(col));
    }
    gridColumns_.SetAsText(layout.GetAsText());
    if (SpeakerMode)
        return;
    StaevneManager->SystemData().OvelseGridColumns = gridColumns_.GetAsText();
    StaevneManager->SaveStaevneData();
}

void TEditOvelseForm::ToggleKolonne(int kind) {
    const std::optional<TResultColumn> column = ResultColumnOf(kind);
    if (!column)
        return;
    // The widths as the user left them.
    if (OvelseGrid->ColCount() > FirstLayoutCol)
        SaveGridColumns();
    if (const int col = OvelseGridCol(*column); col >= 0) {
        if (OvelseGrid->ColCount() - FirstLayoutCol <= 1)
            throw Exception(QStringLiteral("Der skal altid være mindst 1 kolonne"));
        if (OvelseGrid->Col() == OvelseGrid->ColCount() - 1)
            PlaceCursor(*OvelseGrid, OvelseGrid->Col() - 1, OvelseGrid->Row());
        TOvelseGridColumns layout;
        for (int i = 0; i < gridColumns_.GetCount(); ++i) {
            const TOvelseGridColumn& each = *gridColumns_.GetColumn(i);
            if (each.Kind != kind)
                layout.Add(each.Caption, each.Kind, each.Width);
        }
        gridColumns_.SetAsText(layout.GetAsText());
    } else {
        gridColumns_.AddStandard(*column);
    }
    const int col = std::min(OvelseGrid->Col(), FirstLayoutCol + gridColumns_.GetCount() - 1);
    const int row = OvelseGrid->Row();
    BuildOvelseColumns();
    FillOvelseGrid();
    PlaceCursor(*OvelseGrid, std::max(col, FirstLayoutCol), row);
    SaveGridColumns();
}

// ---------------------------------------------------------------- rows

TResultat* TEditOvelseForm::RowAt(int gridRow) const {
    return manager_->GetResultat(gridRow - OvelseGrid->FixedRows());
}

QString TEditOvelseForm::CellText(const TResultat& row, TResultColumn kind) {
    // A stored place of a row that has none to show (it sorts among the placed rows only by chance).
    if (kind == TResultColumn::Plac && (!row.IsValid() || row.Resultat == 0))
        return {};
    return row.GetFieldText(kind);
}

void TEditOvelseForm::FillOvelseRow(int gridRow) {
    const TResultat* row = RowAt(gridRow);
    if (!row)
        return;
    TExtStringGrid& grid = *OvelseGrid;
    const auto slot = static_cast<std::size_t>(gridRow);
    if (shown_->Rows.size() <= slot)
        shown_->Rows.resize(slot + 1);
    shown_->Rows[slot] = TShownRow::Of(*row);
    grid.SetCells(NrCol, gridRow, QString::number(gridRow));
    grid.SetCells(MarkCol, gridRow, row->IsModified() ? QStringLiteral("*") : QStringLiteral(" "));
    for (int col = FirstLayoutCol; col < grid.ColCount(); ++col) {
        if (const std::optional<TResultColumn> kind = OvelseColumn(col))
            grid.SetCells(col, gridRow, CellText(*row, *kind));
    }
}

void TEditOvelseForm::FillOvelseGrid() {
    TExtStringGrid& grid = *OvelseGrid;
    const int col = grid.Col();
    const int row = grid.Row();
    const bool wasSuppressed = suppress_;
    suppress_ = true;
    grid.SetRowCount(manager_->Count() + grid.FixedRows());
    std::vector<TShownRow>& shown = shown_->Rows;
    shown.resize(std::min<std::size_t>(shown.size(), static_cast<std::size_t>(grid.RowCount())));
    // The rows to write: those whose values changed or that now show another row. The row the cursor
    // stood on may still show a cell's edit text.
    std::vector<int> changed;
    for (int gridRow = grid.FixedRows(); gridRow < grid.RowCount(); ++gridRow) {
        const TResultat* resultat = RowAt(gridRow);
        const auto slot = static_cast<std::size_t>(gridRow);
        if (!resultat || slot >= shown.size() || gridRow == row || !shown[slot].Shows(*resultat))
            changed.push_back(gridRow);
    }
    // Many rows are repainted once; a few cell by cell.
    const bool many = changed.size() > ManyRows;
    if (many)
        grid.BeginUpdate();
    for (const int gridRow : changed) {
        if (RowAt(gridRow))
            FillOvelseRow(gridRow);
        else
            grid.ClearRow(gridRow);
    }
    if (many)
        grid.EndUpdate();
    suppress_ = wasSuppressed;
    KeepCursor(grid, col, row);
}

void TEditOvelseForm::KeepCursor(TExtStringGrid& grid, int col, int row) {
    if (manager_->Count() > 0 && grid.ColCount() > FirstLayoutCol)
        PlaceCursor(grid, std::clamp(col, FirstLayoutCol, grid.ColCount() - 1),
                    std::clamp(row, grid.FixedRows(), grid.RowCount() - 1));
}

void TEditOvelseForm::ChooseSort(int choice) {
    SortResultater(choice);
    FillOvelseGrid();
}

void TEditOvelseForm::PlaceCursor(TExtStringGrid& grid, int col, int row) {
    const bool wasSuppressed = leaveSuppressed_;
    leaveSuppressed_ = true;
    if (grid.GotoCell(col, row, true))
        grid.CommitCell();
    leaveSuppressed_ = wasSuppressed;
}

// ---------------------------------------------------------------- editing

void TEditOvelseForm::OvelseEnterCell(int col, int row) {
    if (suppress_)
        return;
    const TResultat* resultat = RowAt(row);
    const std::optional<TResultColumn> kind = OvelseColumn(col);
    if (!resultat || !kind)
        return;
    const TExtColumn* column = OvelseGrid->GetExtColumn(col);
    const bool editable = column && !column->ReadOnly && !SpeakerMode;
    const bool wasSuppressed = suppress_;
    suppress_ = true;
    OvelseGrid->SetCells(col, row, editable ? resultat->GetFieldEditText(*kind) : CellText(*resultat, *kind));
    suppress_ = wasSuppressed;
    if (row != OvelseGrid->Row()) {
        // The old row loses its highlight, the new one gets it.
        OvelseGrid->viewport()->update();
    }
}

void TEditOvelseForm::OvelseLeaveCell(int col, int row) {
    if (suppress_ || leaveSuppressed_)
        return;
    TResultat* resultat = RowAt(row);
    const std::optional<TResultColumn> kind = OvelseColumn(col);
    if (!resultat || !kind)
        return;
    TExtStringGrid& grid = *OvelseGrid;
    const TExtColumn* column = grid.GetExtColumn(col);
    const bool typed = grid.CellModified(col) && column && !column->ReadOnly && !SpeakerMode;
    if (typed) {
        const bool wasModified = resultat->IsModified();
        const QString text = grid.Cells(col, row);
        // A status typed as the result is the row's status, not a mark.
        if (*kind == TResultColumn::Resultat && !ParseResKode(TrimBlanks(text)).isEmpty()) {
            resultat->SetFieldText(TResultColumn::RK, TrimBlanks(text));
            if (const int rk = OvelseGridCol(TResultColumn::RK); rk >= 0)
                grid.SetCells(rk, row, CellText(*resultat, TResultColumn::RK));
        } else {
            resultat->SetFieldText(*kind, text);
        }
        // A wind measured per heat is the whole heat's.
        const TOvelseInfo* info = resultat->OvelseInfo;
        if (*kind == TResultColumn::Vind && info && info->IsVindPrHeat()) {
            for (int other = grid.FixedRows(); other < grid.RowCount(); ++other) {
                TResultat* each = RowAt(other);
                if (!each || each == resultat || each->Heat != resultat->Heat || each->Vind == resultat->Vind)
                    continue;
                each->SetVind(resultat->Vind);
                grid.SetCells(col, other, CellText(*each, *kind));
                grid.SetCells(MarkCol, other, each->IsModified() ? QStringLiteral("*") : QStringLiteral(" "));
            }
        }
        if (resultat->IsModified() != wasModified)
            grid.SetCells(MarkCol, row, resultat->IsModified() ? QStringLiteral("*") : QStringLiteral(" "));
    }
    const bool wasSuppressed = suppress_;
    suppress_ = true;
    grid.SetCells(col, row, CellText(*resultat, *kind));
    suppress_ = wasSuppressed;
}

// ---------------------------------------------------------------- colours and keys

void TEditOvelseForm::DrawOvelseCell(int col, int row, TGridDrawStates state, TCellCanvas& canvas) const {
    if (row < OvelseGrid->FixedRows())
        return;
    const TResultat* resultat = RowAt(row);
    if (!resultat)
        return;
    if (row == OvelseGrid->Row()) {
        canvas.Font.setBold(true);
        canvas.FontColor = Qt::white;
        canvas.BrushColor = Qt::black;
    } else if (!state.testFlag(TGridDrawState::gdFixed) && resultat->Heat >= 1 && manager_->HasHeat() &&
               ColoursHeats(SortComboBox->currentIndex())) {
        canvas.BrushColor = resultat->Heat % 2 == 1 ? OddHeat : EvenHeat;
    }
    if (col == MarkCol && resultat->IsModified()) {
        canvas.Font.setBold(true);
        canvas.Font.setPointSize(MarkPointSize);
        canvas.FontColor = Qt::red;
    }
}

void TEditOvelseForm::EltidClick() {
    TOvelseInfo* info = manager_->OvelseInfo();
    if (SpeakerMode || serieMode_ || !StaevneManager->Registry().EltidDirekte || !info ||
        !OvelseGrid->CommitCell())
        return;
    const TResultat* row = RowAt(OvelseGrid->Row());
    if (!row)
        return;
    // Accepted or not, the reader leaves the heat's rows as they are to be shown: nothing is read anew.
    KoerEltidReader(this, *manager_, *info, row->Heat);
    FillOvelseGrid();
    // The double click that opened the reader was no wish to edit the cell it hit.
    OvelseGrid->CloseEditor();
}

bool TEditOvelseForm::OvelseKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        // Back to the overview, which saves the page on the way.
        PageControl->setCurrentWidget(OversigtPage);
        return true;
    }
    return false;
}

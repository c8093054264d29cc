// Series mode of the result page: the attempts of every row in the series grid, an empty attempt ending
// a row, the mode entered and left, and the round's attempt-series file read into it.
#include "ui/ovelse/EditOvelse.h"

#include "foundation/LxString.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_ResultSerieFil.h"
#include "model/D_Tekster.h"

#include <QAction>
#include <QTabWidget>

#include <algorithm>

namespace {

struct TSerieColumn {
    const char* Caption;
    TResultColumn Kind;
    bool ReadOnly;
    int Width;
};

// The columns left of the attempts, from column 2.
constexpr TSerieColumn SerieColumns[] = {
    {"Nr", TResultColumn::Startnummer, true, 40},    {"Navn", TResultColumn::Navn, false, 160},
    {"Årg", TResultColumn::Aargang, false, 40},      {"Klub", TResultColumn::Klub, true, 120},
    {"Resultat", TResultColumn::Resultat, true, 70}, {"R-Kode", TResultColumn::RK, false, 50},
};
constexpr int AttemptWidth = 80;

const QString NotSeeded = QStringLiteral("Der er ikke seedet, der skal seedes før resultater kan indtastes");
const QString Heat0 = QStringLiteral("Der findes deltagere i heat 0, hvilket ikke er tilladt");

} // namespace

void TEditOvelseForm::SetupSerieGrid() {
    TExtStringGrid& grid = *SerieGrid;
    grid.SetOptions(TGridOption::goEditing | TGridOption::goAlwaysShowEditor | TGridOption::goColSizing);
    grid.SetDefaultRowHeight(20);
    TExtColumns& columns = grid.Columns();
    columns.BeginUpdate();
    columns.Clear();
    for (int fixed = 0; fixed < FirstLayoutCol; ++fixed)
        columns.Add().ReadOnly = true;
    for (const TSerieColumn& each : SerieColumns) {
        TExtColumn& column = columns.Add();
        column.SetText(QString::fromUtf8(each.Caption));
        column.FieldId = QString::number(int(each.Kind));
        column.ReadOnly = each.ReadOnly;
        column.MaxLength = manager_->GetColumnMaxLength(each.Kind);
    }
    for (int attempt = 1; attempt <= AttemptCols; ++attempt)
        columns.Add().SetText(QString::number(attempt));
    columns.EndUpdate();
    grid.SetFixedRows(1);
    grid.SetFixedCols(FirstLayoutCol);
    grid.SetColWidths(NrCol, 32);
    grid.SetColWidths(MarkCol, 18);
    int col = FirstLayoutCol;
    for (const TSerieColumn& each : SerieColumns)
        grid.SetColWidths(col++, each.Width);
    for (; col < grid.ColCount(); ++col)
        grid.SetColWidths(col, AttemptWidth);
    grid.installEventFilter(this);
    grid.InplaceEditor()->installEventFilter(this);
    grid.OnSelectCell = [this](int c, int r, bool& canSelect) { SerieEnterCell(c, r, canSelect); };
    grid.OnLeaveCell = [this](int c, int r, bool&) { SerieLeaveCell(c, r); };
    grid.BeforeDrawCell = [this](int c, int r, TGridDrawStates state, TCellCanvas& canvas) {
        DrawSerieCell(c, r, state, canvas);
    };
}

// ---------------------------------------------------------------- filling

void TEditOvelseForm::FillSerieRow(int gridRow) {
    const TResultat* row = manager_->GetResultat(gridRow - SerieGrid->FixedRows());
    if (!row)
        return;
    TExtStringGrid& grid = *SerieGrid;
    grid.SetCells(NrCol, gridRow, QString::number(gridRow));
    grid.SetCells(MarkCol, gridRow, row->IsModified() ? QStringLiteral("*") : QStringLiteral(" "));
    int col = FirstLayoutCol;
    for (const TSerieColumn& each : SerieColumns)
        grid.SetCells(col++, gridRow, CellText(*row, each.Kind));
    for (int attempt = 0; attempt < AttemptCols; ++attempt)
        grid.SetCells(FirstAttemptCol + attempt, gridRow, row->GetSerieText(attempt));
}

void TEditOvelseForm::FillSerieGrid() {
    TExtStringGrid& grid = *SerieGrid;
    const int col = grid.Col();
    const int row = grid.Row();
    const bool wasSuppressed = suppress_;
    suppress_ = true;
    grid.BeginUpdate();
    grid.SetRowCount(manager_->Count() + grid.FixedRows());
    for (int gridRow = grid.FixedRows(); gridRow < grid.RowCount(); ++gridRow) {
        if (gridRow - grid.FixedRows() < manager_->Count())
            FillSerieRow(gridRow);
        else
            grid.ClearRow(gridRow);
    }
    grid.EndUpdate();
    suppress_ = wasSuppressed;
    KeepCursor(grid, col, row);
}

// ---------------------------------------------------------------- editing

void TEditOvelseForm::SerieEnterCell(int col, int row, bool& canSelect) {
    if (suppress_)
        return;
    TExtStringGrid& grid = *SerieGrid;
    // Moving right from an empty attempt onto another empty one ends the row: on to the next row's first
    // attempt, or from the last row to its status.
    if (!leaveSuppressed_ && row == grid.Row() && col > grid.Col() && col > FirstAttemptCol &&
        TrimBlanks(grid.Cells(col, row)).isEmpty() && TrimBlanks(grid.Cells(col - 1, row)).isEmpty()) {
        canSelect = false;
        QMetaObject::invokeMethod(
            this,
            [this, row] {
                Guarded(this, [this, row] {
                    TExtStringGrid& serie = *SerieGrid;
                    if (!serieMode_)
                        return true;
                    if (row < serie.RowCount() - 1)
                        serie.GotoCell(FirstAttemptCol, row + 1, true);
                    else
                        serie.GotoCell(SerieRKodeCol, row, true);
                    UpdateControls();
                    return true;
                });
            },
            Qt::QueuedConnection);
        return;
    }
    const TResultat* resultat = manager_->GetResultat(row - grid.FixedRows());
    if (!resultat)
        return;
    const TExtColumn* column = grid.GetExtColumn(col);
    const bool wasSuppressed = suppress_;
    suppress_ = true;
    if (col >= FirstAttemptCol) {
        grid.SetCells(col, row, resultat->GetSerieEditText(col - FirstAttemptCol));
    } else if (column && !column->ReadOnly) {
        if (const std::optional<TResultColumn> kind = ResultColumnOf(column->FieldId.toInt()))
            grid.SetCells(col, row, resultat->GetFieldEditText(*kind));
    }
    suppress_ = wasSuppressed;
    if (row != grid.Row())
        grid.viewport()->update();
    // The series commands serve left of the attempts only.
    QMetaObject::invokeMethod(
        this, [this] { UpdateControls(); }, Qt::QueuedConnection);
}

void TEditOvelseForm::SerieLeaveCell(int col, int row) {
    if (suppress_ || leaveSuppressed_)
        return;
    TExtStringGrid& grid = *SerieGrid;
    TResultat* resultat = manager_->GetResultat(row - grid.FixedRows());
    const TExtColumn* column = grid.GetExtColumn(col);
    if (!resultat || !column)
        return;
    const bool wasModified = resultat->IsModified();
    const bool typed = grid.CellModified(col) && !column->ReadOnly && !SpeakerMode;
    const QString text = grid.Cells(col, row);
    if (col >= FirstAttemptCol) {
        const int attempt = col - FirstAttemptCol;
        if (typed) {
            if (!ParseResKode(TrimBlanks(text)).isEmpty())
                resultat->SetFieldText(TResultColumn::RK, TrimBlanks(text));
            else
                resultat->SetSerieText(attempt, text);
        }
        const bool wasSuppressed = suppress_;
        suppress_ = true;
        grid.SetCells(col, row, resultat->GetSerieText(attempt));
        grid.SetCells(SerieResultatCol, row, CellText(*resultat, TResultColumn::Resultat));
        grid.SetCells(SerieRKodeCol, row, CellText(*resultat, TResultColumn::RK));
        suppress_ = wasSuppressed;
    } else if (const std::optional<TResultColumn> kind = ResultColumnOf(column->FieldId.toInt())) {
        if (typed)
            resultat->SetFieldText(*kind, text);
        const bool wasSuppressed = suppress_;
        suppress_ = true;
        grid.SetCells(col, row, CellText(*resultat, *kind));
        suppress_ = wasSuppressed;
    }
    if (resultat->IsModified() != wasModified)
        grid.SetCells(MarkCol, row, resultat->IsModified() ? QStringLiteral("*") : QStringLiteral(" "));
}

void TEditOvelseForm::DrawSerieCell(int col, int row, TGridDrawStates state, TCellCanvas& canvas) const {
    if (row < SerieGrid->FixedRows() || state.testFlag(TGridDrawState::gdFixed))
        return;
    const TResultat* resultat = manager_->GetResultat(row - SerieGrid->FixedRows());
    if (!resultat)
        return;
    if (col == MarkCol && resultat->IsModified()) {
        canvas.Font.setBold(true);
        canvas.FontColor = Qt::red;
    }
    if (col < FirstAttemptCol)
        return;
    canvas.FontColor = Qt::blue;
    // The attempt that is the row's result.
    const TSerie* serie = resultat->GetSerie(col - FirstAttemptCol);
    if (serie && serie->IsMark() && resultat->Resultat != 0 && serie->Value == resultat->Resultat &&
        (resultat->Ovtype() != int(TOvtype::VertikalSpring) || serie->IsCleared()))
        canvas.Font.setBold(true);
}

// ---------------------------------------------------------------- the mode

void TEditOvelseForm::ResultatSerieClick() {
    if (serieMode_)
        LeaveSerieMode();
    else
        EnterSerieMode();
}

void TEditOvelseForm::EnterSerieMode() {
    if (!CommitPage() || !SaveOvelse())
        return;
    if (!manager_->HasHeat())
        throw Exception(NotSeeded);
    for (int i = 0; i < manager_->Count(); ++i) {
        const TResultat& row = *manager_->GetResultat(i);
        if (row.HasStarted() && !row.HasHeat())
            throw Exception(Heat0);
    }
    serieMode_ = true;
    ResultatSerieToolButton->setData(2);
    ResultatSerieToolButton->setText(QStringLiteral("Godkend serier"));
    OvelseGrid->hide();
    SerieGrid->show();
    FillSerieGrid();
    SerieGrid->setFocus();
    PlaceCursor(*SerieGrid, FirstAttemptCol, SerieGrid->FixedRows());
}

void TEditOvelseForm::LeaveSerieMode() {
    TExtStringGrid& serie = *SerieGrid;
    if (!serie.CommitCell())
        return;
    if (serie.RowCount() > serie.FixedRows())
        serie.GotoCell(SerieRKodeCol, serie.FixedRows(), true);
    serieMode_ = false;
    ResultatSerieToolButton->setData(1);
    ResultatSerieToolButton->setText(QStringLiteral("Indtast resultater"));
    serie.hide();
    OvelseGrid->show();
    if (!SpeakerMode && manager_->HasResultat()) {
        manager_->CalcPlacering();
        const bool heat =
            !manager_->OvelseInfo() ||
            manager_->OvelseInfo()->OvelseRn().GetField(OvelseRnField::ResType)->GetAsInteger() == 0;
        SortResultater(heat ? SortHeatResultat : SortResultatHeat);
    }
    FillOvelseGrid();
    OvelseGrid->setFocus();
}

void TEditOvelseForm::ReadResultatSerieClick() {
    if (!serieMode_ || !manager_->OvelseInfo() || !SerieGrid->CommitCell())
        return;
    const QStringList messages =
        ReadResultatSerieFil(*manager_, ResultatSerieFilSti(*manager_->OvelseInfo()));
    FillSerieGrid();
    ShowMessages(messages);
}

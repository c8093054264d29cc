// The overview grid of the event editor: filled from the overview's layout, drawn in its colours, its
// keys, and the start times typed into the class/event layout.
#include "ui/ovelse/EditOvelse.h"

#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_GridKlasse.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "ui/ovelse/OversigtInfo.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTabWidget>

namespace {

// The overview's colours: status colours on black, the current cell on blue.
const QColor Baggrund(Qt::black);
const QColor Tekst(Qt::lightGray);
const QColor Fast(64, 64, 64);
const QColor Valgt(0, 0, 128);
const QColor Aktuel(Qt::blue);
const QColor Graa(128, 128, 128);
// Room beside a cell's text.
constexpr int CellPadding = 4;

} // namespace

TAlignment AlignmentOf(Qt::Alignment alignment) {
    if (alignment & Qt::AlignHCenter)
        return TAlignment::taCenter;
    if (alignment & Qt::AlignRight)
        return TAlignment::taRightJustify;
    return TAlignment::taLeftJustify;
}

TOversigtValg TEditOvelseForm::OversigtValg() const {
    const int sortering = std::clamp(OversigtSortering->currentIndex(), 0, OversigtSorteringCount - 1);
    TOversigtValg valg = MeetOversigtValg(static_cast<TOversigtSortering>(sortering),
                                          std::max(VisUgedagComboBox->currentIndex(), 0),
                                          VisNulOvelser->isChecked(), VisTidsskema->isChecked());
    valg.Overlap = overlap_.get();
    return valg;
}

bool TEditOvelseForm::IsTidEditing() const {
    return !SpeakerMode && OversigtSortering->currentIndex() == int(TOversigtSortering::KlasseOvelse) &&
           VisTidsskema->isChecked();
}

void TEditOvelseForm::SetupOversigtGrid() {
    OversigtGrid->SetOptions(TGridOption::goRangeSelect | TGridOption::goColSizing);
    // On the heading alone: the grid's other parts keep the plain style.
    OversigtGrid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: rgb(64, 64, 64); "
                       "color: white; font-weight: bold; padding: 2px; }"));
    QPalette palette = OversigtGrid->palette();
    palette.setColor(QPalette::Base, Baggrund);
    OversigtGrid->setPalette(palette);
    OversigtGrid->SetDefaultRowHeight(20);
    OversigtGrid->installEventFilter(this);
    OversigtGrid->InplaceEditor()->installEventFilter(this);
    OversigtGrid->BeforeDrawCell = [this](int col, int row, TGridDrawStates state, TCellCanvas& canvas) {
        DrawOversigtCell(col, row, state, canvas);
    };
    OversigtGrid->OnSelectCell = [this](int col, int row, bool&) {
        if (suppress_)
            return;
        currentOvelse_ = oversigt_.Info(col, row);
        PostShowSelection();
    };
    OversigtGrid->OnSelectionChanged = [this] {
        if (!suppress_)
            PostShowSelection();
    };
    OversigtGrid->OnCanEditCell = [this](int col, int row) {
        return IsTidEditing() && oversigt_.Info(col, row) != nullptr;
    };
    OversigtGrid->OnLeaveCell = [this](int col, int row, bool& allow) { OversigtLeaveCell(col, row, allow); };
}

void TEditOvelseForm::FillOversigt() {
    const TOvelseInfo* stood = currentOvelse_;
    const int col = OversigtGrid->Col();
    const int row = OversigtGrid->Row();
    oversigt_ = BuildOversigt(*OvelseManager, OversigtValg(), manager_.get());
    CopyOversigtToGrid();
    // Back on the round it stood on, else on the same place as near as the new layout has it.
    const std::optional<std::pair<int, int>> cell = oversigt_.Find(stood);
    const auto [toCol, toRow] =
        cell.value_or(std::pair(std::clamp(col, 1, std::max(OversigtGrid->ColCount() - 1, 1)),
                                std::clamp(row, 1, std::max(OversigtGrid->RowCount() - 1, 1))));
    suppress_ = true;
    OversigtGrid->GotoCell(toCol, toRow, true);
    OversigtGrid->SetSelection({toCol, toRow, toCol, toRow});
    suppress_ = false;
    currentOvelse_ = oversigt_.Info(OversigtGrid->Col(), OversigtGrid->Row());
    for (const QString& warning : oversigt_.Warnings()) {
        if (!warned_.contains(warning)) {
            warned_.append(warning);
            ShowErrorLater(this, warning);
        }
    }
}

void TEditOvelseForm::CopyOversigtToGrid() {
    suppress_ = true;
    TExtStringGrid& grid = *OversigtGrid;
    const bool editing = IsTidEditing();
    TGridOptions options = TGridOption::goRangeSelect | TGridOption::goColSizing;
    if (editing)
        options |= TGridOption::goEditing;
    grid.SetOptions(options);
    grid.BeginUpdate();
    TExtColumns& columns = grid.Columns();
    columns.BeginUpdate();
    columns.Clear();
    for (int col = 0; col < oversigt_.ColCount(); ++col) {
        TExtColumn& column = columns.Add();
        column.SetText(oversigt_.Column(col).Header);
        column.SetAlignment(AlignmentOf(oversigt_.Column(col).Alignment));
        column.ReadOnly = col == 0;
    }
    columns.EndUpdate();
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    grid.SetRowCount(oversigt_.RowCount());
    // The layout's widths fit the fonts they were made for: a column is widened to its longest text so
    // that nothing is cut. Only the longest text of a column is measured. The cells are copied in the
    // same pass.
    std::vector<QString> longest(static_cast<std::size_t>(oversigt_.ColCount()));
    for (int row = 0; row < oversigt_.RowCount(); ++row)
        for (int col = 0; col < oversigt_.ColCount(); ++col) {
            const QString text = oversigt_.Text(col, row);
            if (text.size() > longest[std::size_t(col)].size())
                longest[std::size_t(col)] = text;
            if (row > 0)
                grid.SetCells(col, row, text);
        }
    QFont boldFont = grid.font();
    boldFont.setBold(true);
    const QFontMetrics bold(boldFont);
    for (int col = 0; col < oversigt_.ColCount(); ++col) {
        // Headings and labels are bold, and the bold measure is the wider.
        const int needed = bold.horizontalAdvance(longest[std::size_t(col)]) + 3 * CellPadding;
        grid.SetColWidths(col, std::max(oversigt_.Column(col).Width, needed));
    }
    grid.EndUpdate();
    suppress_ = false;
}

void TEditOvelseForm::RewriteCell(const TOvelseInfo* info) {
    if (!info || !oversigt_.Rewrite(info, OversigtValg()))
        return;
    const auto [col, row] = *oversigt_.Find(info);
    suppress_ = true;
    OversigtGrid->SetCells(col, row, oversigt_.Text(col, row));
    suppress_ = false;
}

void TEditOvelseForm::RewriteKlasseCells() {
    if (!overlap_)
        return;
    for (int i = 0; i < overlap_->Count(); ++i)
        RewriteCell(overlap_->GetOvelse(i)->OvelseInfo);
}

void TEditOvelseForm::DrawOversigtCell(int col, int row, TGridDrawStates state, TCellCanvas& canvas) const {
    if (col >= oversigt_.ColCount())
        return;
    const bool labelCell = state.testFlag(TGridDrawState::gdFixed) || oversigt_.Column(col).Label;
    if (labelCell) {
        canvas.Font.setBold(true);
        const bool ofCurrentTid = row >= currentTidRows_.first && row <= currentTidRows_.second;
        canvas.FontColor = ofCurrentTid ? QColor(Qt::black) : QColor(Qt::white);
        canvas.BrushColor = ofCurrentTid ? QColor(Qt::white) : Fast;
        return;
    }
    canvas.BrushColor = Baggrund;
    canvas.FontColor = Tekst;
    if (oversigt_.Grey(col, row))
        canvas.BrushColor = Graa;
    if (const TOvelseInfo* info = oversigt_.Info(col, row)) {
        if (!filterKlasse_) {
            if (info->SeedningFindes && info->Heat0Findes) {
                canvas.FontColor = Qt::white;
                canvas.BrushColor = Qt::red;
            } else if (info->ResultaterFindes) {
                canvas.FontColor = Qt::green;
            } else if (info->SeedningFindes) {
                canvas.FontColor = Qt::yellow;
            } else if (info->AntalAktiveDeltagere > 0) {
                canvas.FontColor = Qt::red;
            } else {
                canvas.FontColor = Qt::cyan;
            }
        } else if (&info->Klasse() == filterKlasse_) {
            canvas.FontColor = Qt::white;
            canvas.BrushColor = Qt::red;
        }
    }
    if (state.testFlag(TGridDrawState::gdSelected))
        canvas.BrushColor = Valgt;
    if (col == OversigtGrid->Col() && row == OversigtGrid->Row())
        canvas.BrushColor = Aktuel;
}

// ---------------------------------------------------------------- typing a start time

void TEditOvelseForm::OversigtLeaveCell(int col, int row, bool&) {
    if (suppress_ || !IsTidEditing())
        return;
    TOvelseInfo* info = oversigt_.Info(col, row);
    if (!info)
        return;
    const QString typed = OversigtGrid->Cells(col, row);
    if (typed == TidText(*info))
        return;
    const std::optional<QString> refused = FailureOf([&] {
        SetRundeTid(*info, ParseOversigtTid(typed));
        // Saved, and the indexes that order rounds by time follow at once.
        OvelseManager->Save();
        OvelseManager->Reindex();
    });
    if (refused)
        ShowErrorLater(this, *refused);
    RewriteCell(info);
    // The time labels of the row may follow the new time.
    QMetaObject::invokeMethod(
        this, [this] { OversigtGrid->viewport()->update(); }, Qt::QueuedConnection);
}

// ---------------------------------------------------------------- keys

bool TEditOvelseForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == OversigtGrid || watched == OversigtGrid->InplaceEditor())) {
        auto* key = static_cast<QKeyEvent*>(event);
        bool taken = false;
        Guarded(this, [&] {
            taken = OversigtKey(key);
            return true;
        });
        if (taken)
            return true;
    }
    if (event->type() == QEvent::KeyPress &&
        (watched == OvelseGrid || watched == OvelseGrid->InplaceEditor() || watched == SerieGrid ||
         watched == SerieGrid->InplaceEditor())) {
        auto* key = static_cast<QKeyEvent*>(event);
        bool taken = false;
        Guarded(this, [&] {
            taken = OvelseKey(key);
            return true;
        });
        if (taken)
            return true;
    }
    return TStdRVKForm::eventFilter(watched, event);
}

bool TEditOvelseForm::OversigtKey(QKeyEvent* event) {
    const bool inEditor = OversigtGrid->InplaceEditor()->hasFocus();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (key == Qt::Key_F5 && modifiers == Qt::NoModifier) {
        Reopen();
        return true;
    }
    if (inEditor)
        return false;
    if (key == Qt::Key_Space && modifiers == Qt::NoModifier) {
        Reopen();
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && modifiers == Qt::NoModifier && !IsTidEditing()) {
        OpenOvelsePage();
        return true;
    }
    if (key == Qt::Key_C && modifiers == Qt::ControlModifier) {
        QApplication::clipboard()->setText(OversigtText());
        return true;
    }
    return false;
}

QString TEditOvelseForm::OversigtText() const {
    QString text;
    for (int row = 0; row < OversigtGrid->RowCount(); ++row) {
        for (int col = 0; col < OversigtGrid->ColCount(); ++col) {
            if (col > 0)
                text += u'\t';
            text += OversigtGrid->Cells(col, row);
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

void TEditOvelseForm::Reopen() {
    if (!CanClose())
        return;
    ReopenOvelseEditor = true;
    closeChecked_ = true;
    done(mrOk);
}

void TEditOvelseForm::OpenOvelsePage() {
    if (!currentOvelse_ || !PageControl->isTabVisible(PageControl->indexOf(OvelsePage)))
        return;
    PageControl->setCurrentWidget(OvelsePage);
}

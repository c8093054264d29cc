#include "ui/ovelse/EditOvelseLoeb.h"

#include "foundation/controls/EditUtil.h"
#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/MsgForm.h"
#include "foundation/controls/RvkForms.h"
#include "model/D_Context.h"
#include "ui/WidgetKit.h"
#include "ui/eltid/QuickEntry.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QTime>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace {

const QString ClockFormat = QStringLiteral("hh:mm:ss");
constexpr std::chrono::milliseconds ClockInterval{500};
constexpr int ResultatCol = int(TQuickColumn::Resultat);

QTime Now() {
    return DateTimeToQTime(ModelContext().Now());
}

} // namespace

TRunningPage::TRunningPage(TRunningPageHost editor)
    : QuickStartnummer(Named(new TIntegerEdit(editor.LobeResultatPage), QStringLiteral("QuickStartnummer")))
    , QuickResultat(Named(new TStringEdit(editor.LobeResultatPage), QStringLiteral("QuickResultat")))
    , AktuelTid(MakeLabel(editor.LobeResultatPage, QStringLiteral("AktuelTid"), QStringLiteral("00:00:00")))
    , Starttid(Named(new QTimeEdit(editor.LobeResultatPage), QStringLiteral("Starttid")))
    , Timer1(Named(new QTimer(this), QStringLiteral("Timer1")))
    , editor_(std::move(editor)) {
    BuildPage();
    SetupGrid();
    Timer1->setInterval(ClockInterval);
    connect(Timer1, &QTimer::timeout, this, [this] { ShowClock(); });
    for (QWidget* box : {static_cast<QWidget*>(QuickStartnummer), static_cast<QWidget*>(QuickResultat)})
        box->installEventFilter(this);
    OnEnterKey(QuickStartnummer, [this] { StartnummerEntered(); });
    OnEnterKey(QuickResultat, [this] { ResultatEntered(); });
    connect(Starttid, &QTimeEdit::editingFinished, this, [this] {
        Guarded(editor_.Form, [this] {
            if (entry_) {
                entry_->SetStarttid(Starttid->time());
                FillTid();
            }
            return true;
        });
    });
}

TRunningPage::~TRunningPage() {
    // The grid outlives the page by a little as the window goes.
    editor_.LobeResultatGrid->OnLeaveCell = nullptr;
}

void TRunningPage::BuildPage() {
    QWidget* const page = editor_.LobeResultatPage;
    QuickStartnummer->setMaximumWidth(100);
    QuickStartnummer->SetEditAlignment(TAlignment::taRightJustify);
    QuickResultat->setMaximumWidth(120);
    Starttid->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    Starttid->setTime(QTime(0, 0));
    QFont clock = AktuelTid->font();
    clock.setPointSize(18);
    clock.setBold(true);
    AktuelTid->setFont(clock);

    auto* boxes = new QHBoxLayout;
    const auto labelled = [&](const QString& caption, QWidget* control) {
        boxes->addWidget(MakeLabel(page, {}, caption));
        boxes->addWidget(control);
        boxes->addSpacing(12);
    };
    labelled(QStringLiteral("Startnummer"), QuickStartnummer);
    labelled(QStringLiteral("Resultat"), QuickResultat);
    labelled(QStringLiteral("Starttid"), Starttid);
    boxes->addStretch();
    boxes->addWidget(AktuelTid);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(boxes);
    layout->addWidget(editor_.LobeResultatGrid, 1);
    layout->addWidget(editor_.AutoTidRegistrering);
    editor_.AutoTidRegistrering->hide();
}

void TRunningPage::SetupGrid() {
    TExtStringGrid& grid = *editor_.LobeResultatGrid;
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    TExtColumns& columns = grid.Columns();
    columns.BeginUpdate();
    columns.Clear();
    for (const QString& heading : TQuickEntry::Headings()) {
        TExtColumn& column = columns.Add();
        column.SetText(heading);
        column.ReadOnly = columns.Count() - 1 != ResultatCol;
        column.Tabulator = !column.ReadOnly;
    }
    columns.EndUpdate();
    int col = 0;
    for (const int width : {40, 60, 90, 240, 180, 80, 80})
        grid.SetColWidths(col++, width);
    grid.SetRowCount(2);
    grid.OnLeaveCell = [this](int leftCol, int row, bool& allow) {
        allow = true;
        if (!quiet_)
            LeaveCell(leftCol, row);
    };
    // Leaving the grid takes its open cell as leaving the cell does.
    connect(&grid, &TExtStringGrid::Exited, this, [&grid] { grid.CommitCell(); });
    grid.hide();
}

// ---------------------------------------------------------------- entering and leaving

bool TRunningPage::Enter(const std::vector<TOvelseInfo*>& rounds) {
    TExtStringGrid& grid = *editor_.LobeResultatGrid;
    grid.hide();
    entry_ = std::make_unique<TQuickEntry>(editor_.Manager());
    if (!entry_->Enter(rounds)) {
        entry_.reset();
        return false;
    }
    const bool readOnly = TQuickEntry::IsReadOnly();
    grid.SetOptions(readOnly ? TGridOption::goRowSelect | TGridOption::goColSizing
                             : TGridOption::goEditing | TGridOption::goColSizing);
    FillGrid();
    editor_.Form->NavigationEnabled = false;
    QuickStartnummer->clear();
    QuickResultat->clear();
    QuickStartnummer->setEnabled(!readOnly);
    QuickResultat->setEnabled(false);
    if (!readOnly)
        PostFocus(QuickStartnummer);
    editor_.OvelseHeader->hide();
    ShowClock();
    Timer1->start();
    return true;
}

void TRunningPage::Leave(const std::vector<TOvelseInfo*>& rounds,
                         const std::function<void(TOvelseInfo&)>& saved) {
    if (entry_) {
        try {
            entry_->Leave(rounds, saved);
        } catch (...) {
            // The rows were saved before: the page goes on from what is stored.
            Enter(rounds);
            throw;
        }
    }
    Timer1->stop();
    entry_.reset();
    TExtStringGrid& grid = *editor_.LobeResultatGrid;
    quiet_ = true;
    grid.hide();
    grid.ClearRows();
    grid.SetRowCount(grid.FixedRows() + 1);
    quiet_ = false;
    editor_.Form->NavigationEnabled = true;
    editor_.OvelseHeader->show();
}

// ---------------------------------------------------------------- the grid

void TRunningPage::FillGrid() {
    TExtStringGrid& grid = *editor_.LobeResultatGrid;
    const int fixed = grid.FixedRows();
    // The quick entry counts an empty last row that this grid does without.
    const int rows = entry_->RowCount() - 1;
    quiet_ = true;
    grid.BeginUpdate();
    grid.SetRowCount(fixed + std::max(rows, 1));
    if (rows == 0)
        grid.ClearRow(fixed);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < QuickColumnCount; ++col)
            grid.SetCells(col, fixed + row, entry_->CellText(row, TQuickColumn(col)));
    grid.EndUpdate();
    grid.show();
    grid.GotoCell(ResultatCol, fixed, true);
    quiet_ = false;
}

void TRunningPage::ShowRow(int row) {
    TExtStringGrid& grid = *editor_.LobeResultatGrid;
    for (int col = 0; col < QuickColumnCount; ++col)
        grid.SetCells(col, grid.FixedRows() + row, entry_->CellText(row, TQuickColumn(col)));
}

void TRunningPage::StandOn(int row) {
    TExtStringGrid& grid = *editor_.LobeResultatGrid;
    quiet_ = true;
    grid.GotoCell(ResultatCol, grid.FixedRows() + row, true);
    quiet_ = false;
}

void TRunningPage::FillTid() {
    TExtStringGrid& grid = *editor_.LobeResultatGrid;
    const int col = int(TQuickColumn::Tid);
    grid.BeginUpdate();
    for (int row = 0; row + 1 < entry_->RowCount(); ++row)
        grid.SetCells(col, grid.FixedRows() + row, entry_->CellText(row, TQuickColumn::Tid));
    grid.EndUpdate();
}

void TRunningPage::LeaveCell(int col, int row) {
    TExtStringGrid& grid = *editor_.LobeResultatGrid;
    const int at = row - grid.FixedRows();
    if (col != ResultatCol || !entry_ || !entry_->RowAt(at))
        return;
    const QString text = grid.Cells(col, row);
    if (text != entry_->CellText(at, TQuickColumn::Resultat))
        grid.SetCells(col, row, entry_->SetResultatCell(at, text));
}

// ---------------------------------------------------------------- the boxes

void TRunningPage::ShowClock() {
    AktuelTid->setText(Now().toString(ClockFormat));
}

void TRunningPage::PostFocus(QWidget* control) {
    QMetaObject::invokeMethod(
        control,
        [control] {
            if (control->isEnabled() && control->isVisible())
                control->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

bool TRunningPage::eventFilter(QObject* watched, QEvent* event) {
    // The boxes take turns: the one the user is in leaves the other disabled.
    if (event->type() == QEvent::FocusIn) {
        if (watched == QuickStartnummer)
            QuickResultat->setEnabled(false);
        else if (watched == QuickResultat)
            QuickStartnummer->setEnabled(false);
    }
    return QObject::eventFilter(watched, event);
}

void TRunningPage::StartnummerEntered() {
    if (!entry_)
        return;
    const bool done = Guarded(editor_.Form, [this] {
        const QString text = QuickStartnummer->text();
        // The grid stands on the runner before a question about the runner's result.
        if (const std::optional<qint32> nummer = TQuickEntry::ParseStartnummer(text))
            if (const int row = entry_->RowOf(*nummer); row >= 0)
                StandOn(row);
        const TQuickStartOutcome outcome =
            entry_->EnterStartnummer(text, Now(), editor_.AutoTidRegistrering->isChecked(), editor_.Form);
        if (!outcome.LogFejl.isEmpty())
            ShowErrorLater(editor_.Form, outcome.LogFejl);
        switch (outcome.What) {
        case TQuickStart::EnterResultat:
            QuickResultat->setEnabled(true);
            PostFocus(QuickResultat);
            return true;
        case TQuickStart::Registered:
            ShowRow(outcome.Row);
            StandOn(outcome.Row);
            break;
        case TQuickStart::Kept:
        case TQuickStart::Nothing:
            break;
        }
        return false;
    });
    // Ready for the next start number.
    if (!done)
        QuickStartnummer->selectAll();
}

void TRunningPage::ResultatEntered() {
    if (!entry_)
        return;
    Guarded(editor_.Form, [this] {
        const TQuickResultOutcome outcome =
            entry_->EnterResultat(QuickStartnummer->text(), QuickResultat->text());
        if (!outcome.Fejl.isEmpty()) {
            // The text stays for the user to mend.
            QuickResultat->selectAll();
            throw Exception(outcome.Fejl);
        }
        if (outcome.Row >= 0) {
            ShowRow(outcome.Row);
            StandOn(outcome.Row);
        }
        QuickResultat->clear();
        QuickStartnummer->setEnabled(true);
        QuickStartnummer->selectAll();
        PostFocus(QuickStartnummer);
        return true;
    });
}

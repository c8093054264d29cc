#include "ui/klub/EditKlubImport.h"

#include "foundation/BusyCursor.h"
#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/controls/Extstrgr.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneSystemData.h"
#include "ui/Launchers.h"
#include "ui/WidgetKit.h"
#include "ui/klub/EditKlubGrid.h"
#include "ui/klub/EditKlubHost.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QColor FejlColor(255, 140, 140);

QLineEdit* MakeEdit(QWidget* parent, const QString& name, int maxLength) {
    QLineEdit* edit = Named(new QLineEdit(parent), name);
    edit->setMaxLength(maxLength);
    return edit;
}

QString Quoted(const QString& text) {
    return u'"' + text + u'"';
}

} // namespace

TAutoTilmeldPanel::TAutoTilmeldPanel(TKlubDialogHost& dialog, QWidget* parent)
    : QWidget(parent)
    , PageControl(Named(new QTabWidget(this), QStringLiteral("PageControl")))
    , RaaDataSide(MakePanel(PageControl, QStringLiteral("RaaDataSide")))
    , RichEdit(Named(new QPlainTextEdit(RaaDataSide), QStringLiteral("RichEdit")))
    , CSVSeparator(MakeEdit(RaaDataSide, QStringLiteral("CSVSeparator"), 1))
    , UseTABSeparator(
          MakeCheck(RaaDataSide, QStringLiteral("UseTABSeparator"), QStringLiteral("Brug TAB som separator")))
    , CSVStartnummer(
          MakeCheck(RaaDataSide, QStringLiteral("CSVStartnummer"), QStringLiteral("Startnummer inkluderet")))
    , ClipboardImport(MakeButton(RaaDataSide, QStringLiteral("ClipboardImport"),
                                 QStringLiteral("Import fra \"clipboard\"")))
    , OpdaterDataside(MakePanel(PageControl, QStringLiteral("OpdaterDataside")))
    , AutoKlubPanel(MakePanel(OpdaterDataside, QStringLiteral("AutoKlubPanel")))
    , AutoKlubNavnEdit(MakeEdit(AutoKlubPanel, QStringLiteral("AutoKlubNavnEdit"), 25))
    , AutoTelefonEdit(MakeEdit(AutoKlubPanel, QStringLiteral("AutoTelefonEdit"), 30))
    , AutoFaxEdit(MakeEdit(AutoKlubPanel, QStringLiteral("AutoFaxEdit"), 30))
    , AutoEmailEdit(MakeEdit(AutoKlubPanel, QStringLiteral("AutoEmailEdit"), 50))
    , AutoKontaktpersonEdit(MakeEdit(AutoKlubPanel, QStringLiteral("AutoKontaktpersonEdit"), 25))
    , AutoAdresse1Edit(MakeEdit(AutoKlubPanel, QStringLiteral("AutoAdresse1Edit"), 30))
    , AutoAdresse2Edit(MakeEdit(AutoKlubPanel, QStringLiteral("AutoAdresse2Edit"), 30))
    , AutoAdresse3Edit(MakeEdit(AutoKlubPanel, QStringLiteral("AutoAdresse3Edit"), 30))
    , AutoAdresse4Edit(MakeEdit(AutoKlubPanel, QStringLiteral("AutoAdresse4Edit"), 30))
    , AutoAdresse5Edit(MakeEdit(AutoKlubPanel, QStringLiteral("AutoAdresse5Edit"), 30))
    , AutoKontrol(MakeButton(AutoKlubPanel, QStringLiteral("AutoKontrol"), QStringLiteral("Kontroller")))
    , AutoOpdDeltagere(MakeButton(AutoKlubPanel, QStringLiteral("AutoOpdDeltagere"),
                                  QStringLiteral("Opdater på aktuel klub")))
    , AutoOpdKlubDeltagere(MakeButton(AutoKlubPanel, QStringLiteral("AutoOpdKlubDeltagere"),
                                      QStringLiteral("Opret ny klub og opdater")))
    , AutoDataGrid(Named(new TExtStringGrid(OpdaterDataside), QStringLiteral("AutoDataGrid")))
    , dialog_(dialog) {
    setObjectName(QStringLiteral("AutoTilmeldPanel"));
    BuildRaaDataSide();
    BuildOpdaterDataside();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl);
    PageControl->addTab(RaaDataSide, QStringLiteral("CSV data"));
    PageControl->addTab(OpdaterDataside, QStringLiteral("Data til opdatering"));
    PageControl->setCurrentWidget(OpdaterDataside);
    markers_.assign(1, ImportRowOk);
    BuildConnections();
}

// ---------------------------------------------------------------- building

void TAutoTilmeldPanel::BuildRaaDataSide() {
    CSVSeparator->setText(QStringLiteral(";"));
    CSVSeparator->setFixedWidth(30);
    UseTABSeparator->setChecked(true);
    RichEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit->installEventFilter(this);
    auto* options = new QHBoxLayout;
    options->addWidget(
        MakeLabel(RaaDataSide, QStringLiteral("CSVSeparatorLabel"), QStringLiteral("Felt separator")));
    options->addWidget(CSVSeparator);
    options->addWidget(UseTABSeparator);
    options->addWidget(CSVStartnummer);
    options->addStretch();
    options->addWidget(ClipboardImport);
    auto* layout = new QVBoxLayout(RaaDataSide);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(RichEdit, 1);
    layout->addLayout(options);
}

void TAutoTilmeldPanel::BuildOpdaterDataside() {
    SetupKlubGrid(*AutoDataGrid, {{u"Navn", 176},
                                  {u"Årgang", 33},
                                  {u"Klasse", 35, true},
                                  {u"Øvelse", 59, true},
                                  {u"Tilmeldt res", 60},
                                  {u"PR", 47},
                                  {u"Startnr", 41},
                                  {u"EA", 27, true},
                                  {u"Kode", 30, true}});
    AutoDataGrid->EnterKeyMovement = TEnterKeyMovement::ekEnter;
    AutoDataGrid->AutoDelete = true;
    AutoDataGrid->BeforeDelete = [this](int row, bool& allow) { BeforeDeleteRow(row, allow); };
    AutoDataGrid->AfterDelete = [this](int row) {
        const std::size_t index = static_cast<std::size_t>(row - AutoDataGrid->FixedRows());
        if (index < markers_.size() && markers_.size() > 1)
            markers_.erase(markers_.begin() + static_cast<std::ptrdiff_t>(index));
    };
    AutoDataGrid->BeforeDrawCell = [this](int, int row, TGridDrawStates state, TCellCanvas& canvas) {
        const std::size_t index = static_cast<std::size_t>(row - AutoDataGrid->FixedRows());
        if (row >= AutoDataGrid->FixedRows() && index < markers_.size() && markers_[index] == ImportRowFejl &&
            !state.testFlag(TGridDrawState::gdSelected))
            canvas.BrushColor = FejlColor;
    };

    auto* klub = new QGridLayout(AutoKlubPanel);
    klub->setContentsMargins(2, 2, 2, 2);
    klub->setVerticalSpacing(2);
    int row = 0;
    const auto add = [&](const QString& caption, QLineEdit* edit) {
        if (!caption.isEmpty())
            klub->addWidget(MakeLabel(AutoKlubPanel, edit->objectName() + QStringLiteral("Label"), caption),
                            row, 0);
        klub->addWidget(edit, row++, 1);
    };
    add(QStringLiteral("Klub"), AutoKlubNavnEdit);
    add(QStringLiteral("Telefon"), AutoTelefonEdit);
    add(QStringLiteral("Fax"), AutoFaxEdit);
    add(QStringLiteral("E-mail"), AutoEmailEdit);
    add(QStringLiteral("Kontaktperson"), AutoKontaktpersonEdit);
    add(QStringLiteral("Adresse"), AutoAdresse1Edit);
    for (QLineEdit* adresse : {AutoAdresse2Edit, AutoAdresse3Edit, AutoAdresse4Edit, AutoAdresse5Edit})
        add({}, adresse);
    klub->setRowStretch(row, 1);

    // The club's edits scroll, so that the import keeps to the lower half of the work area; the import's
    // buttons stay below them in sight.
    auto* scroll = new QScrollArea(OpdaterDataside);
    scroll->setWidget(AutoKlubPanel);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFixedWidth(AutoKlubPanel->sizeHint().width() +
                          scroll->verticalScrollBar()->sizeHint().width());
    buttons_ = MakePanel(OpdaterDataside, QStringLiteral("AutoKlubButtons"));
    auto* column = new QVBoxLayout(buttons_);
    column->setContentsMargins(2, 0, 2, 0);
    column->setSpacing(2);
    for (QPushButton* button : {AutoKontrol, AutoOpdDeltagere, AutoOpdKlubDeltagere})
        column->addWidget(button);
    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(scroll, 1);
    left->addWidget(buttons_);
    auto* layout = new QHBoxLayout(OpdaterDataside);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(left);
    layout->addWidget(AutoDataGrid, 1);
    SetKlubEnabled(false);
    AutoDataGrid->setEnabled(false);
}

void TAutoTilmeldPanel::BuildConnections() {
    const auto guarded = [this](auto work) { return [this, work] { RunShowingErrors(this, work); }; };
    connect(PageControl, &QTabWidget::currentChanged, this,
            [this](int index) { RunShowingErrors(this, [this, index] { PageChanged(index); }); });
    connect(ClipboardImport, &QPushButton::clicked, this, guarded([this] { PasteClipboard(); }));
    connect(AutoKontrol, &QPushButton::clicked, this, guarded([this] { Kontroller(); }));
    connect(AutoOpdDeltagere, &QPushButton::clicked, this, guarded([this] { OpdaterKlub(true); }));
    connect(AutoOpdKlubDeltagere, &QPushButton::clicked, this, guarded([this] { OpretKlubOgOpdater(); }));
}

bool TAutoTilmeldPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RichEdit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        RunShowingErrors(this, [this] { PasteClipboard(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- the grid and the club edits

std::vector<TImportRow> TAutoTilmeldPanel::GridRows() const {
    std::vector<TImportRow> rows;
    const TExtStringGrid& grid = *AutoDataGrid;
    rows.reserve(static_cast<std::size_t>(grid.RowCount()));
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row) {
        TImportRow& cells = rows.emplace_back();
        for (int col = 0; col < ImportCol::Count; ++col)
            cells[col] = TrimmedCell(grid, col, row);
    }
    return rows;
}

void TAutoTilmeldPanel::ShowRows(const std::vector<TImportRow>& rows) {
    TExtStringGrid& grid = *AutoDataGrid;
    grid.BeginUpdate();
    grid.SetRowCount(2);
    grid.ClearRow(1);
    grid.SetRowCount(std::max<int>(static_cast<int>(rows.size()), 1) + grid.FixedRows());
    int row = grid.FixedRows();
    for (const TImportRow& cells : rows) {
        for (int col = 0; col < ImportCol::Count; ++col) {
            if (!cells[col].isEmpty() || !grid.Cells(col, row).isEmpty())
                grid.SetCells(col, row, cells[col]);
        }
        ++row;
    }
    grid.EndUpdate();
}

void TAutoTilmeldPanel::ShowKlub(const TImportKlub& klub) {
    AutoKlubNavnEdit->setText(klub.Navn);
    AutoKontaktpersonEdit->setText(klub.KontaktPerson);
    AutoAdresse1Edit->setText(klub.Adresse1);
    AutoAdresse2Edit->setText(klub.Adresse2);
    AutoEmailEdit->setText(klub.Email);
    AutoTelefonEdit->setText(klub.Telefon);
}

TImportKlub TAutoTilmeldPanel::ShownKlub() const {
    return {TrimBlanks(AutoKlubNavnEdit->text()), TrimBlanks(AutoKontaktpersonEdit->text()),
            TrimBlanks(AutoAdresse1Edit->text()), TrimBlanks(AutoAdresse2Edit->text()),
            TrimBlanks(AutoEmailEdit->text()),    TrimBlanks(AutoTelefonEdit->text())};
}

void TAutoTilmeldPanel::SetUpdateEnabled(bool enabled) {
    AutoOpdDeltagere->setEnabled(enabled);
    AutoOpdKlubDeltagere->setEnabled(enabled);
}

void TAutoTilmeldPanel::SetKlubEnabled(bool enabled) {
    AutoKlubPanel->setEnabled(enabled);
    buttons_->setEnabled(enabled);
}

void TAutoTilmeldPanel::BeforeDeleteRow(int row, bool& allow) {
    allow = true;
    TExtStringGrid& grid = *AutoDataGrid;
    const int next = row + 1;
    if (grid.Cells(ImportCol::Navn, row).isEmpty() || next >= grid.RowCount() ||
        !grid.Cells(ImportCol::Navn, next).isEmpty())
        return;
    grid.SetCells(ImportCol::Navn, next, grid.Cells(ImportCol::Navn, row));
    grid.SetCells(ImportCol::Aargang, next, grid.Cells(ImportCol::Aargang, row));
}

// ---------------------------------------------------------------- the commands

void TAutoTilmeldPanel::PageChanged(int index) {
    if (PageControl->widget(index) == RaaDataSide)
        RichEdit->clear();
    else
        Fortolk();
}

void TAutoTilmeldPanel::PasteClipboard() {
    RichEdit->setPlainText(QApplication::clipboard()->text());
}

void TAutoTilmeldPanel::Fortolk() {
    const TBusyCursor busy;
    for (QLineEdit* edit : AutoKlubPanel->findChildren<QLineEdit*>())
        edit->clear();
    SetKlubEnabled(false);
    AutoDataGrid->setEnabled(false);
    const TImportSettings settings =
        ImportSettings(CSVSeparator->text(), UseTABSeparator->isChecked(), CSVStartnummer->isChecked());
    const TImportData imported = FortolkCSVData(RichEdit->toPlainText(), settings, *OvelseManager);
    ShowKlub(imported.Klub);
    ShowRows(imported.Rows);
    markers_.assign(imported.Rows.size(), ImportRowOk);
    if (!imported.Error.isEmpty())
        ShowError(this, imported.Error);
    Kontroller();
    AutoDataGrid->viewport()->update();
}

void TAutoTilmeldPanel::Kontroller() {
    if (!AutoDataGrid->CommitCell())
        return;
    std::vector<TImportRow> rows = GridRows();
    const TImportKontrol kontrol =
        ::AutoKontrol(rows, *OvelseManager, CurrentSystemData().Redid, ShownKlub());
    ShowRows(rows);
    markers_ = kontrol.Markers;
    AutoDataGrid->viewport()->update();
    if (!kontrol.Checked)
        return;
    SetUpdateEnabled(kontrol.Fejl.empty());
    if (!kontrol.Fejl.empty())
        ShowError(this, FejlListe(kontrol.Fejl));
    SetKlubEnabled(true);
    AutoDataGrid->setEnabled(true);
    AutoDataGrid->setFocus();
    AutoDataGrid->GotoCell(0, AutoDataGrid->FixedRows(), true);
    const QString navn = TrimBlanks(AutoKlubNavnEdit->text());
    if (navn.isEmpty())
        return;
    // The list goes to the club it names and to no other: a name near it is another club's. Where that
    // club cannot be shown, the one on show is not the list's either.
    TKlubElement* klub = FindKlubByNavn(dialog_.KlubManager(), navn);
    if (!klub || !dialog_.SelectKlub(*klub))
        AutoOpdDeltagere->setEnabled(false);
}

void TAutoTilmeldPanel::OpdaterKlub(bool ask) {
    const TKlubElement* klub = dialog_.KlubManager().GetCurrentKlub();
    if (!klub || dialog_.Widgets().KlubberListbox->count() == 0)
        throw Exception(QStringLiteral("Vælg den klub, der skal opdateres"));
    if (ask) {
        if (!AskConfirm(this, QStringLiteral("Opdater alle deltagere i klubben ") +
                                  Quoted(dialog_.Widgets().KlubberListbox->currentItem()->text())))
            return;
        if (!dialog_.SaveKlub())
            return;
    }
    if (!AutoDataGrid->CommitCell())
        return;
    const TBusyCursor busy;
    const TImportResultat result = ::AutoOpdDeltagere(dialog_.KlubManager(), *OvelseManager, GridRows(),
                                                      markers_, CurrentSystemData().Redid);
    dialog_.FillDeltagerGrid();
    AutoDataGrid->viewport()->update();
    // A second press would enter the same athletes again.
    SetUpdateEnabled(false);
    if (!result.Fejl.empty())
        ShowError(this, FejlListe(result.Fejl));
}

void TAutoTilmeldPanel::OpretKlubOgOpdater() {
    if (!dialog_.SaveKlub())
        return;
    const QString navn = TrimBlanks(AutoKlubNavnEdit->text());
    if (navn.isEmpty())
        throw Exception(QStringLiteral("Angiv klubbens navn under Klub"));
    // A club of the name is updated, never made twice.
    if (TKlubElement* existing = FindKlubByNavn(dialog_.KlubManager(), navn)) {
        if (!dialog_.SelectKlub(*existing))
            return;
        OpdaterKlub(true);
        return;
    }
    if (!AskConfirm(this, QStringLiteral("Opret klubben ") + Quoted(navn) +
                              QStringLiteral(" og opdater herefter alle deltagere")))
        return;
    if (!dialog_.NyKlub())
        return;
    const TKlubDialogWidgets edits = dialog_.Widgets();
    const std::pair<QLineEdit*, QLineEdit*> copies[] = {{edits.KontaktPersonEdit, AutoKontaktpersonEdit},
                                                        {edits.Adresse1Edit, AutoAdresse1Edit},
                                                        {edits.Adresse2Edit, AutoAdresse2Edit},
                                                        {edits.Adresse3Edit, AutoAdresse3Edit},
                                                        {edits.Adresse4Edit, AutoAdresse4Edit},
                                                        {edits.Adresse5Edit, AutoAdresse5Edit},
                                                        {edits.TelefonEdit, AutoTelefonEdit},
                                                        {edits.FaxEdit, AutoFaxEdit},
                                                        {edits.EMailEdit, AutoEmailEdit}};
    for (const auto& [to, from] : copies)
        to->setText(TrimBlanks(from->text()));
    edits.KlubNavnEdit->setText(navn);
    dialog_.KlubNavnEditChange(navn);
    OpdaterKlub(false);
}

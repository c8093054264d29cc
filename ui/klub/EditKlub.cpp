#include "ui/klub/EditKlub.h"

#include "foundation/BusyCursor.h"
#include "foundation/DanishOrder.h"
#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/controls/EditUtil.h"
#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_KlubEdit.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "ui/Launchers.h"
#include "ui/WidgetKit.h"
#include "ui/klub/EditKlubBetaling.h"
#include "ui/klub/EditKlubDeltager.h"
#include "ui/klub/EditKlubHold.h"
#include "ui/klub/EditKlubImport.h"
#include "ui/klub/EditKlubUdskrift.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString Caption = QStringLiteral(" Redigering af klub - ");
const QString DeltagerCaption = QStringLiteral("DELTAGERE / ØVELSER");
constexpr int MaxHold = 26;
constexpr int KlubRole = Qt::UserRole;

QAction* MakeTool(QToolBar* bar, const QString& name, const QString& caption, const QString& hint,
                  bool checkable = false) {
    QAction* action = MakeToolAction(bar, name, caption);
    action->setToolTip(hint);
    action->setCheckable(checkable);
    return action;
}

// A club of the list, sorted in Danish name order whatever the machine's language, so that the search
// finds a name where the list shows it.
class TKlubListItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem& other) const override {
        return CompareDanish(text(), other.text()) < 0;
    }
};

// An edit of a club field, as long as the field holds (the dialog's own limit where that is less).
QLineEdit* MakeKlubEdit(QWidget* parent, const QString& name, int maxLength, int fieldSize) {
    QLineEdit* edit = Named(new QLineEdit(parent), name);
    edit->setMaxLength(std::min(maxLength, fieldSize));
    return edit;
}

// The club fields and their edits.
struct TKlubEditField {
    QLineEdit* const TEditKlubForm::*Edit;
    int FieldNo;
};
constexpr TKlubEditField KlubEditFields[] = {
    {&TEditKlubForm::KlubNavnEdit, KlubField::Navn},
    {&TEditKlubForm::KortNavnEdit, KlubField::KortNavn},
    {&TEditKlubForm::TelefonEdit, KlubField::Telefon},
    {&TEditKlubForm::FaxEdit, KlubField::Fax},
    {&TEditKlubForm::EMailEdit, KlubField::Email},
    {&TEditKlubForm::HoldkodeEdit, KlubField::HoldKode},
    {&TEditKlubForm::KontaktPersonEdit, KlubField::KontaktPerson},
    {&TEditKlubForm::Adresse1Edit, KlubField::Adresse1},
    {&TEditKlubForm::Adresse2Edit, KlubField::Adresse2},
    {&TEditKlubForm::Adresse3Edit, KlubField::Adresse3},
    {&TEditKlubForm::Adresse4Edit, KlubField::Adresse4},
    {&TEditKlubForm::Adresse5Edit, KlubField::Adresse5},
};

} // namespace

TEditKlubForm::TEditKlubForm(QWidget* owner)
    : TStdRVKForm(owner)
    , ToolBar1(Named(new QToolBar(this), QStringLiteral("ToolBar1")))
    , NyKlubTool(MakeTool(ToolBar1, QStringLiteral("NyKlubTool"), QStringLiteral("Ny klub"),
                          QStringLiteral("Opret ny klub")))
    , GemKlubTool(MakeTool(ToolBar1, QStringLiteral("GemKlubTool"), QStringLiteral("Gem"),
                           QStringLiteral("Opdater ændringer")))
    , SletKlubTool(MakeTool(ToolBar1, QStringLiteral("SletKlubTool"), QStringLiteral("Slet klub"),
                            QStringLiteral("Slet klub")))
    , VisDeltagerTool(MakeTool(ToolBar1, QStringLiteral("VisDeltagerTool"), QStringLiteral("Deltagere"),
                               QStringLiteral("Vis deltagere / øvelser"), true))
    , VisBetalingTool(MakeTool(ToolBar1, QStringLiteral("VisBetalingTool"), QStringLiteral("Betalinger"),
                               QStringLiteral("Vis ydelser / betalinger"), true))
    , UdskriftTool(MakeTool(ToolBar1, QStringLiteral("UdskriftTool"), QStringLiteral("Udskrifter"),
                            QStringLiteral("Klub-udskrifter"), true))
    , ForsteLedigeStartnrTool(MakeTool(ToolBar1, QStringLiteral("ForsteLedigeStartnrTool"),
                                       QStringLiteral("Ledigt nr."),
                                       QStringLiteral("Find første ledige startnummer")))
    , AutoTilmeldTool(MakeTool(ToolBar1, QStringLiteral("AutoTilmeldTool"), QStringLiteral("Import"),
                               QStringLiteral("Import af tilmeldinger"), true))
    , TabulatorTool(MakeTool(ToolBar1, QStringLiteral("TabulatorTool"), QStringLiteral("Auto tab"),
                             QStringLiteral("Auto tabulator funktion"), true))
    , Klubliste1Tool(MakeTool(ToolBar1, QStringLiteral("Klubliste1Tool"), QStringLiteral("Starttider"),
                              QStringLiteral("Udskriv klubliste med starttider")))
    , Klubliste2Tool(MakeTool(ToolBar1, QStringLiteral("Klubliste2Tool"), QStringLiteral("Resultater"),
                              QStringLiteral("Udskriv klubliste med resultater")))
    , SaldolisteTool(MakeTool(ToolBar1, QStringLiteral("SaldolisteTool"), QStringLiteral("Saldo"),
                              QStringLiteral("Udskriv saldoliste")))
    , KlublisteLabelTool(MakeTool(ToolBar1, QStringLiteral("KlublisteLabelTool"), QStringLiteral("Labels"),
                                  QStringLiteral("Udskriv labels")))
    , DiplomAlleToolButton(MakeTool(ToolBar1, QStringLiteral("DiplomAlleToolButton"),
                                    QStringLiteral("Diplomer"),
                                    QStringLiteral("Udskriv diplom til alle deltagere i klubben")))
    , DiplomValgtToolButton(MakeTool(ToolBar1, QStringLiteral("DiplomValgtToolButton"),
                                     QStringLiteral("Diplom"),
                                     QStringLiteral("Udskriv diplom til valgt deltager")))
    , ToolBar2(Named(new QToolBar(this), QStringLiteral("ToolBar2")))
    , DeltagerSortering(Named(new QComboBox(ToolBar2), QStringLiteral("DeltagerSortering")))
    , KlubEdit(Named(new QLineEdit(ToolBar2), QStringLiteral("KlubEdit")))
    , ToolBar3(Named(new QToolBar(this), QStringLiteral("ToolBar3")))
    , UdskrivDeltagere(
          MakeCheck(ToolBar3, QStringLiteral("UdskrivDeltagere"), QStringLiteral("Udskriv deltagere")))
    , UdskrivRegnskab(
          MakeCheck(ToolBar3, QStringLiteral("UdskrivRegnskab"), QStringLiteral("Udskriv regnskab")))
    , UdskrivStartnumre(
          MakeCheck(ToolBar3, QStringLiteral("UdskrivStartnumre"), QStringLiteral("Udskriv startnumre")))
    , UdskrivTilPrinter(
          MakeCheck(ToolBar3, QStringLiteral("UdskrivTilPrinter"), QStringLiteral("Udskriv til printer")))
    , UdskrivTilHTML(
          MakeCheck(ToolBar3, QStringLiteral("UdskrivTilHTML"), QStringLiteral("Udskriv til HTML")))
    , KunNyeDiplomer(
          MakeCheck(ToolBar3, QStringLiteral("KunNyeDiplomer"), QStringLiteral("Udskriv nye diplomer")))
    , KlubberListbox(Named(new QListWidget(this), QStringLiteral("KlubberListbox")))
    , TopPanel(MakePanel(this, QStringLiteral("TopPanel")))
    , KlubnrLabel(MakeLabel(TopPanel, QStringLiteral("KlubnrLabel")))
    , KlubNavnEdit(MakeKlubEdit(TopPanel, QStringLiteral("KlubNavnEdit"), 25, KlubFieldSize::Navn))
    , KortNavnEdit(MakeKlubEdit(TopPanel, QStringLiteral("KortNavnEdit"), 25, KlubFieldSize::KortNavn))
    , TelefonEdit(MakeKlubEdit(TopPanel, QStringLiteral("TelefonEdit"), 30, KlubFieldSize::Telefon))
    , FaxEdit(MakeKlubEdit(TopPanel, QStringLiteral("FaxEdit"), 30, KlubFieldSize::Fax))
    , EMailEdit(MakeKlubEdit(TopPanel, QStringLiteral("EMailEdit"), 50, KlubFieldSize::Email))
    , HoldkodeEdit(MakeKlubEdit(TopPanel, QStringLiteral("HoldkodeEdit"), 50, KlubFieldSize::HoldKode))
    , DTPointRunde1Edit(Named(new TFloatEdit(TopPanel), QStringLiteral("DTPointRunde1Edit")))
    , PrisgruppeCheckBox(
          MakeCheck(TopPanel, QStringLiteral("PrisgruppeCheckBox"), QStringLiteral("Prisgruppe 2")))
    , KontaktPersonEdit(
          MakeKlubEdit(TopPanel, QStringLiteral("KontaktPersonEdit"), 25, KlubFieldSize::KontaktPerson))
    , Adresse1Edit(MakeKlubEdit(TopPanel, QStringLiteral("Adresse1Edit"), 30, KlubFieldSize::Adresse1))
    , Adresse2Edit(MakeKlubEdit(TopPanel, QStringLiteral("Adresse2Edit"), 30, KlubFieldSize::Adresse2))
    , Adresse3Edit(MakeKlubEdit(TopPanel, QStringLiteral("Adresse3Edit"), 30, KlubFieldSize::Adresse3))
    , Adresse4Edit(MakeKlubEdit(TopPanel, QStringLiteral("Adresse4Edit"), 30, KlubFieldSize::Adresse4))
    , Adresse5Edit(MakeKlubEdit(TopPanel, QStringLiteral("Adresse5Edit"), 30, KlubFieldSize::Adresse5))
    , GridPanel(MakePanel(this, QStringLiteral("GridPanel")))
    , DeltagerPanel(Named(new QGroupBox(DeltagerCaption, GridPanel), QStringLiteral("DeltagerPanel")))
    , DeltagerGrid(Named(new TExtStringGrid(DeltagerPanel), QStringLiteral("DeltagerGrid")))
    , DTDeltagerPanel(Named(new QGroupBox(DeltagerCaption, GridPanel), QStringLiteral("DTDeltagerPanel")))
    , DTDeltagerGrid(Named(new TExtStringGrid(DTDeltagerPanel), QStringLiteral("DTDeltagerGrid")))
    , BetalingPanel(MakePanel(GridPanel, QStringLiteral("BetalingPanel")))
    , KlubKobGrid(Named(new TExtStringGrid(BetalingPanel), QStringLiteral("KlubKobGrid")))
    , BetalingGrid(Named(new TExtStringGrid(BetalingPanel), QStringLiteral("BetalingGrid")))
    , WorkSplitter(Named(new QSplitter(Qt::Vertical, this), QStringLiteral("WorkSplitter")))
    , UdskriftPanel(new TKlubUdskriftPanel(*this, WorkSplitter))
    , AutoTilmeldPanel(new TAutoTilmeldPanel(*this, WorkSplitter))
    , klubber_(std::make_unique<TKlubManager>(AlleKlubber))
    , ovelser_(*OvelseManager)
    , hold_(StaevneManager->IsDTVTLTUTurnering()) {
    setObjectName(QStringLiteral("EditKlubForm"));
    setWindowTitle(Caption + CurrentStaevneNavn());
    BuildToolBars();
    BuildTopPanel();
    BuildWorkArea();
    BuildLayout();
    BuildConnections();

    SetKlubEditsEnabled(false);
    ++listGuard_;
    for (int i = 0; i < klubber_->GetKlubCount(); ++i)
        AddKlubItem(klubber_->GetKlub(i));
    --listGuard_;
    if (KlubberListbox->count() > 0) {
        SelectQuietly(KlubberListbox->item(0));
        ShowKlub(0);
    } else {
        ShowKlub(-1);
    }
    StaevneManager->SelectPrinter();
    UpdateToolButtons();
}

TEditKlubForm::~TEditKlubForm() = default;

// ---------------------------------------------------------------- building

void TEditKlubForm::BuildToolBars() {
    for (QToolBar* bar : {ToolBar1, ToolBar2, ToolBar3}) {
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    // The panels of the two toggles take turns.
    auto* panels = new QActionGroup(this);
    panels->addAction(VisDeltagerTool);
    panels->addAction(VisBetalingTool);
    VisDeltagerTool->setChecked(true);
    ToolBar1->insertSeparator(VisDeltagerTool);
    ToolBar1->insertSeparator(Klubliste1Tool);
    DeltagerSortering->addItems({QStringLiteral("Navn"), QStringLiteral("Startnummer")});
    DeltagerSortering->setToolTip(QStringLiteral("Sortering af deltagere"));

    ToolBar2->addWidget(MakeLabel(ToolBar2, QStringLiteral("KlubEditLabel"), QStringLiteral(" Søg klub ")));
    ToolBar2->addWidget(KlubEdit);
    ToolBar2->addSeparator();
    ToolBar2->addWidget(
        MakeLabel(ToolBar2, QStringLiteral("DeltagerSorteringLabel"), QStringLiteral(" Deltagere efter ")));
    ToolBar2->addWidget(DeltagerSortering);
    KlubEdit->setFixedWidth(180);
    KlubEdit->setToolTip(QStringLiteral("Klubnavn, eller * og et startnummer"));
    QPalette black = KlubEdit->palette();
    black.setColor(QPalette::Base, Qt::black);
    black.setColor(QPalette::Text, Qt::white);
    KlubEdit->setPalette(black);
    KlubEdit->installEventFilter(this);
    for (QCheckBox* option : {UdskrivDeltagere, UdskrivRegnskab, UdskrivStartnumre, UdskrivTilPrinter,
                              UdskrivTilHTML, KunNyeDiplomer})
        ToolBar3->addWidget(option);
    UdskrivDeltagere->setChecked(true);
    UdskrivTilPrinter->setChecked(true);
    KunNyeDiplomer->setChecked(true);
}

void TEditKlubForm::BuildTopPanel() {
    DTPointRunde1Edit->Decimals = 2;
    DTPointRunde1Edit->SetEditAlignment(TAlignment::taRightJustify);
    auto* grid = new QGridLayout(TopPanel);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    const auto label = [this](const QString& name, const QString& text) {
        return MakeLabel(TopPanel, name, text);
    };
    grid->addWidget(label(QStringLiteral("KlubLabel"), QStringLiteral("Klub")), 0, 0);
    grid->addWidget(KlubNavnEdit, 0, 1);
    grid->addWidget(KlubnrLabel, 0, 2);
    grid->addWidget(label(QStringLiteral("KortNavnLabel"), QStringLiteral("K.navn")), 1, 0);
    grid->addWidget(KortNavnEdit, 1, 1);
    grid->addWidget(label(QStringLiteral("TelefonLabel"), QStringLiteral("Telefon")), 2, 0);
    grid->addWidget(TelefonEdit, 2, 1);
    grid->addWidget(label(QStringLiteral("FaxLabel"), QStringLiteral("Fax")), 3, 0);
    grid->addWidget(FaxEdit, 3, 1);
    grid->addWidget(label(QStringLiteral("EMailLabel"), QStringLiteral("E-mail")), 4, 0);
    grid->addWidget(EMailEdit, 4, 1);
    grid->addWidget(label(QStringLiteral("HoldkodeLabel"), QStringLiteral("Hold")), 5, 0);
    auto* hold = new QHBoxLayout;
    hold->addWidget(HoldkodeEdit);
    HoldkodeEdit->setFixedWidth(30);
    hold->addWidget(label(QStringLiteral("DTPointRunde1Label"), QStringLiteral("Tidligere points ")));
    hold->addWidget(DTPointRunde1Edit);
    hold->addWidget(PrisgruppeCheckBox);
    hold->addStretch();
    grid->addLayout(hold, 5, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("KontaktPersonLabel"), QStringLiteral("Kontaktperson")), 0, 3);
    grid->addWidget(KontaktPersonEdit, 0, 4);
    int row = 1;
    for (QLineEdit* adresse : {Adresse1Edit, Adresse2Edit, Adresse3Edit, Adresse4Edit, Adresse5Edit})
        grid->addWidget(adresse, row++, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
}

void TEditKlubForm::BuildWorkArea() {
    const TSystemData& systemData = StaevneManager->SystemData();
    deltagerRules_ = new TDeltagerGridRules(*DeltagerGrid, *klubber_, ovelser_, systemData);
    deltagerRules_->AutoTab = [this] { return TabulatorTool->isChecked(); };
    deltagerRules_->SaveKlub = [this] { return SaveKlub(); };
    holdRules_ = new THoldGridRules(*DTDeltagerGrid, *klubber_, ovelser_, HoldSettings(systemData));
    betalingRules_ = new TBetalingGridRules(*KlubKobGrid, *BetalingGrid, *klubber_);

    for (auto [panel, grid] : {std::pair<QWidget*, QWidget*>{DeltagerPanel, DeltagerGrid},
                               std::pair<QWidget*, QWidget*>{DTDeltagerPanel, DTDeltagerGrid}}) {
        auto* layout = new QVBoxLayout(panel);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->addWidget(grid);
    }
    auto* betaling = new QHBoxLayout(BetalingPanel);
    betaling->setContentsMargins(0, 0, 0, 0);
    for (auto [caption, grid] : {std::pair<const char*, QWidget*>{"KØB", KlubKobGrid},
                                 std::pair<const char*, QWidget*>{"BETALINGER", BetalingGrid}}) {
        auto* box = new QGroupBox(QString::fromUtf8(caption), BetalingPanel);
        auto* layout = new QVBoxLayout(box);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->addWidget(grid);
        betaling->addWidget(box, 1);
    }
    auto* work = new QVBoxLayout(GridPanel);
    work->setContentsMargins(0, 0, 0, 0);
    for (QWidget* panel :
         {static_cast<QWidget*>(DeltagerPanel), static_cast<QWidget*>(DTDeltagerPanel), BetalingPanel})
        work->addWidget(panel);
    DeltagerPanel->setVisible(!hold_);
    DTDeltagerPanel->setVisible(hold_);
    BetalingPanel->setVisible(false);
}

void TEditKlubForm::BuildLayout() {
    KlubberListbox->setSortingEnabled(true);
    KlubberListbox->setUniformItemSizes(true);
    KlubberListbox->setMinimumWidth(160);
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(TopPanel);
    WorkSplitter->addWidget(GridPanel);
    WorkSplitter->addWidget(UdskriftPanel);
    WorkSplitter->addWidget(AutoTilmeldPanel);
    WorkSplitter->setChildrenCollapsible(false);
    UdskriftPanel->hide();
    AutoTilmeldPanel->hide();
    rightLayout->addWidget(WorkSplitter, 1);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(KlubberListbox);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({180, 900});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(ToolBar1);
    layout->addWidget(ToolBar2);
    layout->addWidget(ToolBar3);
    layout->addWidget(splitter, 1);
    resize(1100, 680);
}

void TEditKlubForm::BuildConnections() {
    const auto guarded = [this](auto work) { return [this, work] { RunShowingErrors(this, work); }; };
    connect(NyKlubTool, &QAction::triggered, this, guarded([this] { NyKlub(); }));
    connect(GemKlubTool, &QAction::triggered, this, guarded([this] {
                if (SaveKlub())
                    ShowKlub(KlubberListbox->currentRow());
            }));
    connect(SletKlubTool, &QAction::triggered, this, guarded([this] { SletKlub(); }));
    connect(VisDeltagerTool, &QAction::triggered, this, guarded([this] { SkiftVisiblePanel(); }));
    connect(VisBetalingTool, &QAction::triggered, this, guarded([this] { SkiftVisiblePanel(); }));
    connect(ForsteLedigeStartnrTool, &QAction::triggered, this, guarded([this] { ForsteLedigeStartnr(); }));
    connect(UdskriftTool, &QAction::toggled, this,
            [this](bool on) { RunShowingErrors(this, [this, on] { ShowLowerPanel(UdskriftPanel, on); }); });
    connect(AutoTilmeldTool, &QAction::toggled, this, [this](bool on) {
        RunShowingErrors(this, [this, on] { ShowLowerPanel(AutoTilmeldPanel, on); });
    });
    connect(Klubliste1Tool, &QAction::triggered, this, guarded([this] { UdskriftPanel->Klubliste(true); }));
    connect(Klubliste2Tool, &QAction::triggered, this, guarded([this] { UdskriftPanel->Klubliste(false); }));
    connect(SaldolisteTool, &QAction::triggered, this, guarded([this] { UdskriftPanel->Saldoliste(); }));
    connect(KlublisteLabelTool, &QAction::triggered, this, guarded([this] { UdskriftPanel->Labels(); }));
    connect(DiplomAlleToolButton, &QAction::triggered, this,
            guarded([this] { UdskriftPanel->Diplomer(true); }));
    connect(DiplomValgtToolButton, &QAction::triggered, this,
            guarded([this] { UdskriftPanel->Diplomer(false); }));
    connect(DeltagerSortering, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (listGuard_ > 0)
            return;
        RunShowingErrors(this, [this, index] {
            if (SaveKlub()) {
                ShowKlub(KlubberListbox->currentRow());
                return;
            }
            ++listGuard_;
            DeltagerSortering->setCurrentIndex(1 - index);
            --listGuard_;
        });
    });
    connect(KlubberListbox, &QListWidget::currentRowChanged, this, [this](int position) {
        if (listGuard_ == 0)
            RunShowingErrors(this, [this, position] { KlubberListboxChange(position); });
    });
    connect(KlubEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (searchGuard_ == 0)
            RunShowingErrors(this, [this, text] { KlubEditChange(text); });
    });
    connect(KlubEdit, &QLineEdit::returnPressed, this, guarded([this] { KlubEditEnter(); }));
    connect(KlubNavnEdit, &QLineEdit::textEdited, this, &TEditKlubForm::KlubNavnEditChange);
    connect(HoldkodeEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text != text.toUpper())
            HoldkodeEdit->setText(text.toUpper());
    });
    // Leaving a grid is leaving its cell and row.
    connect(DeltagerGrid, &TExtStringGrid::Exited, this, [this] { deltagerRules_->Commit(); });
    connect(DTDeltagerGrid, &TExtStringGrid::Exited, this, [this] { holdRules_->Commit(); });
    connect(KlubKobGrid, &TExtStringGrid::Exited, this, [this] { betalingRules_->Commit(); });
    connect(BetalingGrid, &TExtStringGrid::Exited, this, [this] { betalingRules_->Commit(); });
}

TKlubDialogWidgets TEditKlubForm::Widgets() {
    return {this,
            KlubberListbox,
            DeltagerGrid,
            KlubNavnEdit,
            TelefonEdit,
            FaxEdit,
            EMailEdit,
            KontaktPersonEdit,
            Adresse1Edit,
            Adresse2Edit,
            Adresse3Edit,
            Adresse4Edit,
            Adresse5Edit,
            UdskrivDeltagere,
            UdskrivRegnskab,
            UdskrivStartnumre,
            UdskrivTilPrinter,
            UdskrivTilHTML,
            KunNyeDiplomer};
}

// ---------------------------------------------------------------- the club list

TKlubElement* TEditKlubForm::KlubOf(const QListWidgetItem* item) const {
    return item ? reinterpret_cast<TKlubElement*>(item->data(KlubRole).value<quintptr>()) : nullptr;
}

QListWidgetItem* TEditKlubForm::AddKlubItem(TKlubElement& klub) {
    auto* item = new TKlubListItem(klub.GetTrimmedString(KlubField::Navn));
    item->setData(KlubRole, QVariant::fromValue(reinterpret_cast<quintptr>(&klub)));
    ++listGuard_;
    KlubberListbox->addItem(item);
    --listGuard_;
    return item;
}

void TEditKlubForm::SelectQuietly(QListWidgetItem* item) {
    ++listGuard_;
    KlubberListbox->setCurrentItem(item);
    --listGuard_;
}

int TEditKlubForm::DeltagerOrder() const {
    return DeltagerSortering->currentIndex() == 0 ? DeltagerField::Navn : DeltagerField::Startnummer;
}

void TEditKlubForm::KlubberListboxChange(int position) {
    TKlubElement* leaving = klubber_->GetCurrentKlub();
    if (leaving && !SaveKlub()) {
        // The club being left stays, with its edits.
        for (int i = 0; i < KlubberListbox->count(); ++i) {
            if (KlubOf(KlubberListbox->item(i)) == leaving)
                SelectQuietly(KlubberListbox->item(i));
        }
        return;
    }
    ShowKlub(position);
}

void TEditKlubForm::KlubNavnEditChange(const QString& text) {
    QListWidgetItem* item = KlubberListbox->currentItem();
    if (!item)
        return;
    // The list sorts the item into its new place; it stays the current one.
    ++listGuard_;
    item->setText(text);
    KlubberListbox->setCurrentItem(item);
    --listGuard_;
}

void TEditKlubForm::FindKlub(const QString& text) {
    if (text.isEmpty() || text.startsWith(u'*'))
        return;
    const QCollator order = DanishNameOrder();
    for (int i = 0; i < KlubberListbox->count(); ++i) {
        if (order.compare(KlubberListbox->item(i)->text(), text) >= 0) {
            if (i != KlubberListbox->currentRow())
                KlubberListbox->setCurrentRow(i);
            return;
        }
    }
}

void TEditKlubForm::KlubEditChange(const QString& text) {
    FindKlub(text);
}

void TEditKlubForm::KlubEditEnter() {
    const QString text = KlubEdit->text();
    if (!text.startsWith(u'*'))
        return;
    bool number = false;
    const qint32 startnummer = TrimBlanks(text.mid(1)).toInt(&number);
    if (!number)
        throw Exception(QStringLiteral("Der må kun indtastes tal når man søger efter startnummer"));
    // A participant of the club on show counts also before it is saved.
    QString navn;
    if (!klubber_->GetDeltagere(startnummer).empty() && klubber_->GetCurrentKlub())
        navn = KlubberListbox->currentItem()->text();
    else
        navn = klubber_->FindKlubNavnByStartnummer(startnummer);
    if (navn.isEmpty()) {
        ShowInformation(this, QStringLiteral("Der er ingen deltager med startnummer %1").arg(startnummer));
        return;
    }
    ++searchGuard_;
    KlubEdit->setText(navn);
    --searchGuard_;
    FindKlub(navn);
}

bool TEditKlubForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == KlubEdit && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // The search box starts empty each time, and Enter stays in it.
        ++searchGuard_;
        KlubEdit->clear();
        --searchGuard_;
        NavigationEnabled = event->type() == QEvent::FocusOut;
    }
    return TStdRVKForm::eventFilter(watched, event);
}

// ---------------------------------------------------------------- clubs

bool TEditKlubForm::NyKlub() {
    if (hold_ && klubber_->GetKlubCount() >= MaxHold)
        throw Exception(QStringLiteral("Der kan højst oprettes 26 klubber/hold"));
    if (!SaveKlub())
        return false;
    QListWidgetItem* item = AddKlubItem(klubber_->NewKlub());
    SelectQuietly(item);
    ShowKlub(KlubberListbox->row(item));
    KlubNavnEdit->setFocus();
    KlubNavnEdit->selectAll();
    return true;
}

bool TEditKlubForm::SelectKlub(TKlubElement& klub) {
    for (int i = 0; i < KlubberListbox->count(); ++i) {
        if (KlubOf(KlubberListbox->item(i)) == &klub) {
            if (i != KlubberListbox->currentRow())
                KlubberListbox->setCurrentRow(i);
            return klubber_->GetCurrentKlub() == &klub;
        }
    }
    return false;
}

void TEditKlubForm::SletKlub() {
    QListWidgetItem* item = KlubberListbox->currentItem();
    if (!item)
        return;
    MessageDefaultButton = 1;
    if (!AskConfirm(this, QStringLiteral("Skal klubben slettes")))
        return;
    if (!klubber_->DeleteKlub())
        return;
    const int position = KlubberListbox->row(item);
    ++listGuard_;
    delete item;
    --listGuard_;
    const int next = std::min(position, KlubberListbox->count() - 1);
    SelectQuietly(next >= 0 ? KlubberListbox->item(next) : nullptr);
    ShowKlub(next);
}

void TEditKlubForm::ForsteLedigeStartnr() {
    ShowInformation(this, QStringLiteral("Første ledige startnummer er ") +
                              QString::number(klubber_->GetNextStartnummer()));
}

void TEditKlubForm::SetKlubEditsEnabled(bool enabled) {
    TopPanel->setEnabled(enabled);
    GridPanel->setEnabled(enabled);
}

void TEditKlubForm::ShowKlub(int position) {
    const TBusyCursor busy;
    TKlubElement* klub = position >= 0 ? KlubOf(KlubberListbox->item(position)) : nullptr;
    if (klub)
        klubber_->SelectKlub(*klub, DeltagerOrder());
    else
        klubber_->LoadKlubData(-1, DeltagerOrder());
    for (const TKlubEditField& field : KlubEditFields)
        (this->*field.Edit)->setText(klub ? klub->GetTrimmedString(field.FieldNo) : QString());
    KlubnrLabel->setText(klub ? QStringLiteral("Nr. ") + klub->GetTrimmedString(KlubField::KlubNr)
                              : QString());
    DTPointRunde1Edit->SetValue(klub ? klub->GetField(KlubField::PointRunde1)->GetAsFloat() : 0);
    PrisgruppeCheckBox->setChecked(klub && klub->GetField(KlubField::Prisgruppe)->GetAsInteger() != 0);
    FillHoldGrid();
    FillDeltagerGrid();
    FillBetalingGrid();
    FillKlubkobGrid();
    SetKlubEditsEnabled(KlubberListbox->count() > 0);
}

void TEditKlubForm::WriteKlubFields() {
    TKlubElement& klub = *klubber_->GetCurrentKlub();
    for (const TKlubEditField& field : KlubEditFields) {
        const QString text = TrimBlanks((this->*field.Edit)->text());
        CheckStoredText(text);
        klub.GetField(field.FieldNo)->SetAsString(text);
    }
    klub.GetField(KlubField::PointRunde1)->SetAsFloat(DTPointRunde1Edit->GetValue());
    klub.GetField(KlubField::Prisgruppe)->SetAsInteger(PrisgruppeCheckBox->isChecked() ? 1 : 0);
}

bool TEditKlubForm::SaveKlub() {
    if (KlubberListbox->count() == 0 || !klubber_->GetCurrentKlub())
        return true;
    const bool committed =
        hold_ ? holdRules_->Commit() : deltagerRules_->Commit() && betalingRules_->Commit();
    if (!committed)
        return false;
    return Guarded(this, [this] {
        if (hold_) {
            const QString kode = TrimBlanks(HoldkodeEdit->text()).toUpper();
            if (kode.isEmpty() || kode.at(0) < u'A' || kode.at(0) > u'Z')
                throw Exception(QStringLiteral("Holdkoden skal være A - Z"));
        }
        const TBusyCursor busy;
        WriteKlubFields();
        if (hold_)
            holdRules_->Save();
        const bool saved = klubber_->SaveChanges();
        // The sheet's cells hold the results as they are now, the deleted ones gone.
        if (hold_)
            FillHoldGrid();
        return saved;
    });
}

bool TEditKlubForm::IsKlubEdited() const {
    const TKlubElement* klub = klubber_->GetCurrentKlub();
    if (!klub || KlubberListbox->count() == 0)
        return false;
    for (const TKlubEditField& field : KlubEditFields) {
        if (TrimBlanks((this->*field.Edit)->text()) != klub->GetTrimmedString(field.FieldNo))
            return true;
    }
    if (PrisgruppeCheckBox->isChecked() != (klub->GetField(KlubField::Prisgruppe)->GetAsInteger() != 0))
        return true;
    try {
        if (DTPointRunde1Edit->GetValue() != klub->GetField(KlubField::PointRunde1)->GetAsFloat())
            return true;
    } catch (const std::exception&) {
        return true;
    }
    if (hold_ ? holdRules_->IsEdited() : deltagerRules_->IsCellEdited() || betalingRules_->IsCellEdited())
        return true;
    return klubber_->IsChanged();
}

void TEditKlubForm::done(int result) {
    if (IsKlubEdited()) {
        const int answer =
            ShowMessageForm(this, QStringLiteral("Klubben har ændringer, som ikke er gemt. Skal de gemmes?"),
                            TMessageKind::Confirm);
        if (answer == mrCancel || (answer == mrYes && !SaveKlub()))
            return;
    }
    TStdRVKForm::done(result);
}

// ---------------------------------------------------------------- panels and grids

void TEditKlubForm::SkiftVisiblePanel() {
    if (hold_)
        return;
    DeltagerPanel->setVisible(VisDeltagerTool->isChecked());
    BetalingPanel->setVisible(VisBetalingTool->isChecked());
    UpdateToolButtons();
}

void TEditKlubForm::UpdateToolButtons() {
    const bool deltagere = !hold_ && !DeltagerPanel->isHidden();
    VisDeltagerTool->setEnabled(!hold_);
    VisBetalingTool->setEnabled(!hold_);
    TabulatorTool->setEnabled(deltagere);
    ForsteLedigeStartnrTool->setEnabled(deltagere);
    UdskriftTool->setEnabled(!hold_);
    // The import makes rows of the participant grid, which a team sheet does not have.
    AutoTilmeldTool->setEnabled(!hold_);
}

void TEditKlubForm::ShowLowerPanel(QWidget* panel, bool shown) {
    if (shown) {
        // One lower panel at a time.
        QAction* other = panel == UdskriftPanel ? AutoTilmeldTool : UdskriftTool;
        other->setChecked(false);
        if (panel == UdskriftPanel)
            UdskriftPanel->FillKlubber();
        panel->show();
        const int height = WorkSplitter->height();
        QList<int> sizes;
        for (int i = 0; i < WorkSplitter->count(); ++i)
            sizes << (WorkSplitter->widget(i) == GridPanel || WorkSplitter->widget(i) == panel ? height / 2
                                                                                               : 0);
        WorkSplitter->setSizes(sizes);
    } else {
        panel->hide();
    }
    UpdateToolButtons();
}

void TEditKlubForm::FillDeltagerGrid() {
    if (!hold_)
        deltagerRules_->Fill();
}

void TEditKlubForm::FillHoldGrid() {
    if (hold_)
        holdRules_->Fill();
}

void TEditKlubForm::FillKlubkobGrid() {
    if (!hold_)
        betalingRules_->FillKlubkobGrid();
}

void TEditKlubForm::FillBetalingGrid() {
    if (!hold_)
        betalingRules_->FillBetalingGrid();
}

// The event editor's window: its controls, their layout and connections, and the settings it restores
// when it opens and stores on its way out.
#include "ui/ovelse/EditOvelse.h"

#include "foundation/controls/MsgForm.h"
#include "model/D_BoardFil.h"
#include "model/D_Globals.h"
#include "model/D_GridKlasse.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "ui/WidgetKit.h"
#include "ui/ovelse/EditOvelseLoeb.h"
#include "ui/ovelse/EditOvelseShown.h"
#include "ui/ovelse/OversigtInfo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

bool ReopenOvelseEditor = false;

namespace {

const QString Caption = QStringLiteral(" Redigering af øvelser - ");
constexpr int StatusPanels = 8;
constexpr int CheckColumns = 6;

QAction* MakeMenuAction(QMenu* menu, const QString& name, const QString& caption) {
    return Named(menu->addAction(caption), name);
}

QMenu* MakeMenu(QWidget* parent, const QString& name, const QString& title = {}) {
    return Named(new QMenu(title, parent), name);
}

std::array<QAction*, 7> MakeDayActions(QMenu* menu) {
    static const char* const Names[] = {"Mandag", "Tirsdag", "Onsdag", "Torsdag",
                                        "Fredag", "Lordag",  "Sondag"};
    std::array<QAction*, 7> days{};
    for (int day = 1; day <= 7; ++day)
        days[static_cast<std::size_t>(day - 1)] =
            MakeMenuAction(menu, QString::fromLatin1(Names[day - 1]), GetFullDayName(day));
    return days;
}

std::array<QAction*, 5> MakeBoardActions(QMenu* menu) {
    std::array<QAction*, 5> boards{};
    for (int board = 1; board <= 5; ++board) {
        const QString name = QStringLiteral("Board") + QString::number(board);
        boards[static_cast<std::size_t>(board - 1)] = MakeMenuAction(menu, name, name);
    }
    return boards;
}

QComboBox* MakeCombo(QWidget* parent, const QString& name, const QStringList& items = {}) {
    auto* combo = Named(new QComboBox(parent), name);
    // Sized to its items when first shown (the default): their lists are complete by then, and a combo
    // sized to its items on every change makes its popup at once.
    combo->addItems(items);
    return combo;
}

QStringList UgedagItems() {
    QStringList items{QStringLiteral("-")};
    for (int day = 1; day <= 7; ++day)
        items << GetFullDayName(day);
    return items;
}

QStringList SortItems() {
    return {QStringLiteral("Startnummer"),
            QStringLiteral("Navn"),
            QStringLiteral("Seedning"),
            QStringLiteral("Heat, seedning"),
            QStringLiteral("Heat, banenr, sidenr"),
            QStringLiteral("Heat, resultat"),
            QStringLiteral("Resultat, heat"),
            QStringLiteral("Klub, seedning"),
            QStringLiteral("Klub, resultat"),
            QStringLiteral("Heat, startnummer"),
            QStringLiteral("Rank. holdkode"),
            QStringLiteral("Points"),
            QStringLiteral("Heat, klub, seedning")};
}

TExtStringGrid* MakeGrid(QWidget* parent, const QString& name) {
    auto* grid = Named(new TExtStringGrid(parent), name);
    grid->SetRowCount(2);
    grid->SetColCount(2);
    return grid;
}

// An index from the registry, kept inside the combo's items.
int Clamped(int index, const QComboBox* combo) {
    return std::clamp(index, 0, std::max(combo->count() - 1, 0));
}

} // namespace

TEditOvelseForm::TEditOvelseForm(QWidget* owner)
    : TStdRVKForm(owner)
    , OvelseToolBar(Named(new QToolBar(this), QStringLiteral("OvelseToolBar")))
    , PrintToolBar(Named(new QToolBar(this), QStringLiteral("PrintToolBar")))
    , OvelseEgenskaberToolButton(MakeToolAction(OvelseToolBar, QStringLiteral("OvelseEgenskaberToolButton"),
                                                QStringLiteral("Egenskaber")))
    , SeedningToolButton(
          MakeToolAction(OvelseToolBar, QStringLiteral("SeedningToolButton"), QStringLiteral("Seedning")))
    , VidereDel1ToolButton(
          MakeToolAction(OvelseToolBar, QStringLiteral("VidereDel1ToolButton"), QStringLiteral("Q")))
    , VidereDel2ToolButton(
          MakeToolAction(OvelseToolBar, QStringLiteral("VidereDel2ToolButton"), QStringLiteral("Videre")))
    , BeregnPointToolButton(MakeToolAction(OvelseToolBar, QStringLiteral("BeregnPointToolButton"),
                                           QStringLiteral("Beregn point")))
    , KorrigerToolButton(
          MakeToolAction(OvelseToolBar, QStringLiteral("KorrigerToolButton"), QStringLiteral("Korriger")))
    , GemToolButton(MakeToolAction(OvelseToolBar, QStringLiteral("GemToolButton"), QStringLiteral("Gem")))
    , FortrydToolButton(
          MakeToolAction(OvelseToolBar, QStringLiteral("FortrydToolButton"), QStringLiteral("Fortryd")))
    , TidsskemaToolButton(
          MakeToolAction(PrintToolBar, QStringLiteral("TidsskemaToolButton"), QStringLiteral("Tidsskema")))
    , TidsskemaPopupMenu(MakeMenu(this, QStringLiteral("TidsskemaPopupMenu")))
    , TidsskemaDage(MakeDayActions(TidsskemaPopupMenu))
    , AfkrydsningToolButton(MakeToolAction(PrintToolBar, QStringLiteral("AfkrydsningToolButton"),
                                           QStringLiteral("Afkrydsning")))
    , ProgramListeToolButton(
          MakeToolAction(PrintToolBar, QStringLiteral("ProgramListeToolButton"), QStringLiteral("Program")))
    , StartlisteToolButton(
          MakeToolAction(PrintToolBar, QStringLiteral("StartlisteToolButton"), QStringLiteral("Startliste")))
    , DommerlisteToolButton(MakeToolAction(PrintToolBar, QStringLiteral("DommerlisteToolButton"),
                                           QStringLiteral("Dommerliste")))
    , ResultatlisteToolButton(MakeToolAction(PrintToolBar, QStringLiteral("ResultatlisteToolButton"),
                                             QStringLiteral("Resultatliste")))
    , DiplomToolButton(
          MakeToolAction(PrintToolBar, QStringLiteral("DiplomToolButton"), QStringLiteral("Diplom")))
    , DiplomPopupMenu(MakeMenu(this, QStringLiteral("DiplomPopupMenu")))
    , Plads1(MakeMenuAction(DiplomPopupMenu, QStringLiteral("Plads1"), QStringLiteral("1. præmie")))
    , Plads2(MakeMenuAction(DiplomPopupMenu, QStringLiteral("Plads2"), QStringLiteral("2. præmie")))
    , Plads3(MakeMenuAction(DiplomPopupMenu, QStringLiteral("Plads3"), QStringLiteral("3. præmie")))
    , Alle(MakeMenuAction(DiplomPopupMenu, QStringLiteral("Alle"), QStringLiteral("Alle")))
    , ValgtDeltager(
          MakeMenuAction(DiplomPopupMenu, QStringLiteral("ValgtDeltager"), QStringLiteral("Valgt deltager")))
    , BoardToolButton(
          MakeToolAction(PrintToolBar, QStringLiteral("BoardToolButton"), QStringLiteral("Board")))
    , BoardPopupMenu(MakeMenu(this, QStringLiteral("BoardPopupMenu")))
    , Boards(MakeBoardActions(BoardPopupMenu))
    , KlubstillingToolButton(MakeToolAction(PrintToolBar, QStringLiteral("KlubstillingToolButton"),
                                            QStringLiteral("Klubstilling")))
    , KlubKonkurrenceToolButton(MakeToolAction(PrintToolBar, QStringLiteral("KlubKonkurrenceToolButton"),
                                               QStringLiteral("Klubkonkurrence")))
    , MedaljelisteToolButton(
          MakeToolAction(PrintToolBar, QStringLiteral("MedaljelisteToolButton"), QStringLiteral("Medaljer")))
    , ReaktionsTiderToolButton(
          MakeToolAction(PrintToolBar, QStringLiteral("ReaktionsTiderToolButton"), QStringLiteral("R")))
    , KlubKonkurrenceKlasser(MakeCombo(this, QStringLiteral("KlubKonkurrenceKlasser")))
    , ResultatSerieToolButton(MakeToolAction(OvelseToolBar, QStringLiteral("ResultatSerieToolButton"),
                                             QStringLiteral("Indtast resultater")))
    , ReadResultatSerieToolButton(MakeToolAction(OvelseToolBar, QStringLiteral("ReadResultatSerieToolButton"),
                                                 QStringLiteral("Indlæs serier")))
    , OvelseHeader(MakePanel(this, QStringLiteral("OvelseHeader")))
    , InfoLinie1(MakeLabel(OvelseHeader, QStringLiteral("InfoLinie1")))
    , InfoLinie2(MakeLabel(OvelseHeader, QStringLiteral("InfoLinie2")))
    , InfoLinie3(MakeLabel(OvelseHeader, QStringLiteral("InfoLinie3")))
    , InfoLinie4(MakeLabel(OvelseHeader, QStringLiteral("InfoLinie4")))
    , StatusBarHeader(MakePanel(OvelseHeader, QStringLiteral("StatusBarHeader")))
    , StatusBar(MakePanel(OvelseHeader, QStringLiteral("StatusBar")))
    , HeaderPanel(MakePanel(this, QStringLiteral("HeaderPanel")))
    , OversigtKlasseComboBox(MakeCombo(HeaderPanel, QStringLiteral("OversigtKlasseComboBox")))
    , VisUgedagComboBox(MakeCombo(HeaderPanel, QStringLiteral("VisUgedagComboBox"), UgedagItems()))
    , OversigtSortering(MakeCombo(HeaderPanel, QStringLiteral("OversigtSortering"),
                                  {QStringLiteral("Tidsskema"), QStringLiteral("Klasse/øvelse"),
                                   QStringLiteral("Mangekamp"), QStringLiteral("5 minutters tidsskema")}))
    , SortComboBox(MakeCombo(HeaderPanel, QStringLiteral("SortComboBox"), SortItems()))
    , PageTabPosition(MakeCombo(HeaderPanel, QStringLiteral("PageTabPosition"),
                                {QStringLiteral("Top"), QStringLiteral("Venstre"), QStringLiteral("Højre"),
                                 QStringLiteral("Bund")}))
    , UdskrivTilPrinter(
          MakeCheck(HeaderPanel, QStringLiteral("UdskrivTilPrinter"), QStringLiteral("Printer")))
    , UdskrivTilSkaerm(MakeCheck(HeaderPanel, QStringLiteral("UdskrivTilSkaerm"), QStringLiteral("Skærm")))
    , HtmlUdskrift(MakeCheck(HeaderPanel, QStringLiteral("HtmlUdskrift"), QStringLiteral("HTML")))
    , HTMLNavnPrOvelse(
          MakeCheck(HeaderPanel, QStringLiteral("HTMLNavnPrOvelse"), QStringLiteral("HTML-navn pr. øvelse")))
    , SideskiftPrKlasse(
          MakeCheck(HeaderPanel, QStringLiteral("SideskiftPrKlasse"), QStringLiteral("Sideskift pr. klasse")))
    , SideskiftPrTidspunkt(MakeCheck(HeaderPanel, QStringLiteral("SideskiftPrTidspunkt"),
                                     QStringLiteral("Sideskift pr. tidspunkt")))
    , SideskiftPrHeat(
          MakeCheck(HeaderPanel, QStringLiteral("SideskiftPrHeat"), QStringLiteral("Sideskift pr. heat")))
    , UdskrivTommeOvelser(
          MakeCheck(HeaderPanel, QStringLiteral("UdskrivTommeOvelser"), QStringLiteral("Tomme øvelser")))
    , UdskrivEnLangSide(MakeCheck(HeaderPanel, QStringLiteral("UdskrivEnLangSide"), QStringLiteral("Ophæng")))
    , VisNulOvelser(
          MakeCheck(HeaderPanel, QStringLiteral("VisNulOvelser"), QStringLiteral("Vis tomme øvelser")))
    , VisTidsskema(MakeCheck(HeaderPanel, QStringLiteral("VisTidsskema"), QStringLiteral("Vis tidsskema")))
    , Tidsskema2(MakeCheck(HeaderPanel, QStringLiteral("Tidsskema2"), QStringLiteral("Tidsskema 2")))
    , InklusivKlubstilling(MakeCheck(HeaderPanel, QStringLiteral("InklusivKlubstilling"),
                                     QStringLiteral("Inkl. klubstilling")))
    , InklusivMangekampStilling(MakeCheck(HeaderPanel, QStringLiteral("InklusivMangekampStilling"),
                                          QStringLiteral("Inkl. mangekampstilling")))
    , InklusivHoldkonkurrence(MakeCheck(HeaderPanel, QStringLiteral("InklusivHoldkonkurrence"),
                                        QStringLiteral("Inkl. holdkonkurrence")))
    , InklusivKlubkonkurrence(MakeCheck(HeaderPanel, QStringLiteral("InklusivKlubkonkurrence"),
                                        QStringLiteral("Inkl. klubkonkurrence")))
    , RedidTest(Named(new QToolButton(HeaderPanel), QStringLiteral("RedidTest")))
    , PageControl(Named(new QTabWidget(this), QStringLiteral("PageControl")))
    , OversigtPage(MakePanel(PageControl, QStringLiteral("OversigtPage")))
    , OversigtGrid(MakeGrid(OversigtPage, QStringLiteral("OversigtGrid")))
    , OvelsePage(MakePanel(PageControl, QStringLiteral("OvelsePage")))
    , OvelseGrid(MakeGrid(OvelsePage, QStringLiteral("OvelseGrid")))
    , SerieGrid(MakeGrid(OvelsePage, QStringLiteral("SerieGrid")))
    , LobeResultatPage(MakePanel(PageControl, QStringLiteral("LobeResultatPage")))
    , LobeResultatGrid(MakeGrid(LobeResultatPage, QStringLiteral("LobeResultatGrid")))
    , AutoTidRegistrering(MakeCheck(LobeResultatPage, QStringLiteral("AutoTidRegistrering"),
                                    QStringLiteral("Automatisk tidtagning")))
    , OvelseGridPopup(MakeMenu(this, QStringLiteral("OvelseGridPopup")))
    , SorteringMenu(MakeMenu(OvelseGridPopup, QStringLiteral("SorteringMenu"), QStringLiteral("Sortering")))
    , UdskrifterMenu(
          MakeMenu(OvelseGridPopup, QStringLiteral("UdskrifterMenu"), QStringLiteral("Udskrifter")))
    , KolonnerMenu(MakeMenu(OvelseGridPopup, QStringLiteral("KolonnerMenu"), QStringLiteral("Kolonner")))
    , SletDeltager(
          MakeMenuAction(OvelseGridPopup, QStringLiteral("SletDeltager"), QStringLiteral("Slet deltager")))
    , ErstatDeltager(MakeMenuAction(OvelseGridPopup, QStringLiteral("ErstatDeltager"),
                                    QStringLiteral("Erstat deltager ")))
    , TilmeldNyDeltager(MakeMenuAction(OvelseGridPopup, QStringLiteral("TilmeldNyDeltager"),
                                       QStringLiteral("Tilmeld ny deltager")))
    , Stafetnavne(
          MakeMenuAction(OvelseGridPopup, QStringLiteral("Stafetnavne"), QStringLiteral("Stafetnavne")))
    , OversigtGridPopup(MakeMenu(this, QStringLiteral("OversigtGridPopup")))
    , EgenskaberMenu(
          MakeMenuAction(OversigtGridPopup, QStringLiteral("EgenskaberMenu"), QStringLiteral("Egenskaber")))
    , SeedningMenu(
          MakeMenuAction(OversigtGridPopup, QStringLiteral("SeedningMenu"), QStringLiteral("Seedning")))
    , BeregnPointMenu(MakeMenuAction(OversigtGridPopup, QStringLiteral("BeregnPointMenu"),
                                     QStringLiteral("Beregn points")))
    , SletOvelseMenu(MakeMenuAction(OversigtGridPopup, QStringLiteral("SletOvelseMenu"),
                                    QStringLiteral("Slet øvelse / runde")))
    , TilfoejRundeMenu(MakeMenuAction(OversigtGridPopup, QStringLiteral("TilfoejRundeMenu"),
                                      QStringLiteral("Tilføj ekstra runde"))) {
    setObjectName(QStringLiteral("EditOvelseForm"));
    setWindowTitle(Caption + (StaevneManager && StaevneManager->GetCurrentIndex() >= 0
                                  ? StaevneManager->GetStaevneNavn(StaevneManager->GetCurrentIndex())
                                  : QString()));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    BuildToolBar();
    BuildHeaderPanel();
    BuildOvelseHeader();
    BuildPages();
    BuildPopups();
    RegisterCommands();
    resize(1240, 820);

    // Set-up in the window's order: the result manager, the settings, the printer, the class lists, the
    // column menu, the overview, the hidden tabs and their position.
    if (!OvelseManager || !StaevneManager || StaevneManager->GetCurrentIndex() < 0)
        throw Exception(QStringLiteral("Der er intet stævne åbent"));
    manager_ = std::make_unique<TResultatManager>();
    shown_ = std::make_unique<TShownRows>();
    manager_->MakeCurrent();
    gridColumns_.SetAsEditorLayout(StaevneManager->SystemData().OvelseGridColumns);
    RestoreSettings();
    StaevneManager->SelectPrinter();
    FillKlasseCombos();
    for (QAction* item : KolonnerMenu->actions())
        item->setChecked(gridColumns_.FindKind(item->data().toInt()) != nullptr);
    SetupOversigtGrid();
    FillOversigt();
    SetTabVisible(OvelsePage, false);
    SetTabVisible(LobeResultatPage, false);
    ApplyTabPosition();
    previousPage_ = OversigtPage;
    ConnectControls();
    SetupOvelseGrid();
    SetupSerieGrid();
    ConnectCommands();
    UpdateControls();
    PostShowSelection();
}

TEditOvelseForm::~TEditOvelseForm() = default;

// ---------------------------------------------------------------- building

void TEditOvelseForm::BuildToolBar() {
    for (QToolBar* bar : {OvelseToolBar, PrintToolBar}) {
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    const auto dropDown = [](QToolBar* bar, QAction* action, QMenu* menu) {
        action->setMenu(menu);
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
            button->setPopupMode(QToolButton::MenuButtonPopup);
    };
    dropDown(PrintToolBar, TidsskemaToolButton, TidsskemaPopupMenu);
    dropDown(PrintToolBar, DiplomToolButton, DiplomPopupMenu);
    dropDown(PrintToolBar, BoardToolButton, BoardPopupMenu);
    // Shown: it is the only way to the file the results board reads.
    if (auto* button = qobject_cast<QToolButton*>(PrintToolBar->widgetForAction(BoardToolButton)))
        button->setPopupMode(QToolButton::InstantPopup);
    PrintToolBar->insertWidget(MedaljelisteToolButton, KlubKonkurrenceKlasser);
    ResultatSerieToolButton->setData(1);
}

void TEditOvelseForm::BuildHeaderPanel() {
    auto* layout = new QVBoxLayout(HeaderPanel);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    auto* filters = new QHBoxLayout;
    const auto labelled = [&](const QString& caption, QWidget* control) {
        filters->addWidget(MakeLabel(HeaderPanel, {}, caption));
        filters->addWidget(control);
        filters->addSpacing(8);
    };
    labelled(QStringLiteral("Klasse"), OversigtKlasseComboBox);
    labelled(QStringLiteral("Ugedag"), VisUgedagComboBox);
    labelled(QStringLiteral("Oversigt"), OversigtSortering);
    labelled(QStringLiteral("Sortering"), SortComboBox);
    labelled(QStringLiteral("Faneblade"), PageTabPosition);
    RedidTest->setText(QStringLiteral("Test"));
    RedidTest->setVisible(false);
    filters->addWidget(RedidTest);
    filters->addStretch();
    layout->addLayout(filters);

    auto* checks = new QGridLayout;
    checks->setHorizontalSpacing(12);
    checks->setVerticalSpacing(0);
    const QCheckBox* const order[] = {UdskrivTilSkaerm,
                                      UdskrivTilPrinter,
                                      HtmlUdskrift,
                                      HTMLNavnPrOvelse,
                                      UdskrivEnLangSide,
                                      UdskrivTommeOvelser,
                                      SideskiftPrKlasse,
                                      SideskiftPrTidspunkt,
                                      SideskiftPrHeat,
                                      Tidsskema2,
                                      InklusivKlubstilling,
                                      InklusivMangekampStilling,
                                      InklusivHoldkonkurrence,
                                      InklusivKlubkonkurrence,
                                      VisNulOvelser,
                                      VisTidsskema};
    int at = 0;
    for (const QCheckBox* box : order) {
        checks->addWidget(const_cast<QCheckBox*>(box), at / CheckColumns, at % CheckColumns);
        ++at;
    }
    layout->addLayout(checks);
}

void TEditOvelseForm::BuildOvelseHeader() {
    auto* layout = new QVBoxLayout(OvelseHeader);
    layout->setContentsMargins(4, 0, 4, 2);
    layout->setSpacing(1);
    auto* captions = new QHBoxLayout(StatusBarHeader);
    auto* values = new QHBoxLayout(StatusBar);
    const QStringList texts = StatusPanelCaptions();
    for (int panel = 0; panel < StatusPanels; ++panel) {
        for (auto [row, text] : {std::pair(captions, texts.at(panel)), std::pair(values, QString())}) {
            QLabel* label = MakeLabel(row == captions ? StatusBarHeader : StatusBar,
                                      QStringLiteral("Panel%1").arg(panel), text);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setMinimumWidth(90);
            row->addWidget(label, 1);
        }
    }
    for (QHBoxLayout* row : {captions, values}) {
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(2);
    }
    layout->addWidget(StatusBarHeader);
    layout->addWidget(StatusBar);
    for (QLabel* line : {InfoLinie1, InfoLinie2, InfoLinie3, InfoLinie4})
        layout->addWidget(line);
}

void TEditOvelseForm::BuildPages() {
    auto* oversigt = new QVBoxLayout(OversigtPage);
    oversigt->setContentsMargins(0, 0, 0, 0);
    oversigt->addWidget(OversigtGrid);
    auto* ovelse = new QVBoxLayout(OvelsePage);
    ovelse->setContentsMargins(0, 0, 0, 0);
    ovelse->addWidget(OvelseGrid);
    ovelse->addWidget(SerieGrid);
    SerieGrid->hide();
    runningPage_ = std::make_unique<TRunningPage>(
        TRunningPageHost{this, LobeResultatPage, LobeResultatGrid, AutoTidRegistrering, OvelseHeader,
                         [this]() -> TResultatManager& { return Manager(); }});
    PageControl->addTab(OversigtPage, QStringLiteral("Øvelses-oversigt"));
    PageControl->addTab(OvelsePage, QStringLiteral("Registrering af resultater"));
    PageControl->addTab(LobeResultatPage, QStringLiteral("Løbe resultater"));

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(2, 2, 2, 2);
    window->setSpacing(2);
    window->addWidget(OvelseToolBar);
    window->addWidget(PrintToolBar);
    window->addWidget(HeaderPanel);
    window->addWidget(OvelseHeader);
    window->addWidget(PageControl, 1);
}

void TEditOvelseForm::BuildPopups() {
    const QStringList sorts = SortItems();
    static const char* const SortNames[] = {"SortStartnummer",     "SortNavn",         "SortSeedning",
                                            "SortHeatSeedning",    "SortHeatBaneSide", "SortHeatResultat",
                                            "SortResultatHeat",    "SortKlubSeedning", "SortKlubResultat",
                                            "SortHeatStartnummer", "SortRankHoldkode", "SortPoints",
                                            "HeatKlubSeedningSort"};
    for (int tag = 0; tag < SortChoiceCount; ++tag)
        MakeMenuAction(SorteringMenu, QString::fromLatin1(SortNames[tag]), sorts.at(tag))->setData(tag);
    for (const char* print : {"Afkrydsningsliste", "Program", "Startliste", "Dommerliste", "Resultatliste"})
        MakeMenuAction(UdskrifterMenu, QString::fromLatin1(print), QString::fromLatin1(print));
    for (const TResultColumnDef& def : ResultColumns) {
        QAction* item = MakeMenuAction(KolonnerMenu, QStringLiteral("Kolonne%1").arg(int(def.Column)),
                                       QString::fromUtf8(def.Text));
        item->setCheckable(true);
        item->setData(int(def.Column));
    }
    // The popup's order: the three sub-menus first, then the row commands.
    OvelseGridPopup->insertMenu(SletDeltager, SorteringMenu);
    OvelseGridPopup->insertMenu(SletDeltager, UdskrifterMenu);
    OvelseGridPopup->insertMenu(SletDeltager, KolonnerMenu);
    TilmeldNyDeltager->setVisible(false);
    OvelseGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(OvelseGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { OvelseGridPopup->popup(OvelseGrid->viewport()->mapToGlobal(at)); });
    OversigtGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(OversigtGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        OversigtGridPopup->popup(OversigtGrid->viewport()->mapToGlobal(at));
    });
}

void TEditOvelseForm::ConnectControls() {
    const auto guarded = [this](auto work) {
        return [this, work] {
            Guarded(this, [&] {
                work();
                return true;
            });
        };
    };
    const auto refill = guarded([this] {
        FillOversigt();
        PostShowSelection();
        UpdateControls();
    });
    connect(OversigtSortering, &QComboBox::currentIndexChanged, this, refill);
    connect(VisUgedagComboBox, &QComboBox::currentIndexChanged, this, refill);
    connect(VisNulOvelser, &QCheckBox::toggled, this, refill);
    connect(VisTidsskema, &QCheckBox::toggled, this, refill);
    connect(OversigtKlasseComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        Guarded(this, [&] {
            ChooseKlasse(index);
            return true;
        });
    });
    connect(PageTabPosition, &QComboBox::currentIndexChanged, this, guarded([this] { ApplyTabPosition(); }));
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int index) {
        Guarded(this, [&] {
            PageChanged(index);
            return true;
        });
    });
    connect(OversigtGrid, &QAbstractItemView::doubleClicked, this, guarded([this] { OpenOvelsePage(); }));
    // A results board's file: the rounds of the overview's selected cells, rows top to bottom, each row
    // left to right.
    for (QAction* board : Boards)
        connect(board, &QAction::triggered, this, guarded([this, board] {
                    OversigtGrid->CommitCell();
                    std::vector<const TOvelseInfo*> rounds;
                    const TGridRect rect = OversigtGrid->Selection();
                    for (int row = rect.Top; row <= rect.Bottom; ++row)
                        for (int col = rect.Left; col <= rect.Right; ++col)
                            if (const TOvelseInfo* info = oversigt_.Info(col, row))
                                rounds.push_back(info);
                    WriteBoardFil(board->objectName(), rounds);
                }));
}

void TEditOvelseForm::FillKlasseCombos() {
    QStringList klasser;
    for (const TKlasseElement* klasse : OvelseManager->GetKlasser())
        klasser << klasse->GetTrimmedString(KlasseField::Klasse);
    OversigtKlasseComboBox->addItems(QStringList{QStringLiteral("-")} + klasser);
    KlubKonkurrenceKlasser->addItems(QStringList{QString()} + klasser);
    OversigtKlasseComboBox->setCurrentIndex(0);
    KlubKonkurrenceKlasser->setCurrentIndex(-1);
}

// ---------------------------------------------------------------- settings

namespace {

// The check boxes kept per meet, with their registry values.
using TCheckSetting = std::pair<QCheckBox* const TEditOvelseForm::*, bool TStaevneRegistry::*>;
constexpr TCheckSetting CheckSettings[] = {
    {&TEditOvelseForm::UdskrivTilSkaerm, &TStaevneRegistry::UdskrivTilSkaerm},
    {&TEditOvelseForm::UdskrivTilPrinter, &TStaevneRegistry::UdskrivTilPrinter},
    {&TEditOvelseForm::HtmlUdskrift, &TStaevneRegistry::HtmlUdskrift},
    {&TEditOvelseForm::HTMLNavnPrOvelse, &TStaevneRegistry::HtmlNavnPrOvelse},
    {&TEditOvelseForm::SideskiftPrKlasse, &TStaevneRegistry::SideskiftPrKlasse},
    {&TEditOvelseForm::SideskiftPrTidspunkt, &TStaevneRegistry::SideskiftPrTidspunkt},
    {&TEditOvelseForm::SideskiftPrHeat, &TStaevneRegistry::SideskiftPrHeat},
    {&TEditOvelseForm::UdskrivTommeOvelser, &TStaevneRegistry::UdskrivTommeOvelser},
    {&TEditOvelseForm::InklusivKlubstilling, &TStaevneRegistry::InklusivKlubstilling},
    {&TEditOvelseForm::InklusivMangekampStilling, &TStaevneRegistry::InklusivMangekampStilling},
    {&TEditOvelseForm::InklusivHoldkonkurrence, &TStaevneRegistry::InklusivHoldkonkurrence},
    {&TEditOvelseForm::InklusivKlubkonkurrence, &TStaevneRegistry::InklusivKlubkonkurrence},
    {&TEditOvelseForm::VisNulOvelser, &TStaevneRegistry::VisNulOvelser},
    {&TEditOvelseForm::AutoTidRegistrering, &TStaevneRegistry::AutoTidRegistrering},
};

} // namespace

void TEditOvelseForm::RestoreSettings() {
    const TStaevneRegistry& registry = StaevneManager->Registry();
    for (const auto& [box, value] : CheckSettings)
        (this->*box)->setChecked(registry.*value);
    // The class filter always starts at "-"; values outside a list are taken as its nearest item.
    VisUgedagComboBox->setCurrentIndex(
        registry.VisUgedag == -1 ? 0 : Clamped(registry.VisUgedag, VisUgedagComboBox));
    OversigtSortering->setCurrentIndex(Clamped(registry.OversigtGridSortering, OversigtSortering));
    PageTabPosition->setCurrentIndex(Clamped(registry.PageTabPosition, PageTabPosition));
}

void TEditOvelseForm::StoreSettings() {
    TStaevneRegistry& registry = StaevneManager->Registry();
    for (const auto& [box, value] : CheckSettings)
        registry.*value = (this->*box)->isChecked();
    registry.OversigtKlasse = OversigtKlasseComboBox->currentIndex();
    registry.VisUgedag = VisUgedagComboBox->currentIndex();
    registry.OversigtGridSortering = OversigtSortering->currentIndex();
    registry.PageTabPosition = PageTabPosition->currentIndex();
    if (SpeakerMode) {
        // Only the machine's own view settings: the meet is not written.
        StaevneManager->SaveRegistry();
        return;
    }
    StaevneManager->SystemData().OvelseGridColumns = gridColumns_.GetAsText();
    StaevneManager->SaveStaevneData();
}

void TEditOvelseForm::ApplyTabPosition() {
    static constexpr QTabWidget::TabPosition Positions[] = {QTabWidget::North, QTabWidget::West,
                                                            QTabWidget::East, QTabWidget::South};
    PageControl->setTabPosition(Positions[Clamped(PageTabPosition->currentIndex(), PageTabPosition)]);
}

void TEditOvelseForm::ApplySpeakerMode() {
    if (!SpeakerMode)
        return;
    OvelseGrid->SetOptions(
        (OvelseGrid->Options() & ~(TGridOption::goEditing | TGridOption::goAlwaysShowEditor)) |
        TGridOption::goRowSelect);
}

void TEditOvelseForm::showEvent(QShowEvent* event) {
    TStdRVKForm::showEvent(event);
    ApplySpeakerMode();
    UpdateControls();
}

bool TEditOvelseForm::event(QEvent* event) {
    const bool handled = TStdRVKForm::event(event);
    if (event->type() == QEvent::WindowActivate) {
        ApplySpeakerMode();
        UpdateControls();
    }
    return handled;
}

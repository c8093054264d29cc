// The settings window's pages: their controls laid out, and the connections of the buttons.
#include "ui/staevne/EditStaevneData.h"

#include "foundation/controls/EditUtil.h"
#include "foundation/controls/Extstrgr.h"
#include "model/D_PointBeregning.h"
#include "ui/WidgetKit.h"
#include "ui/WidgetKitDato.h"
#include "ui/staevne/EditStaevneDataGrid.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

// Check boxes in columns of rows rows each.
QGridLayout* CheckColumns(const QList<QCheckBox*>& boxes, int rows) {
    auto* grid = new QGridLayout;
    for (qsizetype i = 0; i < boxes.size(); ++i)
        grid->addWidget(boxes.at(i), static_cast<int>(i % rows), static_cast<int>(i / rows));
    return grid;
}

// A printer's name with its set-up button.
QHBoxLayout* PrinterRow(const QString& caption, QLabel* navn, QPushButton* setup, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(caption, parent));
    navn->setFrameShape(QFrame::StyledPanel);
    navn->setMinimumWidth(220);
    row->addWidget(navn, 1);
    row->addWidget(setup);
    return row;
}

} // namespace

void TEditStaevneDataForm::BuildDataPage() {
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Overskrift -1"), Overskrift1);
    fields->addRow(QStringLiteral("Overskrift -2"), Overskrift2);
    fields->addRow(QStringLiteral("Overskrift -3"), Overskrift3);
    fields->addRow(QStringLiteral("Arrangør"), Arrangor);
    fields->addRow(QStringLiteral("Stadion"), Stadion);
    fields->addRow(QStringLiteral("Startdato"), StaevneDato);
    fields->addRow(QStringLiteral("Startnumre"), Startnumre);
    fields->addRow(QStringLiteral("Stafet startnumre"), StafetStartnumre);
    fields->addRow(QStringLiteral("Rapport filnavn"), ReportFilename);
    fields->addRow(QStringLiteral("Rekord filnavne"), RekordFilenames);
    fields->addRow(QStringLiteral("Mappe til serie-filer"), CsvLoadFilePath);
    fields->addRow(QStringLiteral("Mappe til scoreboard-filer"), ScoreboardFilePath);
    StaevneDato->setMaximumWidth(140);

    auto* page = new QVBoxLayout(DataPage);
    page->addLayout(fields);
    page->addLayout(PrinterRow(QStringLiteral("Printer:"), PrinterNavn, PrinterSetupButton, DataPage));
    page->addLayout(
        CheckColumns({UndladSerier, Indendors, TidsskemaUofficielt, VaelgSidsteStaevne, AltidFinale,
                      UndladRettelserForSeedning, EltidDirekte, AutoTildelStartnumre, UdskrivPR,
                      BrugPersonligrekord, OnlyHtmlBody, UndladInternationaltNavn, SeedningLigPR},
                     7));
    page->addStretch();
    PageControl->addTab(DataPage, QStringLiteral("Data"));
    connect(PrinterSetupButton, &QPushButton::clicked, this, &TEditStaevneDataForm::PrinterSetupButtonClick);
}

void TEditStaevneDataForm::BuildTeksterPage() {
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Klubliste bundtekst (starttider)"), KlublisteBundtekst1);
    fields->addRow(QStringLiteral("Klubliste bundtekst (resultater)"), KlublisteBundtekst2);
    fields->addRow(QStringLiteral("Mangekamp overskrift"), MangekampOverskrift);
    fields->addRow(QStringLiteral("Diplom indrykning (cm)"), DiplomIndent);
    fields->addRow(QStringLiteral("Diplom afstand fra top (cm)"), DiplomNed1);
    fields->addRow(QStringLiteral("Diplom layout"), DiplomLayout);
    for (QLineEdit* number : {static_cast<QLineEdit*>(DiplomIndent), static_cast<QLineEdit*>(DiplomNed1),
                              static_cast<QLineEdit*>(DiplomLayout)})
        number->setMaximumWidth(80);

    auto* page = new QVBoxLayout(TeksterPage);
    page->addLayout(fields);
    page->addLayout(
        PrinterRow(QStringLiteral("Diplom printer:"), DiplomPrinter, DiplomPrinterSetupButton, TeksterPage));
    page->addStretch();
    PageControl->addTab(TeksterPage, QStringLiteral("Tekster"));
    connect(DiplomPrinterSetupButton, &QPushButton::clicked, this,
            &TEditStaevneDataForm::DiplomPrinterSetupButtonClick);
}

void TEditStaevneDataForm::BuildHoldturneringPage() {
    auto* numbers = new QFormLayout;
    numbers->addRow(QStringLiteral("Antal DT hold"), AntalDTHold);
    numbers->addRow(QStringLiteral("Antal deltagere pr. øvelse"), AntalDeltPrOvelse);
    numbers->addRow(QStringLiteral("Max. antal øvelser pr. deltager"), MaxAntalOvelserPrDelt);
    numbers->addRow(QStringLiteral("Antal tællende deltagere"), AntalTaellendeDelt);
    numbers->addRow(QStringLiteral("Antal decimaler i points"), AntalPointDec);
    numbers->addRow(QStringLiteral("Starttid"), StaevneStarttid);
    StaevneStarttid->setDisplayFormat(QStringLiteral("HH:mm"));
    for (QWidget* number :
         {static_cast<QWidget*>(AntalDTHold), static_cast<QWidget*>(AntalDeltPrOvelse),
          static_cast<QWidget*>(MaxAntalOvelserPrDelt), static_cast<QWidget*>(AntalTaellendeDelt),
          static_cast<QWidget*>(AntalPointDec), static_cast<QWidget*>(StaevneStarttid)})
        number->setMaximumWidth(80);

    auto* left = new QVBoxLayout;
    left->addLayout(
        CheckColumns({FlereRunder, DTTurnering, VTTurnering, LTUTurnering, EgenTurnering, OstHoldTurnering,
                      UndladKontrol, IndtastSeedning, IndtastPR, UndladTotalStilling, UndladKategoriStilling},
                     11));
    left->addLayout(numbers);
    left->addLayout(CheckColumns({Motionsloeb, Redid, ECup2007, Gribben}, 2));
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(DTOvelserHalvPointsLabel);
    right->addWidget(DTOvelserHalvPoints, 1);
    auto* page = new QHBoxLayout(HoldturneringPage);
    page->addLayout(left, 1);
    page->addLayout(right, 1);
    PageControl->addTab(HoldturneringPage, QStringLiteral("Holdturnering"));
    connect(DTTurnering, &QCheckBox::clicked, this, &TEditStaevneDataForm::DTTurneringClick);
}

void TEditStaevneDataForm::BuildPointsPage() {
    auto* methods = new QVBoxLayout(PointBeregning);
    pointBeregning_ = new QButtonGroup(PointBeregning);
    for (int index = 0; index < PointBeregningCount; ++index) {
        auto* button = MakeRadio(PointBeregning, QStringLiteral("PointBeregning%1").arg(index),
                                 GetPointBeregningText(index));
        pointBeregning_->addButton(button, index);
        methods->addWidget(button);
    }

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Placering-1 points"), PlaceringsPoint1);
    fields->addRow(QStringLiteral("Placering-2 points"), PlaceringsPoint2);
    fields->addRow(QStringLiteral("Placering-3 points"), PlaceringsPoint3);
    fields->addRow(QStringLiteral("Placering-4 points"), PlaceringsPoint4);
    auto* forklaring = new QLabel(
        QStringLiteral(
            "(f.ex. betyder 10,9,8,7,6,5,4,3,2,1,* at nr.1 får 10 points, nr.2 får 9 points, og så "
            "fremdeles ned til nr.10 der får 1 point)") +
            u'\n' +
            QStringLiteral(
                "(* betyder at alle gennemførende får det sidst angivne antal points, her 1 point) - * "
                "kan udelades)"),
        PointsPage);
    forklaring->setWordWrap(true);
    fields->addRow(forklaring);
    fields->addRow(QStringLiteral("Mappe til pointtabeller"), TabelOpslagPath);
    fields->addRow(D3TMangekamp);

    auto* page = new QHBoxLayout(PointsPage);
    auto* left = new QVBoxLayout;
    left->addWidget(PointBeregning);
    left->addStretch();
    page->addLayout(left);
    page->addLayout(fields, 1);
    PageControl->addTab(PointsPage, QStringLiteral("Points"));
}

void TEditStaevneDataForm::BuildGridPages() {
    const std::pair<TStaevneDataGrid*, QString> pages[] = {{Klasser, QStringLiteral("Klasser")},
                                                           {AfvSteder, QStringLiteral("Afviklingssteder")},
                                                           {Grupper, QStringLiteral("Grupper")},
                                                           {Varer, QStringLiteral("Varer")}};
    for (const auto& [grid, caption] : pages) {
        QWidget* page = grid->Panel->parentWidget();
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(grid->Panel);
        PageControl->addTab(page, caption);
    }
}

void TEditStaevneDataForm::BuildOversaettelserPage() {
    static const char* const captions[] = {
        "Klub",      "Klasse",   "Startnr.",  "Navn",      "Øvelse", "Startliste", "Resultatliste",
        "Arrangør",  "Seedning", "Deltagere", "Starter",   "I alt",  "Klubber",    "Starttid",
        "Klubliste", "Klokken",  "Resultat",  "Placering", "PR",     "Program"};
    auto* words = new QGridLayout;
    constexpr int rows = TextCount / 2;
    for (int i = 0; i < TextCount; ++i) {
        const int column = (i / rows) * 2;
        words->addWidget(new QLabel(QString::fromUtf8(captions[i]), OversaettelserPage), i % rows, column);
        words->addWidget(Texts[static_cast<std::size_t>(i)], i % rows, column + 1);
    }
    auto* scoreboard = new QFormLayout;
    scoreboard->addRow(QStringLiteral("Scoreboard server"), ScoreboardServer);
    scoreboard->addRow(QStringLiteral("Scoreboard port"), ScoreboardServerPort);
    ScoreboardServerPort->setMaximumWidth(80);

    auto* page = new QVBoxLayout(OversaettelserPage);
    auto* checks = new QHBoxLayout;
    for (QCheckBox* box : {Oversattelse, Engelsk, DoTrace})
        checks->addWidget(box);
    checks->addStretch();
    page->addLayout(checks);
    page->addLayout(words);
    page->addLayout(scoreboard);
    page->addStretch();
    PageControl->addTab(OversaettelserPage, QStringLiteral("Oversættelser"));
}

void TEditStaevneDataForm::BuildOvelserPage() {
    OvelserGrid->SetFixedRows(1);
    OvelserGrid->Columns().BeginUpdate();
    for (const QString& heading : {QStringLiteral("#"), QStringLiteral("Øvelse"), QStringLiteral("Tekst")})
        OvelserGrid->Columns().Add().SetText(heading);
    OvelserGrid->Columns().GetItem(0).SetAlignment(TAlignment::taRightJustify);
    OvelserGrid->Columns().EndUpdate();
    OvelserGrid->SetColWidths(0, 40);
    OvelserGrid->SetColWidths(1, 70);
    OvelserGrid->SetColWidths(2, 300);
    OvelserGrid->SetOptions(TGridOption::goRowSelect | TGridOption::goColSizing);
    KlasserListbox->setMaximumWidth(120);

    auto* page = new QHBoxLayout(OvelserPage);
    page->addWidget(KlasserListbox);
    page->addWidget(OvelserGrid, 1);
    PageControl->addTab(OvelserPage, QStringLiteral("Øvelser"));
    connect(KlasserListbox, &QListWidget::itemClicked, this, &TEditStaevneDataForm::KlasserListboxClick);
}

void TEditStaevneDataForm::BuildButtons() {
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {RedigerButton, TildelStartnumreButton, UploadToWebButton})
        buttons->addWidget(button);
    buttons->addLayout(DialogButtonRow(OKButton, AnnullerButton), 1);
    auto* form = new QVBoxLayout(this);
    form->addWidget(PageControl, 1);
    form->addLayout(buttons);
    for (QPushButton* button : {RedigerButton, TildelStartnumreButton, UploadToWebButton, AnnullerButton})
        button->setAutoDefault(false);
    connect(RedigerButton, &QPushButton::clicked, this, &TEditStaevneDataForm::RedigerButtonClick);
    connect(TildelStartnumreButton, &QPushButton::clicked, this,
            &TEditStaevneDataForm::TildelStartnumreButtonClick);
    connect(UploadToWebButton, &QPushButton::clicked, this, &TEditStaevneDataForm::UploadToWebButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &TEditStaevneDataForm::OKButtonClick);
    connect(AnnullerButton, &QPushButton::clicked, this, &TEditStaevneDataForm::reject);
}

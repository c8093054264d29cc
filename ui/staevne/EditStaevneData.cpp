#include "ui/staevne/EditStaevneData.h"

#include "foundation/Exception.h"
#include "foundation/Messages.h"
#include "foundation/controls/EditUtil.h"
#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneDataTabel.h"
#include "model/D_Startnumre.h"
#include "model/D_Vare.h"
#include "platform/Printer.h"
#include "ui/DialogRunner.h"
#include "ui/Launchers.h"
#include "ui/WidgetKit.h"
#include "ui/WidgetKitDato.h"
#include "ui/staevne/EditStaevneDataGrid.h"
#include "ui/staevne/StaevneDef.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPrintDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QSet>
#include <QTabWidget>
#include <QTimeEdit>

namespace {

TStringEdit* MakeEdit(QWidget* parent, const QString& name, int maxLength = 0) {
    auto* edit = Named(new TStringEdit(parent), name);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

TIntegerEdit* MakeInteger(QWidget* parent, const QString& name, qint32 maxValue) {
    auto* edit = Named(new TIntegerEdit(parent), name);
    edit->MaxValue = maxValue;
    edit->SetEditAlignment(TAlignment::taRightJustify);
    return edit;
}

TFloatEdit* MakeCentimetres(QWidget* parent, const QString& name) {
    auto* edit = Named(new TFloatEdit(parent), name);
    edit->Decimals = 1;
    edit->SetEditAlignment(TAlignment::taRightJustify);
    return edit;
}

TIntegerSet* MakeRanges(QWidget* parent, const QString& name) {
    return Named(new TIntegerSet(parent), name);
}

std::array<TStringEdit*, TEditStaevneDataForm::TextCount> MakeTexts(QWidget* parent) {
    static const char* const names[] = {
        "TextKlub",       "TextKlasse",        "TextStartNr",   "TextNavn",     "TextOvelse",
        "TextStartliste", "TextResultatliste", "TextArrangor",  "TextSeedning", "TextDeltagere",
        "TextStarter",    "TextIalt",          "TextKlubber",   "TextStarttid", "TextKlubliste",
        "TextKlokken",    "TextResultat",      "TextPlacering", "TextPR",       "TextProgram"};
    std::array<TStringEdit*, TEditStaevneDataForm::TextCount> texts{};
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = MakeEdit(parent, QString::fromLatin1(names[i]));
    return texts;
}

// Ten radios would not say more than their captions: the list of points methods is the model's.
constexpr qint32 MaxAntal = 999;
constexpr qint32 MaxPointDecimaler = 4;
constexpr qint32 MaxPort = 65535;
// Entries without a participant named after a bib reassignment; a longer list ends with their number.
constexpr int ShownUdenDeltager = 40;

} // namespace

TEditStaevneDataForm::TEditStaevneDataForm(QWidget* owner, bool skjulteValg)
    : TStdRVKForm(owner)
    , PageControl(Named(new QTabWidget(this), QStringLiteral("PageControl")))
    , DataPage(MakePanel(this, QStringLiteral("DataPage")))
    , TeksterPage(MakePanel(this, QStringLiteral("TeksterPage")))
    , HoldturneringPage(MakePanel(this, QStringLiteral("HoldturneringPage")))
    , PointsPage(MakePanel(this, QStringLiteral("PointsPage")))
    , KlasserPage(MakePanel(this, QStringLiteral("KlasserPage")))
    , AfvStedPage(MakePanel(this, QStringLiteral("AfvStedPage")))
    , GrupperPage(MakePanel(this, QStringLiteral("GrupperPage")))
    , VarerPage(MakePanel(this, QStringLiteral("VarerPage")))
    , OversaettelserPage(MakePanel(this, QStringLiteral("OversaettelserPage")))
    , OvelserPage(MakePanel(this, QStringLiteral("OvelserPage")))
    , Overskrift1(MakeEdit(this, QStringLiteral("Overskrift1")))
    , Overskrift2(MakeEdit(this, QStringLiteral("Overskrift2")))
    , Overskrift3(MakeEdit(this, QStringLiteral("Overskrift3")))
    , Arrangor(MakeEdit(this, QStringLiteral("Arrangor")))
    , Stadion(MakeEdit(this, QStringLiteral("Stadion")))
    , StaevneDato(Named(new TDatoEdit(this), QStringLiteral("StaevneDato")))
    , Startnumre(MakeRanges(this, QStringLiteral("Startnumre")))
    , StafetStartnumre(MakeRanges(this, QStringLiteral("StafetStartnumre")))
    , ReportFilename(MakeEdit(this, QStringLiteral("ReportFilename")))
    , RekordFilenames(MakeEdit(this, QStringLiteral("RekordFilenames")))
    , CsvLoadFilePath(MakeEdit(this, QStringLiteral("CsvLoadFilePath")))
    , ScoreboardFilePath(MakeEdit(this, QStringLiteral("ScoreboardFilePath")))
    , PrinterNavn(MakeLabel(this, QStringLiteral("PrinterNavn")))
    , PrinterSetupButton(
          MakeButton(this, QStringLiteral("PrinterSetupButton"), QStringLiteral("Printer setup")))
    , UndladSerier(
          MakeCheck(this, QStringLiteral("UndladSerier"), QStringLiteral("Udelad serier i resultatlister")))
    , Indendors(MakeCheck(this, QStringLiteral("Indendors"), QStringLiteral("Indendørs stævne (ingen vind)")))
    , TidsskemaUofficielt(
          MakeCheck(this, QStringLiteral("TidsskemaUofficielt"), QStringLiteral("Tidsskema er uofficielt")))
    , VaelgSidsteStaevne(MakeCheck(this, QStringLiteral("VaelgSidsteStaevne"),
                                   QStringLiteral("Åbn automatisk sidst valgte stævne")))
    , AltidFinale(MakeCheck(this, QStringLiteral("AltidFinale"), QStringLiteral("Skriv altid finale")))
    , UndladRettelserForSeedning(MakeCheck(this, QStringLiteral("UndladRettelserForSeedning"),
                                           QStringLiteral("Udelad rettelser før seedning")))
    , EltidDirekte(
          MakeCheck(this, QStringLiteral("EltidDirekte"), QStringLiteral("Læs elektronisk tid direkte")))
    , AutoTildelStartnumre(MakeCheck(this, QStringLiteral("AutoTildelStartnumre"),
                                     QStringLiteral("Tildel startnumre automatisk")))
    , UdskrivPR(MakeCheck(this, QStringLiteral("UdskrivPR"), QStringLiteral("Marker PR i resultatlister")))
    , BrugPersonligrekord(MakeCheck(this, QStringLiteral("BrugPersonligrekord"),
                                    QStringLiteral("Indtast personlige rekorder")))
    , OnlyHtmlBody(
          MakeCheck(this, QStringLiteral("OnlyHtmlBody"), QStringLiteral("HTML uden sideramme (.body)")))
    , UndladInternationaltNavn(MakeCheck(this, QStringLiteral("UndladInternationaltNavn"),
                                         QStringLiteral("Navne som indtastet (ikke efternavn først)")))
    , SeedningLigPR(
          MakeCheck(this, QStringLiteral("SeedningLigPR"), QStringLiteral("PR sammenlignes med seedning")))
    , KlublisteBundtekst1(MakeEdit(this, QStringLiteral("KlublisteBundtekst1")))
    , KlublisteBundtekst2(MakeEdit(this, QStringLiteral("KlublisteBundtekst2")))
    , MangekampOverskrift(MakeEdit(this, QStringLiteral("MangekampOverskrift")))
    , DiplomIndent(MakeCentimetres(this, QStringLiteral("DiplomIndent")))
    , DiplomNed1(MakeCentimetres(this, QStringLiteral("DiplomNed1")))
    , DiplomLayout(MakeInteger(this, QStringLiteral("DiplomLayout"), MaxAntal))
    , DiplomPrinter(MakeLabel(this, QStringLiteral("DiplomPrinter")))
    , DiplomPrinterSetupButton(MakeButton(this, QStringLiteral("DiplomPrinterSetupButton"),
                                          QStringLiteral("Diplom printer setup")))
    , FlereRunder(MakeCheck(this, QStringLiteral("FlereRunder"), QStringLiteral("Flere runder")))
    , DTTurnering(MakeCheck(this, QStringLiteral("DTTurnering"), QStringLiteral("Danmarksturnering (DT)")))
    , VTTurnering(
          MakeCheck(this, QStringLiteral("VTTurnering"), QStringLiteral("Veteran holdturnering (VT)")))
    , LTUTurnering(MakeCheck(this, QStringLiteral("LTUTurnering"), QStringLiteral("DMU hold")))
    , EgenTurnering(MakeCheck(this, QStringLiteral("EgenTurnering"), QStringLiteral("Egen holdturnering")))
    , OstHoldTurnering(
          MakeCheck(this, QStringLiteral("OstHoldTurnering"), QStringLiteral("Øst holdturnering")))
    , UndladKontrol(
          MakeCheck(this, QStringLiteral("UndladKontrol"), QStringLiteral("Undlad kontrol af holdkort")))
    , IndtastSeedning(MakeCheck(this, QStringLiteral("IndtastSeedning"), QStringLiteral("Indtast seedning")))
    , IndtastPR(MakeCheck(this, QStringLiteral("IndtastPR"), QStringLiteral("Indtast PR")))
    , UndladTotalStilling(
          MakeCheck(this, QStringLiteral("UndladTotalStilling"), QStringLiteral("Udelad totalstilling")))
    , UndladKategoriStilling(MakeCheck(this, QStringLiteral("UndladKategoriStilling"),
                                       QStringLiteral("Udelad kategoristilling")))
    , AntalDTHold(MakeInteger(this, QStringLiteral("AntalDTHold"), MaxAntal))
    , AntalDeltPrOvelse(MakeInteger(this, QStringLiteral("AntalDeltPrOvelse"), MaxAntal))
    , MaxAntalOvelserPrDelt(MakeInteger(this, QStringLiteral("MaxAntalOvelserPrDelt"), MaxAntal))
    , AntalTaellendeDelt(MakeInteger(this, QStringLiteral("AntalTaellendeDelt"), MaxAntal))
    , AntalPointDec(MakeInteger(this, QStringLiteral("AntalPointDec"), MaxPointDecimaler))
    , StaevneStarttid(Named(new QTimeEdit(this), QStringLiteral("StaevneStarttid")))
    , DTOvelserHalvPointsLabel(MakeLabel(this, QStringLiteral("DTOvelserHalvPointsLabel"),
                                         QStringLiteral("DT øvelser med ½ points")))
    , DTOvelserHalvPoints(Named(new QListWidget(this), QStringLiteral("DTOvelserHalvPoints")))
    , Motionsloeb(MakeCheck(this, QStringLiteral("Motionsloeb"), QStringLiteral("Motionsløb")))
    , Redid(MakeCheck(this, QStringLiteral("Redid"), QStringLiteral("Redid")))
    , ECup2007(MakeCheck(this, QStringLiteral("ECup2007"), QStringLiteral("ECup 2007")))
    , Gribben(MakeCheck(this, QStringLiteral("Gribben"), QStringLiteral("Gribben")))
    , PointBeregning(
          Named(new QGroupBox(QStringLiteral(" Point beregning "), this), QStringLiteral("PointBeregning")))
    , PlaceringsPoint1(MakeEdit(this, QStringLiteral("PlaceringsPoint1")))
    , PlaceringsPoint2(MakeEdit(this, QStringLiteral("PlaceringsPoint2")))
    , PlaceringsPoint3(MakeEdit(this, QStringLiteral("PlaceringsPoint3")))
    , PlaceringsPoint4(MakeEdit(this, QStringLiteral("PlaceringsPoint4")))
    , TabelOpslagPath(MakeEdit(this, QStringLiteral("TabelOpslagPath")))
    , D3TMangekamp(
          MakeCheck(this, QStringLiteral("D3TMangekamp"), QStringLiteral("Mangekamp efter D3T-model")))
    , Klasser(new TStaevneDataGrid(KlasserPage, QStringLiteral("Klasse")))
    , AfvSteder(new TStaevneDataGrid(AfvStedPage, QStringLiteral("AfvSted")))
    , Grupper(new TStaevneDataGrid(GrupperPage, QStringLiteral("Gruppe")))
    , Varer(new TStaevneDataGrid(VarerPage, QStringLiteral("Vare")))
    , KlasseGrid(Klasser->Grid)
    , AfvStedGrid(AfvSteder->Grid)
    , GruppeGrid(Grupper->Grid)
    , VareGrid(Varer->Grid)
    , Oversattelse(MakeCheck(this, QStringLiteral("Oversattelse"), QStringLiteral("Brug oversættelser")))
    , Engelsk(MakeCheck(this, QStringLiteral("Engelsk"), QStringLiteral("Engelsk")))
    , DoTrace(MakeCheck(this, QStringLiteral("DoTrace"), QStringLiteral("Logging")))
    , ScoreboardServer(MakeEdit(this, QStringLiteral("ScoreboardServer")))
    , ScoreboardServerPort(MakeInteger(this, QStringLiteral("ScoreboardServerPort"), MaxPort))
    , Texts(MakeTexts(this))
    , KlasserListbox(Named(new QListWidget(this), QStringLiteral("KlasserListbox")))
    , OvelserGrid(Named(new TExtStringGrid(this), QStringLiteral("OvelserGrid")))
    , RedigerButton(MakeButton(this, QStringLiteral("RedigerButton"), QStringLiteral("Rediger stævne-data")))
    , TildelStartnumreButton(
          MakeButton(this, QStringLiteral("TildelStartnumreButton"), QStringLiteral("Tildel startnumre")))
    , UploadToWebButton(
          MakeButton(this, QStringLiteral("UploadToWebButton"), QStringLiteral("Upload to web")))
    , OKButton(MakeDialogButton(this, QStringLiteral("OKButton"), mrOk))
    , AnnullerButton(MakeDialogButton(this, QStringLiteral("AnnullerButton"), mrCancel))
    , pointBeregning_(nullptr) {
    setObjectName(QStringLiteral("EditStaevneDataForm"));
    setWindowTitle(QStringLiteral("Stævne-data"));
    if (!StaevneManager || StaevneManager->GetCurrentIndex() < 0)
        throw Exception(QStringLiteral("Der er ikke valgt noget stævne"));
    vareManager_ = std::make_unique<TVareManager>();

    BuildDataPage();
    BuildTeksterPage();
    BuildHoldturneringPage();
    BuildPointsPage();
    BuildGridPages();
    BuildOversaettelserPage();
    BuildOvelserPage();
    BuildButtons();
    BuildBindings();
    resize(900, 620);

    for (QCheckBox* skjult : {Motionsloeb, Redid, ECup2007, Gribben})
        skjult->setVisible(skjulteValg);
    Vis(StoredValg());
    BindGrids();
    RedigerButton->setEnabled(!StaevneManager->IsDTVTLTUTurnering());
    PageControl->setCurrentWidget(DataPage);
    connect(PageControl, &QTabWidget::currentChanged, this, &TEditStaevneDataForm::PageChange);
}

TEditStaevneDataForm::~TEditStaevneDataForm() = default;

// ---------------------------------------------------------------- saving and closing

bool TEditStaevneDataForm::CommitGrids() {
    for (TStaevneDataGrid* grid : {Klasser, AfvSteder, Grupper, Varer}) {
        if (!grid->Commit()) {
            PageControl->setCurrentWidget(grid->Panel->parentWidget());
            return false;
        }
    }
    return true;
}

bool TEditStaevneDataForm::Gem() {
    if (!CommitGrids())
        return false;
    const TStaevneDataValg valg = Valg();
    CheckStaevneData(valg.SystemData);
    // A record that could not be written has been reported, and stays pending for the next try.
    if (OvelseManager->IsModified() && !OvelseManager->Save())
        return false;
    if (vareManager_->IsChanged() && !vareManager_->Save())
        return false;
    GemStaevneData(valg);
    // The meet was opened again: the grids hold its records as read anew.
    BindGrids();
    return true;
}

void TEditStaevneDataForm::OKButtonClick() {
    bool saved = false;
    if (!RunShowingErrors(this, [this, &saved] { saved = Gem(); })) {
        // The lists may have been read anew on the way: the grids show them as they are.
        BindGrids();
        return;
    }
    if (saved)
        done(mrOk);
}

void TEditStaevneDataForm::ForkastOvelser() {
    if (OvelseManager && OvelseManager->IsModified())
        OvelseManager->Reload();
}

void TEditStaevneDataForm::reject() {
    if (OvelseManager && OvelseManager->IsModified()) {
        if (AskConfirm(this, QStringLiteral("Data er ændret, gem "))) {
            bool saved = false;
            const std::optional<QString> failure = FailureOf([this, &saved] { saved = Gem(); });
            if (saved) {
                done(mrOk);
                return;
            }
            // Refused without an error (a grid row, a record the user was told of): the window stays.
            if (!failure)
                return;
            if (!AskConfirm(this, QStringLiteral("Der er opstået en fejl: ") + *failure + u'\r' +
                                      QStringLiteral("Afslut alligevel"))) {
                BindGrids();
                return;
            }
        }
        if (const std::optional<QString> failure = FailureOf([this] {
                ForkastOvelser();
                BindGrids();
            }))
            ShowError(this, *failure);
    }
    TStdRVKForm::reject();
}

// ---------------------------------------------------------------- the buttons

void TEditStaevneDataForm::RedigerButtonClick() {
    RunShowingErrors(this, [this] {
        if (!CommitGrids())
            return;
        const TStaevneDataValg before = StoredValg();
        // Whatever the wizard did, its finish may have read the lists anew: the grids follow them.
        const auto rebind = qScopeGuard([this, &before] {
            BindGrids();
            Vis(StoredValg(), &before);
            FillDTOvelser();
        });
        TStaevneDefForm wizard(this);
        wizard.SetupRetStaevne();
        RunDialog(wizard);
    });
}

void TEditStaevneDataForm::TildelStartnumreButtonClick() {
    RunShowingErrors(this, [this] {
        TStartnummerValg valg;
        valg.Startnumre = Startnumre->GetValue().AsText();
        valg.StafetStartnumre = StafetStartnumre->GetValue().AsText();
        valg.Motionsloeb = Motionsloeb->isChecked();
        if (!HarStartnumre(valg.Startnumre)) {
            ShowError(this, QStringLiteral("Gyldigt startnummer-interval skal først angives"));
            return;
        }
        if (!AskConfirm(this, QStringLiteral("Start automatisk tildeling af startnumre")))
            return;
        ShowInformation(this, StartnummerRapportText(TildelStartnumre(valg), ShownUdenDeltager));
    });
}

void TEditStaevneDataForm::RunPrinterSetup(QLabel* label) {
    RunShowingErrors(this, [this, label] {
        // The list printer is the current one again afterwards, whatever was chosen.
        const auto restore = qScopeGuard([] { StaevneManager->SelectPrinter(); });
        Platform::SelectPrinter(label->text());
        QPrintDialog dialog(&Platform::CurrentPrinter(), this);
        dialog.setObjectName(QStringLiteral("PrinterSetupDialog"));
        if (RunDialog(dialog) != QDialog::Accepted)
            return;
        SetPrinterLabel(label, Platform::CurrentPrinterName());
    });
}

void TEditStaevneDataForm::PrinterSetupButtonClick() {
    RunPrinterSetup(PrinterNavn);
}

void TEditStaevneDataForm::DiplomPrinterSetupButtonClick() {
    RunPrinterSetup(DiplomPrinter);
}

void TEditStaevneDataForm::UploadToWebButtonClick() {
    RunShowingErrors(this, [this] {
        const QString fileName = UploadStaevneXml();
        ShowInformation(this, QStringLiteral("Stævnets XML-fil er skrevet til \"") + fileName + u'"');
    });
}

void TEditStaevneDataForm::DTTurneringClick() {
    RunShowingErrors(this, [this] { FillDTOvelser(); });
}

void TEditStaevneDataForm::PageChange(int index) {
    if (PageControl->widget(index) != OvelserPage)
        return;
    KlasserListbox->clear();
    KlasserListbox->addItems(Klasser->Koder());
    KlasserListbox->clearSelection();
    OvelserGrid->SetRowCount(OvelserGrid->FixedRows() + 1);
    OvelserGrid->ClearRows();
}

void TEditStaevneDataForm::KlasserListboxClick() {
    RunShowingErrors(this, [this] {
        const QListWidgetItem* item = KlasserListbox->currentItem();
        const QString klasse = item ? item->text() : QString();
        // One line per event of the class (its first round stands for the others).
        std::vector<TOvelseInfo*> runder;
        QSet<QString> vist;
        for (const auto& [key, info] : OvelseManager->KlasseIndex()) {
            if (info->GetKlasseKode().compare(klasse, Qt::CaseInsensitive) == 0 &&
                !vist.contains(info->GetOvelseKode() + u',' + info->GetAttributKode())) {
                vist.insert(info->GetOvelseKode() + u',' + info->GetAttributKode());
                runder.push_back(info);
            }
        }
        OvelserGrid->BeginUpdate();
        OvelserGrid->ClearRows();
        OvelserGrid->SetRowCount(OvelserGrid->FixedRows() +
                                 std::max<int>(1, static_cast<int>(runder.size())));
        int row = OvelserGrid->FixedRows();
        for (const TOvelseInfo* info : runder) {
            OvelserGrid->SetCells(
                0, row, QString::number(info->Ovelse().GetField(OvelseField::Sortkode)->GetAsInteger()));
            OvelserGrid->SetCells(1, row, info->GetOvelseKode());
            OvelserGrid->SetCells(2, row,
                                  TrimBlanks(info->Ovelse().GetTrimmedString(OvelseField::Korttekst) + u' ' +
                                             info->GetAttributText()));
            ++row;
        }
        OvelserGrid->EndUpdate();
    });
}

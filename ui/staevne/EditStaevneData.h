#pragma once
// "Stævne-data": every setting of the open meet on ten pages, the meet's classes, venues, goods groups and
// goods in grids, the meet wizard for the classes and events, bib numbers given anew, the list and diploma
// printers, and the meet's XML document. The controls show the settings as they are stored; nothing is
// stored before "&OK" (the wizard and the bib numbers store their own work at once).
#include "foundation/LxString.h"
#include "foundation/controls/RvkForms.h"
#include "model/D_StaevneData.h"

#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTimeEdit;
class TDatoEdit;
class TExtStringGrid;
class TFloatEdit;
class TIntegerEdit;
class TIntegerSet;
class TStaevneDataGrid;
class TStringEdit;
class TVareManager;

class TEditStaevneDataForm : public TStdRVKForm {
    Q_OBJECT
public:
    // The number of translated words and their places in the meet's list, in the order the page shows them.
    static constexpr int TextCount = 20;

    // Shows the open meet's settings; skjulteValg shows the four hidden options ("/Lx").
    explicit TEditStaevneDataForm(QWidget* owner = nullptr,
                                  bool skjulteValg = HasSwitch(QStringLiteral("/Lx")));
    ~TEditStaevneDataForm() override;

    // The settings as the controls give them; raises the message of a control whose text is no value.
    TStaevneDataValg Valg() const;

    // ---- Handlers
    // Stores everything and closes with OK; a failure is shown and keeps the window open with the edits.
    void OKButtonClick();
    // Escape, "&Annullér" and the close button: unsaved changes to the classes or venues are offered for
    // saving; they are never left pending to be saved later.
    void reject() override;
    void RedigerButtonClick();
    void TildelStartnumreButtonClick();
    void PrinterSetupButtonClick();
    void DiplomPrinterSetupButtonClick();
    void UploadToWebButtonClick();
    void DTTurneringClick();
    void PageChange(int index);
    void KlasserListboxClick();

    QTabWidget* const PageControl;
    QWidget* const DataPage;
    QWidget* const TeksterPage;
    QWidget* const HoldturneringPage;
    QWidget* const PointsPage;
    QWidget* const KlasserPage;
    QWidget* const AfvStedPage;
    QWidget* const GrupperPage;
    QWidget* const VarerPage;
    QWidget* const OversaettelserPage;
    QWidget* const OvelserPage;

    // "Data"
    TStringEdit* const Overskrift1;
    TStringEdit* const Overskrift2;
    TStringEdit* const Overskrift3;
    TStringEdit* const Arrangor;
    TStringEdit* const Stadion;
    TDatoEdit* const StaevneDato;
    TIntegerSet* const Startnumre;
    TIntegerSet* const StafetStartnumre;
    TStringEdit* const ReportFilename;
    TStringEdit* const RekordFilenames;
    TStringEdit* const CsvLoadFilePath;
    TStringEdit* const ScoreboardFilePath;
    QLabel* const PrinterNavn;
    QPushButton* const PrinterSetupButton;
    QCheckBox* const UndladSerier;
    QCheckBox* const Indendors;
    QCheckBox* const TidsskemaUofficielt;
    QCheckBox* const VaelgSidsteStaevne;
    QCheckBox* const AltidFinale;
    QCheckBox* const UndladRettelserForSeedning;
    QCheckBox* const EltidDirekte;
    QCheckBox* const AutoTildelStartnumre;
    QCheckBox* const UdskrivPR;
    QCheckBox* const BrugPersonligrekord;
    QCheckBox* const OnlyHtmlBody;
    QCheckBox* const UndladInternationaltNavn;
    QCheckBox* const SeedningLigPR;

    // "Tekster"
    TStringEdit* const KlublisteBundtekst1;
    TStringEdit* const KlublisteBundtekst2;
    TStringEdit* const MangekampOverskrift;
    TFloatEdit* const DiplomIndent;
    TFloatEdit* const DiplomNed1;
    TIntegerEdit* const DiplomLayout;
    QLabel* const DiplomPrinter;
    QPushButton* const DiplomPrinterSetupButton;

    // "Holdturnering"
    QCheckBox* const FlereRunder;
    QCheckBox* const DTTurnering;
    QCheckBox* const VTTurnering;
    QCheckBox* const LTUTurnering;
    QCheckBox* const EgenTurnering;
    QCheckBox* const OstHoldTurnering;
    QCheckBox* const UndladKontrol;
    QCheckBox* const IndtastSeedning;
    QCheckBox* const IndtastPR;
    QCheckBox* const UndladTotalStilling;
    QCheckBox* const UndladKategoriStilling;
    TIntegerEdit* const AntalDTHold;
    TIntegerEdit* const AntalDeltPrOvelse;
    TIntegerEdit* const MaxAntalOvelserPrDelt;
    TIntegerEdit* const AntalTaellendeDelt;
    TIntegerEdit* const AntalPointDec;
    QTimeEdit* const StaevneStarttid;
    QLabel* const DTOvelserHalvPointsLabel;
    QListWidget* const DTOvelserHalvPoints;
    QCheckBox* const Motionsloeb;
    QCheckBox* const Redid;
    QCheckBox* const ECup2007;
    QCheckBox* const Gribben;

    // "Points"
    QGroupBox* const PointBeregning;
    TStringEdit* const PlaceringsPoint1;
    TStringEdit* const PlaceringsPoint2;
    TStringEdit* const PlaceringsPoint3;
    TStringEdit* const PlaceringsPoint4;
    TStringEdit* const TabelOpslagPath;
    QCheckBox* const D3TMangekamp;

    // The four grids, each with "Flyt op" and "Flyt ned"
    TStaevneDataGrid* const Klasser;
    TStaevneDataGrid* const AfvSteder;
    TStaevneDataGrid* const Grupper;
    TStaevneDataGrid* const Varer;
    TExtStringGrid* const KlasseGrid;
    TExtStringGrid* const AfvStedGrid;
    TExtStringGrid* const GruppeGrid;
    TExtStringGrid* const VareGrid;

    // "Oversættelser"
    QCheckBox* const Oversattelse;
    QCheckBox* const Engelsk;
    QCheckBox* const DoTrace;
    TStringEdit* const ScoreboardServer;
    TIntegerEdit* const ScoreboardServerPort;
    // TextKlub, TextKlasse, TextStartNr, TextNavn, TextOvelse, TextStartliste, TextResultatliste,
    // TextArrangor, TextSeedning, TextDeltagere, TextStarter, TextIalt, TextKlubber, TextStarttid,
    // TextKlubliste, TextKlokken, TextResultat, TextPlacering, TextPR, TextProgram
    const std::array<TStringEdit*, TextCount> Texts;

    // "Øvelser"
    QListWidget* const KlasserListbox;
    TExtStringGrid* const OvelserGrid;

    QPushButton* const RedigerButton;
    QPushButton* const TildelStartnumreButton;
    QPushButton* const UploadToWebButton;
    QPushButton* const OKButton;
    QPushButton* const AnnullerButton;

private:
    // One control shown from its setting and stored into it.
    struct TBinding {
        std::function<void(const TStaevneDataValg&)> Vis;
        std::function<void(TStaevneDataValg&)> Gem;
        // Whether two sets of settings differ in this control's setting.
        std::function<bool(const TStaevneDataValg&, const TStaevneDataValg&)> Forskel;
    };

    // ---- building (EditStaevneDataSider.cpp)
    void BuildDataPage();
    void BuildTeksterPage();
    void BuildHoldturneringPage();
    void BuildPointsPage();
    void BuildGridPages();
    void BuildOversaettelserPage();
    void BuildOvelserPage();
    void BuildButtons();

    // ---- the settings (EditStaevneDataBind.cpp)
    void BuildBindings();
    // The open meet's settings as stored.
    static TStaevneDataValg StoredValg();
    // Every control from the settings, or those whose setting differs from before.
    void Vis(const TStaevneDataValg& valg, const TStaevneDataValg* before = nullptr);
    // The grids from the event manager's and the goods manager's lists.
    void BindGrids();
    void FillDTOvelser();
    void SetPrinterLabel(QLabel* label, const QString& navn);

    // ---- handlers (EditStaevneData.cpp)
    bool CommitGrids();
    // The saving of "&OK"; false when something could not be stored (the user has been told).
    bool Gem();
    void RunPrinterSetup(QLabel* label);
    // The event manager as stored again, when it holds changes: none is saved later by someone else.
    static void ForkastOvelser();

    std::vector<TBinding> bindings_;
    QButtonGroup* pointBeregning_;
    std::unique_ptr<TVareManager> vareManager_;
};

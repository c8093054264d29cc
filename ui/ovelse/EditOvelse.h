#pragma once
// The event editor: the working window of a meet. Its overview shows every round of the meet in one of
// four layouts (Oversigt.h); the rounds chosen there open on the result page (several together when
// they are one event at one time) and, in fun-run meets, on the running-results page. The window keeps
// the result manager the user works in, saves a page's changes before it is left and asks before it
// closes. In announcer mode it only shows: nothing it does writes to the meet.
//
// Files: EditOvelse.cpp builds the window and keeps its settings; EditOvelseControls.cpp enables the
// commands; EditOvelsePages.cpp changes pages, saves and closes; EditOvelseOversigt.cpp fills and draws
// the overview and takes its keys; EditOvelseSelection.cpp shows what the overview's selection holds;
// EditOvelseGrid.cpp is the result grid with its columns; EditOvelseSerie.cpp the series grid, series
// mode and the attempt-series file; EditOvelseCommands.cpp the commands on results, and
// EditOvelseRunde.cpp those on rounds (properties, seeding and points of a selection, deleting and
// adding a round); EditOvelsePrint.cpp the prints.
#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/RvkForms.h"
#include "ui/ovelse/OvelseGridColumns.h"
#include "ui/ovelse/Oversigt.h"

#include "model/D_ResultColumn.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;
class TGridKlasse;
class TZunoDataElement;
class TOvelseInfo;
class TOvelseManager;
class TResultat;
class TResultatManager;
class TRunningPage;
class TUdskrift;
struct TSeedningValg;
struct TShownRows;

// Set by the event editor before it closes when its overview must be built anew: the main window opens
// it again for as long as it is set.
extern bool ReopenOvelseEditor;

// A column's alignment as the grid takes it.
TAlignment AlignmentOf(Qt::Alignment alignment);

class TEditOvelseForm : public TStdRVKForm {
    Q_OBJECT
public:
    // The sort choices of the result page, by the index of SortComboBox.
    static constexpr int SortChoiceCount = 13;
    static constexpr int SortHeatBaneSide = 4;
    static constexpr int SortHeatResultat = 5;
    static constexpr int SortResultatHeat = 6;
    // The sort choice of a round's results: by heat, or over all heats as the round's ResType asks.
    static int ResultatSortChoice(const TOvelseInfo* info);
    // The result grid: the row number and the modified mark, then the layout's columns.
    static constexpr int NrCol = 0;
    static constexpr int MarkCol = 1;
    static constexpr int FirstLayoutCol = 2;
    // The series grid: "Resultat", "R-Kode", then the attempts "1" .. "20".
    static constexpr int SerieResultatCol = 6;
    static constexpr int SerieRKodeCol = 7;
    static constexpr int FirstAttemptCol = 8;
    static constexpr int AttemptCols = 20;

    // Raises when the meet's programme cannot be shown; the window is then not opened.
    explicit TEditOvelseForm(QWidget* owner = nullptr);
    ~TEditOvelseForm() override;

    // ---- the overview (EditOvelseOversigt.cpp)
    // The overview anew in the chosen layout, the cursor back on the round it stood on.
    void FillOversigt();
    const TOversigt& Oversigt() const { return oversigt_; }
    // The layout's choices as the controls give them.
    TOversigtValg OversigtValg() const;
    // Whether the overview's rounds take a typed start time now.
    bool IsTidEditing() const;
    // Sets ReopenOvelseEditor and closes with modal result 1 (Space or F5 in the overview).
    void Reopen();
    // The result page of the current round, as a double click on the overview (or Enter).
    void OpenOvelsePage();
    // The whole overview as text: cells separated by TAB, rows ended by CR LF.
    QString OversigtText() const;

    // ---- the selection (EditOvelseSelection.cpp)
    // The rounds of the selected rectangle, the panels, info lines and tabs after it.
    void ShowSelection();
    // ShowSelection once the events being handled are done: many changes make one.
    void PostShowSelection();
    TOvelseInfo* CurrentOvelse() const { return currentOvelse_; }
    const std::vector<TOvelseInfo*>& SelectedOvelser() const { return selected_; }
    // The class filter: "-" removes the overlap counts, a class counts its rounds' shared athletes.
    void ChooseKlasse(int index);
    const TGridKlasse* OverlapModel() const { return overlap_.get(); }
    // The text of a status panel (0 "Tidspunkt" .. 7 "Valgte").
    QString StatusText(int panel) const;

    // ---- the commands (EditOvelseControls.cpp)
    // Enables the commands for the page and the selection; a command whose work is still to come stays
    // disabled all the same.
    void UpdateControls();
    // What UpdateControls wants of a command, whether or not its work is there.
    bool IsCommandWanted(const QObject* control) const;

    // ---- pages and saving (EditOvelsePages.cpp)
    // The loaded rows written (points first when the round calculates them itself), unless nothing
    // changed or in announcer mode. False when the write failed: the reason has been shown and every
    // change is still there.
    bool SaveOvelse();
    // With changes: asks whether to save them (or saves without asking) and saves on Ja. False only when
    // a save failed.
    bool AskSaveOvelse(bool ask = true);
    // Sorts the loaded rows by the sort choice (SortComboBox).
    void SortResultater(int choice);
    TResultatManager& Manager() const { return *manager_; }
    // The result grid's column layout.
    TOvelseGridColumns& GridColumns() { return gridColumns_; }
    // Whether the window may close now: the page's changes committed and saved (or declined).
    bool CanClose();
    // The running page's boxes and clock (EditOvelseLoeb.cpp).
    TRunningPage& RunningPage() const { return *runningPage_; }
    void done(int result) override;

    // ---- the result grid (EditOvelseGrid.cpp)
    // The kind of a result-grid column; none for the fixed columns.
    std::optional<TResultColumn> OvelseColumn(int col) const;
    // The grid column of a kind; -1 when the layout has none.
    int OvelseGridCol(TResultColumn kind) const;
    // The row of a grid row; null outside the rows.
    TResultat* RowAt(int gridRow) const;
    // A cell's text as the grid shows it: no place for a row with a status code or without a mark.
    static QString CellText(const TResultat& row, TResultColumn kind);
    // Every row anew from the manager, in its order; the cursor kept where it stood.
    void FillOvelseGrid();
    void FillOvelseRow(int gridRow);
    // Sorts by the choice and shows the rows in their new order.
    void ChooseSort(int choice);
    // The column of a "Kolonner" item removed when shown, added at the end when not; the layout saved.
    void ToggleKolonne(int kind);
    // The layout from the grid: its columns in their order, with their widths; stored with the meet's
    // settings except in announcer mode.
    void SaveGridColumns();

    // ---- series mode (EditOvelseSerie.cpp)
    bool SerieMode() const { return serieMode_; }
    // Enters or leaves series mode (ResultatSerieToolButton).
    void ResultatSerieClick();
    // Reads the round's attempt-series file into the rows.
    void ReadResultatSerieClick();
    void FillSerieGrid();

    // ---- commands (EditOvelseCommands.cpp, EditOvelseRunde.cpp)
    void GemClick();
    void FortrydClick();
    void SeedningClick();
    void VidereDel1Click();
    void VidereDel2Click();
    void BeregnPointClick();
    void KorrigerClick();
    void EgenskaberClick();
    void SletDeltagerClick();
    void StafetnavneClick();
    void SletOvelseClick();
    void TilfoejRundeClick();
    void RedidTestClick();
    // A double click in the result grid: the timing reader on the heat of the row (when the meet reads its
    // timing files directly), the heat's rows shown as it leaves them.
    void EltidClick();

    // ---- the prints (EditOvelsePrint.cpp); each commits the open cell and saves first
    // Makes one of the list jobs for the window.
    using TMakeUdskrift = std::unique_ptr<TUdskrift> (*)(QObject* owner);
    // The loaded round on the result page, the selected rounds on the overview; again as HTML only when
    // the list went to the screen or printer and HTML is asked for too. resultatliste: the rows sorted by
    // result first.
    void ListPrintClick(TMakeUdskrift make, bool resultatliste = false);
    // places: the mask of TDiplomUdskrift; valgtDeltager: only the athlete of the current row.
    void DiplomClick(int places, bool valgtDeltager);
    void KlubstillingClick();
    // The rounds of every cell of the overview.
    void KlubKonkurrenceClick();
    void MedaljelisteClick();
    void ReaktionsTiderClick();
    // The schedule of each weekday (1 Monday .. 7 Sunday).
    void TidsskemaClick(const std::vector<int>& ugedage);

    // ---- controls
    QToolBar* const OvelseToolBar;
    // The prints' row of the tool bar.
    QToolBar* const PrintToolBar;
    QAction* const OvelseEgenskaberToolButton;
    QAction* const SeedningToolButton;
    QAction* const VidereDel1ToolButton;
    QAction* const VidereDel2ToolButton;
    QAction* const BeregnPointToolButton;
    QAction* const KorrigerToolButton;
    QAction* const GemToolButton;
    QAction* const FortrydToolButton;
    QAction* const TidsskemaToolButton;
    QMenu* const TidsskemaPopupMenu;
    // Mandag .. Sondag.
    const std::array<QAction*, 7> TidsskemaDage;
    QAction* const AfkrydsningToolButton;
    QAction* const ProgramListeToolButton;
    QAction* const StartlisteToolButton;
    QAction* const DommerlisteToolButton;
    QAction* const ResultatlisteToolButton;
    QAction* const DiplomToolButton;
    QMenu* const DiplomPopupMenu;
    QAction* const Plads1;
    QAction* const Plads2;
    QAction* const Plads3;
    QAction* const Alle;
    QAction* const ValgtDeltager;
    QAction* const BoardToolButton;
    QMenu* const BoardPopupMenu;
    // Board1 .. Board5.
    const std::array<QAction*, 5> Boards;
    QAction* const KlubstillingToolButton;
    QAction* const KlubKonkurrenceToolButton;
    QAction* const MedaljelisteToolButton;
    QAction* const ReaktionsTiderToolButton;
    QComboBox* const KlubKonkurrenceKlasser;
    QAction* const ResultatSerieToolButton;
    QAction* const ReadResultatSerieToolButton;

    QWidget* const OvelseHeader;
    QLabel* const InfoLinie1;
    QLabel* const InfoLinie2;
    QLabel* const InfoLinie3;
    QLabel* const InfoLinie4;
    QWidget* const StatusBarHeader;
    QWidget* const StatusBar;

    QWidget* const HeaderPanel;
    QComboBox* const OversigtKlasseComboBox;
    QComboBox* const VisUgedagComboBox;
    QComboBox* const OversigtSortering;
    QComboBox* const SortComboBox;
    QComboBox* const PageTabPosition;
    QCheckBox* const UdskrivTilPrinter;
    QCheckBox* const UdskrivTilSkaerm;
    QCheckBox* const HtmlUdskrift;
    QCheckBox* const HTMLNavnPrOvelse;
    QCheckBox* const SideskiftPrKlasse;
    QCheckBox* const SideskiftPrTidspunkt;
    QCheckBox* const SideskiftPrHeat;
    QCheckBox* const UdskrivTommeOvelser;
    QCheckBox* const UdskrivEnLangSide;
    QCheckBox* const VisNulOvelser;
    QCheckBox* const VisTidsskema;
    QCheckBox* const Tidsskema2;
    QCheckBox* const InklusivKlubstilling;
    QCheckBox* const InklusivMangekampStilling;
    QCheckBox* const InklusivHoldkonkurrence;
    QCheckBox* const InklusivKlubkonkurrence;
    QToolButton* const RedidTest;

    QTabWidget* const PageControl;
    QWidget* const OversigtPage;
    TExtStringGrid* const OversigtGrid;
    QWidget* const OvelsePage;
    TExtStringGrid* const OvelseGrid;
    TExtStringGrid* const SerieGrid;
    QWidget* const LobeResultatPage;
    TExtStringGrid* const LobeResultatGrid;
    QCheckBox* const AutoTidRegistrering;

    // The popup of OvelseGrid: "Sortering", "Udskrifter", "Kolonner", and the row commands.
    QMenu* const OvelseGridPopup;
    QMenu* const SorteringMenu;
    QMenu* const UdskrifterMenu;
    QMenu* const KolonnerMenu;
    QAction* const SletDeltager;
    QAction* const ErstatDeltager;
    QAction* const TilmeldNyDeltager;
    QAction* const Stafetnavne;
    // The popup of OversigtGrid.
    QMenu* const OversigtGridPopup;
    QAction* const EgenskaberMenu;
    QAction* const SeedningMenu;
    QAction* const BeregnPointMenu;
    QAction* const SletOvelseMenu;
    QAction* const TilfoejRundeMenu;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- building (EditOvelse.cpp)
    void BuildToolBar();
    void BuildHeaderPanel();
    void BuildOvelseHeader();
    void BuildPages();
    void BuildPopups();
    void ConnectControls();
    void FillKlasseCombos();
    void RestoreSettings();
    // Into the meet manager, then saved: the meet's record and the registry, only the registry in
    // announcer mode.
    void StoreSettings();
    void ApplyTabPosition();
    // Announcer mode: the result grid only shows.
    void ApplySpeakerMode();

    // ---- the overview (EditOvelseOversigt.cpp)
    void SetupOversigtGrid();
    void CopyOversigtToGrid();
    void DrawOversigtCell(int col, int row, TGridDrawStates state, TCellCanvas& canvas) const;
    void OversigtLeaveCell(int col, int row, bool& allow);
    // The cells of the class chosen in the class filter, with their overlap counts anew.
    void RewriteKlasseCells();
    // The cell's text in the layout and the grid anew.
    void RewriteCell(const TOvelseInfo* info);
    // The first seven status panels for the round.
    void ShowStatusPanels(const TOvelseInfo& round);
    // On the result page: the panels of the round as its rows are now.
    void ShowRoundStatus();
    bool OversigtKey(QKeyEvent* event);

    // ---- pages (EditOvelsePages.cpp)
    void PageChanged(int index);
    // With changes outside announcer mode: the question whether to save them; true on Ja.
    bool WantsSave();
    bool LeavePage(QWidget* page);
    void EnterPage(QWidget* page, QWidget* from);
    // The selected rounds into the manager, and the sort choice for them.
    void LoadOvelseGrid();
    void SetTabVisible(QWidget* page, bool visible);
    // The grid the page edits in; null on the overview.
    TExtStringGrid* PageGrid(QWidget* page) const;
    // Points of the loaded round before it is saved, when the round calculates them itself.
    void BeregnPointOvelse();
    // The page's grid filled anew after its rows changed order or values.
    void RefillPage();

    // ---- commands (EditOvelseControls.cpp)
    struct TCommand {
        QObject* Control;
        bool Built;
    };
    void RegisterCommands();
    void SetWanted(QObject* control, bool wanted);
    void SetSerieCommands();
    void SetMenuItems(bool resultat);
    // The print commands' menu items with the button each follows.
    std::vector<std::pair<QAction*, QAction*>> PrintMenuItems() const;
    void FollowPrintButtons(bool resultat);
    // Connects the commands to their work, each guarded and committing the open cell first.
    void ConnectCommands();
    // Runs a command's work with the one guard; the controls follow it.
    void RunCommand(const std::function<void()>& work);
    // Commits the cell being edited on the page; false when the cell refused its text.
    bool CommitPage();
    // Shows the messages of one command, each once, in one box.
    void ShowMessages(const QStringList& messages);
    // Seeding as the command runs it, on the overview's selection or the loaded round.
    void SeedOversigt(const TSeedningValg& valg);
    void SeedResultat(const TSeedningValg& valg);
    // The letter of the round after the loaded one, the open cell committed; the zero character (the
    // reason shown) when there is no such round.
    QChar NextRunde();
    // The same with the loaded rows saved first; the zero character too when the save failed.
    QChar SavedForNextRunde();
    // The one round selected on the overview; null, the reason shown, for none or several.
    TOvelseInfo* OneSelected(const QString& tooMany);
    // Asks (Nej first) and changes the round's event row; then the window closes to be opened anew.
    void ChangeRunder(TOvelseInfo& info, const QString& question,
                      bool (*change)(TOvelseManager&, TOvelseInfo&));
    // The event programme was read anew: the window holds no round any more and only closes.
    void ForgetProgramme();
    // Closes for the overview to be built anew (after a round was deleted or added).
    void ReopenAfterProgramme();

    // ---- prints (EditOvelsePrint.cpp)
    void ConnectPrints();
    // The open cell committed, then the loaded rows saved; false when either refused.
    bool CommitAndSave();
    // The job gets the manager and the check boxes' options.
    void SetupJob(TUdskrift& job) const;
    void RunJobOne(TMakeUdskrift make);
    void RunJobList(TMakeUdskrift make);
    // Runs a job made and set up anew, then the HTML-only second run when it is wanted.
    void RunJobTwice(TMakeUdskrift make, const QString& htmlPrefix,
                     const std::function<void(TUdskrift&)>& run);
    // The result grid in the sort choice anew, after a print.
    void ResortPage();

    // ---- the grids (EditOvelseGrid.cpp, EditOvelseSerie.cpp)
    void SetupOvelseGrid();
    void BuildOvelseColumns();
    void OvelseEnterCell(int col, int row);
    void OvelseLeaveCell(int col, int row);
    void DrawOvelseCell(int col, int row, TGridDrawStates state, TCellCanvas& canvas) const;
    bool OvelseKey(QKeyEvent* event);
    // Puts the cursor on the cell and enters it as the user would, without leaving the cell it stood on.
    void PlaceCursor(TExtStringGrid& grid, int col, int row);
    // After a fill: the cursor back where it stood, as near as the rows now allow.
    void KeepCursor(TExtStringGrid& grid, int col, int row);
    void SetupSerieGrid();
    void SerieEnterCell(int col, int row, bool& canSelect);
    void SerieLeaveCell(int col, int row);
    void FillSerieRow(int gridRow);
    void DrawSerieCell(int col, int row, TGridDrawStates state, TCellCanvas& canvas) const;
    void EnterSerieMode();
    void LeaveSerieMode();

    std::unique_ptr<TResultatManager> manager_;
    std::unique_ptr<TRunningPage> runningPage_;
    TOvelseInfo* currentOvelse_ = nullptr;
    std::vector<TOvelseInfo*> selected_;
    // The class filter's overlap counts, read through a manager of their own so that the result page's
    // rows are never touched.
    std::unique_ptr<TResultatManager> overlapManager_;
    std::unique_ptr<TGridKlasse> overlap_;
    // The class record of the class filter; null for "-".
    const TZunoDataElement* filterKlasse_ = nullptr;
    QWidget* previousPage_ = nullptr;
    // While the window itself moves cells or rebuilds grids, the leave and select handlers do nothing.
    bool suppress_ = false;
    // Set by commands that changed the programme: the overview is re-indexed when it is shown again.
    bool eventsChanged_ = false;
    bool serieMode_ = false;
    // What each result-grid row shows, so that a refill writes only the rows that changed.
    std::unique_ptr<TShownRows> shown_;
    // The result grid's column kinds by grid column (none for the fixed ones).
    std::vector<std::optional<TResultColumn>> columnKinds_;
    // While the window puts the cursor on a cell itself, the cell it leaves is not written.
    bool leaveSuppressed_ = false;
    // The programme was read anew: every round the window held is gone.
    bool programmeGone_ = false;
    bool showSelectionPosted_ = false;
    bool closeChecked_ = false;
    TOversigt oversigt_;
    // The rows of the current cell's time, drawn as its labels.
    std::pair<int, int> currentTidRows_{-1, -1};
    TOvelseGridColumns gridColumns_;
    std::vector<TCommand> commands_;
    std::unordered_map<const QObject*, bool> wanted_;
    // Warnings of the combined-event layout already shown.
    QStringList warned_;
};

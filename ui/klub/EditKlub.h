#pragma once
// The clubs and entries dialog: the current meet's club register, and for the chosen club its edits, its
// participants with their entries, its purchases and its payments; in a team competition (DT, VT, LTU)
// each club is a team with its team sheet. Everything goes through one club manager for all clubs of the
// meet, and is written when the club is saved: before another club is shown, on "Opdater ændringer",
// before each new participant with auto-tab, and, when the user says so, on closing.
#include "foundation/controls/RvkForms.h"
#include "model/D_DBDef.h"
#include "ui/klub/EditKlubHost.h"

#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QSplitter;
class QToolBar;
class TAutoTilmeldPanel;
class TBetalingGridRules;
class TDeltagerGridRules;
class TExtStringGrid;
class TFloatEdit;
class THoldGridRules;
class TKlubManager;
class TKlubUdskriftPanel;
class TOvelseManager;

class TEditKlubForm : public TStdRVKForm, public TKlubDialogHost {
    Q_OBJECT
public:
    explicit TEditKlubForm(QWidget* owner = nullptr);
    ~TEditKlubForm() override;

    // ---- Tool bar
    QToolBar* const ToolBar1;
    QAction* const NyKlubTool;
    QAction* const GemKlubTool;
    QAction* const SletKlubTool;
    QAction* const VisDeltagerTool;
    QAction* const VisBetalingTool;
    QAction* const UdskriftTool;
    QAction* const ForsteLedigeStartnrTool;
    QAction* const AutoTilmeldTool;
    QAction* const TabulatorTool;
    QAction* const Klubliste1Tool;
    QAction* const Klubliste2Tool;
    QAction* const SaldolisteTool;
    QAction* const KlublisteLabelTool;
    QAction* const DiplomAlleToolButton;
    QAction* const DiplomValgtToolButton;
    QToolBar* const ToolBar2;
    QComboBox* const DeltagerSortering;
    QLineEdit* const KlubEdit;
    // The prints' options, on a row of their own below ToolBar2: the two rows side by side need more
    // than a laptop's screen is wide.
    QToolBar* const ToolBar3;
    QCheckBox* const UdskrivDeltagere;
    QCheckBox* const UdskrivRegnskab;
    QCheckBox* const UdskrivStartnumre;
    QCheckBox* const UdskrivTilPrinter;
    QCheckBox* const UdskrivTilHTML;
    QCheckBox* const KunNyeDiplomer;

    // ---- Club register and the club's edits
    QListWidget* const KlubberListbox;
    QWidget* const TopPanel;
    QLabel* const KlubnrLabel;
    QLineEdit* const KlubNavnEdit;
    QLineEdit* const KortNavnEdit;
    QLineEdit* const TelefonEdit;
    QLineEdit* const FaxEdit;
    QLineEdit* const EMailEdit;
    QLineEdit* const HoldkodeEdit;
    TFloatEdit* const DTPointRunde1Edit;
    QCheckBox* const PrisgruppeCheckBox;
    QLineEdit* const KontaktPersonEdit;
    QLineEdit* const Adresse1Edit;
    QLineEdit* const Adresse2Edit;
    QLineEdit* const Adresse3Edit;
    QLineEdit* const Adresse4Edit;
    QLineEdit* const Adresse5Edit;

    // ---- Work area
    QWidget* const GridPanel;
    QGroupBox* const DeltagerPanel;
    TExtStringGrid* const DeltagerGrid;
    QGroupBox* const DTDeltagerPanel;
    TExtStringGrid* const DTDeltagerGrid;
    QWidget* const BetalingPanel;
    TExtStringGrid* const KlubKobGrid;
    TExtStringGrid* const BetalingGrid;
    // The lower half of the work area, below a splitter: the club prints or the entry import.
    QSplitter* const WorkSplitter;
    TKlubUdskriftPanel* const UdskriftPanel;
    TAutoTilmeldPanel* const AutoTilmeldPanel;

    TKlubDialogWidgets Widgets() override;
    TKlubManager& KlubManager() override { return *klubber_; }
    TDeltagerGridRules& DeltagerRules() override { return *deltagerRules_; }
    bool IsHoldTurnering() const { return hold_; }

    // Loads and shows the club at the position of the club list; with none (-1), an empty club.
    void ShowKlub(int position) override;
    // Writes the edits and grids of the current club and saves; does nothing while the club list is
    // empty. False when it was not saved (a refused cell or row, a bad team code, a record that could not
    // be written): the reason has been shown and the edits stay.
    bool SaveKlub() override;
    // Incremental search: the first club whose name is not below the text in the list's order.
    void FindKlub(const QString& text);
    // The club made current and shown, the club being left saved first; false when that was refused.
    bool SelectKlub(TKlubElement& klub) override;
    // A new club, shown with its name ready to be typed over; false when the club being left was not
    // saved. A 27th team is refused.
    bool NyKlub() override;
    // The club's name as typed renames its list item at once, without showing the club again.
    void KlubNavnEditChange(const QString& text) override;
    TKlubElement* KlubOf(const QListWidgetItem* item) const override;
    // The DELTAGER field the participants are ordered by.
    int DeltagerOrder() const override;
    void FillDeltagerGrid() override;
    void FillHoldGrid();
    void FillKlubkobGrid();
    void FillBetalingGrid();
    void UpdateToolButtons();
    // Whether the club has edits not yet saved.
    bool IsKlubEdited() const;

public slots:
    // Closing with edits not yet saved asks whether to save them first.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolBars();
    void BuildTopPanel();
    void BuildWorkArea();
    void BuildLayout();
    void BuildConnections();

    void SletKlub();
    void ForsteLedigeStartnr();
    void SkiftVisiblePanel();
    // A club chosen in the list: the one being left is saved first.
    void KlubberListboxChange(int position);
    void KlubEditChange(const QString& text);
    void KlubEditEnter();
    // One of the lower panels shown in the lower half of the work area, or hidden.
    void ShowLowerPanel(QWidget* panel, bool shown);
    void SelectQuietly(QListWidgetItem* item);
    QListWidgetItem* AddKlubItem(TKlubElement& klub);
    void WriteKlubFields();
    void SetKlubEditsEnabled(bool enabled);

    std::unique_ptr<TKlubManager> klubber_;
    TOvelseManager& ovelser_;
    const bool hold_;
    TDeltagerGridRules* deltagerRules_ = nullptr;
    THoldGridRules* holdRules_ = nullptr;
    TBetalingGridRules* betalingRules_ = nullptr;
    // Non-zero while the dialog itself changes the search box or the list's selection.
    int searchGuard_ = 0;
    int listGuard_ = 0;
};

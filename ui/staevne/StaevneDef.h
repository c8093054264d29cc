#pragma once
// The meet wizard: creates a meet from a template, or edits the classes and events of the open meet.
// Pages are visited one after another; a page's tab shows only when every page before it is complete.
// "Tomt stævne" leads through the classes (Side 1), the events (Side 2) and the event details (Side 3);
// the three team-league templates lead to one page each (StaevneDefHold.h). Nothing is written before
// "Udfør".
#include "foundation/controls/RvkForms.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneDef.h"

#include <QDate>
#include <QTime>

#include <array>
#include <unordered_set>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimeEdit;
class TDTSide1Page;
class TDatoEdit;
class THoldSide;
class TLTUSide1Page;
class TStringEdit;
class TTabListbox;
class TVTSide1Page;

class TStaevneDefForm : public TStdRVKForm {
    Q_OBJECT
public:
    enum class TMode { Ret = 0, Nyt = 1 };
    // The views of the event details ("Informationer"), in the order of the choice.
    enum class TVisning { OvelsesInfo, Gebyrer1, Gebyrer2, Runder, RundeInfo, AntalPrHeat };

    explicit TStaevneDefForm(QWidget* owner = nullptr);
    ~TStaevneDefForm() override;

    // New-meet mode: today's date, the front page. Then show it modally.
    void SetupNytStaevne();
    // Edit mode for the open meet: its name, stadium, organiser, date and start time, its programme
    // rows, and as chosen classes the standard classes it has and those of its rows. Only the standard
    // pages are used.
    void SetupRetStaevne();
    TMode Mode() const { return mode_; }

    // ---- The state of the pages
    // The pages the wizard visits, in order, for the template chosen.
    const std::vector<QWidget*>& PageSequence() const { return sequence_; }
    bool IsPageComplete(const QWidget* page) const;
    // Moves to the next or the previous page of the sequence.
    void NaesteClick();
    void ForrigeClick();

    // ---- The programme as chosen so far
    TEditOvelsesRaekke& Raekke() { return raekke_; }
    // The chosen standard classes (numbers in the standard class table), ascending.
    const std::vector<int>& ValgteKlasser() const { return klasser_; }
    // The meet's date with its start time, as the front page gives it.
    TDateTime StaevneDatoTid() const;
    // The stored time of a round at the meet's start time.
    TDateTime StartDatoTid() const;
    // "den " and the date as "d.mmm yyyy", and " på " and the stadium when one is given.
    QString Overskrift3Text() const;

    // ---- Side 1: the standard classes of the chosen block; adding and removing chosen classes
    void FillStandardKlasser();
    void OpretKlasserClick();
    void SletKlasserClick();
    // ---- Side 2: candidate events and new rows
    void FillStandardOvelser();
    void OpretOvelserClick();
    // ---- Side 3: the rows as the view shows them; changing and deleting the selected ones
    void FillOvelserListbox();
    TVisning Visning() const;
    // The rows the selected lines of Side 3 stand for.
    std::vector<TEditOvelseData*> SelectedRows() const;
    void RetClick();
    void SletClick();

    // Escape and the close button: after anything was entered, only when the user confirms that it is
    // to be lost.
    void reject() override;

    // Finishes from the active page: the model creates the meet (new-meet mode) or writes the open one,
    // whole or not at all. A failure is shown and leaves the wizard open.
    void UdfoerClick();

    // ---- Controls
    QTabWidget* const PageControl;
    QWidget* const ForsidePage;
    QWidget* const Side1Page;
    QWidget* const Side2Page;
    QWidget* const Side3Page;
    TDTSide1Page* const DTSide1Page;
    TVTSide1Page* const VTSide1Page;
    TLTUSide1Page* const LTUSide1Page;
    QPushButton* const ForrigeButton;
    QPushButton* const NaesteButton;
    QPushButton* const UdfoerButton;

    // Front page
    TStringEdit* const StaevneNavn;
    TStringEdit* const Stadion;
    TStringEdit* const Arrangor;
    TDatoEdit* const Dato;
    QTimeEdit* const Starttidspunkt;
    QRadioButton* const TomtStaevne;
    QRadioButton* const Danmarksturnering;
    QRadioButton* const VeteranHoldturnering;
    QRadioButton* const DMUHold;

    // Side 1
    QRadioButton* const Piger;
    QRadioButton* const Drenge;
    QRadioButton* const Begge;
    QRadioButton* const Ungdom;
    QRadioButton* const Veteraner;
    TTabListbox* const StandardKlasser;
    TTabListbox* const KlasseListbox1;
    QPushButton* const OpretKlasser;
    QPushButton* const SletKlasser;

    // Side 2; the type boxes: "Løb", "Spring", "Kast", "Stafet", "Mangekamp"
    TTabListbox* const KlasseListbox2;
    TTabListbox* const StandardOvelser;
    TTabListbox* const OvelserListbox2;
    QCheckBox* const NaturligeOvelser;
    const std::array<QCheckBox*, 5> OvelseTyper2;
    QPushButton* const OpretOvelser;

    // Side 3
    TTabListbox* const OvelserListbox;
    QRadioButton* const KlasseOvelse;
    QRadioButton* const OvelseKlasse;
    QComboBox* const Informationer;
    const std::array<QCheckBox*, 5> OvelseTyper3;
    QPushButton* const RetButton;
    QPushButton* const SletButton;

private:
    // ---- building (StaevneDef.cpp, StaevneDefSider.cpp)
    void BuildForside();
    void BuildSide1();
    void BuildSide2();
    void BuildSide3();
    void BuildButtons();

    // ---- the state machine (StaevneDefState.cpp)
    void BuildPageSequence();
    // Tabs and buttons after any change on a page.
    void UpdateState();
    void PageEntered(int index);
    int SequencePos(const QWidget* page) const;
    THoldSide* ActiveHoldSide() const;

    // ---- the pages' lists (StaevneDefSider.cpp)
    void EnterSide2();
    void FillKlasseListbox(TTabListbox& list) const;
    void FillOvelserListbox2();
    std::vector<int> SelectedKlasser(const TTabListbox& list) const;
    // The lines of Side 3 anew, each with the row it stands for, and those of the selected rows selected.
    void ShowLines(const std::vector<std::pair<QString, TEditOvelseData*>>& lines,
                   const std::unordered_set<const TEditOvelseData*>& selected);
    // Whether the type boxes let rows of the event type through.
    static bool TypeShown(const std::array<QCheckBox*, 5>& boxes, int ovtype);
    // Takes new rows in, each unless its class and event are there already; keeps class-then-event order.
    void AddRows(std::vector<std::unique_ptr<TEditOvelseData>> rows);

    // ---- leaving (StaevneDefState.cpp)
    // What the user has entered: the front page, the template, the classes, the rows and the team pages.
    QStringList EnteredState() const;

    // ---- finishing (StaevneDef.cpp)
    // The choices as the model's finish takes them.
    TStaevneDefValg Valg() const;

    TMode mode_ = TMode::Nyt;
    TEditOvelsesRaekke raekke_;
    std::vector<int> klasser_;
    std::vector<QWidget*> sequence_;
    // What the wizard held when it was set up, for the question before leaving.
    QStringList startState_;
    bool updating_ = false;
    // The day the rows' round times stand on: a new date on the front page moves them with it.
    QDate raekkeDato_;
};

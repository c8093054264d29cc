#pragma once
// The team-league pages of the meet wizard: "DT side 1" (Danmarksturnering), "VT side 1" (Veteran
// holdturnering) and "DMU hold side 1". Each chooses the league's sex or class, round and district, and
// lists the teams in a grid. A page collects its choices (THoldValg); what follows from them, the table,
// the class, the settings, the programme and the clubs, is the model's (model/D_StaevneDefHold.h).
#include "model/D_StaevneDefHold.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QVBoxLayout;
class QRadioButton;
class TExtStringGrid;
class TIntegerEdit;

class THoldSide : public QWidget {
    Q_OBJECT
public:
    // The team letters "A" to "Z".
    static constexpr int HoldCount = 26;
    static constexpr int HoldCol = 0;
    static constexpr int KlubCol = 1;

    THoldSide(QWidget* parent, const QStringList& headings);

    // The choices that pick the table are made, a team counts, and what the page asks besides is valid.
    virtual bool IsComplete() const = 0;
    // Writes the team letters into column "Hold".
    void Enter();
    // The page's choices with its teams, as the finish hands them to the model.
    THoldValg Valg() const;
    // The programme table of the choices; empty while they are not made.
    THoldProgram Program() const;
    // The teams of the grid whose "Klub" cell is not empty, in grid order.
    std::vector<THoldKlub> Hold() const;
    // What the user has entered on the page: the choices ticked, the numbers typed and the grid's cells.
    QStringList EnteredState() const;

    TExtStringGrid* const HoldGrid;

signals:
    // A choice or a cell changed: the wizard checks the page again.
    void Changed();

protected:
    // The page's choices without the teams.
    virtual THoldValg Choices() const = 0;
    // A team counts when its "Klub" cell is not empty.
    bool HasHold() const;
    // PointRunde1 of the team in the grid's row; 0 here.
    virtual double PointRunde1(int row) const;
    // The district chosen of the two buttons.
    static THoldDistrikt Distrikt(const QRadioButton* oest, const QRadioButton* vest);

    // Puts the buttons into a titled box among the page's choices, as one exclusive group whose clicks
    // run onClick and then announce a change.
    QButtonGroup* ChoiceBox(const QString& title, const QList<QWidget*>& controls,
                            const std::function<void()>& onClick);
    // The page's column of choice boxes, beside the grid.
    QVBoxLayout* const ChoiceColumn;
    // The choices of a page that leads step by step: the first choice (sex or class) opens the rounds,
    // a round other than the final opens the districts, and a district, or the final, opens the grid.
    // afterRunde runs when a round is chosen, before the grid may open.
    void BuildSteps(const QString& firstTitle, const QList<QWidget*>& first, const QList<QWidget*>& runder,
                    const QRadioButton* finale, const QList<QWidget*>& distrikter,
                    const std::function<void()>& afterRunde = {});
    // Unticks the group's buttons that are disabled.
    static void UntickDisabled(QButtonGroup* group);
    static void EnableAll(QButtonGroup* group, bool enabled);

    // The first choice (sex or class), the rounds and the districts.
    QButtonGroup* first_ = nullptr;
    QButtonGroup* runde_ = nullptr;
    QButtonGroup* distrikt_ = nullptr;
};

class TDTSide1Page : public THoldSide {
    Q_OBJECT
public:
    explicit TDTSide1Page(QWidget* parent = nullptr);

    bool IsComplete() const override;
    // DTEliteDivision or 1-7; -1 while none is chosen.
    int Division() const;
    // The "Antal hold" value; 0 while it is no number of teams.
    int AntalHold() const;

    QRadioButton* const DTMaend;
    QRadioButton* const DTKvinder;
    QRadioButton* const DTIndledende;
    QRadioButton* const DTKvalifikation;
    QRadioButton* const DTFinale;
    // EliteDivision, then Division1 to Division7.
    const std::array<QRadioButton*, DTDivisionCount> Divisioner;
    QRadioButton* const EliteDivision;
    QRadioButton* const DTOest;
    QRadioButton* const DTVest;
    TIntegerEdit* const AntalDTHold;
    QCheckBox* const DTDobbeltMatch;

protected:
    THoldValg Choices() const override;

private:
    void KoenClick();
    void DivisionClick();
    void RundeClick();
    void DistriktClick();
    void UpdateDobbeltMatch();

    QButtonGroup* division_ = nullptr;
};

class TVTSide1Page : public THoldSide {
    Q_OBJECT
public:
    static constexpr int PointCol = 2;

    explicit TVTSide1Page(QWidget* parent = nullptr);

    bool IsComplete() const override;
    // The "Points 1. runde" column takes points (only for "2. indledende runde").
    bool PointsEditable() const;

    QRadioButton* const VTMaend;
    QRadioButton* const VTKvinder;
    QRadioButton* const VTRunde1;
    QRadioButton* const VTRunde2;
    QRadioButton* const VTOestVestFinale;
    QRadioButton* const VTFinale;
    QRadioButton* const VTOest;
    QRadioButton* const VTVest;

protected:
    THoldValg Choices() const override;
    double PointRunde1(int row) const override;

private:
    // The points column takes points only for the second round; another round empties it.
    void RundeClick();
    // A "Points 1. runde" cell may be left empty or holding a number.
    void LeaveCell(int col, int row, bool& allow);
};

class TLTUSide1Page : public THoldSide {
    Q_OBJECT
public:
    explicit TLTUSide1Page(QWidget* parent = nullptr);

    bool IsComplete() const override;

    QRadioButton* const LTUD15;
    QRadioButton* const LTUP15;
    QRadioButton* const LTUD19;
    QRadioButton* const LTUP19;
    QRadioButton* const LTUIndledende;
    QRadioButton* const LTUFinale;
    QRadioButton* const LTUOest;
    QRadioButton* const LTUVest;

protected:
    THoldValg Choices() const override;

private:
    // The class chosen ("D15", "P15", "D19", "P19"); empty for none.
    QString Klasse() const;
};

#pragma once
// The team-league pages of the meet wizard: "DT side 1" (Danmarksturnering), "VT side 1" (Veteran
// holdturnering) and "DMU hold side 1". Each chooses the league's sex or class, round and district, and
// lists the teams in a grid; the page then knows the programme table, the class, the settings and the
// headings of the meet that its "Udfør" creates (TStaevneDefForm).
#include "model/D_StaevneDefData.h"

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
struct TStaevneRegistry;
class TSystemData;

class THoldSide : public QWidget {
    Q_OBJECT
public:
    // The team letters "A" to "Z".
    static constexpr int HoldCount = 26;
    static constexpr int HoldCol = 0;
    static constexpr int KlubCol = 1;

    // A team of the grid whose "Klub" cell is not empty.
    struct THold {
        QString Navn; // the cell trimmed, or "Hold " and the letter when that leaves nothing
        QString HoldKode;
        double PointRunde1 = 0;
    };

    THoldSide(QWidget* parent, const QStringList& headings);

    // The choices that pick the table are made, a team counts, and what the page asks besides is valid.
    virtual bool IsComplete() const = 0;
    // Writes the team letters into column "Hold".
    void Enter();
    // The programme table of the choices; empty while they are not made.
    virtual THoldProgram Program() const = 0;
    // The meet's one class: its position in the standard class table.
    virtual int KlasseNr() const = 0;
    // The league's settings (the registry values included) and the headings Overskrift1 and Overskrift2.
    virtual void SetSettings(TSystemData& systemData, TStaevneRegistry& registry) const = 0;
    // DT only: heat allocation 4 for every round, and the events of weight 2 count half points.
    virtual bool IsDT() const { return false; }
    // Whether the double times of the table are used.
    virtual bool DobbeltMatch() const { return false; }
    std::vector<THold> Hold() const;

    TExtStringGrid* const HoldGrid;

signals:
    // A choice or a cell changed: the wizard checks the page again.
    void Changed();

protected:
    // A team counts when its "Klub" cell is not empty.
    bool HasHold() const;
    // PointRunde1 of the team in the grid's row; 0 here.
    virtual double PointRunde1(int row) const;
    enum class TTurnering { DT, VT, LTU };
    // The settings every league sets alike: its own kind on and the others off, one round.
    static void SetFaellesSettings(TSystemData& systemData, TStaevneRegistry& registry, TTurnering turnering);
    // The women's class "K" or the men's "M", and the sex in a heading.
    static int KoenKlasseNr(bool maend);
    static QString KoenText(bool maend);

    QRadioButton* MakeChoice(const QString& name, const QString& text);
    // Puts the buttons into a titled box among the page's choices, as one exclusive group whose clicks
    // run onClick and then announce a change.
    QButtonGroup* ChoiceBox(const QString& title, const QList<QWidget*>& controls,
                            const std::function<void()>& onClick);
    // The page's column of choice boxes, beside the grid.
    QVBoxLayout* const Choices;
    // Unticks the group's buttons that are disabled.
    static void UntickDisabled(QButtonGroup* group);
    static void EnableAll(QButtonGroup* group, bool enabled);
};

class TDTSide1Page : public THoldSide {
    Q_OBJECT
public:
    explicit TDTSide1Page(QWidget* parent = nullptr);

    bool IsComplete() const override;
    THoldProgram Program() const override;
    int KlasseNr() const override;
    void SetSettings(TSystemData& systemData, TStaevneRegistry& registry) const override;
    bool IsDT() const override { return true; }
    bool DobbeltMatch() const override;
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

private:
    void KoenClick();
    void DivisionClick();
    void RundeClick();
    void DistriktClick();
    void UpdateDobbeltMatch();

    QButtonGroup* koen_;
    QButtonGroup* runde_;
    QButtonGroup* division_;
    QButtonGroup* distrikt_;
};

class TVTSide1Page : public THoldSide {
    Q_OBJECT
public:
    static constexpr int PointCol = 2;

    explicit TVTSide1Page(QWidget* parent = nullptr);

    bool IsComplete() const override;
    THoldProgram Program() const override;
    int KlasseNr() const override;
    void SetSettings(TSystemData& systemData, TStaevneRegistry& registry) const override;
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
    double PointRunde1(int row) const override;

private:
    void KoenClick();
    void RundeClick();
    void DistriktClick();
    // A "Points 1. runde" cell may be left empty or holding a number.
    void LeaveCell(int col, int row, bool& allow);

    QButtonGroup* koen_;
    QButtonGroup* runde_;
    QButtonGroup* distrikt_;
};

class TLTUSide1Page : public THoldSide {
    Q_OBJECT
public:
    explicit TLTUSide1Page(QWidget* parent = nullptr);

    bool IsComplete() const override;
    THoldProgram Program() const override;
    int KlasseNr() const override;
    void SetSettings(TSystemData& systemData, TStaevneRegistry& registry) const override;

    QRadioButton* const LTUD15;
    QRadioButton* const LTUP15;
    QRadioButton* const LTUD19;
    QRadioButton* const LTUP19;
    QRadioButton* const LTUIndledende;
    QRadioButton* const LTUFinale;
    QRadioButton* const LTUOest;
    QRadioButton* const LTUVest;

private:
    void KlasseClick();
    void RundeClick();
    void DistriktClick();
    // The class chosen ("D15", "P15", "D19", "P19"); empty for none.
    QString Klasse() const;

    QButtonGroup* klasse_;
    QButtonGroup* runde_;
    QButtonGroup* distrikt_;
};

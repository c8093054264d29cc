#pragma once
// Changes fees, heat size and rounds of several programme rows at once: only the values whose "Ret" box
// is ticked are applied.
#include "foundation/controls/EditUtil.h"
#include "foundation/controls/RvkForms.h"
#include "storage/DBFieldDate.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
struct TEditOvelseData;

// A fee: a number of 0 or more, with at most two decimals. What is typed stays as typed until the edit is
// left or read, and a text that is no such number is refused with the reason.
class TGebyrEdit : public TFloatEdit {
    Q_OBJECT
public:
    explicit TGebyrEdit(QWidget* parent = nullptr);
    bool IsValidChar(QChar key) const override;
    void Check() override;
};

class TRetOvelseDataForm : public TStdRVKForm {
    Q_OBJECT
public:
    // The round sequences of the items of Runder, in their order.
    static constexpr std::array<const char*, 5> RunderKoder = {"IMSF", "ISF", "IF", "KF", "F"};

    explicit TRetOvelseDataForm(QWidget* owner = nullptr);

    // Shows the row's values in the edits, every box unticked and no round choice.
    void ShowValues(const TEditOvelseData& row);
    // Gives the row each ticked value; with a round choice also its rounds, each empty round time
    // meetDatoTid (the meet's start), and each round's venue ("LØB" for timed events, else the event).
    // Raises when a ticked edit holds no valid value.
    void ApplyTo(TEditOvelseData& row, TDateTime meetDatoTid) const;
    // The chosen item of Runder; -1 for none.
    int RunderIndex() const;

    TGebyrEdit* const Startgebyr1;
    TGebyrEdit* const Efteranmgebyr1;
    TGebyrEdit* const Strafgebyr1;
    TGebyrEdit* const Startgebyr2;
    TGebyrEdit* const Efteranmgebyr2;
    TGebyrEdit* const Strafgebyr2;
    TIntegerEdit* const AntalPrHeat;
    QCheckBox* const RetStartgebyr1;
    QCheckBox* const RetEfteranmgebyr1;
    QCheckBox* const RetStrafgebyr1;
    QCheckBox* const RetStartgebyr2;
    QCheckBox* const RetEfteranmgebyr2;
    QCheckBox* const RetStrafgebyr2;
    QCheckBox* const RetAntalPrHeat;
    QGroupBox* const Runder;
    QPushButton* const OKButton;
    QPushButton* const AnnullerButton;

private:
    void BuildLayout();
    void OKClick();

    QButtonGroup* runderGroup_;
};

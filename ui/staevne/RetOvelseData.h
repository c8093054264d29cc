#pragma once
// Changes fees, heat size and rounds of several programme rows at once: only the values whose "Ret" box
// is ticked are applied.
#include "foundation/controls/RvkForms.h"
#include "storage/DBFieldDate.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class TFloatEdit;
class TIntegerEdit;
struct TEditOvelseData;

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

    TFloatEdit* const Startgebyr1;
    TFloatEdit* const Efteranmgebyr1;
    TFloatEdit* const Strafgebyr1;
    TFloatEdit* const Startgebyr2;
    TFloatEdit* const Efteranmgebyr2;
    TFloatEdit* const Strafgebyr2;
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
    void OKClick();

    QButtonGroup* runderGroup_;
};

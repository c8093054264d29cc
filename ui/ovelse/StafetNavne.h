#pragma once
// The relay-names dialog: the members of a relay team's club with the leg each runs.
#include "foundation/controls/RvkForms.h"

class QPushButton;
class TExtStringGrid;
class TResultatManager;

class TStafetNavneForm : public TStdRVKForm {
    Q_OBJECT
public:
    static constexpr int NrCol = 0;
    static constexpr int NavnCol = 1;
    static constexpr int TurCol = 2;

    explicit TStafetNavneForm(QWidget* owner = nullptr);

    // Fills the grid with the club's members of the team in row index and shows the dialog; 1 after a
    // successful OK, 2 when cancelled.
    int Load(TResultatManager& manager, int index);

    TExtStringGrid* const NavneStringGrid;
    QPushButton* const OKBitBtn;
    QPushButton* const AnnullerBitBtn;

private:
    void Fill();
    void OKClick();

    TResultatManager* manager_ = nullptr;
    int index_ = -1;
};

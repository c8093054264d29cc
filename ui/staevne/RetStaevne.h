#pragma once
// The rename-meet dialog.
#include "foundation/controls/RvkForms.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the current meet's new name; the launcher renames on OK. Escape cancels.
class TRetStaevneForm : public TStdRVKForm {
    Q_OBJECT
public:
    explicit TRetStaevneForm(QWidget* owner = nullptr);

    QLabel* const Label1;
    QLineEdit* const StaevneNavn;
    QPushButton* const OKButton;
    QPushButton* const AnnullerButton;
};

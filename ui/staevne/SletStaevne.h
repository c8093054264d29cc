#pragma once
// The delete-meet dialog.
#include "foundation/controls/RvkForms.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Asks before the current meet is deleted: OK closes only when "ZUNO" is typed, exactly; the launcher
// deletes. Escape cancels.
class TSletStaevneForm : public TStdRVKForm {
    Q_OBJECT
public:
    explicit TSletStaevneForm(QWidget* owner = nullptr);

    QLabel* const Label1;
    QLabel* const StaevneNavn;
    QLabel* const Label2;
    QLineEdit* const SletteKode;
    QPushButton* const OKButton;
    QPushButton* const AnnullerButton;

public slots:
    // A wrong word is refused with a message and the focus back in the edit; the dialog stays open.
    void OKButtonClick();
};

// The word that must be typed before a meet is deleted.
inline constexpr char SletteKodeText[] = "ZUNO";

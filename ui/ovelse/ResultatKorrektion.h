#pragma once
// The correction dialog: a number of centimetres or hundredths of a second added to every mark of a
// round.
#include "foundation/controls/RvkForms.h"

class QPushButton;
class TIntegerEdit;

class TResultatKorrektionForm : public TStdRVKForm {
    Q_OBJECT
public:
    explicit TResultatKorrektionForm(QWidget* owner = nullptr);

    // Raises when the box holds no whole number.
    qint32 Value() const;

    TIntegerEdit* const Korrektion;
    QPushButton* const OKButton;
    QPushButton* const AnnullerButton;

private:
    void OKClick();
};

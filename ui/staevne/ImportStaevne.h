#pragma once
// The import's name question (TImportStaevneForm).
#include "foundation/controls/RvkForms.h"
#include "model/D_StaevneTransfer.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The import's name question: shows the headings, organiser and date of the meet in the transfer file
// and asks for the new meet's name. The meet manager asks it again, with the typed name, until the name
// is accepted; Escape cancels.
class TImportStaevneForm : public TStdRVKForm, public TImportStaevneQuestion {
    Q_OBJECT
public:
    explicit TImportStaevneForm(QWidget* owner = nullptr);

    // Fills the form and shows it modally; true when closed with OK, navn then holds the typed text.
    bool AskStaevneNavn(const TSystemData& imported, QString& navn) override;
    // Fills the form without showing it.
    void ShowImportData(const TSystemData& imported, const QString& navn);

    QGroupBox* const GroupBox;
    QLabel* const Header1;
    QLabel* const Header2;
    QLabel* const Header3;
    QLabel* const Footer1;
    QLabel* const Footer2;
    QLabel* const Dato;
    QLabel* const NavnLabel;
    QLineEdit* const StaevneNavn;
    QPushButton* const OKButton;
    QPushButton* const AnnullerButton;

private:
    void BuildLayout();
};

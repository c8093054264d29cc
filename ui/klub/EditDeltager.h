#pragma once
// "Tilmeld deltager": the quick registration of a single race with two distances, driven from the
// keyboard. A start number is typed, its registration found or made at once, the details typed field by
// field with Enter, and the last Enter stores them and proposes the next number. The records are the
// model's (model/D_KlubTilmelding.h).
#include "foundation/controls/RvkForms.h"

#include <memory>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class TIntegerEdit;
class TTilmeldinger;
struct TTilmelding;

class TEditDeltagerForm : public TStdRVKForm {
    Q_OBJECT
public:
    explicit TEditDeltagerForm(QWidget* owner = nullptr);
    ~TEditDeltagerForm() override;

    TIntegerEdit* const StartNr;
    QLineEdit* const Navn;
    TIntegerEdit* const Aargang;
    QLineEdit* const Klub;
    QLineEdit* const Adresse1;
    QLineEdit* const Adresse2;
    QLineEdit* const Adresse3;
    QLineEdit* const EMail;
    QLineEdit* const KlasseDistance;
    // The radio groups "Klasse" (Mænd, Kvinder) and "Distance" (42, 77) of a new registration.
    QRadioButton* const KlasseMaend;
    QRadioButton* const KlasseKvinder;
    QRadioButton* const Distance42;
    QRadioButton* const Distance77;
    QCheckBox* const AutoNummer;

    // ---- Enter in each edit
    void StartNrEnter();
    void KlasseDistanceEnter();
    void ShowDeltager(const TTilmelding& tilmelding);
    void ClearFields();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();

    std::unique_ptr<TTilmeldinger> tilmeldinger_;
};

#pragma once
// The event properties dialog: the settings of one or several rounds at once. A setting whose value
// differs between the rounds is blocked (greyed and listed) and left as each round has it, unless the
// user unlocks it. The second page moves the start times or gives them in turn. Everything is done on a
// copy: nothing reaches the rounds before OK, which writes the settings still enabled into every round
// and has the event manager store them.
#include "foundation/controls/RvkForms.h"
#include "storage/DBFieldDate.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimeEdit;
class TDatoEdit;
class TFloatEdit;
class TIntegerEdit;
class TOvelseInfo;
class TRadioGroup;
class TStringEdit;

class TOvelsePropertyForm : public TStdRVKForm {
    Q_OBJECT
public:
    // The characters of the round's extra text.
    static constexpr int ExtraTextLength = 26;

    explicit TOvelsePropertyForm(QWidget* owner = nullptr);
    ~TOvelsePropertyForm() override;

    // Shows the rounds' settings, blocks those that differ, and runs the dialog; on OK the changed rounds
    // are stored. The modal result.
    int Load(const std::vector<TOvelseInfo*>& ovelser);
    // The rounds' start date-times as OK would write them now.
    std::vector<TDateTime> Starttider() const;
    // The blocked controls listed, by name.
    QStringList BlockedNames() const;

    QTabWidget* const PageControl;
    QWidget* const EgenskaberPage;
    QWidget* const TidsskemaPage;
    TFloatEdit* const StartGebyr1;
    TFloatEdit* const EfterAnmGebyr1;
    TFloatEdit* const StrafGebyr1;
    TFloatEdit* const StartGebyr2;
    TFloatEdit* const EfterAnmGebyr2;
    TFloatEdit* const StrafGebyr2;
    TRadioGroup* const PointBeregning;
    TIntegerEdit* const MKOvelseNr;
    TStringEdit* const MKOvelse;
    QCheckBox* const UofficielOvelse;
    TDatoEdit* const OvelseDato;
    QTimeEdit* const OvelseStarttid;
    QComboBox* const AfvSted;
    TIntegerEdit* const AntalPrHeat;
    TIntegerEdit* const AntalVidereIalt;
    TIntegerEdit* const AntalViderePlac;
    TIntegerEdit* const FinaleKrav;
    TStringEdit* const ExtraText;
    TRadioGroup* const HeatInddeling;
    TRadioGroup* const Banefordeling;
    TRadioGroup* const Banenummerering;
    TRadioGroup* const ResultatType;
    TRadioGroup* const FinaleType;
    TRadioGroup* const Vindmaaling;
    TRadioGroup* const VidereSeedning;
    TIntegerEdit* const AntalForsog;
    TIntegerEdit* const AntalForsogFinale;
    TIntegerEdit* const AntalTilFinale;
    TIntegerEdit* const TidPrForsog;
    TIntegerEdit* const TidPrDeltager;
    TIntegerEdit* const TidPrHeat;
    TIntegerEdit* const CalcAfvTid;
    TIntegerEdit* const SpecAfvTid;
    QCheckBox* const AutoCalcPoint;
    QCheckBox* const RankAsSeedning;
    QCheckBox* const HoldPoint;
    TIntegerEdit* const AntalPrHold;
    TIntegerEdit* const UdskriftKode;
    QComboBox* const BlockedItems;
    QPushButton* const UnlockEditField;
    QTimeEdit* const StartKlokken;
    QTimeEdit* const TidPrHeatTime;
    QCheckBox* const RundOp5Min;
    QPushButton* const AutoTildelingButton;
    QTimeEdit* const PlusMinus;
    QRadioButton* const Plus;
    QRadioButton* const Minus;
    QPushButton* const PlusMinusButton;
    QPushButton* const OKBitBtn;
    QPushButton* const AnnullerBitBtn;

    void UnlockEditFieldClick();
    void PlusMinusButtonClick();
    void AutoTildelingButtonClick();

private:
    struct TBinding;

    void BuildBindings();
    void BuildLayout();
    QWidget* BuildEgenskaber();
    QWidget* BuildTidsskema();
    void Fill();
    void Block(QWidget* control);
    // The date and time boxes from the working start times: blocked when the rounds differ.
    void ShowStarttider();
    // The meet's start time of day, from which the rounds' times are stored.
    static QTime MeetStart();
    // The working start times as the date and time boxes give them, where they are enabled.
    void TakeStarttider();
    // Raises when a box still enabled holds no valid value.
    void CheckValues() const;
    void Write();
    void OKClick();

    std::vector<TBinding> bindings_;
    std::vector<TOvelseInfo*> ovelser_;
    // The rounds' start date-times being worked on.
    std::vector<TDateTime> datoTider_;
};

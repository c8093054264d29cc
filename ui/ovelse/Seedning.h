#pragma once
// The seeding dialog: heat size, heat and lane methods and lane numbering for the seeding command, or the
// round's own settings, or clearing the seeding.
#include "foundation/controls/RvkForms.h"

class QCheckBox;
class QPushButton;
class TIntegerEdit;
class TOvelseInfo;
class TRadioGroup;

// What the dialog was left with, as the seeding of the result manager takes it.
struct TSeedningValg {
    qint32 MaxPrHeat = 0;
    // The heat method; -1 clears the seeding ("Nulstil seedning").
    qint32 HeatMethod = 0;
    qint32 LaneMethod = 0;
    qint32 Banenummerering = 0;
    qint32 AntalForsog = 1;
    // "Brug øvelse standard": each round's own settings.
    bool OvelseStandard = false;
};

class TSeedningForm : public TStdRVKForm {
    Q_OBJECT
public:
    // The dialog's default retries for a meet that spreads clubs over heats.
    static constexpr qint32 DefaultAntalForsog = 30000;

    explicit TSeedningForm(QWidget* owner = nullptr);

    // The boxes from the round's settings; without a round the defaults.
    void ShowRunde(const TOvelseInfo* info);
    // Raises when the heat size or the retries are not a number of 0 or more.
    TSeedningValg Valg() const;

    TIntegerEdit* const MaxPrHeat;
    TIntegerEdit* const AntalForsog;
    TRadioGroup* const HeatInddeling;
    TRadioGroup* const Banefordeling;
    TRadioGroup* const Banenummerering;
    QCheckBox* const NulstilSeedning;
    QCheckBox* const OvelseStandard;
    QPushButton* const OKButton;
    QPushButton* const AnnullerButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout();
    void UpdateEnabled();
    void OKClick();
};

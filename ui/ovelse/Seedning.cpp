#include "ui/ovelse/Seedning.h"

#include "foundation/Messages.h"
#include "foundation/controls/EditUtil.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneSystemData.h"
#include "ui/WidgetKit.h"
#include "ui/ovelse/RadioGroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int DefaultHeatItem = 4;
constexpr int DefaultBaneItem = 5;
constexpr int DefaultNummereringItem = 2;

TIntegerEdit* MakeInteger(QWidget* parent, const QString& name) {
    auto* edit = Named(new TIntegerEdit(parent), name);
    edit->SetEditAlignment(TAlignment::taRightJustify);
    return edit;
}

} // namespace

TSeedningForm::TSeedningForm(QWidget* owner)
    : TStdRVKForm(owner)
    , MaxPrHeat(MakeInteger(this, QStringLiteral("MaxPrHeat")))
    , AntalForsog(MakeInteger(this, QStringLiteral("AntalForsog")))
    , HeatInddeling(new TRadioGroup(
          this, QStringLiteral("HeatInddeling"), QStringLiteral("Heatinddeling"),
          {QStringLiteral("Undlad heattildeling"), QStringLiteral("Bedste resultater først"),
           QStringLiteral("Bedste resultater sidst"), QStringLiteral("Fordeling af resultater"),
           QStringLiteral("Lodtrækning"), QStringLiteral("DT-seedning")}))
    , Banefordeling(new TRadioGroup(
          this, QStringLiteral("Banefordeling"), QStringLiteral("Banefordeling"),
          {QStringLiteral("Undlad banetildeling"), QStringLiteral("Bedste resultater først"),
           QStringLiteral("Bedste resultater sidst"), QStringLiteral("Vifte"),
           QStringLiteral("Bedste 4 i midten"), QStringLiteral("Lodtrækning"), QStringLiteral("Startnummer"),
           QStringLiteral("Navn"), QStringLiteral("Klub, navn")}))
    , Banenummerering(new TRadioGroup(
          this, QStringLiteral("Banenummerering"), QStringLiteral("Banenummerering"),
          {QStringLiteral("Start fra bane 1"), QStringLiteral("Start fra bane 2 (hvis plads)"),
           QStringLiteral("Placer på midterbaner")}))
    , NulstilSeedning(MakeCheck(this, QStringLiteral("NulstilSeedning"), QStringLiteral("Nulstil seedning")))
    , OvelseStandard(
          MakeCheck(this, QStringLiteral("OvelseStandard"), QStringLiteral("Brug øvelse standard")))
    , OKButton(MakeButton(this, QStringLiteral("OKButton"), QStringLiteral("OK")))
    , AnnullerButton(MakeButton(this, QStringLiteral("AnnullerButton"), QStringLiteral("Annullér"))) {
    setObjectName(QStringLiteral("SeedningForm"));
    setWindowTitle(QStringLiteral("Seedning"));
    AntalForsog->SetValue(DefaultAntalForsog);
    ShowRunde(nullptr);
    BuildLayout();
    for (QCheckBox* box : {NulstilSeedning, OvelseStandard})
        connect(box, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
    connect(OKButton, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(AnnullerButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TSeedningForm::BuildLayout() {
    auto* numbers = new QGridLayout;
    numbers->addWidget(MakeLabel(this, {}, QStringLiteral("Max. antal deltagere pr heat")), 0, 0);
    numbers->addWidget(MaxPrHeat, 0, 1);
    numbers->addWidget(MakeLabel(this, {}, QStringLiteral("Antal forsøg")), 1, 0);
    numbers->addWidget(AntalForsog, 1, 1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(HeatInddeling);
    groups->addWidget(Banefordeling);
    auto* right = new QVBoxLayout;
    right->addWidget(Banenummerering);
    right->addWidget(NulstilSeedning);
    right->addWidget(OvelseStandard);
    right->addStretch();
    groups->addLayout(right);
    auto* form = new QVBoxLayout(this);
    form->addLayout(numbers);
    form->addLayout(groups);
    form->addLayout(DialogButtonRow(OKButton, AnnullerButton));
}

void TSeedningForm::ShowRunde(const TOvelseInfo* info) {
    if (info) {
        MaxPrHeat->SetValue(info->GetAntalPrHeat());
        HeatInddeling->SetItemIndex(info->GetHeatinddeling() + 1);
        Banefordeling->SetItemIndex(info->GetBanefordeling() + 1);
        Banenummerering->SetItemIndex(info->GetBanenummerering());
    } else {
        MaxPrHeat->SetValue(0);
        HeatInddeling->SetItemIndex(DefaultHeatItem);
        Banefordeling->SetItemIndex(DefaultBaneItem);
        Banenummerering->SetItemIndex(DefaultNummereringItem);
    }
}

void TSeedningForm::showEvent(QShowEvent* event) {
    TStdRVKForm::showEvent(event);
    AntalForsog->setEnabled(CurrentSystemData().Redid);
    UpdateEnabled();
}

void TSeedningForm::UpdateEnabled() {
    // Either box takes the choices out of the user's hands.
    const bool own = !NulstilSeedning->isChecked() && !OvelseStandard->isChecked();
    for (QWidget* control :
         std::initializer_list<QWidget*>{MaxPrHeat, HeatInddeling, Banefordeling, Banenummerering})
        control->setEnabled(own);
}

TSeedningValg TSeedningForm::Valg() const {
    TSeedningValg valg;
    valg.OvelseStandard = OvelseStandard->isChecked();
    valg.HeatMethod = NulstilSeedning->isChecked() ? -1 : HeatInddeling->ItemIndex();
    valg.LaneMethod = Banefordeling->ItemIndex();
    valg.Banenummerering = Banenummerering->ItemIndex();
    valg.MaxPrHeat = MaxPrHeat->GetValue();
    if (valg.MaxPrHeat < 0 && MaxPrHeat->isEnabled())
        throw ERangeError(QStringLiteral("Max. antal deltagere pr heat kan ikke være negativ"));
    valg.AntalForsog = AntalForsog->GetValue();
    if (valg.AntalForsog < 0)
        throw ERangeError(QStringLiteral("Antal forsøg kan ikke være negativ"));
    return valg;
}

void TSeedningForm::OKClick() {
    if (const std::optional<QString> failure = FailureOf([this] { Valg(); })) {
        ShowError(this, *failure);
        return;
    }
    done(mrOk);
}

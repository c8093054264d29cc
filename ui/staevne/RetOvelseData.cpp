#include "ui/staevne/RetOvelseData.h"

#include "foundation/Messages.h"
#include "foundation/controls/EditUtil.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Ovelser.h"
#include "ui/WidgetKit.h"
#include "model/D_StaevneDefRaekke.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

TFloatEdit* MakeGebyr(const QString& name, QWidget* parent) {
    auto* edit = new TFloatEdit(parent);
    edit->setObjectName(name);
    edit->Decimals = 2;
    edit->SetEditAlignment(TAlignment::taRightJustify);
    return edit;
}

QCheckBox* MakeRet(const QString& name, QWidget* parent) {
    auto* box = new QCheckBox(QStringLiteral("Ret"), parent);
    box->setObjectName(name);
    return box;
}

// A value typed into the edit ticks its box.
void TickOnEdit(QLineEdit* edit, QCheckBox* ret) {
    QObject::connect(edit, &QLineEdit::textEdited, ret, [ret] { ret->setChecked(true); });
}

// A price group's three fees in a box of their own.
QGroupBox* PrisgruppeBox(const QString& title, QWidget* parent,
                         const std::array<std::pair<TFloatEdit*, QCheckBox*>, 3>& fees) {
    static const std::array<const char*, 3> captions = {"Startgebyr", "Efteranmeldelsesgebyr", "Strafgebyr"};
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    for (std::size_t i = 0; i < fees.size(); ++i) {
        const int row = static_cast<int>(i);
        grid->addWidget(new QLabel(QString::fromUtf8(captions[i]), box), row, 0);
        grid->addWidget(fees[i].first, row, 1);
        grid->addWidget(fees[i].second, row, 2);
        fees[i].first->setParent(box);
        fees[i].second->setParent(box);
    }
    return box;
}

} // namespace

TRetOvelseDataForm::TRetOvelseDataForm(QWidget* owner)
    : TStdRVKForm(owner)
    , Startgebyr1(MakeGebyr(QStringLiteral("Startgebyr1"), this))
    , Efteranmgebyr1(MakeGebyr(QStringLiteral("Efteranmgebyr1"), this))
    , Strafgebyr1(MakeGebyr(QStringLiteral("Strafgebyr1"), this))
    , Startgebyr2(MakeGebyr(QStringLiteral("Startgebyr2"), this))
    , Efteranmgebyr2(MakeGebyr(QStringLiteral("Efteranmgebyr2"), this))
    , Strafgebyr2(MakeGebyr(QStringLiteral("Strafgebyr2"), this))
    , AntalPrHeat(new TIntegerEdit(this))
    , RetStartgebyr1(MakeRet(QStringLiteral("RetStartgebyr1"), this))
    , RetEfteranmgebyr1(MakeRet(QStringLiteral("RetEfteranmgebyr1"), this))
    , RetStrafgebyr1(MakeRet(QStringLiteral("RetStrafgebyr1"), this))
    , RetStartgebyr2(MakeRet(QStringLiteral("RetStartgebyr2"), this))
    , RetEfteranmgebyr2(MakeRet(QStringLiteral("RetEfteranmgebyr2"), this))
    , RetStrafgebyr2(MakeRet(QStringLiteral("RetStrafgebyr2"), this))
    , RetAntalPrHeat(MakeRet(QStringLiteral("RetAntalPrHeat"), this))
    , Runder(new QGroupBox(QStringLiteral(" Runder "), this))
    , OKButton(MakeDialogButton(this, QStringLiteral("OKButton"), mrOk))
    , AnnullerButton(MakeDialogButton(this, QStringLiteral("AnnullerButton"), mrCancel))
    , runderGroup_(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("RetOvelseDataForm"));
    setWindowTitle(QStringLiteral(" "));
    AntalPrHeat->setObjectName(QStringLiteral("AntalPrHeat"));
    AntalPrHeat->MinValue = 0;
    AntalPrHeat->MaxValue = 999;
    AntalPrHeat->SetEditAlignment(TAlignment::taRightJustify);
    Runder->setObjectName(QStringLiteral("Runder"));

    const std::array<std::pair<TFloatEdit*, QCheckBox*>, 3> gruppe1 = {
        {{Startgebyr1, RetStartgebyr1}, {Efteranmgebyr1, RetEfteranmgebyr1}, {Strafgebyr1, RetStrafgebyr1}}};
    const std::array<std::pair<TFloatEdit*, QCheckBox*>, 3> gruppe2 = {
        {{Startgebyr2, RetStartgebyr2}, {Efteranmgebyr2, RetEfteranmgebyr2}, {Strafgebyr2, RetStrafgebyr2}}};
    for (const auto& gruppe : {gruppe1, gruppe2}) {
        for (const auto& [edit, ret] : gruppe)
            TickOnEdit(edit, ret);
    }
    TickOnEdit(AntalPrHeat, RetAntalPrHeat);

    auto* heat = new QHBoxLayout;
    heat->addWidget(new QLabel(QStringLiteral("Antal deltagere pr. heat"), this));
    heat->addWidget(AntalPrHeat);
    heat->addWidget(RetAntalPrHeat);

    static const std::array<const char*, 5> runderTexts = {
        "Indledende - mellemheat - semifinale - finale", "Indledende - semifinale - finale",
        "Indledende - finale", "Kvalifikation - finale", "Finale"};
    auto* runderLayout = new QVBoxLayout(Runder);
    for (std::size_t i = 0; i < runderTexts.size(); ++i) {
        auto* item = new QRadioButton(QString::fromUtf8(runderTexts[i]), Runder);
        runderGroup_->addButton(item, static_cast<int>(i));
        runderLayout->addWidget(item);
    }

    auto* form = new QVBoxLayout(this);
    form->addWidget(PrisgruppeBox(QStringLiteral(" Prisgruppe 1 "), this, gruppe1));
    form->addWidget(PrisgruppeBox(QStringLiteral(" Prisgruppe 2 "), this, gruppe2));
    form->addLayout(heat);
    form->addWidget(Runder);
    form->addLayout(DialogButtonRow(OKButton, AnnullerButton));

    connect(OKButton, &QPushButton::clicked, this, &TRetOvelseDataForm::OKClick);
    connect(AnnullerButton, &QPushButton::clicked, this, &TRetOvelseDataForm::reject);
}

void TRetOvelseDataForm::ShowValues(const TEditOvelseData& row) {
    Startgebyr1->SetValue(row.Startgebyr1);
    Efteranmgebyr1->SetValue(row.Efteranmgebyr1);
    Strafgebyr1->SetValue(row.Strafgebyr1);
    Startgebyr2->SetValue(row.Startgebyr2);
    Efteranmgebyr2->SetValue(row.Efteranmgebyr2);
    Strafgebyr2->SetValue(row.Strafgebyr2);
    AntalPrHeat->SetValue(row.AntalPrHeat);
    for (QCheckBox* ret : {RetStartgebyr1, RetEfteranmgebyr1, RetStrafgebyr1, RetStartgebyr2,
                           RetEfteranmgebyr2, RetStrafgebyr2, RetAntalPrHeat})
        ret->setChecked(false);
    runderGroup_->setExclusive(false);
    for (QAbstractButton* item : runderGroup_->buttons())
        item->setChecked(false);
    runderGroup_->setExclusive(true);
}

int TRetOvelseDataForm::RunderIndex() const {
    return runderGroup_->checkedId();
}

void TRetOvelseDataForm::ApplyTo(TEditOvelseData& row, TDateTime meetDatoTid) const {
    const std::array<std::tuple<QCheckBox*, TFloatEdit*, double TEditOvelseData::*>, 6> gebyrer = {{
        {RetStartgebyr1, Startgebyr1, &TEditOvelseData::Startgebyr1},
        {RetEfteranmgebyr1, Efteranmgebyr1, &TEditOvelseData::Efteranmgebyr1},
        {RetStrafgebyr1, Strafgebyr1, &TEditOvelseData::Strafgebyr1},
        {RetStartgebyr2, Startgebyr2, &TEditOvelseData::Startgebyr2},
        {RetEfteranmgebyr2, Efteranmgebyr2, &TEditOvelseData::Efteranmgebyr2},
        {RetStrafgebyr2, Strafgebyr2, &TEditOvelseData::Strafgebyr2},
    }};
    for (const auto& [ret, edit, field] : gebyrer) {
        if (ret->isChecked())
            row.*field = edit->GetValue();
    }
    if (RetAntalPrHeat->isChecked())
        row.AntalPrHeat = AntalPrHeat->GetValue();
    if (const int runder = RunderIndex(); runder >= 0) {
        row.Runder = QString::fromLatin1(RunderKoder.at(static_cast<std::size_t>(runder)));
        SetRundeSlots(row, meetDatoTid);
    }
}

void TRetOvelseDataForm::OKClick() {
    // Every ticked value must be readable before the dialog closes.
    TEditOvelseData proeve;
    if (const std::optional<QString> failure = FailureOf([&] { ApplyTo(proeve, EmptyDateTime); })) {
        ShowError(this, *failure);
        return;
    }
    done(mrOk);
}

#include "ui/staevne/RetOvelseData.h"

#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/controls/EditUtil.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneDefRaekke.h"
#include "ui/WidgetKit.h"

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

TGebyrEdit* MakeGebyr(QWidget* parent, const QString& name) {
    return Named(new TGebyrEdit(parent), name);
}

QCheckBox* MakeRet(QWidget* parent, const QString& name) {
    return MakeCheck(parent, name, QStringLiteral("Ret"));
}

// A value typed into the edit ticks its box.
void TickOnEdit(QLineEdit* edit, QCheckBox* ret) {
    QObject::connect(edit, &QLineEdit::textEdited, ret, [ret] { ret->setChecked(true); });
}

// A price group's three fees in a box of their own.
QGroupBox* PrisgruppeBox(const QString& title, QWidget* parent,
                         const std::array<std::pair<TGebyrEdit*, QCheckBox*>, 3>& fees) {
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

// ---------------------------------------------------------------- a fee

TGebyrEdit::TGebyrEdit(QWidget* parent)
    : TFloatEdit(parent) {
    Decimals = 2;
    SetEditAlignment(TAlignment::taRightJustify);
}

bool TGebyrEdit::IsValidChar(QChar) const {
    // A character dropped as it is typed would change the number without a word: "abc-5x" must not
    // become -5,00. The check says what is wrong with the text.
    return true;
}

void TGebyrEdit::Check() {
    const QString typed = TrimBlanks(text());
    // The text as typed names the fault, before the edit completes its decimals.
    if (!typed.isEmpty())
        CommaStrToFloat(typed);
    TFloatEdit::Check();
    if (value_ < 0)
        throw ERangeError(QStringLiteral("Et gebyr skal være 0 eller mere: ") + typed);
}

// ---------------------------------------------------------------- the dialog

TRetOvelseDataForm::TRetOvelseDataForm(QWidget* owner)
    : TStdRVKForm(owner)
    , Startgebyr1(MakeGebyr(this, QStringLiteral("Startgebyr1")))
    , Efteranmgebyr1(MakeGebyr(this, QStringLiteral("Efteranmgebyr1")))
    , Strafgebyr1(MakeGebyr(this, QStringLiteral("Strafgebyr1")))
    , Startgebyr2(MakeGebyr(this, QStringLiteral("Startgebyr2")))
    , Efteranmgebyr2(MakeGebyr(this, QStringLiteral("Efteranmgebyr2")))
    , Strafgebyr2(MakeGebyr(this, QStringLiteral("Strafgebyr2")))
    , AntalPrHeat(Named(new TIntegerEdit(this), QStringLiteral("AntalPrHeat")))
    , RetStartgebyr1(MakeRet(this, QStringLiteral("RetStartgebyr1")))
    , RetEfteranmgebyr1(MakeRet(this, QStringLiteral("RetEfteranmgebyr1")))
    , RetStrafgebyr1(MakeRet(this, QStringLiteral("RetStrafgebyr1")))
    , RetStartgebyr2(MakeRet(this, QStringLiteral("RetStartgebyr2")))
    , RetEfteranmgebyr2(MakeRet(this, QStringLiteral("RetEfteranmgebyr2")))
    , RetStrafgebyr2(MakeRet(this, QStringLiteral("RetStrafgebyr2")))
    , RetAntalPrHeat(MakeRet(this, QStringLiteral("RetAntalPrHeat")))
    , Runder(Named(new QGroupBox(QStringLiteral(" Runder "), this), QStringLiteral("Runder")))
    , OKButton(MakeDialogButton(this, QStringLiteral("OKButton"), mrOk))
    , AnnullerButton(MakeDialogButton(this, QStringLiteral("AnnullerButton"), mrCancel))
    , runderGroup_(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("RetOvelseDataForm"));
    setWindowTitle(QStringLiteral(" "));
    AntalPrHeat->MinValue = 0;
    AntalPrHeat->MaxValue = 999;
    AntalPrHeat->SetEditAlignment(TAlignment::taRightJustify);
    BuildLayout();
    for (const auto& [edit, ret] :
         std::initializer_list<std::pair<QLineEdit*, QCheckBox*>>{{Startgebyr1, RetStartgebyr1},
                                                                  {Efteranmgebyr1, RetEfteranmgebyr1},
                                                                  {Strafgebyr1, RetStrafgebyr1},
                                                                  {Startgebyr2, RetStartgebyr2},
                                                                  {Efteranmgebyr2, RetEfteranmgebyr2},
                                                                  {Strafgebyr2, RetStrafgebyr2},
                                                                  {AntalPrHeat, RetAntalPrHeat}})
        TickOnEdit(edit, ret);
    connect(OKButton, &QPushButton::clicked, this, &TRetOvelseDataForm::OKClick);
    connect(AnnullerButton, &QPushButton::clicked, this, &TRetOvelseDataForm::reject);
}

void TRetOvelseDataForm::BuildLayout() {
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
    form->addWidget(PrisgruppeBox(QStringLiteral(" Prisgruppe 1 "), this,
                                  {{{Startgebyr1, RetStartgebyr1},
                                    {Efteranmgebyr1, RetEfteranmgebyr1},
                                    {Strafgebyr1, RetStrafgebyr1}}}));
    form->addWidget(PrisgruppeBox(QStringLiteral(" Prisgruppe 2 "), this,
                                  {{{Startgebyr2, RetStartgebyr2},
                                    {Efteranmgebyr2, RetEfteranmgebyr2},
                                    {Strafgebyr2, RetStrafgebyr2}}}));
    form->addLayout(heat);
    form->addWidget(Runder);
    form->addLayout(DialogButtonRow(OKButton, AnnullerButton));
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
    const std::array<std::tuple<QCheckBox*, TGebyrEdit*, double TEditOvelseData::*>, 6> gebyrer = {{
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

#include "ui/ovelse/ResultatKorrektion.h"

#include "foundation/Messages.h"
#include "foundation/controls/EditUtil.h"
#include "foundation/controls/MsgForm.h"
#include "ui/WidgetKit.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TResultatKorrektionForm::TResultatKorrektionForm(QWidget* owner)
    : TStdRVKForm(owner)
    , Korrektion(Named(new TIntegerEdit(this), QStringLiteral("Korrektion")))
    , OKButton(MakeDialogButton(this, QStringLiteral("OKButton"), mrOk))
    , AnnullerButton(MakeDialogButton(this, QStringLiteral("AnnullerButton"), mrCancel)) {
    setObjectName(QStringLiteral("ResultatKorrektionForm"));
    setWindowTitle(QStringLiteral("  Korriger resultater"));
    Korrektion->SetEditAlignment(TAlignment::taRightJustify);
    Korrektion->SetValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeLabel(this, {}, QStringLiteral("Indtast resultat-korrektion i centimeter")));
    layout->addWidget(MakeLabel(this, {}, QStringLiteral("eller i 1/100 sekunder")));
    layout->addWidget(Korrektion);
    layout->addLayout(DialogButtonRow(OKButton, AnnullerButton));
    connect(OKButton, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(AnnullerButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

qint32 TResultatKorrektionForm::Value() const {
    return Korrektion->GetValue();
}

void TResultatKorrektionForm::OKClick() {
    if (const std::optional<QString> failure = FailureOf([this] { Value(); })) {
        ShowError(this, *failure);
        return;
    }
    done(mrOk);
}

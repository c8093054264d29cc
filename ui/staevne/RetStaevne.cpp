#include "ui/staevne/RetStaevne.h"

#include "ui/Launchers.h"
#include "ui/WidgetKit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TRetStaevneForm::TRetStaevneForm(QWidget* owner)
    : TStdRVKForm(owner)
    , Label1(MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("Angiv nyt stævnenavn")))
    , StaevneNavn(Named(new QLineEdit(this), QStringLiteral("StaevneNavn")))
    , OKButton(MakeDialogButton(this, QStringLiteral("OKButton"), mrOk))
    , AnnullerButton(MakeDialogButton(this, QStringLiteral("AnnullerButton"), mrCancel)) {
    setObjectName(QStringLiteral("RetStaevneForm"));
    setWindowTitle(QStringLiteral(" "));
    StaevneNavn->setText(CurrentStaevneNavn());
    StaevneNavn->selectAll();

    auto* form = new QVBoxLayout(this);
    form->addWidget(Label1);
    form->addWidget(StaevneNavn);
    form->addLayout(DialogButtonRow(OKButton, AnnullerButton));
    setMinimumWidth(320);

    // Enter in the name box is OK.
    EnterNavigation = false;
    connect(OKButton, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(AnnullerButton, &QPushButton::clicked, this, &TRetStaevneForm::reject);
}

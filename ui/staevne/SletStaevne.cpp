#include "ui/staevne/SletStaevne.h"

#include "ui/Launchers.h"
#include "ui/WidgetKit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TSletStaevneForm::TSletStaevneForm(QWidget* owner)
    : TStdRVKForm(owner)
    , Label1(MakeLabel(this, QStringLiteral("Label1"),
                       QStringLiteral("Er du helt sikker på at du vil slettet stævnet:")))
    , StaevneNavn(MakeLabel(this, QStringLiteral("StaevneNavn"), CurrentStaevneNavn()))
    , Label2(MakeLabel(this, QStringLiteral("Label2"),
                       QStringLiteral("Skriv ZUNO herunder for at slette stævnet")))
    , SletteKode(Named(new QLineEdit(this), QStringLiteral("SletteKode")))
    , OKButton(MakeDialogButton(this, QStringLiteral("OKButton"), mrOk))
    , AnnullerButton(MakeDialogButton(this, QStringLiteral("AnnullerButton"), mrCancel)) {
    setObjectName(QStringLiteral("SletStaevneForm"));
    setWindowTitle(QStringLiteral(" "));
    QFont bold = StaevneNavn->font();
    bold.setBold(true);
    StaevneNavn->setFont(bold);

    auto* form = new QVBoxLayout(this);
    form->addWidget(Label1);
    form->addWidget(StaevneNavn);
    form->addWidget(Label2);
    form->addWidget(SletteKode);
    form->addLayout(DialogButtonRow(OKButton, AnnullerButton));
    setMinimumWidth(320);

    // Enter in the edit is OK, which checks the word.
    EnterNavigation = false;
    SletteKode->setFocus();
    connect(OKButton, &QPushButton::clicked, this, &TSletStaevneForm::OKButtonClick);
    connect(AnnullerButton, &QPushButton::clicked, this, &TSletStaevneForm::reject);
}

void TSletStaevneForm::OKButtonClick() {
    if (SletteKode->text() != QLatin1String(SletteKodeText)) {
        SletteKode->setFocus();
        SletteKode->selectAll();
        ShowError(this, QStringLiteral("Forkert slettekode - stævnet er ikke slettet"));
        return;
    }
    done(mrOk);
}

#include "ui/staevne/ImportStaevne.h"

#include "foundation/Messages.h"
#include "storage/DBFieldDate.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* MakeLabel(const QString& name, QWidget* parent, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString DatoTidText(TDateTime value) {
    if (value == EmptyDateTime || !IsValidDateTime(value))
        return {};
    return DateToStr(value) + u' ' + DateTimeToQTime(value).toString(QStringLiteral("hh:mm"));
}

} // namespace

TImportStaevneForm::TImportStaevneForm(QWidget* owner)
    : TStdRVKForm(owner)
    , GroupBox(new QGroupBox(QStringLiteral(" Data fra import-fil "), this))
    , Header1(MakeLabel(QStringLiteral("Header1"), GroupBox))
    , Header2(MakeLabel(QStringLiteral("Header2"), GroupBox))
    , Header3(MakeLabel(QStringLiteral("Header3"), GroupBox))
    , Footer1(MakeLabel(QStringLiteral("Footer1"), GroupBox, QStringLiteral("Arrangør:")))
    , Footer2(MakeLabel(QStringLiteral("Footer2"), GroupBox))
    , Dato(MakeLabel(QStringLiteral("Dato"), GroupBox))
    , NavnLabel(MakeLabel(QStringLiteral("NavnLabel"), this, QStringLiteral("Angiv nyt stævnenavn")))
    , StaevneNavn(new QLineEdit(this))
    , OKButton(new QPushButton(ButtonCaption(mrOk), this))
    , AnnullerButton(new QPushButton(ButtonCaption(mrCancel), this)) {
    setObjectName(QStringLiteral("ImportStaevneForm"));
    setWindowTitle(QStringLiteral("Importér stævne"));
    GroupBox->setObjectName(QStringLiteral("GroupBox"));
    StaevneNavn->setObjectName(QStringLiteral("StaevneNavn"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    AnnullerButton->setObjectName(QStringLiteral("AnnullerButton"));

    auto* dataGrid = new QGridLayout(GroupBox);
    dataGrid->addWidget(Header1, 0, 0, 1, 2);
    dataGrid->addWidget(Header2, 1, 0, 1, 2);
    dataGrid->addWidget(Header3, 2, 0, 1, 2);
    dataGrid->addWidget(Footer1, 3, 0);
    dataGrid->addWidget(Footer2, 3, 1);
    dataGrid->addWidget(Dato, 4, 0, 1, 2);
    dataGrid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(AnnullerButton);

    auto* form = new QVBoxLayout(this);
    form->addWidget(GroupBox);
    form->addWidget(NavnLabel);
    form->addWidget(StaevneNavn);
    form->addLayout(buttons);
    setMinimumWidth(360);

    OKButton->setDefault(true);
    // Enter in the name box presses OK instead of moving the focus.
    EnterNavigation = false;
    connect(OKButton, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(AnnullerButton, &QPushButton::clicked, this, &TImportStaevneForm::reject);
}

void TImportStaevneForm::ShowImportData(const TSystemData& imported, const QString& navn) {
    Header1->setText(imported.Overskrift1);
    Header2->setText(imported.Overskrift2);
    Header3->setText(imported.Overskrift3);
    Footer2->setText(imported.Arrangor);
    Dato->setText(DatoTidText(imported.Dato));
    StaevneNavn->setText(navn);
    StaevneNavn->selectAll();
    StaevneNavn->setFocus();
}

bool TImportStaevneForm::AskStaevneNavn(const TSystemData& imported, QString& navn) {
    ShowImportData(imported, navn);
    const bool ok = exec() == mrOk;
    navn = StaevneNavn->text();
    return ok;
}

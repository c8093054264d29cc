#include "ui/staevne/ImportStaevne.h"

#include "foundation/Messages.h"
#include "storage/DBFieldDate.h"
#include "ui/DialogRunner.h"
#include "ui/WidgetKit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString DatoTidText(TDateTime value) {
    if (value == EmptyDateTime || !IsValidDateTime(value))
        return {};
    return DateToStr(value) + u' ' + DateTimeToQTime(value).toString(QStringLiteral("hh:mm"));
}

} // namespace

TImportStaevneForm::TImportStaevneForm(QWidget* owner)
    : TStdRVKForm(owner)
    , GroupBox(
          Named(new QGroupBox(QStringLiteral(" Data fra import-fil "), this), QStringLiteral("GroupBox")))
    , Header1(MakeLabel(GroupBox, QStringLiteral("Header1")))
    , Header2(MakeLabel(GroupBox, QStringLiteral("Header2")))
    , Header3(MakeLabel(GroupBox, QStringLiteral("Header3")))
    , Footer1(MakeLabel(GroupBox, QStringLiteral("Footer1"), QStringLiteral("Arrangør:")))
    , Footer2(MakeLabel(GroupBox, QStringLiteral("Footer2")))
    , Dato(MakeLabel(GroupBox, QStringLiteral("Dato")))
    , NavnLabel(MakeLabel(this, QStringLiteral("NavnLabel"), QStringLiteral("Angiv nyt stævnenavn")))
    , StaevneNavn(Named(new QLineEdit(this), QStringLiteral("StaevneNavn")))
    , OKButton(MakeDialogButton(this, QStringLiteral("OKButton"), mrOk))
    , AnnullerButton(MakeDialogButton(this, QStringLiteral("AnnullerButton"), mrCancel)) {
    setObjectName(QStringLiteral("ImportStaevneForm"));
    setWindowTitle(QStringLiteral("Importér stævne"));
    BuildLayout();
    // Enter in the name box presses OK instead of moving the focus.
    EnterNavigation = false;
    connect(OKButton, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(AnnullerButton, &QPushButton::clicked, this, &TImportStaevneForm::reject);
}

void TImportStaevneForm::BuildLayout() {
    auto* dataGrid = new QGridLayout(GroupBox);
    dataGrid->addWidget(Header1, 0, 0, 1, 2);
    dataGrid->addWidget(Header2, 1, 0, 1, 2);
    dataGrid->addWidget(Header3, 2, 0, 1, 2);
    dataGrid->addWidget(Footer1, 3, 0);
    dataGrid->addWidget(Footer2, 3, 1);
    dataGrid->addWidget(Dato, 4, 0, 1, 2);
    dataGrid->setColumnStretch(1, 1);

    auto* form = new QVBoxLayout(this);
    form->addWidget(GroupBox);
    form->addWidget(NavnLabel);
    form->addWidget(StaevneNavn);
    form->addLayout(DialogButtonRow(OKButton, AnnullerButton));
    setMinimumWidth(360);
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
    const bool ok = RunDialog(*this) == mrOk;
    navn = StaevneNavn->text();
    return ok;
}

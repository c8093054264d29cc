#include "ui/WidgetKit.h"

#include "model/D_Globals.h"
#include "model/D_Staevne.h"

#include <QHBoxLayout>
#include <QPushButton>

QPushButton* MakeDialogButton(QWidget* parent, const QString& name, int modalResult) {
    auto* button = new QPushButton(ButtonCaption(modalResult), parent);
    button->setObjectName(name);
    return button;
}

QHBoxLayout* DialogButtonRow(QPushButton* ok, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    ok->setDefault(true);
    return row;
}

QString CurrentStaevneNavn() {
    if (!StaevneManager || StaevneManager->GetCurrentIndex() < 0)
        return {};
    return StaevneManager->GetStaevneNavn(StaevneManager->GetCurrentIndex());
}

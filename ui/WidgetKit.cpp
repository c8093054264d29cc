#include "ui/WidgetKit.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>

QWidget* MakePanel(QWidget* parent, const QString& name) {
    return Named(new QWidget(parent), name);
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption) {
    return Named(new QPushButton(caption, parent), name);
}

QPushButton* MakeDialogButton(QWidget* parent, const QString& name, int modalResult) {
    return MakeButton(parent, name, ButtonCaption(modalResult));
}

QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& caption) {
    return Named(new QRadioButton(caption, parent), name);
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption) {
    return Named(new QCheckBox(caption, parent), name);
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text) {
    QLabel* label = Named(new QLabel(text, parent), name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QAction* MakeToolAction(QToolBar* bar, const QString& name, const QString& caption) {
    QAction* action = Named(bar->addAction(caption), name);
    action->setToolTip(caption);
    return action;
}

QHBoxLayout* DialogButtonRow(QPushButton* ok, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    ok->setDefault(true);
    return row;
}

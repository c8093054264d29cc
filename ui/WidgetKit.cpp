#include "ui/WidgetKit.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
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

namespace {

class TDoubleClickFilter : public QObject {
public:
    TDoubleClickFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent)
        , handler_(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonDblClick)
            return QObject::eventFilter(watched, event);
        handler_();
        return true;
    }

private:
    std::function<void()> handler_;
};

} // namespace

void OnDoubleClick(QWidget* widget, std::function<void()> handler) {
    widget->installEventFilter(new TDoubleClickFilter(widget, std::move(handler)));
}

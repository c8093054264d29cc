#include "ui/WidgetKit.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
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

// Runs its handler for the events that match, which go no further.
class THandlerFilter : public QObject {
public:
    THandlerFilter(QObject* parent, std::function<bool(const QEvent&)> matches, std::function<void()> handler)
        : QObject(parent)
        , matches_(std::move(matches))
        , handler_(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!matches_(*event))
            return QObject::eventFilter(watched, event);
        handler_();
        return true;
    }

private:
    std::function<bool(const QEvent&)> matches_;
    std::function<void()> handler_;
};

} // namespace

void OnDoubleClick(QWidget* widget, std::function<void()> handler) {
    widget->installEventFilter(new THandlerFilter(
        widget, [](const QEvent& event) { return event.type() == QEvent::MouseButtonDblClick; },
        std::move(handler)));
}

void OnEnterKey(QWidget* widget, std::function<void()> handler) {
    widget->installEventFilter(new THandlerFilter(
        widget,
        [](const QEvent& event) {
            if (event.type() != QEvent::KeyPress)
                return false;
            const auto& key = static_cast<const QKeyEvent&>(event);
            return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
                   (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        },
        std::move(handler)));
}

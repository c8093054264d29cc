#include "foundation/controls/RvkForms.h"

#include "foundation/Messages.h"
#include "foundation/controls/FormSize.h"
#include "platform/Registry.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QTextEdit>

namespace {

constexpr int DefaultLeft = 18;
constexpr int DefaultTop = 18;

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The line edit inside a spin box or an editable combo box is part of that control, not one of its own;
// the cell editor of a grid is the grid's, which moves with Enter and the arrows itself.
bool IsInsideCompound(const QWidget* control) {
    for (const QWidget* parent = control->parentWidget(); parent && !parent->isWindow();
         parent = parent->parentWidget())
        if (qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent) ||
            qobject_cast<const QAbstractItemView*>(parent))
            return true;
    return false;
}

int StateValue(Qt::WindowStates state) {
    if (state & Qt::WindowMinimized)
        return 1;
    if (state & Qt::WindowMaximized)
        return 2;
    return 0;
}

Qt::WindowStates StateOf(int value) {
    switch (value) {
    case 1:
        return Qt::WindowMinimized;
    case 2:
        return Qt::WindowMaximized;
    default:
        return Qt::WindowNoState;
    }
}

} // namespace

TMainFormChannel& TMainFormChannel::Instance() {
    static TMainFormChannel channel;
    return channel;
}

// Sees the window's keys before its controls do, and its activation.
class TStdFormBehaviour::TKeyPreview : public QObject {
public:
    TKeyPreview(TStdFormBehaviour& owner)
        : owner_(owner) {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
            auto* control = static_cast<QWidget*>(watched);
            // Only the first delivery, to the focused control; not again as the key travels to its parents.
            if (control->window() == &owner_.form_ && control == owner_.form_.focusWidget())
                return owner_.FormKeyDown(static_cast<QKeyEvent*>(event));
        } else if (event->type() == QEvent::WindowActivate && watched == &owner_.form_) {
            owner_.busy_.reset();
        }
        return false;
    }

private:
    TStdFormBehaviour& owner_;
};

TStdFormBehaviour::TStdFormBehaviour(QWidget& form)
    : form_(form)
    , preview_(std::make_unique<TKeyPreview>(*this)) {
    busy_.emplace();
}

TStdFormBehaviour::~TStdFormBehaviour() {
    const TBusyCursor busy;
    // Visible means shown, so the class name was taken while the object was whole.
    if (form_.isVisible() && !className_.isEmpty())
        SavePlacement();
}

QString TStdFormBehaviour::ClassName() const {
    if (className_.isEmpty())
        className_ = QString::fromLatin1(form_.metaObject()->className());
    return className_;
}

QString TStdFormBehaviour::PlacementKey() {
    return Platform::TRegistry::ProgramKey(QStringLiteral(".dsk"));
}

bool TStdFormBehaviour::IsKeyNavigable(QWidget* control, int key, Qt::KeyboardModifiers) {
    if (!control || IsInsideCompound(control))
        return false;
    if (qobject_cast<QDateTimeEdit*>(control))
        return IsEnter(key);
    return qobject_cast<QLineEdit*>(control) || qobject_cast<QTextEdit*>(control) ||
           qobject_cast<QPlainTextEdit*>(control) || qobject_cast<QAbstractSpinBox*>(control);
}

void TStdFormBehaviour::LoadFormSettings(Platform::TRegistry&, const QString&) {}

void TStdFormBehaviour::EditLeft(QWidget*) {}

void TStdFormBehaviour::GridMoved(QWidget*) {}

void TStdFormBehaviour::PostToForm(QWidget* control, void (TStdFormBehaviour::*handler)(QWidget*)) {
    if (!control || !dynamic_cast<TStdFormBehaviour*>(control->window()))
        return;
    QMetaObject::invokeMethod(
        control->window(),
        [guard = QPointer<QWidget>(control), handler] {
            if (!guard)
                return;
            // Looked up again: the control may have moved to another window meanwhile.
            if (auto* form = dynamic_cast<TStdFormBehaviour*>(guard->window()))
                (form->*handler)(guard.data());
        },
        Qt::QueuedConnection);
}

void TStdFormBehaviour::SaveFormSettings(Platform::TRegistry&, const QString&) {}

bool TStdFormBehaviour::IsResizable() const {
    return form_.minimumSize() != form_.maximumSize() &&
           !form_.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

void TStdFormBehaviour::LoadPlacement() {
    if (!form_.isWindow())
        return;
    Platform::TRegistry registry;
    // A key that cannot be opened reads as defaults. Reading makes no key: a program that only shows, as a
    // results board, leaves the settings as they were.
    registry.OpenKey(PlacementKey(), false);
    const QString prefix = ClassName();
    const QRect saved(registry.ReadInteger(prefix + QStringLiteral("_Left"), DefaultLeft),
                      registry.ReadInteger(prefix + QStringLiteral("_Top"), DefaultTop),
                      registry.ReadInteger(prefix + QStringLiteral("_Width"), form_.width()),
                      registry.ReadInteger(prefix + QStringLiteral("_Height"), form_.height()));
    const int state =
        registry.ReadInteger(prefix + QStringLiteral("_WindowState"), StateValue(form_.windowState()));
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        onScreen = onScreen || saved.intersects(screen->geometry());
    if (onScreen) {
        if (IsResizable()) {
            form_.setGeometry(saved);
            form_.setWindowState(StateOf(state));
        } else {
            form_.setGeometry(QRect(saved.topLeft(), form_.size()));
        }
    }
    LoadFormSettings(registry, prefix);
}

void TStdFormBehaviour::SavePlacement() {
    if (!form_.isWindow())
        return;
    Platform::TRegistry registry;
    if (!registry.OpenKey(PlacementKey(), true))
        return;
    const QString prefix = ClassName();
    // A minimised or maximised window keeps the rectangle it comes back to.
    QRect rect = form_.geometry();
    if (StateValue(form_.windowState()) != 0 && form_.normalGeometry().isValid())
        rect = form_.normalGeometry();
    registry.WriteInteger(prefix + QStringLiteral("_Left"), rect.left());
    registry.WriteInteger(prefix + QStringLiteral("_Top"), rect.top());
    registry.WriteInteger(prefix + QStringLiteral("_Width"), rect.width());
    registry.WriteInteger(prefix + QStringLiteral("_Height"), rect.height());
    registry.WriteInteger(prefix + QStringLiteral("_WindowState"), StateValue(form_.windowState()));
    SaveFormSettings(registry, prefix);
}

void TStdFormBehaviour::BeforeShow(const QShowEvent* event) {
    if (event->spontaneous() || !FirstShow || Tag < 1)
        return;
    emit TMainFormChannel::Instance().NumberedFormShown(Tag, &form_);
}

void TStdFormBehaviour::AfterShow(const QShowEvent* event) {
    if (event->spontaneous())
        return;
    if (FirstShow) {
        FirstShow = false;
        GrowToContents(form_);
        LoadPlacement();
        // Whether its own size or a placement kept from a bigger screen: the window fits the screen it is on.
        FitOnScreen(form_);
    }
    busy_.reset();
}

void TStdFormBehaviour::AfterHide(const QHideEvent* event) {
    if (!event->spontaneous())
        SavePlacement();
}

QWidget* TStdFormBehaviour::NextNavigable(QWidget* active, bool forward, int key,
                                          Qt::KeyboardModifiers shift) {
    // Every control that can take the focus, in tab order; tab stops are not required.
    QList<QWidget*> order;
    QSet<QWidget*> seen;
    for (QWidget* widget = form_.nextInFocusChain(); widget && widget != &form_ && !seen.contains(widget);
         widget = widget->nextInFocusChain()) {
        seen.insert(widget);
        if (widget->window() == &form_ && widget->isVisible() && widget->isEnabled())
            order << widget;
    }
    const qsizetype count = order.size();
    const qsizetype start = order.indexOf(active);
    if (count == 0 || start < 0)
        return nullptr;
    for (qsizetype step = 1; step <= count; ++step) {
        QWidget* candidate = order[((forward ? start + step : start - step) % count + count) % count];
        if (IsKeyNavigable(candidate, key, shift))
            return candidate;
    }
    return nullptr;
}

bool TStdFormBehaviour::FormKeyDown(const QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers shift = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_F7 && shift == (Qt::ControlModifier | Qt::ShiftModifier))
        emit TMainFormChannel::Instance().UserKeyCombination(Tag, &form_);
    if (!NavigationEnabled || shift != Qt::NoModifier)
        return false;
    if (!(IsEnter(key) && EnterNavigation) && key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    QWidget* active = form_.focusWidget();
    if (!IsKeyNavigable(active, key, shift))
        return false;
    QWidget* next = NextNavigable(active, key != Qt::Key_Up, key, shift);
    if (!next)
        return false;
    const Qt::FocusReason reason = key == Qt::Key_Up ? Qt::BacktabFocusReason : Qt::TabFocusReason;
    // The focus moves after the key has been handled, not inside its delivery.
    QMetaObject::invokeMethod(
        &form_,
        [target = QPointer<QWidget>(next), reason] {
            if (target)
                target->setFocus(reason);
        },
        Qt::QueuedConnection);
    return true;
}

TStdRVKForm::TStdRVKForm(QWidget* owner)
    : QDialog(owner)
    , TStdFormBehaviour(static_cast<QWidget&>(*this)) {}

TStdRVKForm::~TStdRVKForm() = default;

void TStdRVKForm::reject() {
    done(mrCancel);
}

void TStdRVKForm::showEvent(QShowEvent* event) {
    BeforeShow(event);
    QDialog::showEvent(event);
    AfterShow(event);
}

void TStdRVKForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    AfterHide(event);
}

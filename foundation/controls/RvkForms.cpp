#include "foundation/controls/RvkForms.h"

#include "foundation/Messages.h"
#include "platform/Registry.h"

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

bool IsEnter(int Key) {
    return Key == Qt::Key_Return || Key == Qt::Key_Enter;
}

// The line edit inside a spin box or an editable combo box is part of that control, not one of its own.
bool IsInsideCompound(const QWidget* Control) {
    for (const QWidget* Parent = Control->parentWidget(); Parent && !Parent->isWindow();
         Parent = Parent->parentWidget())
        if (qobject_cast<const QAbstractSpinBox*>(Parent) || qobject_cast<const QComboBox*>(Parent))
            return true;
    return false;
}

int StateValue(Qt::WindowStates State) {
    if (State & Qt::WindowMinimized)
        return 1;
    if (State & Qt::WindowMaximized)
        return 2;
    return 0;
}

Qt::WindowStates StateOf(int Value) {
    switch (Value) {
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
    static TMainFormChannel Channel;
    return Channel;
}

// Sees the window's keys before its controls do, and its activation.
class TStdFormBehaviour::TKeyPreview : public QObject {
public:
    TKeyPreview(TStdFormBehaviour& Owner)
        : owner_(Owner) {
        if (QCoreApplication* App = QCoreApplication::instance())
            App->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::KeyPress && Watched->isWidgetType()) {
            auto* Control = static_cast<QWidget*>(Watched);
            // Only the first delivery, to the focused control; not again as the key travels to its parents.
            if (Control->window() == &owner_.form_ && Control == owner_.form_.focusWidget())
                return owner_.FormKeyDown(static_cast<QKeyEvent*>(Event));
        } else if (Event->type() == QEvent::WindowActivate && Watched == &owner_.form_) {
            owner_.busy_.reset();
        }
        return false;
    }

private:
    TStdFormBehaviour& owner_;
};

TStdFormBehaviour::TStdFormBehaviour(QWidget& Form)
    : form_(Form)
    , preview_(std::make_unique<TKeyPreview>(*this)) {
    busy_.emplace();
}

TStdFormBehaviour::~TStdFormBehaviour() {
    const TBusyCursor Busy;
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

bool TStdFormBehaviour::IsKeyNavigable(QWidget* Control, int Key, Qt::KeyboardModifiers) {
    if (!Control || IsInsideCompound(Control))
        return false;
    if (qobject_cast<QDateTimeEdit*>(Control))
        return IsEnter(Key);
    return qobject_cast<QLineEdit*>(Control) || qobject_cast<QTextEdit*>(Control) ||
           qobject_cast<QPlainTextEdit*>(Control) || qobject_cast<QAbstractSpinBox*>(Control);
}

void TStdFormBehaviour::LoadFormSettings(Platform::TRegistry&, const QString&) {}

void TStdFormBehaviour::SaveFormSettings(Platform::TRegistry&, const QString&) {}

bool TStdFormBehaviour::IsResizable() const {
    return form_.minimumSize() != form_.maximumSize() &&
           !form_.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

void TStdFormBehaviour::LoadPlacement() {
    if (!form_.isWindow())
        return;
    Platform::TRegistry Registry;
    // A key that cannot be opened reads as defaults.
    Registry.OpenKey(PlacementKey(), true);
    const QString Prefix = ClassName();
    const QRect Saved(Registry.ReadInteger(Prefix + QStringLiteral("_Left"), DefaultLeft),
                      Registry.ReadInteger(Prefix + QStringLiteral("_Top"), DefaultTop),
                      Registry.ReadInteger(Prefix + QStringLiteral("_Width"), form_.width()),
                      Registry.ReadInteger(Prefix + QStringLiteral("_Height"), form_.height()));
    const int State =
        Registry.ReadInteger(Prefix + QStringLiteral("_WindowState"), StateValue(form_.windowState()));
    bool OnScreen = false;
    for (const QScreen* Screen : QGuiApplication::screens())
        OnScreen = OnScreen || Saved.intersects(Screen->geometry());
    if (OnScreen) {
        if (IsResizable()) {
            form_.setGeometry(Saved);
            form_.setWindowState(StateOf(State));
        } else {
            form_.setGeometry(QRect(Saved.topLeft(), form_.size()));
        }
    }
    LoadFormSettings(Registry, Prefix);
}

void TStdFormBehaviour::SavePlacement() {
    if (!form_.isWindow())
        return;
    Platform::TRegistry Registry;
    if (!Registry.OpenKey(PlacementKey(), true))
        return;
    const QString Prefix = ClassName();
    // A minimised or maximised window keeps the rectangle it comes back to.
    QRect Rect = form_.geometry();
    if (StateValue(form_.windowState()) != 0 && form_.normalGeometry().isValid())
        Rect = form_.normalGeometry();
    Registry.WriteInteger(Prefix + QStringLiteral("_Left"), Rect.left());
    Registry.WriteInteger(Prefix + QStringLiteral("_Top"), Rect.top());
    Registry.WriteInteger(Prefix + QStringLiteral("_Width"), Rect.width());
    Registry.WriteInteger(Prefix + QStringLiteral("_Height"), Rect.height());
    Registry.WriteInteger(Prefix + QStringLiteral("_WindowState"), StateValue(form_.windowState()));
    SaveFormSettings(Registry, Prefix);
}

void TStdFormBehaviour::BeforeShow(const QShowEvent* Event) {
    if (Event->spontaneous() || !FirstShow || Tag < 1)
        return;
    emit TMainFormChannel::Instance().NumberedFormShown(Tag, &form_);
}

void TStdFormBehaviour::AfterShow(const QShowEvent* Event) {
    if (Event->spontaneous())
        return;
    if (FirstShow) {
        FirstShow = false;
        LoadPlacement();
    }
    busy_.reset();
}

void TStdFormBehaviour::AfterHide(const QHideEvent* Event) {
    if (!Event->spontaneous())
        SavePlacement();
}

QWidget* TStdFormBehaviour::NextNavigable(QWidget* Active, bool Forward, int Key,
                                          Qt::KeyboardModifiers Shift) {
    // Every control that can take the focus, in tab order; tab stops are not required.
    QList<QWidget*> Order;
    QSet<QWidget*> Seen;
    for (QWidget* Widget = form_.nextInFocusChain(); Widget && Widget != &form_ && !Seen.contains(Widget);
         Widget = Widget->nextInFocusChain()) {
        Seen.insert(Widget);
        if (Widget->window() == &form_ && Widget->isVisible() && Widget->isEnabled())
            Order << Widget;
    }
    const qsizetype Count = Order.size();
    const qsizetype Start = Order.indexOf(Active);
    if (Count == 0 || Start < 0)
        return nullptr;
    for (qsizetype Step = 1; Step <= Count; ++Step) {
        QWidget* Candidate = Order[((Forward ? Start + Step : Start - Step) % Count + Count) % Count];
        if (IsKeyNavigable(Candidate, Key, Shift))
            return Candidate;
    }
    return nullptr;
}

bool TStdFormBehaviour::FormKeyDown(const QKeyEvent* Event) {
    const int Key = Event->key();
    const Qt::KeyboardModifiers Shift = Event->modifiers() & ~Qt::KeypadModifier;
    if (Key == Qt::Key_F7 && Shift == (Qt::ControlModifier | Qt::ShiftModifier))
        emit TMainFormChannel::Instance().UserKeyCombination(Tag, &form_);
    if (!NavigationEnabled || Shift != Qt::NoModifier)
        return false;
    if (!(IsEnter(Key) && EnterNavigation) && Key != Qt::Key_Up && Key != Qt::Key_Down)
        return false;
    QWidget* Active = form_.focusWidget();
    if (!IsKeyNavigable(Active, Key, Shift))
        return false;
    QWidget* Next = NextNavigable(Active, Key != Qt::Key_Up, Key, Shift);
    if (!Next)
        return false;
    const Qt::FocusReason Reason = Key == Qt::Key_Up ? Qt::BacktabFocusReason : Qt::TabFocusReason;
    // The focus moves after the key has been handled, not inside its delivery.
    QMetaObject::invokeMethod(
        &form_,
        [Target = QPointer<QWidget>(Next), Reason] {
            if (Target)
                Target->setFocus(Reason);
        },
        Qt::QueuedConnection);
    return true;
}

TStdRVKForm::TStdRVKForm(QWidget* Owner)
    : QDialog(Owner)
    , TStdFormBehaviour(static_cast<QWidget&>(*this)) {}

TStdRVKForm::~TStdRVKForm() = default;

void TStdRVKForm::reject() {
    done(mrCancel);
}

void TStdRVKForm::showEvent(QShowEvent* Event) {
    BeforeShow(Event);
    QDialog::showEvent(Event);
    AfterShow(Event);
}

void TStdRVKForm::hideEvent(QHideEvent* Event) {
    QDialog::hideEvent(Event);
    AfterHide(Event);
}

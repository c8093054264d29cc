#pragma once
// The base of every dialog window: placement kept in the registry, Enter and arrows move the focus.
#include "foundation/BusyCursor.h"

#include <QDialog>
#include <memory>
#include <optional>

class QKeyEvent;

namespace Platform {
class TRegistry;
}

// What the windows tell the main window: a form with a Tag of 1 or more shows for the first time, and
// the user pressed Ctrl+Shift+F7 in a form. The main window connects to these; without one nothing happens.
class TMainFormChannel : public QObject {
    Q_OBJECT
public:
    static TMainFormChannel& Instance();

signals:
    void NumberedFormShown(int tag, QWidget* form);
    void UserKeyCombination(int tag, QWidget* form);
};

// The behaviour shared by every dialog and the main window, for any top-level widget:
// - placement: position, size and state are kept per window class (the C++ class name, so every window
//   class declares Q_OBJECT) under the program's ".dsk" key, values class name + "_Left", "_Top", "_Width",
//   "_Height" (client rectangle), "_WindowState" (0 normal, 1 minimised, 2 maximised); loaded on the first
//   show, saved on every hide and when destroyed while visible; on the first show the window is made to fit
//   the screen it is on (FitOnScreen);
// - Enter, Up and Down move the focus among edit controls in tab order, wrapping; the form sees the keys
//   before the focused control does, but an editor inside a grid or list leaves them to its view;
// - the hourglass from construction until the window first shows or is activated.
// A window class derives from its Qt window class first and from this second, and calls BeforeShow and
// AfterShow around the inherited showEvent and AfterHide after the inherited hideEvent (see TStdRVKForm).
class TStdFormBehaviour {
public:
    explicit TStdFormBehaviour(QWidget& form);
    // Saves the placement when the window is still visible, with this class's empty SaveFormSettings:
    // descendants' own values are saved by the hide that normally comes first.
    virtual ~TStdFormBehaviour();
    TStdFormBehaviour(const TStdFormBehaviour&) = delete;
    TStdFormBehaviour& operator=(const TStdFormBehaviour&) = delete;

    bool NavigationEnabled{true}; // Enter, Up and Down move the focus
    bool EnterNavigation{true};   // Enter takes part
    bool FirstShow{true};         // cleared when the first show has run
    int Tag{0};                   // a numbered form (1 or more) is announced to the main window

    // Whether control takes part in the focus moves for key: edit controls (single- and multi-line text,
    // spin boxes) for every key, date and time edits only for Enter.
    virtual bool IsKeyNavigable(QWidget* control, int key, Qt::KeyboardModifiers shift);
    // Descendants read and write their own values under the open key, named with prefix (the class name).
    virtual void LoadFormSettings(Platform::TRegistry& registry, const QString& prefix);
    virtual void SaveFormSettings(Platform::TRegistry& registry, const QString& prefix);

    // What the form's own controls tell it, each after the event that caused it has been handled: a
    // validating edit was left with a valid text; a grid's current cell was moved by a key.
    virtual void EditLeft(QWidget* control);
    virtual void GridMoved(QWidget* grid);
    // Calls handler of control's form with control once the current event is done; nothing when the
    // window is no such form or either is gone by then.
    static void PostToForm(QWidget* control, void (TStdFormBehaviour::*handler)(QWidget*));

    void LoadPlacement();
    void SavePlacement();
    static QString PlacementKey();
    QString ClassName() const;

protected:
    void BeforeShow(const QShowEvent* event);
    void AfterShow(const QShowEvent* event);
    void AfterHide(const QHideEvent* event);
    // A key pressed while the window is active, before the focused control gets it; true when consumed.
    bool FormKeyDown(const QKeyEvent* event);

private:
    class TKeyPreview;

    bool IsResizable() const;
    QWidget* NextNavigable(QWidget* active, bool forward, int key, Qt::KeyboardModifiers shift);

    QWidget& form_;
    mutable QString className_; // kept for the save when destroyed, when the class is no longer whole
    std::optional<TBusyCursor> busy_;
    std::unique_ptr<TKeyPreview> preview_;
};

// The base of every dialog window.
class TStdRVKForm : public QDialog, public TStdFormBehaviour {
    Q_OBJECT
public:
    explicit TStdRVKForm(QWidget* owner = nullptr);
    ~TStdRVKForm() override;

public slots:
    // Escape and the window's close button give the modal result 2.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};

#pragma once
// The program's icon in the notification area: it can animate, reports clicks, and can hide the main
// window there when it is minimised. Where the desktop has no notification area the icon simply does
// not show, and the main window is never hidden, so it can always be reached.
#include "server/SimpleTimer.h"

#include <QIcon>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QSystemTrayIcon;

class TCoolTrayIcon : public QObject {
public:
    using NotifyEvent = std::function<void(TCoolTrayIcon&)>;
    // Asked once by Loaded: may set showMainForm to false.
    using StartupEvent = std::function<void(TCoolTrayIcon&, bool& showMainForm)>;

    static constexpr int MaxHintLength = 127;

    // The owner is the main form (a child of it, freed with it); nullptr for none.
    explicit TCoolTrayIcon(QWidget* owner);
    ~TCoolTrayIcon() override;

    // Applies the properties once the owner has set them; returns whether the main form is to be
    // shown. A main form that OnStartup keeps hidden is hidden only where the icon can bring it back.
    bool Loaded();

    const QIcon& Icon() const { return icon_; }
    void SetIcon(const QIcon& icon);
    bool IconVisible() const { return iconVisible_; }
    void SetIconVisible(bool visible);
    const QList<QIcon>& IconList() const { return iconList_; }
    void SetIconList(const QList<QIcon>& icons) { iconList_ = icons; }
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int index) { iconIndex_ = index; }
    bool CycleIcons() const { return cycleIcons_; }
    void SetCycleIcons(bool cycle);
    int CycleInterval() const { return cycleTimer_.Interval(); }
    void SetCycleInterval(int interval) { cycleTimer_.SetInterval(interval); }
    const QString& Hint() const { return hint_; }
    void SetHint(const QString& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    // Clicks are reported only while enabled.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu);
    bool LeftPopup() const { return leftPopup_; }
    void SetLeftPopup(bool left) { leftPopup_ = left; }
    bool MinimizeToTray() const { return minimizeToTray_; }
    void SetMinimizeToTray(bool minimize) { minimizeToTray_ = minimize; }

    void ShowIcon();
    void HideIcon();
    void ModifyIcon();
    // Restores a minimised main form, shows it and brings it to the front.
    void ShowMainForm();
    void HideMainForm();

    // Whether the desktop has a notification area now.
    virtual bool TrayAvailable() const;
    // The tool-tip the icon carries.
    QString ToolTip() const;

    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    NotifyEvent OnCycle;
    NotifyEvent OnBalloonHintClick;
    NotifyEvent OnMinimizeToTray;
    StartupEvent OnStartup;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Activated(int reason);
    void Cycle();
    void PopupAtCursor();

    QPointer<QWidget> owner_;
    QSystemTrayIcon* tray_; // a child of this object
    QIcon icon_;
    bool iconVisible_ = false;
    QList<QIcon> iconList_;
    int iconIndex_ = 0;
    bool cycleIcons_ = false;
    QString hint_;
    bool showHint_ = true;
    bool enabled_ = true;
    QPointer<QMenu> popupMenu_;
    bool leftPopup_ = false;
    bool minimizeToTray_ = false;
    TSimpleTimer cycleTimer_;
    TSimpleTimer clickTimer_; // a single click is reported once no second one can follow
};

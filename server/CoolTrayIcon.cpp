#include "server/CoolTrayIcon.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QWidget>

TCoolTrayIcon::TCoolTrayIcon(QWidget* owner)
    : QObject(owner)
    , owner_(owner)
    , tray_(new QSystemTrayIcon(this)) {
    cycleTimer_.SetEnabled(false);
    cycleTimer_.SetOnTimer([this](TSimpleTimer&) { Cycle(); });
    clickTimer_.SetEnabled(false);
    clickTimer_.SetOneShot(true);
    clickTimer_.SetOnTimer([this](TSimpleTimer&) {
        if (OnClick)
            OnClick(*this);
    });
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Activated(static_cast<int>(reason)); });
    connect(tray_, &QSystemTrayIcon::messageClicked, this, [this] {
        if (enabled_ && OnBalloonHintClick)
            OnBalloonHintClick(*this);
    });
    if (owner)
        owner->installEventFilter(this);
}

TCoolTrayIcon::~TCoolTrayIcon() {
    HideIcon();
}

bool TCoolTrayIcon::Loaded() {
    bool showMainForm = true;
    if (OnStartup)
        OnStartup(*this, showMainForm);
    if (!showMainForm && !TrayAvailable())
        showMainForm = true;
    if (!showMainForm)
        HideMainForm();
    if (iconVisible_)
        ShowIcon();
    SetCycleIcons(cycleIcons_);
    return showMainForm;
}

void TCoolTrayIcon::SetIcon(const QIcon& icon) {
    icon_ = icon;
    ModifyIcon();
}

void TCoolTrayIcon::SetIconVisible(bool visible) {
    if (visible)
        ShowIcon();
    else
        HideIcon();
}

void TCoolTrayIcon::SetCycleIcons(bool cycle) {
    cycleIcons_ = cycle;
    cycleTimer_.SetEnabled(cycle);
}

void TCoolTrayIcon::SetHint(const QString& hint) {
    hint_ = hint;
    ModifyIcon();
}

void TCoolTrayIcon::SetShowHint(bool show) {
    showHint_ = show;
    ModifyIcon();
}

void TCoolTrayIcon::SetPopupMenu(QMenu* menu) {
    popupMenu_ = menu;
    tray_->setContextMenu(menu);
}

void TCoolTrayIcon::ShowIcon() {
    iconVisible_ = true;
    ModifyIcon();
    // The icon shows once there is one to show.
    if (!icon_.isNull())
        tray_->show();
}

void TCoolTrayIcon::HideIcon() {
    iconVisible_ = false;
    tray_->hide();
}

void TCoolTrayIcon::ModifyIcon() {
    tray_->setIcon(icon_);
    tray_->setToolTip(ToolTip());
    if (iconVisible_ && !icon_.isNull() && !tray_->isVisible())
        tray_->show();
}

QString TCoolTrayIcon::ToolTip() const {
    return showHint_ ? hint_.left(MaxHintLength) : QString();
}

void TCoolTrayIcon::ShowMainForm() {
    if (!owner_)
        return;
    owner_->setWindowState(owner_->windowState() & ~Qt::WindowMinimized);
    owner_->show();
    owner_->raise();
    owner_->activateWindow();
}

void TCoolTrayIcon::HideMainForm() {
    if (owner_)
        owner_->hide();
}

bool TCoolTrayIcon::TrayAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TCoolTrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == owner_ && event->type() == QEvent::WindowStateChange && owner_->isMinimized() &&
        minimizeToTray_ && TrayAvailable()) {
        if (OnMinimizeToTray)
            OnMinimizeToTray(*this);
        // Not inside the state change itself: the window system is still minimising the window.
        QMetaObject::invokeMethod(
            this, [this] { HideMainForm(); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void TCoolTrayIcon::Activated(int reason) {
    if (!enabled_)
        return;
    switch (static_cast<QSystemTrayIcon::ActivationReason>(reason)) {
    case QSystemTrayIcon::Trigger:
        if (leftPopup_ && popupMenu_)
            PopupAtCursor();
        else {
            clickTimer_.SetInterval(QGuiApplication::styleHints()->mouseDoubleClickInterval());
            clickTimer_.SetEnabled(true);
        }
        break;
    case QSystemTrayIcon::DoubleClick:
        clickTimer_.SetEnabled(false);
        if (OnDblClick)
            OnDblClick(*this);
        break;
    default: // the context menu is the tray's own
        break;
    }
}

void TCoolTrayIcon::PopupAtCursor() {
    if (owner_)
        owner_->activateWindow();
    popupMenu_->popup(QCursor::pos());
}

void TCoolTrayIcon::Cycle() {
    if (iconList_.isEmpty())
        return;
    if (iconIndex_ < 0 || iconIndex_ >= iconList_.size())
        iconIndex_ = 0;
    SetIcon(iconList_[iconIndex_]);
    if (OnCycle)
        OnCycle(*this);
    iconIndex_ = (iconIndex_ + 1) % iconList_.size();
}

#include "server/SimpleTimer.h"

TSimpleTimer::TSimpleTimer()
    : TSimpleTimer(1000, {}) {}

TSimpleTimer::TSimpleTimer(int interval, NotifyEvent onTimer)
    : onTimer_(std::move(onTimer))
    , interval_(interval) {
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Tick(); });
    Update();
}

void TSimpleTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Update();
}

void TSimpleTimer::SetInterval(int interval) {
    interval_ = interval;
    Update();
}

void TSimpleTimer::SetOnTimer(NotifyEvent onTimer) {
    onTimer_ = std::move(onTimer);
    Update();
}

void TSimpleTimer::Update() {
    timer_.stop();
    if (enabled_ && interval_ > 0 && onTimer_)
        timer_.start(interval_);
}

void TSimpleTimer::Tick() {
    if (oneShot_)
        SetEnabled(false);
    if (onTimer_) {
        // The event may replace itself; the copy keeps the running one alive.
        const NotifyEvent event = onTimer_;
        event(*this);
    }
}

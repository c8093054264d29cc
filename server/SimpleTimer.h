#pragma once
// A timer object without a window of its own, on the thread's event loop.
#include <QTimer>

#include <functional>

class TSimpleTimer {
public:
    using NotifyEvent = std::function<void(TSimpleTimer&)>;

    TSimpleTimer();
    TSimpleTimer(int interval, NotifyEvent onTimer);
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int Interval() const { return interval_; }
    // Restarts a running timer; 0 stops it.
    void SetInterval(int interval);
    // A one-shot timer stops itself before its event runs.
    bool OneShot() const { return oneShot_; }
    void SetOneShot(bool oneShot) { oneShot_ = oneShot; }
    // An empty event stops a running timer.
    void SetOnTimer(NotifyEvent onTimer);
    // Enabled, with an interval and an event.
    bool Running() const { return timer_.isActive(); }

private:
    void Update();
    void Tick();

    QTimer timer_;
    NotifyEvent onTimer_;
    int interval_ = 1000;
    bool enabled_ = true;
    bool oneShot_ = false;
};

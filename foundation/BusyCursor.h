#pragma once

// Shows the hourglass for its lifetime; does nothing in a program without windows (no QGuiApplication),
// so model code may use it in batch jobs and tests. On another thread than the window thread (the
// server's request handler) the change goes through the window thread.
class TBusyCursor {
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    bool set_;
};

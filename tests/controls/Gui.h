#pragma once
// Windows driven by real key, mouse and focus events under the offscreen platform.
#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

// Lets posted work (focus moves, queued calls, messages shown later) run.
inline void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Shows the window and waits (at most two seconds) until it is the active one.
inline void ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    QElapsedTimer timer;
    timer.start();
    while (QApplication::activeWindow() != &window && timer.elapsed() < 2000)
        QApplication::processEvents();
}

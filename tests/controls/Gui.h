#pragma once
// Windows driven by real key, mouse and focus events under the offscreen platform, and what they draw.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <utility>

// Lets posted work (focus moves, queued calls, messages shown later) run.
inline void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// A key as the user presses it, to whatever has the focus, and what it set off.
inline void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QWidget* focused = QApplication::focusWidget())
        QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
    Settle();
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

// The first and last columns of area that hold a dark pixel; -1 and -1 when none does.
inline std::pair<int, int> InkColumns(const QImage& image, const QRect& area) {
    int first = -1;
    int last = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                first = first < 0 ? x : first;
                last = x;
            }
    return {first, last};
}

#include "foundation/BusyCursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QThread>

namespace {

// The cursor belongs to the window thread: from any other thread (the server's request handler) the
// change is posted to it, in order, never made there.
void OnWindowThread(void (*change)()) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    if (QThread::currentThread() == application->thread())
        change();
    else
        QMetaObject::invokeMethod(application, change, Qt::QueuedConnection);
}

void SetWaitCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void RestoreCursor() {
    QGuiApplication::restoreOverrideCursor();
}

} // namespace

TBusyCursor::TBusyCursor()
    : set_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (set_)
        OnWindowThread(SetWaitCursor);
}

TBusyCursor::~TBusyCursor() {
    if (set_)
        OnWindowThread(RestoreCursor);
}

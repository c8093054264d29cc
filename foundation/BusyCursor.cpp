#include "foundation/BusyCursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

TBusyCursor::TBusyCursor()
    : set_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (set_)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

TBusyCursor::~TBusyCursor() {
    if (set_ && QCoreApplication::instance())
        QGuiApplication::restoreOverrideCursor();
}

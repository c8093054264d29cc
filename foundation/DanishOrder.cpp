#include "foundation/DanishOrder.h"

#include <QLocale>

QCollator DanishNameOrder() {
    QCollator collator{QLocale(QLocale::Danish, QLocale::Denmark)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

int CompareDanish(const QString& a, const QString& b) {
    thread_local const QCollator order = DanishNameOrder();
    return order.compare(a, b);
}

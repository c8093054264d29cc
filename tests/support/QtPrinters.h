#pragma once
// Readable GoogleTest output for Qt values: failures show the text, not the bytes of the object.
#include <QByteArray>
#include <QRect>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << "QByteArray(" << bytes.toHex(' ').toStdString() << ')';
}

inline void PrintTo(const QRect& rect, std::ostream* out) {
    *out << "QRect(" << rect.x() << ',' << rect.y() << ' ' << rect.width() << 'x' << rect.height() << ')';
}

#pragma once
// An engine's model written to bytes and read back from them.
#include "print/PrUtil.h"

#include <QBuffer>

inline QByteArray Streamed(const TPrint& print) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    print.WriteToStream(buffer);
    return buffer.data();
}

inline void Read(TPrint& print, const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    print.ReadFromStream(buffer);
}

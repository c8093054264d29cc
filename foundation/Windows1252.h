#pragma once
// The Windows-1252 codec of every byte the program stores or exchanges.
#include <QByteArray>
#include <QString>

// Every byte the program stores or exchanges is Windows-1252. All 256 bytes decode and encode back
// unchanged (the five bytes without a character map to the C1 controls of the same number); a character
// without a byte is written as '?'.
namespace Windows1252 {
QByteArray Encode(const QString& text);
QString Decode(const QByteArray& bytes);
QString Decode(const char* bytes, qsizetype count);
} // namespace Windows1252

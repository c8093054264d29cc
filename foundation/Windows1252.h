#pragma once
// The Windows-1252 codec of every byte the program stores or exchanges.
#include <QByteArray>
#include <QString>

// Every byte the program stores or exchanges is Windows-1252. All 256 bytes decode and encode back
// unchanged (the five bytes without a character map to the C1 controls of the same number); a character
// without a byte is written as '?'.
namespace Windows1252 {
QByteArray Encode(const QString& text);
// Writes the bytes of text to out, which has room for text.size() bytes (never more are needed);
// returns how many it wrote. For callers that put many texts into one buffer.
qsizetype EncodeTo(QStringView text, char* out);
QString Decode(const QByteArray& bytes);
QString Decode(const char* bytes, qsizetype count);
} // namespace Windows1252

#include "foundation/Windows1252.h"

#include <array>

namespace {
// Bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char EncodeUnit(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}
} // namespace

namespace Windows1252 {

QByteArray Encode(const QString& text) {
    // At most one byte per unit, written in place: large texts (whole documents) are encoded at once.
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bytes.truncate(EncodeTo(text, bytes.data()));
    return bytes;
}

qsizetype EncodeTo(QStringView text, char* out) {
    const char16_t* in = text.utf16();
    const qsizetype size = text.size();
    qsizetype n = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = in[i];
        if (c < 0x80) { // the most of every text
            out[n++] = static_cast<char>(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(in[i + 1])) {
            ++i; // one character, one '?'
            out[n++] = '?';
        } else if (QChar::isSurrogate(c)) {
            out[n++] = '?';
        } else {
            out[n++] = EncodeUnit(c);
        }
    }
    return n;
}

QString Decode(const char* bytes, qsizetype count) {
    // Latin-1 but for 0x80..0x9F: the fast Latin-1 widening, then those few characters put right.
    QString text = QString::fromLatin1(bytes, count);
    const auto* in = reinterpret_cast<const unsigned char*>(bytes);
    bool high = false;
    for (qsizetype i = 0; i < count; ++i)
        high |= in[i] - 0x80u < 0x20u;
    if (!high)
        return text;
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < count; ++i) {
        if (in[i] - 0x80u < 0x20u)
            out[i] = HighControls[in[i] - 0x80u];
    }
    return text;
}

QString Decode(const QByteArray& bytes) {
    return Decode(bytes.constData(), bytes.size());
}

} // namespace Windows1252

#include "platform/recordmanager/KeyCodec.h"

#include "platform/LittleEndian.h"

#include <cstring>

namespace RecordManager {

namespace {

// Upper case for ASCII and the Windows-1252 letters, so Danish letters fold too.
constexpr std::array<uint8_t, 256> makeFoldTable() {
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[c] = uint8_t(c);
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] = uint8_t(c - 0x20);
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7)
            t[c] = uint8_t(c - 0x20);
    t[0x9A] = 0x8A;
    t[0x9C] = 0x8C;
    t[0x9E] = 0x8E;
    t[0xFF] = 0x9F;
    return t;
}
constexpr std::array<uint8_t, 256> FoldTable = makeFoldTable();

void encodeSegment(const KeySegment& s, const uint8_t* src, uint8_t* dst) {
    const unsigned n = s.length;
    switch (s.kind) {
    case SegmentKind::Bytes:
        std::memcpy(dst, src, n);
        break;
    case SegmentKind::Text:
        if (s.foldCase)
            for (unsigned i = 0; i < n; ++i)
                dst[i] = FoldTable[src[i]];
        else
            std::memcpy(dst, src, n);
        break;
    case SegmentKind::ZText: {
        // Bytes after the terminator are not part of the value.
        unsigned i = 0;
        for (; i < n && src[i] != 0; ++i)
            dst[i] = s.foldCase ? FoldTable[src[i]] : src[i];
        std::memset(dst + i, 0, n - i);
        break;
    }
    case SegmentKind::Signed:
    case SegmentKind::Unsigned:
        for (unsigned i = 0; i < n; ++i)
            dst[i] = src[n - 1 - i];
        if (s.kind == SegmentKind::Signed)
            dst[0] ^= 0x80;
        break;
    case SegmentKind::Float:
        for (unsigned i = 0; i < n; ++i)
            dst[i] = src[n - 1 - i];
        if (dst[0] & 0x80) {
            for (unsigned i = 0; i < n; ++i)
                dst[i] = uint8_t(~dst[i]);
        } else {
            dst[0] ^= 0x80;
        }
        break;
    }
    if (s.descending)
        for (unsigned i = 0; i < n; ++i)
            dst[i] = uint8_t(~dst[i]);
}

bool allNull(const KeyDef& key, const uint8_t* record) {
    for (const KeySegment& s : key.segments)
        for (unsigned i = 0; i < s.length; ++i)
            if (record[s.offset + i] != s.nullValue)
                return false;
    return true;
}

} // namespace

bool encodeRecordKey(const KeyDef& key, const uint8_t* record, EncodedKey& out) {
    if (key.nullable && allNull(key, record))
        return false;
    uint8_t* dst = out.bytes.data();
    for (const KeySegment& s : key.segments) {
        encodeSegment(s, record + s.offset, dst);
        dst += s.length;
    }
    out.size = key.length;
    return true;
}

void encodeKeyValue(const KeyDef& key, const uint8_t* value, EncodedKey& out) {
    uint8_t* dst = out.bytes.data();
    for (const KeySegment& s : key.segments) {
        encodeSegment(s, value, dst);
        value += s.length;
        dst += s.length;
    }
    out.size = key.length;
}

void copyKeyValue(const KeyDef& key, const uint8_t* record, uint8_t* value) {
    for (const KeySegment& s : key.segments) {
        std::memcpy(value, record + s.offset, s.length);
        value += s.length;
    }
}

int64_t readInteger(const KeySegment& s, const uint8_t* record) {
    uint64_t v = loadLEBytes(record + s.offset, s.length);
    if (s.length < 8 && (v >> (8 * s.length - 1)) & 1)
        v |= ~uint64_t(0) << (8 * s.length);
    return int64_t(v);
}

void writeInteger(const KeySegment& s, uint8_t* record, int64_t value) {
    storeLEBytes(record + s.offset, uint64_t(value), s.length);
}

bool isZero(const KeySegment& s, const uint8_t* record) {
    for (unsigned i = 0; i < s.length; ++i)
        if (record[s.offset + i] != 0)
            return false;
    return true;
}

} // namespace RecordManager

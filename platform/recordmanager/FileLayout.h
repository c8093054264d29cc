#pragma once
// The shape of a record file as its statistics buffer describes it: record length and keys.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace RecordManager {

// How a segment's bytes compare.
enum class SegmentKind : uint8_t {
    Bytes,    // unsigned bytes
    Text,     // bytes, optionally without regard to case
    ZText,    // text up to the first zero byte
    Signed,   // little-endian two's complement
    Unsigned, // little-endian unsigned
    Float,    // little-endian IEEE
};

struct KeySegment {
    uint16_t offset = 0; // 0-based in the record
    uint16_t length = 0;
    SegmentKind kind = SegmentKind::Bytes;
    bool descending = false;
    bool foldCase = false;
    bool autoIncrement = false;
    uint8_t nullValue = 0;
};

struct KeyDef {
    std::vector<KeySegment> segments;
    uint16_t length = 0; // sum of the segment lengths
    bool unique = true;
    bool nullable = false; // records whose segments all hold the null value stay out of this key
};

struct FileLayout {
    uint16_t recordLength = 0;
    bool variableLength = false;
    std::vector<KeyDef> keys;
};

// Reads and checks a statistics buffer; throws the status that refuses it.
FileLayout parseLayout(const uint8_t* stat, size_t size);

} // namespace RecordManager

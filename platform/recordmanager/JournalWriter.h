#pragma once
// The body of a journal entry as it is built: little-endian numbers and length-prefixed byte runs.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace RecordManager {

constexpr uint16_t JournalNullKey = 0xFFFF;

// The body of a journal under construction.
class JournalWriter {
public:
    void u16(uint16_t value);
    void u32(uint32_t value);
    void bytes(const void* data, size_t size);
    // A 32-bit length, then the bytes.
    void blob(const void* data, size_t size);
    std::vector<uint8_t>& body() { return body_; }

private:
    std::vector<uint8_t> body_;
};

// The journal's name in the folder of a record file.

} // namespace RecordManager

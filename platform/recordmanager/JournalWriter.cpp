#include "platform/recordmanager/JournalWriter.h"

#include "platform/LittleEndian.h"

namespace RecordManager {

void JournalWriter::u16(uint16_t value) {
    uint8_t b[2];
    storeLE<uint16_t>(b, value);
    bytes(b, 2);
}

void JournalWriter::u32(uint32_t value) {
    uint8_t b[4];
    storeLE<uint32_t>(b, value);
    bytes(b, 4);
}

void JournalWriter::bytes(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    body_.insert(body_.end(), p, p + size);
}

void JournalWriter::blob(const void* data, size_t size) {
    u32(uint32_t(size));
    bytes(data, size);
}

} // namespace RecordManager

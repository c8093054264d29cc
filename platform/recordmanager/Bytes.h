#pragma once
// Little-endian fields in caller-owned byte buffers, which need not be aligned.
#include <cstdint>
#include <type_traits>

namespace RecordManager {

template <typename T>
T loadLE(const void* at) {
    static_assert(std::is_unsigned_v<T>);
    const auto* p = static_cast<const uint8_t*>(at);
    T value = 0;
    for (unsigned i = 0; i < sizeof(T); ++i)
        value |= T(p[i]) << (8 * i);
    return value;
}

template <typename T>
void storeLE(void* at, T value) {
    static_assert(std::is_unsigned_v<T>);
    auto* p = static_cast<uint8_t*>(at);
    for (unsigned i = 0; i < sizeof(T); ++i)
        p[i] = uint8_t(value >> (8 * i));
}

} // namespace RecordManager

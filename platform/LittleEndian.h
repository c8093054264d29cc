#pragma once
// The one little-endian codec of the program: integers and doubles in byte buffers that need not be
// aligned (record-manager buffers, record images, the system-data block, transfer files).
#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

// The count (at most 8) low bytes at `at` as an unsigned number.
inline uint64_t loadLEBytes(const void* at, size_t count) {
    const auto* p = static_cast<const uint8_t*>(at);
    uint64_t value = 0;
    for (size_t i = 0; i < count && i < 8; ++i)
        value |= uint64_t(p[i]) << (8 * i);
    return value;
}

// The count (at most 8) low bytes of value at `at`.
inline void storeLEBytes(void* at, uint64_t value, size_t count) {
    auto* p = static_cast<uint8_t*>(at);
    for (size_t i = 0; i < count && i < 8; ++i)
        p[i] = uint8_t(value >> (8 * i));
}

// The unsigned integer of T's size.
template <typename T>
using LEBits = std::conditional_t<
    sizeof(T) == 1, uint8_t,
    std::conditional_t<sizeof(T) == 2, uint16_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;

template <typename T>
T loadLE(const void* at) {
    static_assert(std::is_integral_v<T> || std::is_same_v<T, double>);
    using U = LEBits<T>;
    return std::bit_cast<T>(U(loadLEBytes(at, sizeof(U))));
}

template <typename T>
void storeLE(void* at, T value) {
    static_assert(std::is_integral_v<T> || std::is_same_v<T, double>);
    using U = LEBits<T>;
    storeLEBytes(at, std::bit_cast<U>(value), sizeof(U));
}

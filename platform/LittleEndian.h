#pragma once
// The one little-endian codec of the program: integers and doubles in byte buffers that need not be
// aligned (record-manager buffers, record images, the system-data block, transfer files).
#include <bit>
#include <cstdint>
#include <type_traits>

template <typename T>
T loadLE(const void* at) {
    static_assert(std::is_integral_v<T> || std::is_same_v<T, double>);
    using U = std::conditional_t<std::is_same_v<T, double>, uint64_t, std::make_unsigned_t<T>>;
    const auto* p = static_cast<const uint8_t*>(at);
    U value = 0;
    for (unsigned i = 0; i < sizeof(U); ++i)
        value |= U(p[i]) << (8 * i);
    return std::bit_cast<T>(value);
}

template <typename T>
void storeLE(void* at, T value) {
    static_assert(std::is_integral_v<T> || std::is_same_v<T, double>);
    using U = std::conditional_t<std::is_same_v<T, double>, uint64_t, std::make_unsigned_t<T>>;
    const U bits = std::bit_cast<U>(value);
    auto* p = static_cast<uint8_t*>(at);
    for (unsigned i = 0; i < sizeof(U); ++i)
        p[i] = uint8_t(bits >> (8 * i));
}

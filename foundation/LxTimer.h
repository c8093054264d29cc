#pragma once
// The millisecond clock.
#include <cstdint>

// A millisecond clock that wraps at 2^32; only differences of two readings mean anything.
std::uint32_t GetMsTick();
// Milliseconds from start to end, also when the clock wrapped between the two readings.
std::uint32_t TickDiff(std::uint32_t start, std::uint32_t end);

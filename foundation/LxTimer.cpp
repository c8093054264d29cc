#include "foundation/LxTimer.h"

#include <chrono>

std::uint32_t GetMsTick() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::uint32_t TickDiff(std::uint32_t start, std::uint32_t end) {
    return end - start; // unsigned arithmetic is taken modulo 2^32
}

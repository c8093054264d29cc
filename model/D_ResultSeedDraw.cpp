// The draws of one seeding call.
#include "model/D_ResultSeedDraw.h"

#include <algorithm>
#include <chrono>
#include <numeric>

TSeedDraw::TSeedDraw(TDrawSeed seed) {
    quint32 value = 0;
    if (seed) {
        value = *seed;
    } else {
        const auto ticks = static_cast<quint64>(std::chrono::system_clock::now().time_since_epoch().count());
        value = static_cast<quint32>(ticks ^ (ticks >> 32));
    }
    state_[0] = value;
    for (std::size_t i = 1; i < StateSize; ++i)
        state_[i] = 1812433253U * (state_[i - 1] ^ (state_[i - 1] >> 30)) + static_cast<quint32>(i);
}

void TSeedDraw::Twist() {
    constexpr std::size_t Shift = 397;
    constexpr quint32 Upper = 0x80000000U;
    constexpr quint32 Lower = 0x7fffffffU;
    constexpr quint32 Matrix = 0x9908b0dfU;
    const auto mix = [](quint32 high, quint32 low, quint32 far) {
        const quint32 y = (high & Upper) | (low & Lower);
        return far ^ (y >> 1) ^ ((y & 1U) != 0 ? Matrix : 0U);
    };
    for (std::size_t k = 0; k < StateSize - Shift; ++k)
        state_[k] = mix(state_[k], state_[k + 1], state_[k + Shift]);
    for (std::size_t k = StateSize - Shift; k < StateSize - 1; ++k)
        state_[k] = mix(state_[k], state_[k + 1], state_[k + Shift - StateSize]);
    state_[StateSize - 1] = mix(state_[StateSize - 1], state_[0], state_[Shift - 1]);
    next_ = 0;
}

std::vector<int> TSeedDraw::Order(int first, int last) {
    std::vector<int> order(static_cast<std::size_t>(std::max(0, last - first + 1)));
    std::iota(order.begin(), order.end(), first);
    for (std::size_t i = order.size(); i > 1; --i)
        std::swap(order[i - 1], order[static_cast<std::size_t>(Next(static_cast<int>(i) - 1))]);
    return order;
}

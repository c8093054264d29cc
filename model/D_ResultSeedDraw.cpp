// The draws of one seeding call.
#include "model/D_ResultSeedDraw.h"

#include <algorithm>
#include <chrono>
#include <numeric>

TSeedDraw::TSeedDraw(TDrawSeed seed) {
    if (seed) {
        random_.seed(*seed);
    } else {
        const auto ticks = static_cast<quint64>(std::chrono::system_clock::now().time_since_epoch().count());
        random_.seed(static_cast<quint32>(ticks ^ (ticks >> 32)));
    }
}

std::vector<int> TSeedDraw::Order(int first, int last) {
    std::vector<int> order(static_cast<std::size_t>(std::max(0, last - first + 1)));
    std::iota(order.begin(), order.end(), first);
    for (std::size_t i = order.size(); i > 1; --i)
        std::swap(order[i - 1], order[static_cast<std::size_t>(Next(static_cast<int>(i) - 1))]);
    return order;
}

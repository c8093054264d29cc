#pragma once
// The draws of one seeding call: a test fixes them by a seed, the program seeds them from the clock.
#include "model/D_Result.h"

#include <random>
#include <vector>

class TSeedDraw {
public:
    explicit TSeedDraw(TDrawSeed seed);

    // A number from 0 to max.
    int Next(int max);
    // The numbers first..last in a random order.
    std::vector<int> Order(int first, int last);

private:
    std::mt19937 random_;
};

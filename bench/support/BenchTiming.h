#pragma once
// What the benchmarks time their work with, and how a run that goes wrong stops.

#include <chrono>
#include <cstdio>
#include <cstdlib>

using Clock = std::chrono::steady_clock;

// A figure of a run that did not do its work is worthless: stop at once.
inline void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "benchmark failed: %s\n", what);
        std::exit(1);
    }
}

inline double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

template <typename Work>
double Timed(Work work) {
    const auto start = Clock::now();
    work();
    return Since(start);
}

// The best of runs runs of work, which gives the seconds of the part of itself that counts.
template <typename Work>
double BestGiven(int runs, Work work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double seconds = work();
        best = seconds < best ? seconds : best;
    }
    return best;
}

// The best of runs runs of work, in seconds.
template <typename Work>
double BestOf(int runs, Work work) {
    return BestGiven(runs, [&work] { return Timed(work); });
}

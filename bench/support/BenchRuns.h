#pragma once
// Figures under Google Benchmark that are timed by the benchmark itself: each is registered once a round
// and runs once, so that a figure and its baseline meet the same load on the machine.
#include "support/BenchTiming.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

// One run of work each time it is registered, on the time the figure gives (manual time), in ms.
template <typename Work>
benchmark::internal::Benchmark* RegisterOnce(const std::string& name, Work work) {
    return benchmark::RegisterBenchmark(name.c_str(), work)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

// Each iteration timed as the seconds work gives: for work that times the part of itself that counts.
// The best of them.
template <typename Work>
double TimeGivenEach(benchmark::State& state, Work work) {
    double best = 1e300;
    for (auto _ : state) {
        const double seconds = work();
        state.SetIterationTime(seconds);
        best = std::min(best, seconds);
    }
    return best;
}

// Each iteration timed as the whole of work. The best of them, in seconds.
template <typename Work>
double TimeEach(benchmark::State& state, Work work) {
    return TimeGivenEach(state, [&work] { return Timed(work); });
}

// A figure timed on the wall clock, in unit (ms unless said).
template <typename Work>
benchmark::internal::Benchmark* RegisterRealTime(const std::string& name, Work work,
                                                 benchmark::TimeUnit unit = benchmark::kMillisecond) {
    return benchmark::RegisterBenchmark(name.c_str(), work)->Unit(unit)->UseRealTime();
}

// "figure/size", the name of a figure at one of its sizes.
inline std::string FigureName(const char* figure, int size) {
    return std::string(figure) + "/" + std::to_string(size);
}

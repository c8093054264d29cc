#pragma once
// Passes every run on to the console and keeps the best time of each, for the ratios printed at the end:
// our work against a baseline measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Ratio {
        std::string label;
        std::string ours; // the benchmarks' names
        std::string baseline;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            double& best = best_[run.run_name.function_name];
            const double t = run.GetAdjustedRealTime();
            best = best == 0 ? t : std::min(best, t);
        }
    }

    // One line per ratio whose two sides ran.
    void PrintRatios(const char* baselineHeading, const std::vector<Ratio>& ratios) const {
        std::printf("\n%-16s %14s %14s %8s\n", "work", "ours (ms)", baselineHeading, "ratio");
        for (const Ratio& ratio : ratios) {
            const auto ours = best_.find(ratio.ours);
            const auto baseline = best_.find(ratio.baseline);
            if (ours != best_.end() && baseline != best_.end())
                std::printf("%-16s %14.1f %14.1f %8.2f\n", ratio.label.c_str(), ours->second,
                            baseline->second, ours->second / baseline->second);
        }
    }

private:
    std::map<std::string, double> best_;
};

#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace kdbench {

// The console report, remembering each benchmark's real time per iteration in milliseconds (keyed
// by the name before any "/argument") so the program can print its ratios after the run. With
// repetitions, ms holds the median of them, so that one noisy repetition does not decide a ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs) {
            if (r.run_type == Run::RT_Aggregate)
                continue;
            const std::string full = r.benchmark_name();
            const std::string name = full.substr(0, full.find('/'));
            auto& all = samples[name];
            all.push_back(r.GetAdjustedRealTime() * 1000.0 / benchmark::GetTimeUnitMultiplier(r.time_unit));
            std::vector<double> sorted = all;
            std::sort(sorted.begin(), sorted.end());
            const size_t n = sorted.size();
            ms[name] = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // How many repetitions the median of a benchmark was taken over.
    [[nodiscard]] size_t repetitions(const std::string& name) const {
        auto it = samples.find(name);
        return it == samples.end() ? 0 : it->second.size();
    }
    std::map<std::string, double> ms;
    std::map<std::string, std::vector<double>> samples;
};

} // namespace kdbench

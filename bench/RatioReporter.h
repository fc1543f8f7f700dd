#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace kdbench {

// The console report, remembering each benchmark's real time per iteration in milliseconds (keyed
// by the name before any "/argument") so the program can print its ratios after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs) {
            const std::string name = r.benchmark_name();
            ms[name.substr(0, name.find('/'))] =
                r.GetAdjustedRealTime() * 1000.0 / benchmark::GetTimeUnitMultiplier(r.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> ms;
};

} // namespace kdbench

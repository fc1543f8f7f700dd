#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace kdbench {

// The console report, remembering each benchmark's time per iteration in milliseconds (keyed by the
// name before any "/argument") so the program can print its ratios after the run. The time is the
// process's CPU time: every benchmark here runs on one thread, and on a machine shared with builds
// the wall clock mostly measures the others. With repetitions, ms holds the median of them, so
// that one noisy repetition does not decide a ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs) {
            if (r.run_type == Run::RT_Aggregate)
                continue;
            const std::string full = r.benchmark_name();
            const std::string name = full.substr(0, full.find('/'));
            const double unit = 1000.0 / benchmark::GetTimeUnitMultiplier(r.time_unit);
            samples[name].push_back(r.GetAdjustedCPUTime() * unit);
            realSamples[name].push_back(r.GetAdjustedRealTime() * unit);
            ms[name] = median(samples[name]);
            realMs[name] = median(realSamples[name]);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // How many repetitions the median of a benchmark was taken over.
    [[nodiscard]] size_t repetitions(const std::string& name) const {
        auto it = samples.find(name);
        return it == samples.end() ? 0 : it->second.size();
    }
    std::map<std::string, double> ms;     // median CPU time
    std::map<std::string, double> realMs; // median wall-clock time, shown beside it
    std::map<std::string, std::vector<double>> samples, realSamples;

private:
    static double median(std::vector<double> v) {
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
};

// Runs the repetitions of a benchmark and of its baseline interleaved, so that a change of load
// during the run falls on both sides of a ratio. A flag given on the command line wins.
inline void Initialize(int* argc, char** argv) {
    static std::vector<char*> args;
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.assign(argv, argv + *argc);
    args.insert(args.begin() + 1, interleave);
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    *argc = n;
}

} // namespace kdbench

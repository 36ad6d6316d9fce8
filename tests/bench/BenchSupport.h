#ifndef MVPR_TESTS_BENCH_BENCHSUPPORT_H
#define MVPR_TESTS_BENCH_BENCHSUPPORT_H

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace mvpr::bench {

// Collects each benchmark's best time per iteration over the repetitions while printing as
// usual: the machine is shared, and the fastest repetition is the one least disturbed.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            const std::string name = run.run_name.function_name;
            const double t = run.GetAdjustedRealTime();
            const auto it = times.find(name);
            if (it == times.end() || t < it->second) times[name] = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

// Five short repetitions unless the command line asks otherwise: a few seconds in all.
inline void Initialize(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    static std::string repetitions = "--benchmark_repetitions=5", minTime = "--benchmark_min_time=0.1";
    bool given = false;
    for (int i = 1; i < argc; ++i)
        given = given || std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    if (!given) {
        args.push_back(repetitions.data());
        args.push_back(minTime.data());
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
}

}  // namespace mvpr::bench

#endif

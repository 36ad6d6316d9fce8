// Building a category list of 100,000 entries against one sort of their bare names with the same
// comparison, measured in the same run: the ratio is what matters (a few sorts' worth at most:
// building must not re-sort per entry), reported, never asserted.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "lists/CategoryList.h"

namespace {

std::vector<mvpr::ScreenEntry> Entries() {
    std::vector<mvpr::ScreenEntry> entries;
    entries.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
        const unsigned v = static_cast<unsigned>(i) * 2654435761u;  // a scrambled order
        entries.push_back({"PIC" + std::to_string(v) + ".BMP", "C:\\PICTURES\\SUB", "", false});
    }
    return entries;
}

void BM_BuildHundredThousandAgainstOneSort(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const std::vector<mvpr::ScreenEntry> source = Entries();
    std::vector<std::string> names;
    for (const auto& e : source) names.push_back(e.fileName);
    double built = 0, sorted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<mvpr::ScreenEntry> entries = source;
        std::vector<std::string> bare = names;
        state.ResumeTiming();
        const auto s0 = Clock::now();
        std::stable_sort(bare.begin(), bare.end(), [](const std::string& a, const std::string& b) {
            return mvpr::AlphabeticCompare(a, b) < 0;
        });
        const auto t0 = Clock::now();
        mvpr::CategoryList list;
        list.AddMany(std::move(entries));
        for (int i = 0; i < 50; ++i) list.Add({"ADDED" + std::to_string(i) + ".BMP", "C:\\", "", false});
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(list.size());
        benchmark::DoNotOptimize(bare.data());
        sorted += std::chrono::duration<double>(t0 - s0).count();
        built += std::chrono::duration<double>(t1 - t0).count();
    }
    state.counters["build_vs_sort"] = built / sorted;
}

BENCHMARK(BM_BuildHundredThousandAgainstOneSort)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

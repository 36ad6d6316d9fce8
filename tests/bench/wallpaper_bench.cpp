// Rendering the wallpaper work file at 3840 x 2160, 32 bits, in each display style, against a
// memcpy of the same screen buffer measured in the same run; the ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "imaging/StyleRenderer.h"
#include "support/ImagingSamples.h"

namespace {

using namespace mvpr;

constexpr int kScreenW = 3840;
constexpr int kScreenH = 2160;
constexpr std::size_t kScreenBytes = std::size_t{kScreenW} * kScreenH * 4;

Picture Source(int w, int h) {
    auto p = Picture::Create(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Bgra c = samples::Pattern(x, y);
            std::uint8_t* px = p->Row(y) + x * 4;
            px[0] = c.b, px[1] = c.g, px[2] = c.r, px[3] = 255;
        }
    return *p;
}

void BM_Memcpy(benchmark::State& state) {
    std::vector<std::uint8_t> src(kScreenBytes, 0x5A), dst(kScreenBytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kScreenBytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}

void BM_Render(benchmark::State& state, DisplayStyle style, int srcW, int srcH) {
    const Picture src = Source(srcW, srcH);
    for (auto _ : state) {
        auto work = RenderWorkFile(src, style, kScreenW, kScreenH);
        if (!work) state.SkipWithError("no rendering");
        benchmark::DoNotOptimize(work->Row(0));
    }
}

// Each benchmark's best time per iteration over the repetitions: the machine is shared, and the
// fastest repetition is the one least disturbed.
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

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("memcpy_screen", BM_Memcpy);
    // Centred copies a screen-sized source; the tiled styles repeat a small one; the scaled
    // styles start from a 4000 x 3000 photograph.
    benchmark::RegisterBenchmark("centred", BM_Render, DisplayStyle::Centred, kScreenW, kScreenH);
    benchmark::RegisterBenchmark("tiled", BM_Render, DisplayStyle::Tiled, 300, 200);
    benchmark::RegisterBenchmark("mirror", BM_Render, DisplayStyle::Mirror, 300, 200);
    benchmark::RegisterBenchmark("stretched", BM_Render, DisplayStyle::Stretched, 4000, 3000);
    benchmark::RegisterBenchmark("fit2screen", BM_Render, DisplayStyle::Fit2Screen, 4000, 3000);
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5", minTime = "--benchmark_min_time=0.1";
    bool given = false;
    for (int i = 1; i < argc; ++i)
        given = given || std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    if (!given) {
        args.push_back(repetitions.data());
        args.push_back(minTime.data());
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratio to a memcpy of the 3840x2160x32 screen buffer (best of the repetitions):\n");
    const auto base = reporter.times.find("memcpy_screen");
    for (const char* name : {"centred", "tiled", "mirror", "stretched", "fit2screen"}) {
        const auto t = reporter.times.find(name);
        if (t != reporter.times.end() && base != reporter.times.end() && base->second > 0)
            std::printf("  %-12s %6.2f x\n", name, t->second / base->second);
    }
    benchmark::Shutdown();
    return 0;
}

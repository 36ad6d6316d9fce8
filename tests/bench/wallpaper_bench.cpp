// Rendering the wallpaper work file at 3840 x 2160, 32 bits, in each display style, against a
// memcpy of the same screen buffer measured in the same run; the ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "imaging/StyleRenderer.h"
#include "bench/BenchSupport.h"
#include "support/ImagingSamples.h"

namespace {

using namespace mvpr;

constexpr int kScreenW = 3840;
constexpr int kScreenH = 2160;
constexpr std::size_t kScreenBytes = std::size_t{kScreenW} * kScreenH * 4;

void BM_Memcpy(benchmark::State& state) {
    std::vector<std::uint8_t> src(kScreenBytes, 0x5A), dst(kScreenBytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kScreenBytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}

void BM_Render(benchmark::State& state, DisplayStyle style, int srcW, int srcH) {
    const Picture src = samples::PatternPicture(srcW, srcH, 32);
    for (auto _ : state) {
        auto work = RenderWorkFile(src, style, kScreenW, kScreenH);
        if (!work) state.SkipWithError("no rendering");
        benchmark::DoNotOptimize(work->Row(0));
    }
}

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
    bench::Initialize(argc, argv);
    bench::RatioReporter reporter;
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

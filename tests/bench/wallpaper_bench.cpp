// Rendering the wallpaper work file at 3840 x 2160, 32 bits, in each display style, on the plain
// rows (what a Pentium II, III or Athlon runs) and on the SSE2 rows, against a memcpy of the same
// screen buffer measured in the same run; then rendering and writing the work file against writing
// the same bytes with one write call. The ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "imaging/PixelRows.h"
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

// As the program renders: into a picture kept from the rendering before.
void BM_Render(benchmark::State& state, PixelPath path, DisplayStyle style, int srcW, int srcH) {
    SetPixelPath(path);
    if (ActivePixelPath() != path) state.SkipWithError("no such path here");
    const Picture src = samples::PatternPicture(srcW, srcH, 32);
    // Once before the timing: the first rendering touches fresh pages, which on this kind of
    // machine costs more than the rendering itself, and the program keeps its buffers.
    Picture work;
    RenderWorkFileInto(src, style, kScreenW, kScreenH, work);
    for (auto _ : state) {
        if (!RenderWorkFileInto(src, style, kScreenW, kScreenH, work)) state.SkipWithError("no rendering");
        benchmark::DoNotOptimize(work.Row(0));
    }
    SetPixelPath(PixelPath::Sse2);
}

std::string TempFile() {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/mvpr_bench_work.bmp";
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// The file as setting the wallpaper writes it: rendered (on the plain rows), then written from
// the rows in pieces.
void BM_RenderAndWrite(benchmark::State& state, DisplayStyle style, int srcW, int srcH, int bits) {
    SetPixelPath(PixelPath::Plain);
    const Picture src = samples::PatternPicture(srcW, srcH, 24);
    const std::string path = TempFile();
    Picture work;
    RenderWorkFileInto(src, style, kScreenW, kScreenH, work);
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool ok = fd >= 0 && RenderWorkFileInto(src, style, kScreenW, kScreenH, work) &&
                        WriteWorkFile(work, bits, [fd](std::span<const std::uint8_t> piece) {
                            return WriteAll(fd, piece);
                        });
        if (fd >= 0) close(fd);
        if (!ok) state.SkipWithError("not written");
    }
    unlink(path.c_str());
    SetPixelPath(PixelPath::Sse2);
}

// The physical limit: the same bytes, made beforehand, written with one call.
void BM_WriteOnce(benchmark::State& state, DisplayStyle style, int srcW, int srcH, int bits) {
    const Picture src = samples::PatternPicture(srcW, srcH, 24);
    const auto bytes = EncodeWorkFile(*RenderWorkFile(src, style, kScreenW, kScreenH), bits);
    const std::string path = TempFile();
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool ok = fd >= 0 && WriteAll(fd, *bytes);
        if (fd >= 0) close(fd);
        if (!ok) state.SkipWithError("not written");
    }
    unlink(path.c_str());
}

struct Style {
    const char* name;
    DisplayStyle style;
    int w, h;
};
// Centred copies a screen-sized source; the tiled styles repeat a small one; the scaled styles
// start from a 4000 x 3000 photograph.
constexpr Style kStyles[] = {{"centred", DisplayStyle::Centred, kScreenW, kScreenH},
                             {"tiled", DisplayStyle::Tiled, 300, 200},
                             {"mirror", DisplayStyle::Mirror, 300, 200},
                             {"stretched", DisplayStyle::Stretched, 4000, 3000},
                             {"fit2screen", DisplayStyle::Fit2Screen, 4000, 3000}};

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("memcpy_screen", BM_Memcpy);
    const std::pair<const char*, PixelPath> paths[] = {{"plain", PixelPath::Plain},
                                                       {"sse2", PixelPath::Sse2}};
    for (const auto& [pathName, path] : paths)
        for (const Style& s : kStyles)
            benchmark::RegisterBenchmark((std::string(pathName) + "_" + s.name).c_str(), BM_Render, path,
                                         s.style, s.w, s.h);
    for (int bits : {16, 24, 32}) {
        const std::string depth = std::to_string(bits);
        benchmark::RegisterBenchmark(("write_once_tiled_" + depth).c_str(), BM_WriteOnce, DisplayStyle::Tiled,
                                     300, 200, bits);
        benchmark::RegisterBenchmark(("render_write_tiled_" + depth).c_str(), BM_RenderAndWrite,
                                     DisplayStyle::Tiled, 300, 200, bits);
    }
    bench::Initialize(argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ratio = [&](const std::string& name, const std::string& base) {
        const auto t = reporter.times.find(name), b = reporter.times.find(base);
        if (t != reporter.times.end() && b != reporter.times.end() && b->second > 0)
            std::printf("  %-24s %6.2f x\n", name.c_str(), t->second / b->second);
    };
    std::printf("\nratio to a memcpy of the 3840x2160x32 screen buffer (best of the repetitions):\n");
    for (const auto& [pathName, path] : paths)
        for (const Style& s : kStyles) ratio(std::string(pathName) + "_" + s.name, "memcpy_screen");
    std::printf("\nrender + write the work file, ratio to one write call of the same bytes:\n");
    for (const char* depth : {"16", "24", "32"})
        ratio(std::string("render_write_tiled_") + depth, std::string("write_once_tiled_") + depth);
    benchmark::Shutdown();
    return 0;
}

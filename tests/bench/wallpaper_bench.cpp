// Rendering the wallpaper work file at 3840 x 2160, 32 bits, in each display style, on the plain
// rows (what a Pentium II, III or Athlon runs) and on the SSE2 rows, against a memcpy of the same
// screen buffer; then rendering and writing the work file against writing the same bytes with one
// write call. Each iteration times its baseline right before the work, so that a shared machine's
// load weighs on both alike; the median of the iterations' ratios is printed at the end.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
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

// The ratio of each iteration's work to its baseline, by benchmark name.
std::map<std::string, std::vector<double>>& Ratios() {
    static std::map<std::string, std::vector<double>> ratios;
    return ratios;
}

double Millis(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Times baseline() and then work() in every iteration, keeping their ratio.
template <typename Baseline, typename Work>
void TimePairs(benchmark::State& state, const std::string& name, const Baseline& baseline, const Work& work) {
    auto& ratios = Ratios()[name];
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        baseline();
        const auto t1 = std::chrono::steady_clock::now();
        if (!work()) state.SkipWithError("failed");
        const auto t2 = std::chrono::steady_clock::now();
        if (Millis(t0, t1) > 0) ratios.push_back(Millis(t1, t2) / Millis(t0, t1));
    }
}

std::vector<std::uint8_t>& ScreenBuffer(int which) {
    static std::vector<std::uint8_t> buffers[2] = {std::vector<std::uint8_t>(kScreenBytes, 0x5A),
                                                   std::vector<std::uint8_t>(kScreenBytes, 0)};
    return buffers[which];
}

void CopyScreen() {
    std::memcpy(ScreenBuffer(1).data(), ScreenBuffer(0).data(), kScreenBytes);
    benchmark::DoNotOptimize(ScreenBuffer(1).data());
    benchmark::ClobberMemory();
}

// As the program renders: into a picture kept from the rendering before.
void BM_Render(benchmark::State& state, std::string name, PixelPath path, DisplayStyle style, int srcW,
               int srcH) {
    SetPixelPath(path);
    if (ActivePixelPath() != path) state.SkipWithError("no such path here");
    const Picture src = samples::PatternPicture(srcW, srcH, 32);
    // Once before the timing: the first rendering touches fresh pages, which on this kind of
    // machine costs more than the rendering itself, and the program keeps its buffers.
    Picture work;
    RenderWorkFileInto(src, style, kScreenW, kScreenH, work);
    CopyScreen();
    TimePairs(state, name, CopyScreen, [&] {
        const bool ok = RenderWorkFileInto(src, style, kScreenW, kScreenH, work);
        benchmark::DoNotOptimize(work.Row(0));
        return ok;
    });
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

bool WriteFile(const std::string& path, const std::function<bool(int fd)>& write) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool ok = fd >= 0 && write(fd);
    if (fd >= 0) close(fd);
    return ok;
}

// The file as setting the wallpaper writes it: rendered at the file's depth (on the plain rows),
// then written from the rows in pieces; against the physical limit, the same bytes made
// beforehand and written with one call.
void BM_RenderAndWrite(benchmark::State& state, std::string name, DisplayStyle style, int srcW, int srcH,
                       int bits) {
    SetPixelPath(PixelPath::Plain);
    const Picture src = samples::PatternPicture(srcW, srcH, 24);
    const auto bytes = EncodeWorkFile(*RenderWorkFile(src, style, kScreenW, kScreenH), bits);
    const std::string path = TempFile();
    Picture work;
    RenderWorkFileInto(src, style, kScreenW, kScreenH, work, bits);
    TimePairs(
        state, name, [&] { WriteFile(path, [&](int fd) { return WriteAll(fd, *bytes); }); },
        [&] {
            return WriteFile(path, [&](int fd) {
                return RenderWorkFileInto(src, style, kScreenW, kScreenH, work, bits) &&
                       WriteWorkFile(work, bits, [fd](std::span<const std::uint8_t> piece) {
                           return WriteAll(fd, piece);
                       });
            });
        });
    unlink(path.c_str());
    SetPixelPath(PixelPath::Sse2);
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

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::pair<const char*, PixelPath> paths[] = {{"plain", PixelPath::Plain},
                                                       {"sse2", PixelPath::Sse2}};
    std::vector<std::string> names;
    names.reserve(16);  // the registered names point into it
    for (const auto& [pathName, path] : paths)
        for (const Style& s : kStyles) {
            names.push_back(std::string(pathName) + "_" + s.name);
            benchmark::RegisterBenchmark(names.back().c_str(), BM_Render, names.back(), path, s.style, s.w,
                                         s.h);
        }
    for (int bits : {16, 24, 32}) {
        names.push_back("render_write_tiled_" + std::to_string(bits));
        benchmark::RegisterBenchmark(names.back().c_str(), BM_RenderAndWrite, names.back(),
                                     DisplayStyle::Tiled, 300, 200, bits);
    }
    bench::Initialize(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\nmedian ratio of each iteration to its baseline timed right before it:\n");
    for (const std::string& name : names) {
        const auto it = Ratios().find(name);
        if (it == Ratios().end()) continue;
        const bool write = name.rfind("render_write", 0) == 0;
        std::printf("  %-24s %6.2f x %s\n", name.c_str(), Median(it->second),
                    write ? "one write call of the same bytes" : "memcpy of the 3840x2160x32 screen buffer");
    }
    benchmark::Shutdown();
    return 0;
}

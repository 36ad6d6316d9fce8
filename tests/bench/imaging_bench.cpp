// Decoding speed of the formats a 1920 x 1080 wallpaper comes in, each against a memcpy of the
// same number of pixel bytes measured in the same run; the ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "imaging/BmpCodec.h"
#include "imaging/PcxDecoder.h"
#include "imaging/TgaDecoder.h"
#include "bench/BenchSupport.h"
#include "support/ImagingSamples.h"

namespace {

using namespace mvpr;
using samples::Bytes;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Rows like a drawn wallpaper: flat stretches of varied length mixed with single pixels, so that
// the RLE formats see both runs and literals.
std::vector<std::vector<std::uint8_t>> Channel(unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::vector<std::uint8_t>> rows(kHeight, std::vector<std::uint8_t>(kWidth));
    for (auto& row : rows) {
        int x = 0;
        while (x < kWidth) {
            const int length = rng() % 4 == 0 ? 1 + static_cast<int>(rng() % 3) : 4 + static_cast<int>(rng() % 60);
            const auto value = static_cast<std::uint8_t>(rng());
            for (int i = 0; i < length && x < kWidth; ++i) row[static_cast<std::size_t>(x++)] = value;
        }
    }
    return rows;
}

const Bytes& Bmp24() {
    static const Bytes file = [] {
        return *EncodeBmp(samples::PatternPicture(kWidth, kHeight));
    }();
    return file;
}

const Bytes& Rle8() {
    static const Bytes file = [] {
        samples::BmpFile f;
        f.width = kWidth;
        f.height = kHeight;
        f.compression = kBiRle8;
        f.palette = samples::GreyPalette(256);
        f.pixels = samples::EncodeRle(Channel(1), false);
        return f.Build();
    }();
    return file;
}

const Bytes& Pcx24() {
    static const Bytes file = [] {
        const auto r = Channel(2), g = Channel(3), b = Channel(2);
        samples::PcxFile f;
        f.planes = 3;
        f.xMax = kWidth - 1;
        f.yMax = kHeight - 1;
        for (int y = 0; y < kHeight; ++y)
            for (const auto* plane : {&r, &g, &b}) {
                const auto& row = (*plane)[static_cast<std::size_t>(y)];
                samples::Append(f.data, samples::EncodePcxRle(Bytes(row.begin(), row.end())));
            }
        return f.Build();
    }();
    return file;
}

const Bytes& TgaRle() {
    static const Bytes file = [] {
        const auto c = Channel(4);
        Bytes raw;
        raw.reserve(static_cast<std::size_t>(kWidth) * kHeight * 3);
        for (const auto& row : c)
            for (std::uint8_t v : row) raw.insert(raw.end(), {v, static_cast<std::uint8_t>(v ^ 0x33), 7});
        samples::TgaFile f;
        f.imageType = 10;
        f.width = kWidth;
        f.height = kHeight;
        f.pixels = samples::EncodeTgaRle(raw, 3, kWidth);
        return f.Build();
    }();
    return file;
}

template <DecodeResult (*Decode)(std::span<const std::uint8_t>, const DecodeLimits&)>
void BM_Decode(benchmark::State& state, const Bytes& (*file)(), std::size_t pixelBytes) {
    const Bytes& bytes = file();
    if (!Decode(bytes, {}).Ok()) state.SkipWithError("sample does not decode");
    for (auto _ : state) {
        DecodeResult r = Decode(bytes, {});
        benchmark::DoNotOptimize(r.picture.Row(0));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * pixelBytes));
}

void BM_Memcpy(benchmark::State& state, std::size_t bytes) {
    std::vector<std::uint8_t> src(bytes, 0x5A), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

constexpr std::size_t kBytes24 = std::size_t{kWidth} * kHeight * 3;
constexpr std::size_t kBytes8 = std::size_t{kWidth} * kHeight;

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("memcpy_24bit_1080p", BM_Memcpy, kBytes24);
    benchmark::RegisterBenchmark("memcpy_8bit_1080p", BM_Memcpy, kBytes8);
    benchmark::RegisterBenchmark("bmp24_1080p", BM_Decode<DecodeBmp>, &Bmp24, kBytes24);
    benchmark::RegisterBenchmark("bmp_rle8_1080p", BM_Decode<DecodeBmp>, &Rle8, kBytes8);
    benchmark::RegisterBenchmark("pcx24_rle_1080p", BM_Decode<DecodePcx>, &Pcx24, kBytes24);
    benchmark::RegisterBenchmark("tga24_rle_1080p", BM_Decode<DecodeTga>, &TgaRle, kBytes24);
    bench::Initialize(argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::pair<const char*, const char*> pairs[] = {{"bmp24_1080p", "memcpy_24bit_1080p"},
                                                         {"bmp_rle8_1080p", "memcpy_8bit_1080p"},
                                                         {"pcx24_rle_1080p", "memcpy_24bit_1080p"},
                                                         {"tga24_rle_1080p", "memcpy_24bit_1080p"}};
    std::printf("\nratio to memcpy of the same pixel bytes (best of the repetitions):\n");
    for (const auto& [decode, baseline] : pairs) {
        const auto d = reporter.times.find(decode), b = reporter.times.find(baseline);
        if (d != reporter.times.end() && b != reporter.times.end() && b->second > 0)
            std::printf("  %-18s %6.2f x\n", decode, d->second / b->second);
    }
    benchmark::Shutdown();
    return 0;
}

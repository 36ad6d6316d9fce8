// Making a screen from a 4000 x 3000 photograph: the time of the conversion (decoded picture in,
// BMP bytes out) and its colour error against ImageMagick's
//   convert SRC -resize 320x400! -dither FloydSteinberg -colors 256 BMP3:out.bmp
// Each result is measured against the same picture resampled without reducing its colours (ours
// against our resampling, ImageMagick's against its own), as the mean RGB distance per pixel.
// Three photographs are made here: smooth light, texture and sensor noise.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "imaging/BmpCodec.h"
#include "imaging/ScreenConverter.h"

namespace {

using namespace mvpr;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
const char* const kMagick = "/usr/bin/convert-im6.q16";

// Smooth random values on a grid, several octaves: clouds, foliage, skin.
class Noise {
  public:
    explicit Noise(unsigned seed) {
        std::mt19937 rng(seed);
        for (auto& v : grid_) v = static_cast<float>(rng() % 1000) / 1000.0f;
    }
    float At(double x, double y, int octaves) const {
        float sum = 0, amplitude = 0.5f;
        for (int o = 0; o < octaves; ++o, x *= 2.03, y *= 2.03, amplitude *= 0.5f)
            sum += amplitude * Smooth(x, y);
        return sum;
    }

  private:
    float Smooth(double x, double y) const {
        const int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
        const float fx = static_cast<float>(x - xi), fy = static_cast<float>(y - yi);
        const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
        const float a = Cell(xi, yi), b = Cell(xi + 1, yi), c = Cell(xi, yi + 1), d = Cell(xi + 1, yi + 1);
        return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
    }
    float Cell(int x, int y) const { return grid_[static_cast<std::size_t>((x * 73 + y * 151) & 4095)]; }
    float grid_[4096];
};

std::uint8_t Clamp(double v) {
    return static_cast<std::uint8_t>(std::lround(std::fmin(255.0, std::fmax(0.0, v))));
}

// kind 0: a landscape (sky, hills, grass); 1: a portrait in soft light; 2: a city at dusk.
Picture Photograph(int kind) {
    Picture p = *Picture::Create(kWidth, kHeight, 24);
    const Noise texture(11 + kind), detail(97 + kind);
    std::mt19937 rng(5 + kind);
    std::normal_distribution<double> grain(0.0, 4.0);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* px = p.Row(y);
        const double v = static_cast<double>(y) / kHeight;
        for (int x = 0; x < kWidth; ++x, px += 3) {
            const double u = static_cast<double>(x) / kWidth;
            const double t = texture.At(u * 6, v * 6, 5), d = detail.At(u * 90, v * 90, 3);
            double r, g, b;
            if (kind == 0) {
                const double horizon = 0.45 + 0.08 * std::sin(u * 7.0) + 0.05 * t;
                if (v < horizon) {  // sky, clouds
                    const double s = v / horizon;
                    r = 90 + 150 * s + 60 * t;
                    g = 140 + 70 * s + 50 * t;
                    b = 235 - 60 * s + 20 * t;
                } else {  // hills and grass
                    const double s = (v - horizon) / (1 - horizon);
                    r = 60 + 70 * t + 50 * d - 30 * s;
                    g = 110 + 60 * t + 60 * d - 40 * s;
                    b = 30 + 30 * d;
                }
            } else if (kind == 1) {
                const double dx = (u - 0.5) * 1.33, dy = v - 0.42,
                             face = std::exp(-(dx * dx * 9 + dy * dy * 5));
                const double light = 0.6 + 0.4 * (1 - u);
                r = (70 + 160 * face + 25 * t) * light + 10 * d;
                g = (60 + 110 * face + 20 * t) * light + 8 * d;
                b = (80 + 80 * face + 40 * (1 - face) * t) * light + 6 * d;
            } else {
                const double sky = std::fmax(0.0, 0.55 - v);
                const double window =
                    (static_cast<int>(u * 160) % 3 == 0 && static_cast<int>(v * 120) % 4 == 1 && t > 0.45)
                        ? 1.0
                        : 0.0;
                r = 25 + 200 * sky * sky + 220 * window * d + 40 * t;
                g = 20 + 90 * sky + 170 * window * d + 30 * t;
                b = 55 + 160 * sky + 60 * window + 50 * t;
            }
            px[0] = Clamp(b + grain(rng));
            px[1] = Clamp(g + grain(rng));
            px[2] = Clamp(r + grain(rng));
        }
    }
    return p;
}

const std::vector<Picture>& Photographs() {
    static const std::vector<Picture> photos = {Photograph(0), Photograph(1), Photograph(2)};
    return photos;
}

// Mean RGB distance per pixel between two pictures of the same size.
double MeanError(const Picture& a, const Picture& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const Bgra p = a.ColorAt(x, y), q = b.ColorAt(x, y);
            sum += std::sqrt(
                double((p.r - q.r) * (p.r - q.r) + (p.g - q.g) * (p.g - q.g) + (p.b - q.b) * (p.b - q.b)));
        }
    return sum / (static_cast<double>(a.Width()) * a.Height());
}

std::optional<Picture> ReadBmp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    auto decoded = DecodeBmp(bytes);
    if (!decoded.Ok() || decoded.picture.Empty()) return std::nullopt;
    return std::move(decoded.picture);
}

bool WriteBmp(const std::string& path, const Picture& p) {
    const auto bytes = EncodeBmp(p);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
    return static_cast<bool>(out);
}

void MakeScreenFromPhotograph(benchmark::State& state) {
    const Picture& photo = Photographs()[static_cast<std::size_t>(state.range(0))];
    for (auto _ : state) benchmark::DoNotOptimize(MakeScreenFile(photo, ScreenOptions{}));
}
BENCHMARK(MakeScreenFromPhotograph)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(5);

void ReportQuality() {
    const char* names[] = {"landscape", "portrait", "city at dusk"};
    const bool magick = std::ifstream(kMagick).good();
    std::printf(
        "\nMean colour error per pixel against the unquantised 320 x 400 picture (lower is better)\n");
    std::printf("%-14s %10s %10s %12s\n", "photograph", "ours", "ours plain", "ImageMagick");
    const std::string dir = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    double worst = -1e9;
    for (std::size_t i = 0; i < 3; ++i) {
        const Picture& photo = Photographs()[i];
        const auto source = ScreenSource::From(photo);
        ScreenOptions plain;
        plain.dither = false;
        const auto reference = source->Render(ScreenOptions{});
        const double ours = MeanError(*source->Make(ScreenOptions{}), *reference);
        const double oursPlain = MeanError(*source->Make(plain), *reference);
        double theirs = -1;
        if (magick) {
            const std::string src = dir + "/mvpr-photo.bmp", out = dir + "/mvpr-im.bmp",
                              ref = dir + "/mvpr-im-ref.bmp";
            WriteBmp(src, photo);
            const std::string quantise = std::string(kMagick) + " " + src +
                                         " -resize 320x400! -dither FloydSteinberg -colors 256 BMP3:" + out;
            const std::string resample = std::string(kMagick) + " " + src + " -resize 320x400! BMP3:" + ref;
            if (std::system(quantise.c_str()) == 0 && std::system(resample.c_str()) == 0) {
                const auto a = ReadBmp(out), b = ReadBmp(ref);
                if (a && b) theirs = MeanError(*a, *b);
            }
            std::remove(src.c_str()), std::remove(out.c_str()), std::remove(ref.c_str());
        }
        std::printf("%-14s %10.3f %10.3f %12.3f\n", names[i], ours, oursPlain, theirs);
        if (theirs >= 0) worst = std::fmax(worst, ours - theirs);
    }
    if (!magick)
        std::printf("ImageMagick (%s) is not installed: no comparison.\n", kMagick);
    else
        std::printf("ours (dithered) against ImageMagick, worst photograph: %+.3f (%s)\n", worst,
                    worst <= 0 ? "no worse" : "WORSE");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Photographs();  // made before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ReportQuality();
    return 0;
}

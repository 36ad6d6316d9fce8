#include "imaging/ScreenConverter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "imaging/BmpCodec.h"
#include "imaging/Quantizer.h"
#include "imaging/Resample.h"
#include "imaging/ScreenRule.h"

namespace mvpr {

namespace {
// The 4:3 frame in square pixels: 320 stored pixels 2 wide, 400 stored pixels 1.2 high.
constexpr double kFrameWidth = 640.0;
constexpr double kFrameHeight = 480.0;
constexpr double kPixelWidth = 2.0;
constexpr double kPixelHeight = 1.2;
constexpr int kMaxSide = 1 << 30;

int RoundWithin(double v, int low, int high) {
    return std::clamp(static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9))), low, high);
}

bool SameRgb(const Bgra& a, const Bgra& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// The rectangle of a picture as a picture of its own, in the same depth where whole bytes hold
// a pixel (palette and masks kept), in 32 bits otherwise.
std::optional<Picture> Crop(const Picture& p, int x, int y, int w, int h) {
    if (p.BitsPerPixel() < 8) {
        const auto wide = ToBgra32(p);
        return wide ? Crop(*wide, x, y, w, h) : std::nullopt;
    }
    auto out = Picture::CreateForOverwrite(w, h, p.BitsPerPixel());
    if (!out) return std::nullopt;
    out->Palette() = p.Palette();
    if (p.HasExplicitMasks()) out->SetExplicitMasks(p.Masks());
    const std::size_t bytes = static_cast<std::size_t>(p.BitsPerPixel() / 8);
    for (int row = 0; row < h; ++row)
        std::memcpy(out->Row(row), p.Row(y + row) + static_cast<std::size_t>(x) * bytes,
                    static_cast<std::size_t>(w) * bytes);
    return out;
}
}  // namespace

bool ScreenLayout::HasBars() const {
    return dstX > 0 || dstY > 0 || dstWidth < kScreenWidth || dstHeight < kScreenHeight;
}

std::optional<ScreenLayout> LayOutScreen(int width, int height, const ScreenOptions& options) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;
    ScreenLayout l{0, 0, width, height, 0, 0, kScreenWidth, kScreenHeight};
    if (HasScreenSize(width, height)) return l;
    const double w = width, h = height;
    if (options.fit == ScreenFit::Fit) {
        const double scale = std::min(kFrameWidth / w, kFrameHeight / h);
        l.dstWidth = RoundWithin(w * scale / kPixelWidth, 1, kScreenWidth);
        l.dstHeight = RoundWithin(h * scale / kPixelHeight, 1, kScreenHeight);
        l.dstX = (kScreenWidth - l.dstWidth) / 2;
        l.dstY = (kScreenHeight - l.dstHeight) / 2;
    } else {
        const double scale = std::max(kFrameWidth / w, kFrameHeight / h);
        l.srcWidth = RoundWithin(kFrameWidth / scale, 1, width);
        l.srcHeight = RoundWithin(kFrameHeight / scale, 1, height);
        const double cx = std::isfinite(options.centreX) ? options.centreX : 0.5;
        const double cy = std::isfinite(options.centreY) ? options.centreY : 0.5;
        l.srcX = RoundWithin(cx * w - l.srcWidth / 2.0, 0, width - l.srcWidth);
        l.srcY = RoundWithin(cy * h - l.srcHeight / 2.0, 0, height - l.srcHeight);
    }
    return l;
}

std::optional<ScreenSource> ScreenSource::From(const Picture& picture) {
    try {
        return From(Picture(picture));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<ScreenSource> ScreenSource::From(Picture&& picture) {
    if (picture.Empty()) return std::nullopt;
    // Kept in its own depth: the resampler reads any depth a row at a time.
    ScreenSource s;
    s.width_ = picture.Width();
    s.height_ = picture.Height();
    s.colours_ = DistinctColours(picture, 256);
    s.pixels_ = std::move(picture);
    return s;
}

std::optional<ScreenSource> ScreenSource::FromAnimated(Picture&& indexed, ColourCycle cycle) {
    if (indexed.BitsPerPixel() != 8 || indexed.Palette().size() < 256 || cycle.first < 1 || cycle.first > 255)
        return std::nullopt;
    auto s = From(std::move(indexed));
    if (s) s->cycle_ = cycle;
    return s;
}

std::optional<ColourCycle> ScreenSource::Cycle(const ScreenOptions& options) const {
    if (cycle_) return cycle_;
    if (!options.movingBar) return std::nullopt;
    return ColourCycle{
        256 - std::clamp(options.movingBar->colours, MovingBar::kMinColours, MovingBar::kMaxColours)};
}

std::optional<ScreenSource> ScreenSource::Reduced(int maxSide) const {
    const int longer = std::max(pixels_.Width(), pixels_.Height());
    if (maxSide <= 0 || longer <= maxSide) return *this;
    const double f = static_cast<double>(maxSide) / longer;
    const int w = RoundWithin(pixels_.Width() * f, 1, maxSide),
              h = RoundWithin(pixels_.Height() * f, 1, maxSide);
    // An animated source stays indexed, so its cycling pixels stay what they are.
    auto smaller = cycle_ ? ScaleIndexExact(pixels_, w, h) : ResamplePicture(pixels_, w, h);
    if (!smaller) return std::nullopt;
    ScreenSource s;
    s.width_ = width_;
    s.height_ = height_;
    s.colours_ = colours_;
    s.cycle_ = cycle_;
    s.pixels_ = std::move(*smaller);
    return s;
}

std::optional<Picture> ScreenSource::Render(const ScreenOptions& options) const {
    const auto l = LayOutScreen(width_, height_, options);
    if (!l || pixels_.Empty()) return std::nullopt;
    // A reduced source holds fewer pixels than the picture the layout speaks of.
    const double fx = static_cast<double>(pixels_.Width()) / width_;
    const double fy = static_cast<double>(pixels_.Height()) / height_;
    const int x = RoundWithin(l->srcX * fx, 0, pixels_.Width() - 1);
    const int y = RoundWithin(l->srcY * fy, 0, pixels_.Height() - 1);
    const int w = RoundWithin(l->srcWidth * fx, 1, pixels_.Width() - x);
    const int h = RoundWithin(l->srcHeight * fy, 1, pixels_.Height() - y);
    std::optional<Picture> cropped;
    const Picture* part = &pixels_;
    if (w < pixels_.Width() || h < pixels_.Height()) {
        cropped = Crop(pixels_, x, y, w, h);
        if (!cropped) return std::nullopt;
        part = &*cropped;
    }
    auto placed = ResamplePicture(*part, l->dstWidth, l->dstHeight);
    if (!placed || !l->HasBars()) return placed;
    auto frame = Picture::CreateForOverwrite(kScreenWidth, kScreenHeight, 32);
    if (!frame) return std::nullopt;
    const Bgra bar{options.bars.b, options.bars.g, options.bars.r, 255};
    for (int row = 0; row < kScreenHeight; ++row) {
        auto* px = reinterpret_cast<Bgra*>(frame->Row(row));
        std::fill(px, px + kScreenWidth, bar);
        if (row >= l->dstY && row < l->dstY + l->dstHeight)
            std::memcpy(px + l->dstX, placed->Row(row - l->dstY), static_cast<std::size_t>(l->dstWidth) * 4);
    }
    return frame;
}

std::vector<Bgra> ScreenPalette(const Picture& rendered, const std::optional<std::vector<Bgra>>& exact,
                                std::optional<Bgra> bars, int maxColours) {
    maxColours = std::clamp(maxColours, 2, 256);
    std::vector<Bgra> fixed{Bgra{0, 0, 0, 0}};
    if (bars && !SameRgb(*bars, fixed[0])) fixed.push_back(Bgra{bars->b, bars->g, bars->r, 0});
    if (!exact) return BuildPalette(rendered, maxColours, fixed);
    std::vector<Bgra> palette = fixed;
    for (const Bgra& c : *exact)
        if (std::none_of(palette.begin(), palette.end(), [&](const Bgra& p) { return SameRgb(p, c); }))
            palette.push_back(Bgra{c.b, c.g, c.r, 0});
    // Too many colours of its own besides black (or a bar colour): the closest pair merges.
    while (palette.size() > static_cast<std::size_t>(maxColours)) {
        std::size_t drop = fixed.size();
        int best = INT32_MAX;
        for (std::size_t i = 0; i < palette.size(); ++i)
            for (std::size_t j = std::max(i + 1, fixed.size()); j < palette.size(); ++j) {
                const int dr = palette[i].r - palette[j].r, dg = palette[i].g - palette[j].g,
                          db = palette[i].b - palette[j].b;
                const int d = dr * dr + dg * dg + db * db;
                if (d < best) best = d, drop = j;
            }
        palette.erase(palette.begin() + static_cast<std::ptrdiff_t>(drop));
    }
    return palette;
}

int BarEntry(int x, int colours) {
    constexpr int kWave = 160;  // columns one turn of the ramp spans: two along the screen
    return colours > 0 ? (x * colours / kWave) % colours : 0;
}

Bgra BarColour(const MovingBar& bar, int k) {
    const int n = std::max(1, bar.colours);
    const double t = 1.0 - std::abs(2.0 * k - n) / n;  // 0 at the ends, 1 half way
    auto mix = [t](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + (b - a) * std::clamp(t, 0.0, 1.0)));
    };
    return Bgra{mix(bar.from.b, bar.to.b), mix(bar.from.g, bar.to.g), mix(bar.from.r, bar.to.r), 0};
}

std::optional<Picture> ScreenSource::KeepCycle(const Picture& rendered, const ScreenLayout& l,
                                               const ScreenOptions& options) const {
    const ColourCycle cycle = *cycle_;
    const auto& source = pixels_.Palette();
    // Drawn for the screen already: the file's own pixels and palette, to the byte.
    if (HasScreenSize(width_, height_) && pixels_.Width() == width_ && pixels_.Height() == height_)
        return pixels_;
    std::vector<Bgra> still(source.begin(), source.begin() + cycle.first);
    const auto palette = ScreenPalette(
        rendered, still, l.HasBars() ? std::optional<Bgra>(options.bars) : std::nullopt, cycle.first);
    auto screen = MapToPalette(rendered, palette, options.dither);
    if (!screen) return std::nullopt;
    std::copy(source.begin() + cycle.first, source.begin() + 256, screen->Palette().begin() + cycle.first);
    // A cycling pixel stays the entry it was, found by nearest neighbour as the display scales.
    const double fx = static_cast<double>(pixels_.Width()) / width_;
    const double fy = static_cast<double>(pixels_.Height()) / height_;
    for (int y = 0; y < l.dstHeight; ++y) {
        const double sy = (l.srcY + NearestSource(y, l.dstHeight, l.srcHeight)) * fy;
        const std::uint8_t* src = pixels_.Row(RoundWithin(std::floor(sy), 0, pixels_.Height() - 1));
        std::uint8_t* dst = screen->Row(l.dstY + y) + l.dstX;
        for (int x = 0; x < l.dstWidth; ++x) {
            const double sx = (l.srcX + NearestSource(x, l.dstWidth, l.srcWidth)) * fx;
            const std::uint8_t index = src[RoundWithin(std::floor(sx), 0, pixels_.Width() - 1)];
            if (index >= cycle.first) dst[x] = index;
        }
    }
    return screen;
}

std::optional<Picture> ScreenSource::AddBar(const Picture& rendered, const ScreenLayout& l,
                                            const ScreenOptions& options) const {
    MovingBar bar = *options.movingBar;
    bar.colours = std::clamp(bar.colours, MovingBar::kMinColours, MovingBar::kMaxColours);
    bar.height = std::clamp(bar.height, 1, MovingBar::kMaxHeight);
    const int first = 256 - bar.colours;
    const int above = kScreenHeight - bar.height;
    // The rest of the picture shares the entries before the bar's.
    auto top = Crop(rendered, 0, 0, kScreenWidth, above);
    if (!top) return std::nullopt;
    const auto palette =
        ScreenPalette(*top, colours_, l.HasBars() ? std::optional<Bgra>(options.bars) : std::nullopt, first);
    auto mapped = MapToPalette(*top, palette, options.dither);
    auto screen = Picture::Create(kScreenWidth, kScreenHeight, 8);
    if (!mapped || !screen) return std::nullopt;
    screen->Palette() = mapped->Palette();
    for (int k = 0; k < bar.colours; ++k)
        screen->Palette()[static_cast<std::size_t>(first + k)] = BarColour(bar, k);
    for (int y = 0; y < above; ++y) std::memcpy(screen->Row(y), mapped->Row(y), screen->Stride());
    for (int y = above; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x)
            screen->Row(y)[x] = static_cast<std::uint8_t>(first + BarEntry(x, bar.colours));
    return screen;
}

std::optional<Picture> ScreenSource::Make(const ScreenOptions& options) const {
    const auto rendered = Render(options);
    const auto l = LayOutScreen(width_, height_, options);
    if (!rendered || !l) return std::nullopt;
    if (cycle_) return KeepCycle(*rendered, *l, options);
    if (options.movingBar) return AddBar(*rendered, *l, options);
    const auto palette =
        ScreenPalette(*rendered, colours_, l->HasBars() ? std::optional<Bgra>(options.bars) : std::nullopt);
    return MapToPalette(*rendered, palette, options.dither);
}

std::optional<std::vector<std::uint8_t>> MakeScreenFile(const Picture& picture,
                                                        const ScreenOptions& options) {
    const auto source = ScreenSource::From(picture);
    if (!source) return std::nullopt;
    const auto screen = source->Make(options);
    if (!screen) return std::nullopt;
    return EncodeScreen(*screen, source->Cycle(options));
}

std::optional<std::vector<std::uint8_t>> EncodeScreen(const Picture& screen,
                                                      std::optional<ColourCycle> cycle) {
    auto file = EncodeBmp(screen);
    if (file && !file->empty()) SetCycleByte(*file, screen.BitsPerPixel() == 8 ? cycle : std::nullopt);
    return file;
}

}  // namespace mvpr

#include "imaging/StyleRenderer.h"

#include <cmath>
#include <cstring>

#include "imaging/BmpCodec.h"
#include "imaging/Resample.h"

namespace mvpr {

namespace {

constexpr int kBytesPerPixel = 4;

bool ValidSize(int w, int h) {
    return w > 0 && h > 0;
}

std::optional<int> ToInt(std::int64_t v) {
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int>(v);
}

// Copies `count` bytes of a repeating pattern whose first `period` bytes are already at `row`,
// doubling the copied stretch each time so a wide row takes a few large copies.
void RepeatPattern(std::uint8_t* row, std::size_t period, std::size_t total) {
    std::size_t done = period;
    while (done < total) {
        const std::size_t n = std::min(done, total - done);
        std::memcpy(row + done, row, n);
        done += n;
    }
}

// One screen row of tiles from source row `sy`: each tile's pixels in order, or every odd tile
// mirrored left to right. The first one or two tiles are written, the rest repeat them.
void TileRow(std::uint8_t* dst, const std::uint8_t* src, int srcW, int screenW, bool mirror) {
    const std::size_t tile = static_cast<std::size_t>(srcW) * kBytesPerPixel;
    const std::size_t total = static_cast<std::size_t>(screenW) * kBytesPerPixel;
    std::memcpy(dst, src, std::min(tile, total));
    if (tile >= total) return;
    std::size_t period = tile;
    if (mirror) {
        const std::size_t n = std::min(tile, total - tile) / kBytesPerPixel;
        std::uint8_t* out = dst + tile;
        const std::uint8_t* in = src + tile - kBytesPerPixel;
        for (std::size_t k = 0; k < n; ++k, out += kBytesPerPixel, in -= kBytesPerPixel)
            std::memcpy(out, in, kBytesPerPixel);
        period = 2 * tile;
    }
    if (period < total) RepeatPattern(dst, period, total);
}

std::optional<Picture> RenderTiles(const Picture& src, int screenW, int screenH, bool mirror) {
    auto source = ToBgra32(src);
    if (!source) return std::nullopt;
    auto out = Picture::CreateForOverwrite(screenW, screenH, 32);
    if (!out) return std::nullopt;
    const int h = src.Height();
    // The first tile row (two when mirrored) is built; every later row repeats the row one
    // period above it.
    const int period = mirror ? 2 * std::min(h, screenH) : h;
    const std::size_t rowBytes = static_cast<std::size_t>(screenW) * kBytesPerPixel;
    for (int y = 0; y < screenH; ++y) {
        if (y >= period) {
            std::memcpy(out->Row(y), out->Row(y - period), rowBytes);
            continue;
        }
        const int j = y / h, offset = y % h;
        const int sy = mirror && j % 2 == 1 ? h - 1 - offset : offset;
        TileRow(out->Row(y), source->Row(sy), src.Width(), screenW, mirror);
    }
    return out;
}

}  // namespace

std::optional<PixelRect> CentredPlacement(int srcW, int srcH, int clientW, int clientH) {
    if (!ValidSize(srcW, srcH) || clientW < 0 || clientH < 0) return std::nullopt;
    // Integer division truncates toward zero: a difference of -3 gives -1.
    const auto left = ToInt((std::int64_t{clientW} - srcW) / 2);
    const auto top = ToInt((std::int64_t{clientH} - srcH) / 2);
    if (!left || !top) return std::nullopt;
    return PixelRect{*left, *top, srcW, srcH};
}

std::optional<PixelRect> FitPlacement(int srcW, int srcH, int screenW, int screenH) {
    if (!ValidSize(srcW, srcH) || !ValidSize(screenW, screenH)) return std::nullopt;
    const double pictureRatio = static_cast<double>(srcW) / srcH;
    const double screenRatio = static_cast<double>(screenW) / screenH;
    // nearbyint rounds to the even neighbour in the default rounding mode.
    double width = screenW, height = screenH;
    if (pictureRatio > screenRatio)
        height = std::nearbyint(srcH * (static_cast<double>(screenW) / srcW));
    else
        width = std::nearbyint(srcW * (static_cast<double>(screenH) / srcH));
    // A sliver of a picture still gets a pixel: an empty wallpaper file would be a broken one.
    const int w = std::max(1, static_cast<int>(std::min(width, static_cast<double>(screenW))));
    const int h = std::max(1, static_cast<int>(std::min(height, static_cast<double>(screenH))));
    return PixelRect{(screenW - w) / 2, (screenH - h) / 2, w, h};
}

std::optional<TileGrid> TileCount(int srcW, int srcH, int screenW, int screenH) {
    if (!ValidSize(srcW, srcH) || screenW < 0 || screenH < 0) return std::nullopt;
    return TileGrid{screenW / srcW, screenH / srcH};
}

MirrorRect MirrorTile(int i, int j, int w, int h) {
    const std::int64_t x = std::int64_t{i} * w, y = std::int64_t{j} * h;
    MirrorRect r;
    if (i % 2 == 0)
        r.left = x, r.right = x + w;
    else
        r.left = x + w - 1, r.right = x - 1;
    if (j % 2 == 0)
        r.top = y, r.bottom = y + h;
    else
        r.top = y + h - 1, r.bottom = y - 1;
    return r;
}

std::optional<Picture> RenderWorkFile(const Picture& src, DisplayStyle style, int screenW, int screenH) {
    if (!ValidSize(src.Width(), src.Height()) || !ValidSize(screenW, screenH)) return std::nullopt;
    switch (style) {
        case DisplayStyle::Centred:
        case DisplayStyle::Stretched: return ToBgra32(src);
        case DisplayStyle::Tiled: return RenderTiles(src, screenW, screenH, false);
        case DisplayStyle::Mirror: return RenderTiles(src, screenW, screenH, true);
        case DisplayStyle::Fit2Screen: {
            const auto fit = FitPlacement(src.Width(), src.Height(), screenW, screenH);
            return fit ? ResamplePicture(src, fit->width, fit->height) : std::nullopt;
        }
    }
    return std::nullopt;
}

PixelRect ViewPlacement(DisplayStyle style, int workW, int workH, int clientW, int clientH, int screenW,
                        int screenH) {
    switch (style) {
        case DisplayStyle::Centred:
            if (auto r = CentredPlacement(workW, workH, clientW, clientH)) return *r;
            break;
        case DisplayStyle::Stretched: return {0, 0, clientW, clientH};
        case DisplayStyle::Fit2Screen:
            if (ValidSize(workW, workH)) return {(screenW - workW) / 2, (screenH - workH) / 2, workW, workH};
            break;
        case DisplayStyle::Tiled:
        case DisplayStyle::Mirror: break;
    }
    return {0, 0, workW, workH};
}

std::optional<std::vector<std::uint8_t>> EncodeWorkFile(const Picture& work, int displayBits) {
    if (work.Empty()) return std::nullopt;
    const int bits = displayBits == 16 || displayBits == 32 ? displayBits : 24;
    if (bits == 32 && work.BitsPerPixel() == 32 && !work.HasExplicitMasks()) return EncodeBmp(work);
    auto out = Picture::CreateForOverwrite(work.Width(), work.Height(), bits);
    if (!out) return std::nullopt;
    const bool plain32 = work.BitsPerPixel() == 32 && !work.HasExplicitMasks();
    for (int y = 0; y < work.Height(); ++y) {
        std::uint8_t* row = out->Row(y);
        const std::uint8_t* in = work.Row(y);
        // The padding at the row's end is part of the file: no stray bytes in it.
        std::memset(row + out->Stride() - 4, 0, 4);
        for (int x = 0; x < work.Width(); ++x, in += kBytesPerPixel) {
            const Bgra c = plain32 ? Bgra{in[0], in[1], in[2], in[3]} : work.ColorAt(x, y);
            if (bits == 16) {
                // Plain 16-bit RGB is 5-5-5; each channel rounded to its nearest level.
                const auto five = [](std::uint8_t v) { return static_cast<unsigned>((v * 31 + 127) / 255); };
                const unsigned v = five(c.r) << 10 | five(c.g) << 5 | five(c.b);
                row[2 * x] = static_cast<std::uint8_t>(v), row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
            } else if (bits == 24) {
                row[3 * x] = c.b, row[3 * x + 1] = c.g, row[3 * x + 2] = c.r;
            } else {
                row[4 * x] = c.b, row[4 * x + 1] = c.g, row[4 * x + 2] = c.r, row[4 * x + 3] = c.a;
            }
        }
    }
    return EncodeBmp(*out);
}

}  // namespace mvpr

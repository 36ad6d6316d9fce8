#include "imaging/StyleRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/BmpCodec.h"
#include "imaging/ByteOrder.h"
#include "imaging/PixelRows.h"
#include "imaging/Resample.h"

namespace mvpr {

namespace {

constexpr int kBytesPerPixel = 4;

// Plain 16-bit RGB is 5-5-5; each channel rounded to its nearest level, looked up already in its
// place (blue, green, red).
struct FiveBitLevels {
    std::uint16_t b[256], g[256], r[256];
};
constexpr FiveBitLevels MakeFiveBitLevels() {
    FiveBitLevels t{};
    for (unsigned v = 0; v < 256; ++v) {
        const auto five = static_cast<std::uint16_t>((v * 31 + 127) / 255);
        t.b[v] = five;
        t.g[v] = static_cast<std::uint16_t>(five << 5);
        t.r[v] = static_cast<std::uint16_t>(five << 10);
    }
    return t;
}
constexpr FiveBitLevels kFiveBitLevels = MakeFiveBitLevels();

// The 5-5-5 value of a 32-bit pixel B G R A (as a little-endian word).
inline std::uint32_t FiveBits(std::uint32_t p) {
    return kFiveBitLevels.b[p & 0xFF] | kFiveBitLevels.g[(p >> 8) & 0xFF] |
           kFiveBitLevels.r[(p >> 16) & 0xFF];
}

// Pixels B G R A as the file's pixels: 5-5-5 for 16 bits, B G R for 24, copied for 32.
void FileRowFromBgra(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels, int bits) {
    if (bits == 32) {
        std::memcpy(out, in, pixels * kBytesPerPixel);
    } else if (bits == 24) {
        rows::Bgr24FromBgra(in, out, pixels);
    } else {
        // Two pixels a step, read and written as words.
        std::size_t x = 0;
        for (; x + 2 <= pixels; x += 2, in += 2 * kBytesPerPixel) {
            std::uint32_t p0, p1;
            std::memcpy(&p0, in, 4);
            std::memcpy(&p1, in + 4, 4);
            const std::uint32_t v = FiveBits(p0) | FiveBits(p1) << 16;
            std::memcpy(out + 2 * x, &v, 4);
        }
        if (x < pixels) {
            std::uint32_t p0;
            std::memcpy(&p0, in, 4);
            bytes::PutLe16(out + 2 * x, FiveBits(p0));
        }
    }
}

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

bool RenderTiles(const Picture& src, int screenW, int screenH, bool mirror, int fileBits, Picture& work) {
    auto source = ToBgra32(src);
    if (!source || !work.Reshape(screenW, screenH, fileBits)) return false;
    Picture* out = &work;
    const int h = src.Height();
    // The first tile row (two when mirrored) is built; every later row repeats the row one
    // period above it.
    const int period = mirror ? 2 * std::min(h, screenH) : h;
    // Below 32 bits one period of a row (a tile, two when mirrored) is built in 32 bits, made
    // into the file's pixels once and repeated across as bytes: no pixel is converted twice.
    const auto across = static_cast<std::size_t>(std::min(screenW, mirror ? 2 * src.Width() : src.Width()));
    const auto fileBytes = static_cast<std::size_t>(fileBits / 8);
    const std::size_t used = static_cast<std::size_t>(screenW) * fileBytes;
    std::vector<std::uint8_t> pattern(fileBits == 32 ? 0 : across * kBytesPerPixel);
    for (int y = 0; y < screenH; ++y) {
        if (y >= period) {
            std::memcpy(out->Row(y), out->Row(y - period), out->Stride());
            continue;
        }
        const int j = y / h, offset = y % h;
        const int sy = mirror && j % 2 == 1 ? h - 1 - offset : offset;
        if (fileBits == 32) {
            TileRow(out->Row(y), source->Row(sy), src.Width(), screenW, mirror);
            continue;
        }
        TileRow(pattern.data(), source->Row(sy), src.Width(), static_cast<int>(across), mirror);
        FileRowFromBgra(pattern.data(), out->Row(y), across, fileBits);
        RepeatPattern(out->Row(y), across * fileBytes, used);
        std::memset(out->Row(y) + used, 0, out->Stride() - used);  // the file's row padding
    }
    return true;
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

int WorkFileBits(int displayBits) {
    return displayBits == 16 || displayBits == 32 ? displayBits : 24;
}

bool RenderWorkFileInto(const Picture& src, DisplayStyle style, int screenW, int screenH, Picture& work,
                        int fileBits) {
    if (!ValidSize(src.Width(), src.Height()) || !ValidSize(screenW, screenH) || &src == &work) return false;
    fileBits = WorkFileBits(fileBits);
    switch (style) {
        case DisplayStyle::Centred:
        case DisplayStyle::Stretched: return ToBgra32Into(src, work);
        case DisplayStyle::Tiled: return RenderTiles(src, screenW, screenH, false, fileBits, work);
        case DisplayStyle::Mirror: return RenderTiles(src, screenW, screenH, true, fileBits, work);
        case DisplayStyle::Fit2Screen: {
            const auto fit = FitPlacement(src.Width(), src.Height(), screenW, screenH);
            return fit && ResampleInto(src, fit->width, fit->height, work);
        }
    }
    return false;
}

std::optional<Picture> RenderWorkFile(const Picture& src, DisplayStyle style, int screenW, int screenH,
                                      int fileBits) {
    Picture work;
    if (!RenderWorkFileInto(src, style, screenW, screenH, work, fileBits)) return std::nullopt;
    return work;
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

bool WriteWorkFile(const Picture& work, int displayBits,
                   const std::function<bool(std::span<const std::uint8_t>)>& write, std::size_t piece) {
    if (work.Empty()) return false;
    const int bits = WorkFileBits(displayBits);
    const auto stride = Picture::StrideFor(work.Width(), bits);
    constexpr std::size_t kHeaderBytes = 14 + 40;
    if (!stride || *stride > (UINT32_MAX - kHeaderBytes) / static_cast<std::size_t>(work.Height()))
        return false;
    const std::size_t imageSize = *stride * static_cast<std::size_t>(work.Height());
    // The header of a plain RGB bitmap without palette, as the BMP writer makes it.
    std::uint8_t header[kHeaderBytes] = {'B', 'M'};
    bytes::PutLe32(header + 2, static_cast<std::uint32_t>(kHeaderBytes + imageSize));
    bytes::PutLe32(header + 10, kHeaderBytes);
    bytes::PutLe32(header + 14, 40);
    bytes::PutLe32(header + 18, static_cast<std::uint32_t>(work.Width()));
    bytes::PutLe32(header + 22, static_cast<std::uint32_t>(work.Height()));
    bytes::PutLe16(header + 26, 1);
    bytes::PutLe16(header + 28, static_cast<std::uint32_t>(bits));
    bytes::PutLe32(header + 34, static_cast<std::uint32_t>(imageSize));
    bytes::PutLe32(header + 38, 2835);  // 72 dpi, as paint programs write
    bytes::PutLe32(header + 42, 2835);
    if (!write({header, kHeaderBytes})) return false;

    const bool plain32 = work.BitsPerPixel() == 32 && !work.HasExplicitMasks();
    // Rows made at the file's depth already (the tiled styles) are copied as they are.
    const bool asFile = work.BitsPerPixel() == bits && !work.HasExplicitMasks();
    const std::size_t used = static_cast<std::size_t>(work.Width()) * static_cast<std::size_t>(bits / 8);
    // Rows go bottom-up into a buffer of about `piece` bytes, written whenever it is full: few
    // large writes, and never a second copy of the whole file.
    std::vector<std::uint8_t> buffer;
    const int rowsPerPiece = static_cast<int>(std::max<std::size_t>(1, piece / *stride));
    for (int top = work.Height(); top > 0;) {
        const int rows = std::min(rowsPerPiece, top);
        buffer.resize(static_cast<std::size_t>(rows) * *stride);
        std::uint8_t* row = buffer.data();
        for (int y = top - 1; y >= top - rows; --y, row += *stride) {
            const std::uint8_t* in = work.Row(y);
            // The padding at the row's end is part of the file: no stray bytes in it.
            std::memset(row + used, 0, *stride - used);
            if (asFile) {
                std::memcpy(row, in, used);
                continue;
            }
            if (plain32) {
                FileRowFromBgra(in, row, static_cast<std::size_t>(work.Width()), bits);
                continue;
            }
            for (int x = 0; x < work.Width(); ++x) {
                const Bgra c = work.ColorAt(x, y);
                if (bits == 16) {
                    const unsigned v = kFiveBitLevels.r[c.r] | kFiveBitLevels.g[c.g] | kFiveBitLevels.b[c.b];
                    row[2 * x] = static_cast<std::uint8_t>(v),
                            row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                } else if (bits == 24) {
                    row[3 * x] = c.b, row[3 * x + 1] = c.g, row[3 * x + 2] = c.r;
                } else {
                    row[4 * x] = c.b, row[4 * x + 1] = c.g, row[4 * x + 2] = c.r, row[4 * x + 3] = c.a;
                }
            }
        }
        if (!write({buffer.data(), buffer.size()})) return false;
        top -= rows;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> EncodeWorkFile(const Picture& work, int displayBits) {
    std::vector<std::uint8_t> out;
    const bool made = WriteWorkFile(work, displayBits, [&out](std::span<const std::uint8_t> piece) {
        out.insert(out.end(), piece.begin(), piece.end());
        return true;
    });
    if (!made) return std::nullopt;
    return out;
}

}  // namespace mvpr

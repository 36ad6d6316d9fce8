#include "imaging/BmpCodec.h"

#include <algorithm>
#include <cstring>

#include "imaging/ByteOrder.h"
#include "imaging/ColourCycle.h"

namespace mvpr {

using bytes::Fits;
using bytes::Le16;
using bytes::Le32;
using bytes::LeI32;

namespace {

constexpr std::size_t kFileHeaderSize = 14;

struct Header {
    std::uint32_t size = 0;
    int width = 0;
    int height = 0;  // rows, always positive here
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    std::size_t paletteEntrySize = 4;
};

bool KnownHeaderSize(std::uint32_t size) {
    switch (size) {
        case 12: case 40: case 52: case 56: case 108: case 124: return true;
        default: return false;
    }
}

DecodeStatus CheckVariant(const Header& h) {
    const bool core = h.size == 12;
    switch (h.compression) {
        case kBiRgb:
            switch (h.bitsPerPixel) {
                case 1: case 4: case 8: case 24: return DecodeStatus::Ok;
                case 16: case 32: return core ? DecodeStatus::Unsupported : DecodeStatus::Ok;
                default: return DecodeStatus::Unsupported;
            }
        // Windows keeps RLE bitmaps bottom-up only.
        case kBiRle8: return h.bitsPerPixel == 8 && !h.topDown ? DecodeStatus::Ok : DecodeStatus::Unsupported;
        case kBiRle4: return h.bitsPerPixel == 4 && !h.topDown ? DecodeStatus::Ok : DecodeStatus::Unsupported;
        case kBiBitfields:
        case kBiAlphaBitfields:
            return h.bitsPerPixel == 16 || h.bitsPerPixel == 32 ? DecodeStatus::Ok : DecodeStatus::Unsupported;
        default: return DecodeStatus::Unsupported;
    }
}

void PutPixel4(std::uint8_t* row, int x, unsigned index) {
    std::uint8_t& b = row[x >> 1];
    b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (index & 0x0F))
                : static_cast<std::uint8_t>((b & 0x0F) | (index << 4));
}

// Expands BI_RLE8 / BI_RLE4 into a zero-filled bottom-up picture. Runs and deltas are clipped
// to the picture; pixels never written stay index 0. The data must end the picture: an
// end-of-bitmap mark, or an end of line (or delta) past the last row.
DecodeStatus DecodeRle(std::span<const std::uint8_t> data, Picture& picture, bool rle4) {
    const int width = picture.Width();
    const int height = picture.Height();
    const std::size_t n = data.size();
    std::size_t i = 0;
    int x = 0;
    int row = 0;  // in file order: 0 is the bottom row
    std::uint8_t* dst = picture.Row(height - 1);

    while (true) {
        if (n - i < 2) return DecodeStatus::Truncated;
        const unsigned count = data[i];
        const unsigned value = data[i + 1];
        i += 2;
        if (count > 0) {
            const int end = std::min(width, x + static_cast<int>(count));
            if (!rle4) {
                if (end > x) std::memset(dst + x, static_cast<int>(value), static_cast<std::size_t>(end - x));
            } else {
                for (int k = 0; x + k < end; ++k) PutPixel4(dst, x + k, (k & 1) ? value & 0x0F : value >> 4);
            }
            x = end;
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                if (++row >= height) return DecodeStatus::Ok;
                dst = picture.Row(height - 1 - row);
                break;
            case 1: return DecodeStatus::Ok;  // end of bitmap
            case 2: {                         // delta: right and up
                if (n - i < 2) return DecodeStatus::Truncated;
                x = std::min(width, x + data[i]);
                row += data[i + 1];
                i += 2;
                if (row >= height) return DecodeStatus::Ok;
                dst = picture.Row(height - 1 - row);
                break;
            }
            default: {  // absolute run of `value` pixels, padded to a 16-bit boundary
                const std::size_t byteCount = rle4 ? (value + 1) / 2 : value;
                if (n - i < byteCount) return DecodeStatus::Truncated;
                const std::uint8_t* src = data.data() + i;
                const int end = std::min(width, x + static_cast<int>(value));
                if (!rle4) {
                    if (end > x) std::memcpy(dst + x, src, static_cast<std::size_t>(end - x));
                } else {
                    for (int k = 0; x + k < end; ++k) {
                        const unsigned b = src[k >> 1];
                        PutPixel4(dst, x + k, (k & 1) ? b & 0x0F : b >> 4);
                    }
                }
                x = end;
                // A missing pad byte at the very end is harmless: the next read reports it.
                i += std::min(n - i, byteCount + (byteCount & 1));
                break;
            }
        }
    }
}

}  // namespace

std::string_view DecodeStatusName(DecodeStatus status) {
    switch (status) {
        case DecodeStatus::Ok: return "Ok";
        case DecodeStatus::NotThisFormat: return "NotThisFormat";
        case DecodeStatus::Unsupported: return "Unsupported";
        case DecodeStatus::Corrupt: return "Corrupt";
        case DecodeStatus::Truncated: return "Truncated";
        case DecodeStatus::TooLarge: return "TooLarge";
        case DecodeStatus::OutOfMemory: return "OutOfMemory";
    }
    return "?";
}

DecodeResult DecodeBmp(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    const std::size_t size = file.size();
    if (size == 0) return {DecodeStatus::Ok, {}};
    if (size < 2 || file[0] != 'B' || file[1] != 'M') return {DecodeStatus::NotThisFormat, {}};
    if (size < kFileHeaderSize + 4) return {DecodeStatus::Truncated, {}};
    const std::uint8_t* p = file.data();
    const std::uint32_t offBits = Le32(p + 10);

    Header h;
    h.size = Le32(p + 14);
    if (!KnownHeaderSize(h.size)) return {DecodeStatus::Unsupported, {}};
    if (!Fits(size, kFileHeaderSize, h.size)) return {DecodeStatus::Truncated, {}};
    const std::uint8_t* ih = p + kFileHeaderSize;
    if (h.size == 12) {
        h.width = Le16(ih + 4);
        h.height = Le16(ih + 6);
        h.bitsPerPixel = Le16(ih + 10);
        h.paletteEntrySize = 3;
    } else {
        h.width = LeI32(ih + 4);
        const std::int32_t rawHeight = LeI32(ih + 8);
        if (rawHeight == INT32_MIN) return {DecodeStatus::Corrupt, {}};
        h.topDown = rawHeight < 0;
        h.height = h.topDown ? -rawHeight : rawHeight;
        h.bitsPerPixel = Le16(ih + 14);
        h.compression = Le32(ih + 16);
        h.colorsUsed = Le32(ih + 32);
    }
    if (h.width <= 0 || h.height <= 0) return {DecodeStatus::Corrupt, {}};
    if (const DecodeStatus s = CheckVariant(h); s != DecodeStatus::Ok) return {s, {}};
    if (!limits.Allows(h.width, h.height)) return {DecodeStatus::TooLarge, {}};

    std::size_t pos = kFileHeaderSize + h.size;
    ChannelMasks masks;
    const bool bitfields = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
    if (bitfields) {
        if (h.size == 40) {
            // The masks follow a 40-byte header, three of them (four for the CE variant).
            const std::size_t count = h.compression == kBiAlphaBitfields ? 4 : 3;
            if (!Fits(size, pos, count * 4)) return {DecodeStatus::Truncated, {}};
            masks = {Le32(p + pos), Le32(p + pos + 4), Le32(p + pos + 8), count == 4 ? Le32(p + pos + 12) : 0};
            pos += count * 4;
        } else {
            masks = {Le32(ih + 40), Le32(ih + 44), Le32(ih + 48), h.size >= 56 ? Le32(ih + 52) : 0};
        }
    }

    // A bfOffBits that points into the headers (0 is common) is ignored; one that points into
    // the colour table cuts the table short, as some writers do for small palettes.
    const bool offsetUsable = offBits >= pos;
    if (offsetUsable && offBits > size) return {DecodeStatus::Truncated, {}};
    const std::size_t tableEnd = offsetUsable ? offBits : size;
    std::size_t tableCount = h.colorsUsed;
    if (h.bitsPerPixel <= 8) {
        const std::size_t full = std::size_t{1} << h.bitsPerPixel;
        tableCount = tableCount == 0 || tableCount > full ? full : tableCount;
    } else if (tableCount > (size - pos) / h.paletteEntrySize) {
        tableCount = 0;  // a hint table that is not there: only bfOffBits could skip it
    }
    tableCount = std::min(tableCount, (tableEnd - std::min(tableEnd, pos)) / h.paletteEntrySize);
    const std::size_t tablePos = pos;
    const std::size_t pixelPos = offsetUsable ? offBits : pos + tableCount * h.paletteEntrySize;

    const std::size_t stride = *Picture::StrideFor(h.width, h.bitsPerPixel);
    const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    std::size_t total = 0;
    if (__builtin_mul_overflow(stride, static_cast<std::size_t>(h.height), &total) || total > limits.maxBytes)
        return {DecodeStatus::TooLarge, {}};
    // The last row needs no padding: some writers stop at its last pixel.
    const std::size_t rowBytes = (static_cast<std::size_t>(h.width) * static_cast<std::size_t>(h.bitsPerPixel) + 7) / 8;
    if (!rle && !Fits(size, pixelPos, total - stride + rowBytes)) return {DecodeStatus::Truncated, {}};

    auto created = rle ? Picture::Create(h.width, h.height, h.bitsPerPixel, limits)
                       : Picture::CreateForOverwrite(h.width, h.height, h.bitsPerPixel, limits);
    if (!created) return {DecodeStatus::OutOfMemory, {}};
    Picture picture = std::move(*created);

    for (std::size_t i = 0; i < tableCount; ++i) {
        const std::uint8_t* e = p + tablePos + i * h.paletteEntrySize;
        if (h.bitsPerPixel <= 8)
            picture.Palette()[i] = {e[0], e[1], e[2], h.paletteEntrySize == 4 ? e[3] : std::uint8_t{0}};
    }
    if (bitfields) picture.SetExplicitMasks(masks);

    if (rle) {
        const DecodeStatus s = DecodeRle(file.subspan(pixelPos), picture, h.compression == kBiRle4);
        if (s != DecodeStatus::Ok) return {s, {}};
        return {DecodeStatus::Ok, std::move(picture), CycleOfBmpHeader(file)};
    }

    const std::uint8_t* src = p + pixelPos;
    for (int y = 0; y < h.height; ++y, src += stride) {
        std::uint8_t* dst = picture.Row(h.topDown ? y : h.height - 1 - y);
        std::memcpy(dst, src, rowBytes);
        std::memset(dst + rowBytes, 0, stride - rowBytes);
    }
    return {DecodeStatus::Ok, std::move(picture), CycleOfBmpHeader(file)};
}

std::optional<std::vector<std::uint8_t>> EncodeBmp(const Picture& picture) {
    if (picture.Empty()) return std::vector<std::uint8_t>{};
    const bool explicitMasks = picture.HasExplicitMasks();
    const ChannelMasks& m = picture.Masks();
    const std::uint32_t headerSize = explicitMasks && m.alpha != 0 ? 108 : 40;
    const std::size_t maskBytes = explicitMasks && headerSize == 40 ? 12 : 0;
    const std::size_t paletteBytes = picture.Palette().size() * 4;
    const std::size_t offBits = kFileHeaderSize + headerSize + maskBytes + paletteBytes;
    const std::size_t imageSize = picture.ByteSize();
    if (imageSize > UINT32_MAX - offBits) return std::nullopt;

    std::vector<std::uint8_t> out(offBits + imageSize);
    std::uint8_t* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    bytes::PutLe32(p + 2, static_cast<std::uint32_t>(out.size()));
    bytes::PutLe32(p + 10, static_cast<std::uint32_t>(offBits));
    std::uint8_t* ih = p + kFileHeaderSize;
    bytes::PutLe32(ih, headerSize);
    bytes::PutLe32(ih + 4, static_cast<std::uint32_t>(picture.Width()));
    bytes::PutLe32(ih + 8, static_cast<std::uint32_t>(picture.Height()));
    bytes::PutLe16(ih + 12, 1);
    bytes::PutLe16(ih + 14, static_cast<std::uint32_t>(picture.BitsPerPixel()));
    bytes::PutLe32(ih + 16, explicitMasks ? kBiBitfields : kBiRgb);
    bytes::PutLe32(ih + 20, static_cast<std::uint32_t>(imageSize));
    bytes::PutLe32(ih + 24, 2835);  // 72 dpi, as paint programs write
    bytes::PutLe32(ih + 28, 2835);
    if (explicitMasks) {
        // Right after a 40-byte header, or inside a V4 header: the same offset either way.
        bytes::PutLe32(ih + 40, m.red);
        bytes::PutLe32(ih + 44, m.green);
        bytes::PutLe32(ih + 48, m.blue);
        if (headerSize == 108) {
            bytes::PutLe32(ih + 52, m.alpha);
            bytes::PutLe32(ih + 56, 0x73524742);  // LCS_sRGB
        }
    }
    std::uint8_t* pal = ih + headerSize + maskBytes;
    for (const Bgra& c : picture.Palette()) {
        pal[0] = c.b;
        pal[1] = c.g;
        pal[2] = c.r;
        pal[3] = c.a;
        pal += 4;
    }
    std::uint8_t* dst = p + offBits;
    for (int y = picture.Height() - 1; y >= 0; --y, dst += picture.Stride())
        std::memcpy(dst, picture.Row(y), picture.Stride());
    return out;
}

}  // namespace mvpr

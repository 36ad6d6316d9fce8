#include "imaging/TgaDecoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/ByteOrder.h"
#include "imaging/PixelFill.h"

namespace mvpr {

using bytes::Fits;
using bytes::Le16;

namespace {

constexpr std::size_t kHeaderSize = 18;

enum class Kind { ColorMapped, TrueColor, Grey };

struct Header {
    unsigned idLength, mapType, imageType;
    unsigned mapFirst, mapLength, mapEntryBits;
    int width, height;
    unsigned depth, descriptor;
    Kind kind;
    bool rle;
};

bool ValidMapEntryBits(unsigned bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

bool ParseHeader(std::span<const std::uint8_t> file, Header& h) {
    if (file.size() < kHeaderSize) return false;
    const std::uint8_t* p = file.data();
    h = {p[0], p[1], p[2], Le16(p + 3), Le16(p + 5), p[7], Le16(p + 12), Le16(p + 14), p[16], p[17],
         Kind::TrueColor, false};
    if (h.mapType > 1) return false;
    switch (h.imageType & ~8u) {
        case 1: h.kind = Kind::ColorMapped; break;
        case 2: h.kind = Kind::TrueColor; break;
        case 3: h.kind = Kind::Grey; break;
        default: return false;
    }
    if (h.imageType > 11) return false;
    h.rle = (h.imageType & 8) != 0;
    if (h.mapType == 1 && !ValidMapEntryBits(h.mapEntryBits)) return false;
    switch (h.kind) {
        case Kind::ColorMapped:
            if (h.mapType != 1 || h.mapLength == 0 || (h.depth != 8 && h.depth != 16)) return false;
            break;
        case Kind::TrueColor:
            if (h.depth != 15 && h.depth != 16 && h.depth != 24 && h.depth != 32) return false;
            break;
        case Kind::Grey:
            if (h.depth != 8) return false;
            break;
    }
    return h.width > 0 && h.height > 0 && (h.descriptor & 0xC0) == 0;
}

Bgra MapEntry(const std::uint8_t* e, unsigned bits) {
    if (bits == 15 || bits == 16) {
        const unsigned v = Le16(e);
        // Rounded like the masks of a 16-bit DIB, so both give the same colours.
        auto scale = [](unsigned c) { return static_cast<std::uint8_t>((c * 255 + 15) / 31); };
        return {scale(v & 0x1F), scale((v >> 5) & 0x1F), scale((v >> 10) & 0x1F), 0};
    }
    return {e[0], e[1], e[2], bits == 32 ? e[3] : std::uint8_t{0}};
}

// How one stored pixel becomes the bytes of one picture pixel.
enum class Convert { Copy, Rgb555, Lookup };

// Writes decoded pixels in file order into the picture rows where they belong.
class Writer {
public:
    Writer(Picture& picture, bool topDown, unsigned inBytes, unsigned outBytes, Convert convert,
           const std::vector<Bgra>& lookup)
        : picture_(picture),
          topDown_(topDown),
          inBytes_(inBytes),
          outBytes_(outBytes),
          convert_(convert),
          lookup_(lookup) {
        SelectRow();
    }

    bool Done() const { return row_ >= picture_.Height(); }

    // `count` pixels stored one after another; they run on into the next rows.
    void Raw(const std::uint8_t* src, std::size_t count) {
        while (count > 0 && !Done()) {
            const std::size_t n = std::min(count, static_cast<std::size_t>(picture_.Width() - x_));
            std::uint8_t* dst = dst_ + static_cast<std::size_t>(x_) * outBytes_;
            if (convert_ == Convert::Copy) {
                std::memcpy(dst, src, n * inBytes_);
            } else {
                for (std::size_t k = 0; k < n; ++k) ConvertOne(src + k * inBytes_, dst + k * outBytes_);
            }
            src += n * inBytes_;
            Advance(n);
            count -= n;
        }
    }

    // One stored pixel repeated `count` times.
    void Run(const std::uint8_t* src, std::size_t count) {
        std::uint8_t converted[4];
        const std::uint8_t* px = src;
        if (convert_ != Convert::Copy) {
            ConvertOne(src, converted);
            px = converted;
        }
        while (count > 0 && !Done()) {
            const std::size_t n = std::min(count, static_cast<std::size_t>(picture_.Width() - x_));
            pixels::FillRun(dst_ + static_cast<std::size_t>(x_) * outBytes_, px, outBytes_, n);
            Advance(n);
            count -= n;
        }
    }

private:
    void ConvertOne(const std::uint8_t* src, std::uint8_t* dst) const {
        switch (convert_) {
            case Convert::Copy: std::memcpy(dst, src, inBytes_); break;
            case Convert::Rgb555: bytes::PutLe16(dst, Le16(src) & 0x7FFFu); break;
            case Convert::Lookup: {
                const Bgra& c = lookup_[inBytes_ == 1 ? src[0] : Le16(src)];
                dst[0] = c.b;
                dst[1] = c.g;
                dst[2] = c.r;
                break;
            }
        }
    }

    void Advance(std::size_t n) {
        x_ += static_cast<int>(n);
        if (x_ == picture_.Width()) {
            x_ = 0;
            ++row_;
            SelectRow();
        }
    }

    // Pixels are all written, padding is cleared here: the picture is not zero-filled.
    void SelectRow() {
        if (Done()) return;
        dst_ = picture_.Row(topDown_ ? row_ : picture_.Height() - 1 - row_);
        const std::size_t used = static_cast<std::size_t>(picture_.Width()) * outBytes_;
        std::memset(dst_ + used, 0, picture_.Stride() - used);
    }

    Picture& picture_;
    bool topDown_;
    unsigned inBytes_, outBytes_;
    Convert convert_;
    const std::vector<Bgra>& lookup_;
    int x_ = 0;
    int row_ = 0;
    std::uint8_t* dst_ = nullptr;
};

void MirrorRows(Picture& picture, unsigned pixelBytes) {
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* row = picture.Row(y);
        for (int l = 0, r = picture.Width() - 1; l < r; ++l, --r)
            std::swap_ranges(row + static_cast<std::size_t>(l) * pixelBytes,
                             row + static_cast<std::size_t>(l + 1) * pixelBytes,
                             row + static_cast<std::size_t>(r) * pixelBytes);
    }
}

}  // namespace

bool LooksLikeTga(std::span<const std::uint8_t> file) {
    Header h;
    return ParseHeader(file, h);
}

DecodeResult DecodeTga(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    Header h;
    if (!ParseHeader(file, h)) return {file.size() < kHeaderSize ? DecodeStatus::Truncated : DecodeStatus::NotThisFormat, {}};
    if (!limits.Allows(h.width, h.height)) return {DecodeStatus::TooLarge, {}};
    const std::uint8_t* p = file.data();
    const std::size_t size = file.size();

    std::size_t pos = kHeaderSize + h.idLength;
    const std::size_t entryBytes = (h.mapEntryBits + 7) / 8;
    const std::size_t mapPos = pos;
    if (h.mapType == 1) {
        if (!Fits(size, pos, h.mapLength * entryBytes)) return {DecodeStatus::Truncated, {}};
        pos += h.mapLength * entryBytes;
    }
    if (pos > size) return {DecodeStatus::Truncated, {}};

    const unsigned inBytes = (h.depth + 7) / 8;
    int outBits = 0;
    Convert convert = Convert::Copy;
    switch (h.kind) {
        case Kind::ColorMapped:
            outBits = h.depth == 8 ? 8 : 24;
            convert = h.depth == 8 ? Convert::Copy : Convert::Lookup;
            break;
        case Kind::Grey: outBits = 8; break;
        case Kind::TrueColor:
            outBits = h.depth == 15 ? 16 : static_cast<int>(h.depth);
            convert = outBits == 16 ? Convert::Rgb555 : Convert::Copy;
            break;
    }

    // Refuse before allocating when the file cannot hold the pixels: a run packet covers at
    // most 128 pixels.
    const std::uint64_t pixels = static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.height);
    const std::uint64_t minimum = h.rle ? (pixels + 127) / 128 * (1 + inBytes) : pixels * inBytes;
    if (size - pos < minimum) return {DecodeStatus::Truncated, {}};

    // Every pixel is written or the decode fails.
    auto created = Picture::CreateForOverwrite(h.width, h.height, outBits, limits);
    if (!created) {
        const auto stride = Picture::StrideFor(h.width, outBits);
        const bool tooLarge =
            !stride || static_cast<std::uint64_t>(*stride) * static_cast<std::uint64_t>(h.height) > limits.maxBytes;
        return {tooLarge ? DecodeStatus::TooLarge : DecodeStatus::OutOfMemory, {}};
    }
    Picture picture = std::move(*created);

    std::vector<Bgra> lookup;
    if (h.kind == Kind::Grey) {
        for (unsigned i = 0; i < 256; ++i) {
            const auto v = static_cast<std::uint8_t>(i);
            picture.Palette()[i] = {v, v, v, 0};
        }
    } else if (h.kind == Kind::ColorMapped) {
        // Indexes below the map's first entry or past its end are black.
        const std::size_t slots = outBits == 8 ? 256 : 65536;
        std::vector<Bgra>& table = outBits == 8 ? picture.Palette() : lookup;
        table.resize(slots);
        for (std::size_t i = 0; i < h.mapLength && h.mapFirst + i < slots; ++i)
            table[h.mapFirst + i] = MapEntry(p + mapPos + i * entryBytes, h.mapEntryBits);
    }

    Writer writer(picture, (h.descriptor & 0x20) != 0, inBytes, static_cast<unsigned>(outBits / 8), convert,
                  lookup);
    if (!h.rle) {
        writer.Raw(p + pos, static_cast<std::size_t>(pixels));
    } else {
        while (!writer.Done()) {
            if (pos >= size) return {DecodeStatus::Truncated, {}};
            const unsigned packet = p[pos++];
            const std::size_t count = (packet & 0x7F) + 1u;
            const std::size_t need = packet & 0x80 ? inBytes : count * inBytes;
            if (!Fits(size, pos, need)) return {DecodeStatus::Truncated, {}};
            if (packet & 0x80)
                writer.Run(p + pos, count);
            else
                writer.Raw(p + pos, count);
            pos += need;
        }
    }
    if (h.descriptor & 0x10) MirrorRows(picture, static_cast<unsigned>(outBits / 8));
    return {DecodeStatus::Ok, std::move(picture)};
}

}  // namespace mvpr

#include "imaging/ColourCycle.h"

#include <algorithm>
#include <vector>

#include "imaging/ByteOrder.h"

namespace mvpr {

namespace {
constexpr std::size_t kInfoHeaderAt = 14;
constexpr std::size_t kCoreHeaderSize = 12;

bool HasInfoHeader(std::span<const std::uint8_t> file) {
    return file.size() > kCycleByteOffset && file[0] == 'B' && file[1] == 'M' &&
           bytes::Le32(file.data() + kInfoHeaderAt) > kCoreHeaderSize;
}
}  // namespace

std::optional<ColourCycle> CycleOfBmpHeader(std::span<const std::uint8_t> file) {
    if (!HasInfoHeader(file) || file.size() < kInfoHeaderAt + 16) return std::nullopt;
    if (bytes::Le16(file.data() + kInfoHeaderAt + 14) != 8) return std::nullopt;
    const int first = file[kCycleByteOffset];
    if (first == 0) return std::nullopt;
    return ColourCycle{first};
}

bool SetCycleByte(std::span<std::uint8_t> file, std::optional<ColourCycle> cycle) {
    if (!HasInfoHeader(file)) return false;
    file[kCycleByteOffset] = static_cast<std::uint8_t>(cycle ? std::clamp(cycle->first, 1, 255) : 0);
    return true;
}

void RotateColours(std::span<Bgra> palette, ColourCycle cycle, unsigned steps) {
    if (palette.size() < 256 || cycle.first < 1 || cycle.first > 255) return;
    const auto begin = palette.begin() + cycle.first;
    const unsigned n = static_cast<unsigned>(cycle.Count());
    std::rotate(begin, begin + static_cast<std::ptrdiff_t>(steps % n), palette.begin() + 256);
}

std::optional<Picture> ScaleIndexExact(const Picture& indexed, int width, int height) {
    if (indexed.BitsPerPixel() != 8 || indexed.Empty() || width < 1 || height < 1) return std::nullopt;
    auto out = Picture::CreateForOverwrite(width, height, 8);
    if (!out) return std::nullopt;
    out->Palette() = indexed.Palette();
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<std::size_t>(x)] = NearestSource(x, width, indexed.Width());
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = indexed.Row(NearestSource(y, height, indexed.Height()));
        std::uint8_t* dst = out->Row(y);
        for (int x = 0; x < width; ++x) dst[x] = src[columns[static_cast<std::size_t>(x)]];
        std::fill(dst + width, dst + out->Stride(), std::uint8_t{0});
    }
    return out;
}

}  // namespace mvpr

#include "imaging/Thumbnail_win.h"

#include <algorithm>
#include <cstring>

#include "imaging/DibSection_win.h"
#include "imaging/Resample.h"

namespace mvpr {

namespace {
constexpr std::size_t kBandBytes = std::size_t{4} << 20;

// A 32-bit top-down DIB section that a band of the source is copied into by GDI, whatever the
// source's depth or kind (GetDIBits' scan-line numbering of partial reads differs between
// systems; a plain copy does not).
struct BandBuffer {
    win::UniqueBitmap bitmap;
    std::uint8_t* bits = nullptr;

    BandBuffer(int width, int rows) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -rows;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* p = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0));
        bits = static_cast<std::uint8_t*>(p);
    }
};
}  // namespace

win::UniqueBitmap MakeThumbnail(HBITMAP source, int width, int height) {
    const BitmapFacts facts = DescribeBitmap(source);
    if (facts.width <= 0 || facts.height <= 0 || width <= 0 || height <= 0) return {};
    const std::size_t rowBytes = static_cast<std::size_t>(facts.width) * 4;
    const int bandRows = static_cast<int>(
        std::clamp<std::size_t>(kBandBytes / rowBytes, 1, static_cast<std::size_t>(facts.height)));
    BandBuffer buffer(facts.width, bandRows);
    win::UniqueDc from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    if (!buffer.bits || !from || !to) return {};
    win::Selected keepFrom(from.get(), source), keepTo(to.get(), buffer.bitmap.get());
    // Across first, band by band, into a picture as high as the source; then down. Averaging an
    // area is the same done one axis after the other.
    auto across = Picture::CreateForOverwrite(width, facts.height, 32);
    auto band = Picture::CreateForOverwrite(facts.width, bandRows, 32);
    if (!across || !band) return {};
    for (int first = 0; first < facts.height; first += bandRows) {
        const int count = std::min(bandRows, facts.height - first);
        if (!BitBlt(to.get(), 0, 0, facts.width, count, from.get(), 0, first, SRCCOPY)) return {};
        GdiFlush();
        if (band->Height() != count) band = Picture::CreateForOverwrite(facts.width, count, 32);
        if (!band) return {};
        for (int y = 0; y < count; ++y) std::memcpy(band->Row(y), buffer.bits + y * rowBytes, rowBytes);
        const auto narrow = ResamplePicture(*band, width, count);
        if (!narrow) return {};
        for (int y = 0; y < count; ++y) std::memcpy(across->Row(first + y), narrow->Row(y), across->Stride());
    }
    const auto small = ResamplePicture(*across, width, height);
    if (!small) return {};
    return win::UniqueBitmap(CreateDibSection(*small));
}

}  // namespace mvpr

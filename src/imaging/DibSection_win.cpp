#include "imaging/DibSection_win.h"

#include <cstring>

#include "win/Handles.h"

namespace mvpr {

namespace {

// Wine reports a plain 16-bit DIB section as BI_BITFIELDS with the 5-5-5 masks, which store
// pixels exactly as plain RGB does; read both as plain, the 15-bit format.
bool PlainRgbMasks(const DIBSECTION& dib) {
    return dib.dsBmih.biBitCount == 16 && dib.dsBitfields[0] == 0x7C00 && dib.dsBitfields[1] == 0x03E0 &&
           dib.dsBitfields[2] == 0x001F;
}

// A BITMAPINFO with room for a full palette or three masks.
struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

}  // namespace

HBITMAP CreateDibSection(const Picture& picture) {
    if (picture.Empty()) return nullptr;
    DibInfo info{};
    BITMAPINFOHEADER& h = info.header;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = picture.Width();
    h.biHeight = picture.Height();
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(picture.BitsPerPixel());
    h.biCompression = picture.HasExplicitMasks() ? BI_BITFIELDS : BI_RGB;
    h.biSizeImage = static_cast<DWORD>(picture.ByteSize());
    if (picture.HasExplicitMasks()) {
        const DWORD masks[3] = {picture.Masks().red, picture.Masks().green, picture.Masks().blue};
        std::memcpy(info.colors, masks, sizeof masks);
    }
    const auto& palette = picture.Palette();
    h.biClrUsed = static_cast<DWORD>(palette.size());
    for (std::size_t i = 0; i < palette.size() && i < 256; ++i)
        info.colors[i] = {palette[i].b, palette[i].g, palette[i].r, 0};

    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                      nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    auto* dst = static_cast<std::uint8_t*>(bits);
    for (int y = picture.Height() - 1; y >= 0; --y, dst += picture.Stride())
        std::memcpy(dst, picture.Row(y), picture.Stride());
    return bitmap;
}

BitmapFacts DescribeBitmap(HBITMAP bitmap) {
    if (!bitmap) return {};
    DIBSECTION dib{};
    const int got = GetObjectA(bitmap, sizeof dib, &dib);
    if (got == 0) return {};
    BitmapFacts facts{dib.dsBm.bmWidth, dib.dsBm.bmHeight, PixelFormat::Device};
    // GetObject fills the whole DIBSECTION only for a DIB section; a DDB gives a BITMAP.
    if (got >= static_cast<int>(sizeof(DIBSECTION)) && dib.dsBm.bmBits) {
        const BITMAPINFOHEADER& h = dib.dsBmih;
        const DibStorage storage = h.biCompression == BI_RGB || PlainRgbMasks(dib) ? DibStorage::Rgb
                                   : h.biCompression == BI_BITFIELDS ? DibStorage::Bitfields
                                                                     : DibStorage::Other;
        facts.format = PixelFormatOfDib(h.biBitCount, storage, dib.dsBitfields[1]);
    }
    if (facts.width <= 0 || facts.height <= 0) return {};
    return facts;
}

std::optional<Picture> ReadBitmapPixels(HBITMAP bitmap) {
    const BitmapFacts facts = DescribeBitmap(bitmap);
    if (facts.width == 0) return std::nullopt;
    auto picture = Picture::Create(facts.width, facts.height, 32);
    if (!picture) return std::nullopt;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = facts.width;
    info.bmiHeader.biHeight = -facts.height;  // top-down, like Picture
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    win::UniqueDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return std::nullopt;
    if (GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(facts.height), picture->Bytes().data(), &info,
                  DIB_RGB_COLORS) != facts.height)
        return std::nullopt;
    return picture;
}

std::optional<Picture> PictureFromDibSection(HBITMAP bitmap) {
    DIBSECTION dib{};
    if (!bitmap || GetObjectA(bitmap, sizeof dib, &dib) < static_cast<int>(sizeof dib) || !dib.dsBm.bmBits)
        return std::nullopt;
    const BITMAPINFOHEADER& h = dib.dsBmih;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    auto picture = Picture::CreateForOverwrite(h.biWidth, height, h.biBitCount);
    if (!picture || (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS)) return std::nullopt;
    if (static_cast<std::size_t>(dib.dsBm.bmWidthBytes) != picture->Stride()) return std::nullopt;
    if (h.biCompression == BI_BITFIELDS && !PlainRgbMasks(dib))
        picture->SetExplicitMasks({dib.dsBitfields[0], dib.dsBitfields[1], dib.dsBitfields[2], 0});
    GdiFlush();  // drawing into the section may still be queued
    const auto* src = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
    for (int row = 0; row < height; ++row, src += picture->Stride())
        std::memcpy(picture->Row(h.biHeight < 0 ? row : height - 1 - row), src, picture->Stride());
    if (h.biBitCount <= 8) {
        win::UniqueDc dc(CreateCompatibleDC(nullptr));
        if (!dc) return std::nullopt;
        const HGDIOBJ old = SelectObject(dc.get(), bitmap);
        RGBQUAD colors[256]{};
        const UINT count = GetDIBColorTable(dc.get(), 0, 256, colors);
        SelectObject(dc.get(), old);
        for (UINT i = 0; i < count && i < picture->Palette().size(); ++i)
            picture->Palette()[i] = {colors[i].rgbBlue, colors[i].rgbGreen, colors[i].rgbRed, 0};
    }
    return picture;
}

}  // namespace mvpr

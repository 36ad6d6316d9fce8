#include "WicDecoder.h"

#include <wincodec.h>

#include <cstring>

#include "Com.h"

namespace mvpr {

namespace {

const GUID* ContainerOf(PictureKind kind) {
    switch (kind) {
        case PictureKind::Png: return &GUID_ContainerFormatPng;
        case PictureKind::Gif: return &GUID_ContainerFormatGif;
        case PictureKind::Jpeg: return &GUID_ContainerFormatJpeg;
        default: return nullptr;
    }
}

bool Is(const WICPixelFormatGUID& a, const GUID& b) { return IsEqualGUID(a, b) != FALSE; }

// Formats that carry transparency and so become 32-bit pictures.
bool HasAlpha(const WICPixelFormatGUID& f) {
    return Is(f, GUID_WICPixelFormat32bppBGRA) || Is(f, GUID_WICPixelFormat32bppPBGRA) ||
           Is(f, GUID_WICPixelFormat32bppRGBA) || Is(f, GUID_WICPixelFormat64bppRGBA) ||
           Is(f, GUID_WICPixelFormat64bppBGRA) || Is(f, GUID_WICPixelFormat64bppPRGBA) ||
           Is(f, GUID_WICPixelFormat16bppBGRA5551);
}

void GreyPalette(Picture& picture, unsigned levels) {
    for (unsigned i = 0; i < levels; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 255 / (levels - 1));
        picture.Palette()[i] = {v, v, v, 0};
    }
}

// 2-bit rows (WIC's, `stride` apart) into the 4-bit picture that a DIB can hold.
void Expand2To4(const std::vector<std::uint8_t>& source, UINT stride, Picture& picture) {
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* src = source.data() + static_cast<std::size_t>(y) * stride;
        std::uint8_t* dst = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x) {
            const unsigned v = (src[x >> 2] >> (6 - 2 * (x & 3))) & 3u;
            dst[x >> 1] = static_cast<std::uint8_t>(dst[x >> 1] | ((x & 1) ? v : v << 4));
        }
    }
}

bool CopyInto(IWICBitmapSource* source, Picture& picture) {
    const std::size_t size = picture.ByteSize();
    return size <= UINT_MAX && SUCCEEDED(source->CopyPixels(nullptr, static_cast<UINT>(picture.Stride()),
                                                            static_cast<UINT>(size), picture.Bytes().data()));
}

// Through WIC's converter into `target`, for the formats a DIB cannot hold as they are.
bool ConvertInto(IWICImagingFactory* factory, IWICBitmapSource* frame, const GUID& target, Picture& picture) {
    Com<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put()))) return false;
    if (FAILED(converter->Initialize(frame, target, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    return CopyInto(converter.get(), picture);
}

std::optional<Picture> Decode(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, const DecodeLimits& limits) {
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) return std::nullopt;
    if (width > static_cast<UINT>(limits.maxSide) || height > static_cast<UINT>(limits.maxSide)) return std::nullopt;
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetPixelFormat(&format))) return std::nullopt;

    int indexedBits = 0;
    if (Is(format, GUID_WICPixelFormat1bppIndexed)) indexedBits = 1;
    if (Is(format, GUID_WICPixelFormat2bppIndexed)) indexedBits = 2;
    if (Is(format, GUID_WICPixelFormat4bppIndexed)) indexedBits = 4;
    if (Is(format, GUID_WICPixelFormat8bppIndexed)) indexedBits = 8;
    if (indexedBits) {
        auto picture = Picture::Create(w, h, indexedBits == 2 ? 4 : indexedBits, limits);
        if (!picture) return std::nullopt;
        Com<IWICPalette> palette;
        if (FAILED(factory->CreatePalette(palette.put())) || FAILED(frame->CopyPalette(palette.get())))
            return std::nullopt;
        WICColor colors[256] = {};
        UINT count = 0;
        if (FAILED(palette->GetColors(256, colors, &count))) return std::nullopt;
        for (UINT i = 0; i < count && i < picture->Palette().size(); ++i)  // 0xAARRGGBB
            picture->Palette()[i] = {static_cast<std::uint8_t>(colors[i]), static_cast<std::uint8_t>(colors[i] >> 8),
                                     static_cast<std::uint8_t>(colors[i] >> 16), 0};
        if (indexedBits != 2) return CopyInto(frame, *picture) ? std::move(picture) : std::nullopt;
        const UINT stride = (width * 2 + 31) / 32 * 4;
        std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * height);
        if (FAILED(frame->CopyPixels(nullptr, stride, static_cast<UINT>(rows.size()), rows.data())))
            return std::nullopt;
        Expand2To4(rows, stride, *picture);
        return picture;
    }

    if (Is(format, GUID_WICPixelFormatBlackWhite) || Is(format, GUID_WICPixelFormat4bppGray) ||
        Is(format, GUID_WICPixelFormat8bppGray)) {
        const int bits = Is(format, GUID_WICPixelFormatBlackWhite) ? 1 : Is(format, GUID_WICPixelFormat4bppGray) ? 4 : 8;
        auto picture = Picture::Create(w, h, bits, limits);
        if (!picture) return std::nullopt;
        GreyPalette(*picture, 1u << bits);
        return CopyInto(frame, *picture) ? std::move(picture) : std::nullopt;
    }
    if (Is(format, GUID_WICPixelFormat2bppGray) || Is(format, GUID_WICPixelFormat16bppGray)) {
        // Grey kept as grey: 8-bit with a grey palette.
        auto picture = Picture::Create(w, h, 8, limits);
        if (!picture) return std::nullopt;
        GreyPalette(*picture, 256);
        if (ConvertInto(factory, frame, GUID_WICPixelFormat8bppGray, *picture)) return picture;
    }

    const bool alpha = HasAlpha(format);
    auto picture = Picture::Create(w, h, alpha ? 32 : 24, limits);
    if (!picture) return std::nullopt;
    const GUID& target = alpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    if (Is(format, target)) return CopyInto(frame, *picture) ? std::move(picture) : std::nullopt;
    if (ConvertInto(factory, frame, target, *picture)) return picture;
    if (alpha) return std::nullopt;
    // Wine converts 48-bit RGB and others to 32bppBGRA but not to 24 bits: go through 32 bits.
    auto wide = Picture::Create(w, h, 32, limits);
    if (!wide || !ConvertInto(factory, frame, GUID_WICPixelFormat32bppBGRA, *wide)) return std::nullopt;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = wide->Row(y);
        std::uint8_t* dst = picture->Row(y);
        for (int x = 0; x < w; ++x, src += 4, dst += 3) std::memcpy(dst, src, 3);
    }
    return picture;
}

}  // namespace

std::optional<Picture> DecodeWithWic(std::span<const std::uint8_t> file, PictureKind kind, const DecodeLimits& limits,
                                     bool* present) {
    if (present) *present = true;
    const GUID* container = ContainerOf(kind);
    if (!container || file.empty() || file.size() > UINT_MAX) return std::nullopt;
    ComScope com;
    if (!com.usable()) return std::nullopt;
    Com<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put())))) {
        if (present) *present = false;
        return std::nullopt;
    }
    Com<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(file.data()), static_cast<DWORD>(file.size()))))
        return std::nullopt;
    // The decoder for the format the content names, not the one WIC would guess.
    Com<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoder(*container, nullptr, decoder.put())) ||
        FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)))
        return std::nullopt;
    Com<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return std::nullopt;  // a GIF's first frame
    return Decode(factory.get(), frame.get(), limits);
}

}  // namespace mvpr

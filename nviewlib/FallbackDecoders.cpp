#include "FallbackDecoders.h"

#include <olectl.h>

#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "Com.h"
#include "WicDecoder.h"

namespace mvpr {

namespace {
bool g_wicAbsent = false;

// A system library for the length of one decoding; its functions looked up, never imported.
class Library {
  public:
    explicit Library(const char* name) : h_(LoadLibraryA(name)) {}
    ~Library() {
        if (h_) FreeLibrary(h_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    template <typename F>
    F Get(const char* name) const {
        return h_ ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(h_, name))) : nullptr;
    }

  private:
    HMODULE h_;
};

// The bytes as a stream over memory of its own, which OLE and GDI+ read.
bool StreamOn(std::span<const std::uint8_t> file, Com<IStream>& stream) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, file.size());
    if (!memory) return false;
    if (void* p = GlobalLock(memory)) {
        std::memcpy(p, file.data(), file.size());
        GlobalUnlock(memory);
        if (SUCCEEDED(CreateStreamOnHGlobal(memory, TRUE, stream.put()))) return true;
    }
    GlobalFree(memory);
    return false;
}

void GreyPalette(Picture& picture) {
    for (unsigned i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        picture.Palette()[i] = {v, v, v, 0};
    }
}

// One component in the frame header: a grey JPEG, which WIC also gives as grey.
bool IsGreyJpeg(std::span<const std::uint8_t> f) {
    std::size_t i = 2;
    while (i + 4 <= f.size() && f[i] == 0xFF) {
        const std::uint8_t marker = f[i + 1];
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        const std::size_t length = static_cast<std::size_t>(f[i + 2]) << 8 | f[i + 3];
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) return i + 9 < f.size() && f[i + 9] == 1;
        i += 2 + length;
    }
    return false;
}

// The colour table of a GIF's first frame (its own or the global one) and its transparent index.
struct GifColours {
    std::vector<Bgra> table;
    int transparent = -1;
};

GifColours ReadGifColours(std::span<const std::uint8_t> f) {
    GifColours out;
    auto readTable = [&](std::size_t at, unsigned flags) {
        const std::size_t n = std::size_t{2} << (flags & 7);
        out.table.clear();
        for (std::size_t k = 0; k < n && at + 3 * k + 2 < f.size(); ++k)
            out.table.push_back({f[at + 3 * k + 2], f[at + 3 * k + 1], f[at + 3 * k], 0});
        return at + 3 * n;
    };
    if (f.size() < 13) return out;
    std::size_t pos = 13;
    if (f[10] & 0x80) pos = readTable(13, f[10]);
    while (pos < f.size()) {
        if (f[pos] == 0x2C) {  // the first frame
            if (pos + 10 <= f.size() && (f[pos + 9] & 0x80)) readTable(pos + 10, f[pos + 9]);
            break;
        }
        if (f[pos] != 0x21 || pos + 2 > f.size()) break;
        const std::uint8_t label = f[pos + 1];
        pos += 2;
        if (label == 0xF9 && pos + 5 <= f.size() && f[pos] >= 4 && (f[pos + 1] & 1))
            out.transparent = f[pos + 4];
        while (pos < f.size()) {  // the extension's sub-blocks
            const std::size_t length = f[pos];
            pos += 1 + length;
            if (length == 0) break;
        }
    }
    return out;
}

// Back from colours to the indexes of the table; a colour outside it (OLE blackens transparent
// pixels) is the transparent index, or else the nearest colour.
std::uint8_t IndexOf(const GifColours& colours, const std::uint8_t* bgr) {
    int best = 0;
    long bestDistance = LONG_MAX;
    for (std::size_t i = 0; i < colours.table.size(); ++i) {
        const Bgra& c = colours.table[i];
        const long db = c.b - bgr[0], dg = c.g - bgr[1], dr = c.r - bgr[2];
        const long distance = db * db + dg * dg + dr * dr;
        if (distance == 0) return static_cast<std::uint8_t>(i);
        if (distance < bestDistance) bestDistance = distance, best = static_cast<int>(i);
    }
    return static_cast<std::uint8_t>(colours.transparent >= 0 ? colours.transparent : best);
}

std::optional<Picture> FromOlePixels(const Picture& bgra, std::span<const std::uint8_t> file,
                                     PictureKind kind, const DecodeLimits& limits) {
    const int w = bgra.Width(), h = bgra.Height();
    const bool grey = kind == PictureKind::Jpeg && IsGreyJpeg(file);
    auto picture = Picture::Create(w, h, kind == PictureKind::Gif || grey ? 8 : 24, limits);
    if (!picture) return std::nullopt;
    GifColours colours;
    if (kind == PictureKind::Gif) {
        colours = ReadGifColours(file);
        if (colours.table.empty()) return std::nullopt;
        std::copy(colours.table.begin(), colours.table.end(), picture->Palette().begin());
    }
    if (grey) GreyPalette(*picture);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = bgra.Row(y);
        std::uint8_t* dst = picture->Row(y);
        for (int x = 0; x < w; ++x, src += 4) {
            if (kind == PictureKind::Gif)
                dst[x] = IndexOf(colours, src);
            else if (grey)
                dst[x] = src[0];
            else
                std::memcpy(dst + 3 * x, src, 3);
        }
    }
    return picture;
}

// GDI+'s flat API, as gdiplus.dll exports it.
struct GdiplusStartupInput {
    UINT32 version = 1;
    void* debugEventCallback = nullptr;
    BOOL suppressBackgroundThread = FALSE;
    BOOL suppressExternalCodecs = FALSE;
};
struct GdipRect {
    INT x, y, width, height;
};
struct GdipBitmapData {
    UINT width, height;
    INT stride, format;
    void* scan0;
    UINT_PTR reserved;
};
struct GdipPalette {
    UINT flags, count;
    DWORD argb[256];
};
constexpr INT kGdip1bppIndexed = 0x00030101, kGdip4bppIndexed = 0x00030402, kGdip8bppIndexed = 0x00030803,
              kGdip24bppRgb = 0x00021808, kGdip32bppArgb = 0x0026200A, kGdipHasAlpha = 0x00040000;
constexpr UINT kGdipLockRead = 1;

struct Gdiplus {
    explicit Gdiplus(const Library& lib)
        : startup(lib.Get<decltype(startup)>("GdiplusStartup")),
          shutdown(lib.Get<decltype(shutdown)>("GdiplusShutdown")),
          fromStream(lib.Get<decltype(fromStream)>("GdipCreateBitmapFromStream")),
          width(lib.Get<decltype(width)>("GdipGetImageWidth")),
          height(lib.Get<decltype(height)>("GdipGetImageHeight")),
          format(lib.Get<decltype(format)>("GdipGetImagePixelFormat")),
          paletteSize(lib.Get<decltype(paletteSize)>("GdipGetImagePaletteSize")),
          palette(lib.Get<decltype(palette)>("GdipGetImagePalette")),
          lock(lib.Get<decltype(lock)>("GdipBitmapLockBits")),
          unlock(lib.Get<decltype(unlock)>("GdipBitmapUnlockBits")),
          dispose(lib.Get<decltype(dispose)>("GdipDisposeImage")) {}
    bool Complete() const {
        return startup && shutdown && fromStream && width && height && format && paletteSize && palette &&
               lock && unlock && dispose;
    }
    int(WINAPI* startup)(ULONG_PTR*, const GdiplusStartupInput*, void*);
    void(WINAPI* shutdown)(ULONG_PTR);
    int(WINAPI* fromStream)(IStream*, void**);
    int(WINAPI* width)(void*, UINT*);
    int(WINAPI* height)(void*, UINT*);
    int(WINAPI* format)(void*, INT*);
    int(WINAPI* paletteSize)(void*, INT*);
    int(WINAPI* palette)(void*, GdipPalette*, INT);
    int(WINAPI* lock)(void*, const GdipRect*, UINT, INT, GdipBitmapData*);
    int(WINAPI* unlock)(void*, GdipBitmapData*);
    int(WINAPI* dispose)(void*);
};

// The depth a grey PNG (colour type 0) has through WIC: 1 and 4 bits stay, the others become 8;
// 0 for any other PNG. GDI+ may give grey ones in colour.
int GreyPngBits(std::span<const std::uint8_t> f) {
    if (f.size() < 26 || f[25] != 0) return 0;
    return f[24] == 1 || f[24] == 4 ? f[24] : 8;
}

// Colour rows back to the grey palette of `bits` levels that WIC gives.
std::optional<Picture> ToGrey(const Picture& colour, int bits, const DecodeLimits& limits) {
    auto grey = Picture::Create(colour.Width(), colour.Height(), bits, limits);
    if (!grey) return std::nullopt;
    const unsigned top = (1u << bits) - 1;
    for (unsigned i = 0; i <= top; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 255 / top);
        grey->Palette()[i] = {v, v, v, 0};
    }
    for (int y = 0; y < colour.Height(); ++y)
        for (int x = 0; x < colour.Width(); ++x) {
            const unsigned level = (colour.Row(y)[3 * x] * top + 127) / 255;
            std::uint8_t* row = grey->Row(y);
            if (bits == 8)
                row[x] = static_cast<std::uint8_t>(level);
            else if (bits == 4)
                row[x >> 1] = static_cast<std::uint8_t>(row[x >> 1] | ((x & 1) ? level : level << 4));
            else
                row[x >> 3] = static_cast<std::uint8_t>(row[x >> 3] | (level << (7 - (x & 7))));
        }
    return grey;
}

std::optional<Picture> CopyGdipPixels(const Gdiplus& g, void* image, int greyBits,
                                      const DecodeLimits& limits) {
    UINT w = 0, h = 0;
    INT format = 0;
    if (g.width(image, &w) || g.height(image, &h) || g.format(image, &format) || !w || !h)
        return std::nullopt;
    if (w > static_cast<UINT>(limits.maxSide) || h > static_cast<UINT>(limits.maxSide)) return std::nullopt;
    const int bits = format == kGdip1bppIndexed              ? 1
                     : format == kGdip4bppIndexed            ? 4
                     : format == kGdip8bppIndexed            ? 8
                     : (format & kGdipHasAlpha) && !greyBits ? 32
                                                             : 24;
    const INT lockFormat = bits <= 8 ? format : bits == 32 ? kGdip32bppArgb : kGdip24bppRgb;
    auto picture = Picture::Create(static_cast<int>(w), static_cast<int>(h), bits, limits);
    if (!picture) return std::nullopt;
    if (bits <= 8) {
        INT size = 0;
        GdipPalette colours{};
        if (g.paletteSize(image, &size) || size <= 0 || size > static_cast<INT>(sizeof colours) ||
            g.palette(image, &colours, size))
            return std::nullopt;
        for (UINT i = 0; i < colours.count && i < picture->Palette().size(); ++i) {
            const DWORD c = colours.argb[i];  // 0xAARRGGBB
            picture->Palette()[i] = {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                                     static_cast<std::uint8_t>(c >> 16), 0};
        }
    }
    const GdipRect all{0, 0, static_cast<INT>(w), static_cast<INT>(h)};
    GdipBitmapData data{};
    if (g.lock(image, &all, kGdipLockRead, lockFormat, &data) || !data.scan0) return std::nullopt;
    const std::size_t rowBytes = (static_cast<std::size_t>(w) * static_cast<std::size_t>(bits) + 7) / 8;
    for (UINT y = 0; y < h; ++y)
        std::memcpy(
            picture->Row(static_cast<int>(y)),
            static_cast<const std::uint8_t*>(data.scan0) + static_cast<std::ptrdiff_t>(y) * data.stride,
            rowBytes);
    g.unlock(image, &data);
    if (greyBits && bits == 24) return ToGrey(*picture, greyBits, limits);
    return picture;
}
}  // namespace

bool SetWicAbsentSeam(bool absent) {
    return std::exchange(g_wicAbsent, absent);
}

std::optional<Picture> DecodeWithOlePicture(std::span<const std::uint8_t> file, PictureKind kind,
                                            const DecodeLimits& limits) {
    if ((kind != PictureKind::Jpeg && kind != PictureKind::Gif) || file.empty() || file.size() > LONG_MAX)
        return std::nullopt;
    ComScope com;
    if (!com.usable()) return std::nullopt;
    Library oleaut("oleaut32.dll");
    const auto load = oleaut.Get<HRESULT(WINAPI*)(IStream*, LONG, BOOL, REFIID, void**)>("OleLoadPicture");
    Com<IStream> stream;
    if (!load || !StreamOn(file, stream)) return std::nullopt;
    Com<IPicture> ole;
    if (FAILED(load(stream.get(), static_cast<LONG>(file.size()), FALSE, IID_IPicture,
                    reinterpret_cast<void**>(ole.put()))))
        return std::nullopt;
    SHORT type = 0;
    OLE_HANDLE handle = 0;
    if (FAILED(ole->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(ole->get_Handle(&handle)) || !handle)
        return std::nullopt;
    const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP info{};
    if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight == 0)
        return std::nullopt;
    const int w = info.bmWidth, h = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (w > limits.maxSide || h > limits.maxSide) return std::nullopt;
    auto bgra = Picture::Create(w, h, 32, limits);
    if (!bgra) return std::nullopt;
    BITMAPINFO header{};
    header.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    const int rows =
        dc ? GetDIBits(dc, bitmap, 0, static_cast<UINT>(h), bgra->Row(0), &header, DIB_RGB_COLORS) : 0;
    if (dc) DeleteDC(dc);
    if (rows != h) return std::nullopt;
    return FromOlePixels(*bgra, file, kind, limits);
}

std::optional<Picture> DecodeWithGdiplus(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    if (file.empty()) return std::nullopt;
    Library library("gdiplus.dll");
    const Gdiplus g(library);
    if (!g.Complete()) return std::nullopt;
    ComScope com;  // the stream is a COM object
    Com<IStream> stream;
    if (!com.usable() || !StreamOn(file, stream)) return std::nullopt;
    ULONG_PTR token = 0;
    const GdiplusStartupInput input;
    if (g.startup(&token, &input, nullptr)) return std::nullopt;
    std::optional<Picture> picture;
    void* image = nullptr;
    if (!g.fromStream(stream.get(), &image) && image) {
        picture = CopyGdipPixels(g, image, GreyPngBits(file), limits);
        g.dispose(image);
    }
    g.shutdown(token);
    return picture;
}

std::optional<Picture> DecodeWebPicture(std::span<const std::uint8_t> file, PictureKind kind,
                                        const DecodeLimits& limits) {
    if (!g_wicAbsent) {
        bool present = false;
        auto picture = DecodeWithWic(file, kind, limits, &present);
        if (present) return picture;
    }
    return kind == PictureKind::Png ? DecodeWithGdiplus(file, limits)
                                    : DecodeWithOlePicture(file, kind, limits);
}

}  // namespace mvpr

#include "imaging/NViewLib.h"

#include "FallbackDecoders.h"
#include "imaging/BmpCodec.h"
#include "imaging/DibSection_win.h"
#include "imaging/FileBytes_win.h"
#include "imaging/PcxDecoder.h"
#include "imaging/PictureKind.h"
#include "imaging/TgaDecoder.h"
#include "win/FaultGuard_win.h"

namespace {

std::optional<mvpr::Picture> Decode(const std::vector<std::uint8_t>& file, const mvpr::DecodeLimits& limits) {
    using mvpr::PictureKind;
    const PictureKind kind = mvpr::SniffPictureKind(file);
    mvpr::DecodeResult r;
    switch (kind) {
        case PictureKind::Bmp: r = mvpr::DecodeBmp(file, limits); break;
        case PictureKind::Tga: r = mvpr::DecodeTga(file, limits); break;
        case PictureKind::Pcx: r = mvpr::DecodePcx(file, limits); break;
        case PictureKind::Png:
        case PictureKind::Gif:
        case PictureKind::Jpeg: return mvpr::DecodeWebPicture(file, kind, limits);
        case PictureKind::Unknown: return std::nullopt;
    }
    if (!r.Ok()) return std::nullopt;
    return std::move(r.picture);
}

}  // namespace

namespace {
struct Load {
    const char* path;
    HBITMAP bitmap;
};

void LoadInto(void* p) {
    auto* load = static_cast<Load*>(p);
    const mvpr::DecodeLimits limits;
    const auto bytes = mvpr::ReadFileBytes(load->path, limits.maxBytes);
    if (!bytes) return;
    const auto picture = Decode(*bytes, limits);
    if (!picture || picture->Empty()) return;
    load->bitmap = mvpr::CreateDibSection(*picture);
}
}  // namespace

extern "C" HBITMAP WINAPI NViewLibLoad(const char* path, int /*reserved*/) {
    // Nothing may leave this function but a handle or 0: no exception, and no processor fault.
    try {
        if (!path) return nullptr;
        Load load{path, nullptr};
        if (!mvpr::win::RunGuarded(&LoadInto, &load)) return nullptr;
        return load.bitmap;
    } catch (...) {
        return nullptr;
    }
}

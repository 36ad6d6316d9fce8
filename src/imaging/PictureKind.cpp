#include "imaging/PictureKind.h"

#include <algorithm>
#include <array>

#include "imaging/PcxDecoder.h"
#include "imaging/TgaDecoder.h"

namespace mvpr {

namespace {

template <std::size_t N>
bool StartsWith(std::span<const std::uint8_t> file, const std::array<std::uint8_t, N>& magic) {
    return file.size() >= N && std::equal(magic.begin(), magic.end(), file.begin());
}

}  // namespace

std::string_view PictureKindName(PictureKind kind) {
    switch (kind) {
        case PictureKind::Unknown: return "Unknown";
        case PictureKind::Bmp: return "BMP";
        case PictureKind::Png: return "PNG";
        case PictureKind::Gif: return "GIF";
        case PictureKind::Jpeg: return "JPEG";
        case PictureKind::Pcx: return "PCX";
        case PictureKind::Tga: return "TGA";
    }
    return "Unknown";
}

PictureKind SniffPictureKind(std::span<const std::uint8_t> file) {
    static constexpr std::array<std::uint8_t, 2> kBmp{'B', 'M'};
    static constexpr std::array<std::uint8_t, 8> kPng{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    static constexpr std::array<std::uint8_t, 6> kGif87{'G', 'I', 'F', '8', '7', 'a'};
    static constexpr std::array<std::uint8_t, 6> kGif89{'G', 'I', 'F', '8', '9', 'a'};
    static constexpr std::array<std::uint8_t, 3> kJpeg{0xFF, 0xD8, 0xFF};
    if (StartsWith(file, kBmp)) return PictureKind::Bmp;
    if (StartsWith(file, kPng)) return PictureKind::Png;
    if (StartsWith(file, kGif87) || StartsWith(file, kGif89)) return PictureKind::Gif;
    if (StartsWith(file, kJpeg)) return PictureKind::Jpeg;
    if (LooksLikePcx(file)) return PictureKind::Pcx;
    if (LooksLikeTga(file)) return PictureKind::Tga;
    return PictureKind::Unknown;
}

}  // namespace mvpr

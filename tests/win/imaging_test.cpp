// LoadPicture in every category, the picture's ownership of its bitmap, and NViewLib.dll
// through its real export, with pixel checks against the pictures the tests wrote.
#include <gtest/gtest.h>

#include <wincodec.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "Com.h"
#include "ImagingSamples.h"
#include "FallbackDecoders.h"
#include "imaging/NViewLib.h"
#include "TestSupport.h"
#include "WebPictureWriters.h"
#include "imaging/BmpCodec.h"
#include "imaging/DibSection_win.h"
#include "app/LoadPicture_win.h"
#include "imaging/PcxDecoder.h"
#include "imaging/TgaDecoder.h"
#include "imaging/Thumbnail_win.h"
#include "win/MessageBox.h"
#include "ScopedSeam.h"

namespace mvpr {
namespace {

using samples::BmpFile;
using samples::Bytes;
using samples::PackRows;
using test::TempDir;
using test::TestThread;

std::string Save(const TempDir& dir, const std::string& name, const Bytes& bytes) {
    const std::string path = dir / name;
    EXPECT_TRUE(test::WriteFile(path, std::string(bytes.begin(), bytes.end()))) << path;
    return path;
}

bool Alive(HBITMAP bitmap) {
    BITMAP bm;
    return GetObjectA(bitmap, sizeof bm, &bm) != 0;
}

// The same picture apart from the palette's reserved bytes, which a DIB section does not keep, and
// the masks' alpha and explicitness: explicit 5-5-5 masks are the plain 16-bit layout to GDI.
::testing::AssertionResult SameDib(std::optional<Picture> got, Picture want) {
    if (!got) return ::testing::AssertionFailure() << "not a DIB section";
    for (Picture* p : {&*got, &want}) {
        for (Bgra& c : p->Palette()) c.a = 0;
        p->SetExplicitMasks({p->Masks().red, p->Masks().green, p->Masks().blue, 0});
    }
    if (*got == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got " << got->Width() << "x" << got->Height() << "x" << got->BitsPerPixel() << ", want "
           << want.Width() << "x" << want.Height() << "x" << want.BitsPerPixel();
}

BmpFile Indexed(int width, int height, int bpp) {
    BmpFile f;
    f.width = width, f.height = height, f.bpp = static_cast<std::uint16_t>(bpp);
    f.palette = samples::GreyPalette(1 << bpp);
    f.pixels = PackRows(width, height, bpp,
                        [&](int x, int y) { return static_cast<std::uint32_t>((x * 7 + y) % (1 << bpp)); });
    return f;
}

BmpFile TrueColour(int width, int height, int bpp, std::optional<ChannelMasks> masks = {}) {
    BmpFile f;
    f.width = width, f.height = height, f.bpp = static_cast<std::uint16_t>(bpp), f.masks = masks;
    if (masks) f.compression = kBiBitfields;
    f.pixels = PackRows(width, height, bpp, [](int x, int y) {
        return static_cast<std::uint32_t>(x * 2654435761u ^ y * 40503u);
    });
    return f;
}

BmpFile Rle(int width, int height, bool rle4) {
    BmpFile f = Indexed(width, height, rle4 ? 4 : 8);
    f.compression = rle4 ? kBiRle4 : kBiRle8;
    std::vector<std::vector<std::uint8_t>> rows;
    for (int y = 0; y < height; ++y) {
        std::vector<std::uint8_t> row;
        for (int x = 0; x < width; ++x)
            row.push_back(static_cast<std::uint8_t>((x / 5 + y) % (rle4 ? 16 : 200)));
        rows.push_back(row);
    }
    f.pixels = samples::EncodeRle(rows, rle4);
    return f;
}

// Only the 5-5-5 masks look plain to GDI; the picture knows the file said masks.
std::string GdiFormat(const std::string& format, const BmpFile& file) {
    return file.masks && file.masks->green == 0x03E0 ? "15" : format;
}

// One bitmap of each stored variant a user may meet, with the name of its pixel format.
std::vector<std::pair<std::string, BmpFile>> BmpVariants() {
    BmpFile v5 = TrueColour(5, 3, 32);
    v5.headerSize = 124;
    BmpFile core = Indexed(6, 2, 4);
    core.headerSize = 12;
    BmpFile topDown = Indexed(7, 3, 1);
    topDown.height = -3;
    return {{"1", Indexed(9, 3, 1)},
            {"1", topDown},
            {"4", Indexed(5, 4, 4)},
            {"4", core},
            {"8", Indexed(320, 400, 8)},
            {"15", TrueColour(5, 3, 16)},
            {"16", TrueColour(5, 3, 16, ChannelMasks{0xF800, 0x07E0, 0x001F, 0})},
            {"Custom", TrueColour(5, 3, 16, ChannelMasks{0x7C00, 0x03E0, 0x001F, 0})},
            {"24", TrueColour(5, 3, 24)},
            {"32", TrueColour(5, 3, 32)},
            {"32", v5},
            {"Custom", TrueColour(5, 3, 32, ChannelMasks{0xFF0000, 0xFF00, 0xFF, 0})},
            {"8", Rle(33, 4, false)},
            {"4", Rle(33, 4, true)}};
}

// Answers any message box, so that one would show up in `boxes` instead of blocking.
class NoBoxes {
  public:
    int boxes = 0;

  private:
    ScopedSeam<&win::SetMessageSeam> seam_{[this](const win::MessageRequest&) {
        ++boxes;
        return win::MsgAnswer::Ok;
    }};
};

// A JPEG written by the platform's own encoder: flat 8 x 8 blocks come back nearly exact.
Bytes EncodeJpeg(int width, int height, bool grey,
                 const std::function<std::uint8_t(int, int, int)>& channel) {
    const int n = grey ? 1 : 3;
    const UINT stride = static_cast<UINT>((width * n + 3) / 4 * 4);
    std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < n; ++k) pixels[y * stride + static_cast<UINT>(x * n + k)] = channel(x, y, k);
    const ComScope com;
    Com<IWICImagingFactory> factory;
    Com<IStream> memory;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> options;
    WICPixelFormatGUID format = grey ? GUID_WICPixelFormat8bppGray : GUID_WICPixelFormat24bppBGR;
    HGLOBAL global = nullptr;
    STATSTG stat{};
    const bool ok =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()))) &&
        SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, memory.put())) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put())) &&
        SUCCEEDED(encoder->Initialize(memory.get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(frame.put(), options.put())) &&
        SUCCEEDED(frame->Initialize(options.get())) &&
        SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
        SUCCEEDED(frame->SetPixelFormat(&format)) &&
        IsEqualGUID(format, grey ? GUID_WICPixelFormat8bppGray : GUID_WICPixelFormat24bppBGR) &&
        SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), stride, static_cast<UINT>(pixels.size()),
                                     pixels.data())) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit()) &&
        SUCCEEDED(memory->Stat(&stat, STATFLAG_NONAME)) &&
        SUCCEEDED(GetHGlobalFromStream(memory.get(), &global));
    if (!ok) return {};
    const auto* data = static_cast<const std::uint8_t*>(GlobalLock(global));
    Bytes out(data, data + stat.cbSize.QuadPart);
    GlobalUnlock(global);
    return out;
}

class ImagingLoadPicture : public ::testing::Test {
  protected:
    TempDir dir;
    NoBoxes noBoxes;
    WinPicture picture;

    // Loads a distinct first picture, for the failures that must leave it in place.
    HBITMAP LoadFirst() {
        const std::string path = Save(dir, "first.bmp", Indexed(12, 9, 8).Build());
        EXPECT_EQ(LoadPicture(path, picture, ScreenCategory::Start), LoadOutcome::Loaded);
        EXPECT_EQ(picture.Width(), 12);
        return picture.Handle();
    }
};

// Every stored variant through a real DIB section: GetObject must report what the rule needs. The
// screen categories read every file as a bitmap, whatever its name.
TEST_F(ImagingLoadPicture, EachStoredVariantUnderAnyNameGivesItsPixelFormatName) {
    const char* const names[] = {"logo.sys",   "logow.sys", "LOGOS.SYS",
                                 "screen.bmp", "copy.bck",  "no-extension"};
    const ScreenCategory categories[] = {ScreenCategory::Start, ScreenCategory::Wait, ScreenCategory::Shut};
    std::size_t i = 0;
    for (const auto& [name, file] : BmpVariants()) {
        const char* fileName = names[i % 6];
        SCOPED_TRACE(name + " bpp " + std::to_string(file.bpp) + " compression " +
                     std::to_string(file.compression) + " as " + fileName);
        const Bytes bytes = file.Build();
        WinPicture p;
        ASSERT_EQ(LoadPicture(Save(dir, fileName, bytes), p, categories[i++ % 3]), LoadOutcome::Loaded);
        EXPECT_EQ(PixelFormatName(p.Format()), name);
        EXPECT_EQ(PixelFormatName(DescribeBitmap(p.Handle()).format), GdiFormat(name, file));
        EXPECT_TRUE(SameDib(PictureFromDibSection(p.Handle()), DecodeBmp(bytes).picture));
        EXPECT_EQ(p.Width(), file.width);
    }
    EXPECT_EQ(noBoxes.boxes, 0);
}

TEST_F(ImagingLoadPicture, FailuresInAScreenCategoryLeaveThePictureAsItWas) {
    const HBITMAP first = LoadFirst();
    Bytes truncated = Indexed(40, 40, 8).Build();
    truncated.resize(truncated.size() - 100);
    const std::string locked = Save(dir, "locked.bmp", Indexed(3, 3, 8).Build());
    win::UniqueFile lock(
        CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    CreateDirectoryA((dir / "folder.bmp").c_str(), nullptr);
    samples::PngImage png;
    png.rows = {{1, 2, 3}};
    const Bytes jpeg =
        EncodeJpeg(16, 16, false, [](int x, int, int k) { return static_cast<std::uint8_t>(x * 9 + k); });
    ASSERT_FALSE(jpeg.empty());
    const std::vector<std::pair<std::string, LoadOutcome>> cases = {
        {dir / "missing.bmp", LoadOutcome::CannotOpen},
        {dir / "no-folder\\x.bmp", LoadOutcome::CannotOpen},
        {dir / "folder.bmp", LoadOutcome::CannotOpen},
        {locked, LoadOutcome::CannotOpen},
        {Save(dir, "photo.jpg", jpeg), LoadOutcome::CannotDecode},
        {Save(dir, "picture.png", png.Build()), LoadOutcome::CannotDecode},
        {Save(dir, "cut.bmp", truncated), LoadOutcome::CannotDecode},
        {Save(dir, "text.sys", {'h', 'e', 'l', 'l', 'o'}), LoadOutcome::CannotDecode},
    };
    for (const auto& [path, outcome] : cases) {
        EXPECT_EQ(LoadPicture(path, picture, ScreenCategory::Shut), outcome) << path;
        EXPECT_EQ(picture.Handle(), first) << path;
        EXPECT_TRUE(Alive(first));
        EXPECT_EQ(picture.Width(), 12);
        EXPECT_EQ(picture.Height(), 9);
        EXPECT_EQ(picture.Format(), PixelFormat::Bits8);
    }
    EXPECT_EQ(noBoxes.boxes, 0);
    // The JPEG itself is fine: the wallpaper category shows it.
    EXPECT_EQ(LoadPicture(dir / "photo.jpg", picture, ScreenCategory::Wall), LoadOutcome::Loaded);
    EXPECT_EQ(PixelFormatName(picture.Format()), "24");
}

TEST_F(ImagingLoadPicture, ZeroLengthFileGivesAnEmptyPictureWithoutFailing) {
    const HBITMAP first = LoadFirst();
    EXPECT_EQ(LoadPicture(Save(dir, "empty.sys", {}), picture, ScreenCategory::Wait), LoadOutcome::Emptied);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
    EXPECT_EQ(PixelFormatName(picture.Format()), "Device");
    EXPECT_FALSE(Alive(first)) << "the previous bitmap is released";
}

// A stand-in for the library that records its calls.
struct LibrarySpy {
    static inline std::vector<std::pair<std::string, int>> calls;
    static inline std::function<HBITMAP()> answer;
    static HBITMAP WINAPI Load(const char* path, int reserved) {
        calls.emplace_back(path, reserved);
        return answer();
    }
};

TEST_F(ImagingLoadPicture, WallpaperCategorySendsEveryFileToTheLibrary) {
    const HBITMAP first = LoadFirst();
    const std::string bmp = Save(dir, "wall.bmp", Indexed(4, 4, 8).Build());
    LibrarySpy::calls.clear();
    win::WindowDc screen(nullptr);
    LibrarySpy::answer = [&] { return CreateCompatibleBitmap(screen.get(), 7, 5); };  // device-dependent
    EXPECT_EQ(LoadPicture(bmp, picture, ScreenCategory::Wall, &LibrarySpy::Load), LoadOutcome::Loaded);
    ASSERT_EQ(LibrarySpy::calls.size(), 1u);
    EXPECT_EQ(LibrarySpy::calls[0].first, bmp);
    EXPECT_EQ(LibrarySpy::calls[0].second, 0);
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_EQ(picture.Height(), 5);
    EXPECT_EQ(PixelFormatName(picture.Format()), "Device") << "whatever its depth on screen";
    EXPECT_FALSE(Alive(first));

    // No picture from the library empties the preview; the file's name does not matter.
    const HBITMAP ddb = picture.Handle();
    LibrarySpy::answer = [] { return HBITMAP{}; };
    EXPECT_EQ(LoadPicture(dir / "missing.jpg", picture, ScreenCategory::Wall, &LibrarySpy::Load),
              LoadOutcome::Emptied);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(PixelFormatName(picture.Format()), "Device");
    EXPECT_FALSE(Alive(ddb));

    // A library that throws is caught, and the picture stays.
    LibrarySpy::answer = [&] { return CreateCompatibleBitmap(screen.get(), 3, 3); };
    LoadPicture(bmp, picture, ScreenCategory::Wall, &LibrarySpy::Load);
    const HBITMAP kept = picture.Handle();
    LibrarySpy::answer = []() -> HBITMAP { throw std::runtime_error("decoder fault"); };
    EXPECT_EQ(LoadPicture(bmp, picture, ScreenCategory::Wall, &LibrarySpy::Load), LoadOutcome::Failed);
    EXPECT_EQ(picture.Handle(), kept);
    EXPECT_TRUE(Alive(kept));
    EXPECT_EQ(noBoxes.boxes, 0);
}

TEST_F(ImagingLoadPicture, WallpaperCategoryDecodesThroughTheRealLibraryByContent) {
    // A PNG named .bmp: the library reads it by its content, the bitmap reader refuses it.
    samples::PngImage png;
    png.width = 2, png.height = 1, png.rows = {{10, 20, 30, 40, 50, 60}};
    const std::string path = Save(dir, "renamed.bmp", png.Build());
    ASSERT_EQ(LoadPicture(path, picture, ScreenCategory::Wall), LoadOutcome::Loaded);
    EXPECT_EQ(picture.Width(), 2);
    EXPECT_EQ(PixelFormatName(picture.Format()), "24");
    const HBITMAP fromLibrary = picture.Handle();
    EXPECT_EQ(LoadPicture(path, picture, ScreenCategory::Start), LoadOutcome::CannotDecode);
    EXPECT_EQ(picture.Handle(), fromLibrary);

    // A bitmap goes through the library too and keeps its format there.
    const Bytes rle = Rle(17, 3, false).Build();
    ASSERT_EQ(LoadPicture(Save(dir, "run.rle", rle), picture, ScreenCategory::Wall), LoadOutcome::Loaded);
    EXPECT_EQ(PixelFormatName(picture.Format()), "8");
    EXPECT_TRUE(SameDib(PictureFromDibSection(picture.Handle()), DecodeBmp(rle).picture));
    // A missing file gives no picture at all in this category.
    EXPECT_EQ(LoadPicture(dir / "gone.gif", picture, ScreenCategory::Wall), LoadOutcome::Emptied);
    EXPECT_TRUE(picture.Empty());
}

TEST(ImagingPicture, OwnsOneBitmapAndReleasesItWhenGivenAnotherOrDestroyed) {
    win::WindowDc screen(nullptr);
    const HBITMAP a = CreateCompatibleBitmap(screen.get(), 4, 4);
    const HBITMAP b = CreateCompatibleBitmap(screen.get(), 6, 2);
    int changes = 0;
    {
        WinPicture p;
        p.SetOnChange([&] { ++changes; });
        EXPECT_TRUE(p.Empty());
        EXPECT_EQ(p.Format(), PixelFormat::Device);
        p.Assign(a);
        EXPECT_EQ(p.Width(), 4);
        p.Assign(b);
        EXPECT_FALSE(Alive(a));
        EXPECT_TRUE(Alive(b));
        EXPECT_EQ(p.Width(), 6);
        EXPECT_EQ(p.Height(), 2);
        WinPicture moved = std::move(p);
        EXPECT_EQ(moved.Handle(), b);
        EXPECT_TRUE(Alive(b));
    }
    EXPECT_FALSE(Alive(b));
    EXPECT_EQ(changes, 2);
}

// The preview's small picture: read in bands (a wide picture needs several), kept upright, and
// averaged; a device-dependent bitmap works as a DIB section does.
TEST(ImagingThumbnail, AveragesEveryBandOfAnyBitmapTheRightWayUp) {
    for (const int width : {300, 8200}) {  // one band, then 127 rows a band
        auto source = Picture::Create(width, 700, 24);
        ASSERT_TRUE(source);
        for (int y = 0; y < 700; ++y)
            for (int x = 0; x < width; ++x) {
                std::uint8_t* px = source->Row(y) + x * 3;
                px[0] = y < 350 ? 0 : 255;  // blue below
                px[2] = y < 350 ? 255 : 0;  // red above
                px[1] = (x % 2) ? 200 : 0;  // averages to 100 across
            }
        const win::UniqueBitmap dib(CreateDibSection(*source));
        const win::UniqueBitmap small = MakeThumbnail(dib.get(), 50, 70);  // 6 or 164 columns to one
        const auto got = ReadBitmapPixels(small.get());
        ASSERT_TRUE(got) << width;
        ASSERT_EQ(got->Width(), 50);
        ASSERT_EQ(got->Height(), 70);
        for (const auto& [y, blue, red] : {std::tuple{0, 0, 255}, {34, 0, 255}, {35, 255, 0}, {69, 255, 0}}) {
            const std::uint8_t* px = got->Row(y) + 25 * 4;
            EXPECT_EQ(px[0], blue) << width << " row " << y;
            EXPECT_EQ(px[2], red) << width << " row " << y;
            EXPECT_NEAR(px[1], 100, 1) << width << " row " << y;
        }
    }
    win::WindowDc screen(nullptr);
    const win::UniqueBitmap ddb(CreateCompatibleBitmap(screen.get(), 40, 40));
    EXPECT_TRUE(MakeThumbnail(ddb.get(), 20, 10));
    EXPECT_FALSE(MakeThumbnail(nullptr, 20, 10));
    EXPECT_FALSE(MakeThumbnail(ddb.get(), 0, 10));
}

// ---- NViewLib.dll ------------------------------------------------------------------------

class NViewLib : public ::testing::Test {
  protected:
    TempDir dir;

    // Decodes through the export and takes the handle, as the picture would.
    win::UniqueBitmap Load(const std::string& name, const Bytes& bytes) {
        return win::UniqueBitmap(NViewLibLoad(Save(dir, name, bytes).c_str(), 0));
    }
};

TEST_F(NViewLib, ExportsExactlyOneUndecoratedEntryPoint) {
    const HMODULE module = GetModuleHandleA("NViewLib.dll");
    ASSERT_NE(module, nullptr) << "bound at load time";
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(module, "NViewLibLoad")),
              reinterpret_cast<void*>(&NViewLibLoad));
    const auto* base = reinterpret_cast<const std::uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dirEntry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dirEntry.VirtualAddress);
    ASSERT_EQ(exports->NumberOfFunctions, 1u);
    ASSERT_EQ(exports->NumberOfNames, 1u);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    EXPECT_STREQ(reinterpret_cast<const char*>(base + names[0]), "NViewLibLoad");
}

TEST_F(NViewLib, NoPictureIsZeroAndNeverAFault) {
    EXPECT_EQ(NViewLibLoad(nullptr, 0), nullptr);
    EXPECT_EQ(NViewLibLoad("", 0), nullptr);
    EXPECT_EQ(NViewLibLoad((dir / "missing.png").c_str(), 0), nullptr);
    EXPECT_FALSE(Load("empty.bmp", {}));
    EXPECT_FALSE(Load("text.gif", {'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't'}));
    EXPECT_FALSE(Load("cut.png", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H'}));
    EXPECT_FALSE(Load("cut.gif", {'G', 'I', 'F', '8', '9', 'a', 10, 0, 10, 0, 0xF7}));
    EXPECT_FALSE(Load("cut.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1}));
    Bytes cutBmp = Indexed(30, 30, 8).Build();
    cutBmp.resize(cutBmp.size() / 2);
    EXPECT_FALSE(Load("cut.bmp", cutBmp));
    samples::BmpFile giant;
    giant.width = 40000, giant.height = 40000, giant.bpp = 24;
    EXPECT_FALSE(Load("giant.bmp", giant.Build()));
}

// The library reads bitmaps under any name, Targa and PCX by their content, and gives what the
// program's own reader decodes, in a DIB section of the file's depth.
TEST_F(NViewLib, OwnFormatsKeepTheirDepthUnderAnyName) {
    struct Case {
        std::string name;
        Bytes file;
        std::string format;
        DecodeResult (*decode)(std::span<const std::uint8_t>, const DecodeLimits&);
    };
    std::vector<Case> cases;
    const char* const extensions[] = {".bmp", ".dib", ".sys", ".rle", ".jpg"};
    for (const auto& [format, file] : BmpVariants())
        cases.push_back(
            {format + extensions[cases.size() % 5], file.Build(), GdiFormat(format, file), &DecodeBmp});
    for (std::uint8_t depth : {15, 16, 24, 32})
        for (std::uint8_t type : {2, 10}) {
            samples::TgaFile f;
            f.imageType = type, f.width = 21, f.height = 5, f.depth = depth,
            f.descriptor = depth == 32 ? 0x28 : 0;
            const unsigned bytes = (depth + 7u) / 8u;
            Bytes raw;
            for (int i = 0; i < 21 * 5; ++i)
                for (unsigned k = 0; k < bytes; ++k)
                    raw.push_back(static_cast<std::uint8_t>(i / 3 * 17 + k * 80));
            f.pixels = type == 10 ? samples::EncodeTgaRle(raw, bytes) : raw;
            cases.push_back({"t" + std::to_string(depth) + "_" + std::to_string(type) + ".tga", f.Build(),
                             depth <= 16 ? "15" : std::to_string(depth), &DecodeTga});
        }
    samples::TgaFile mapped;
    mapped.imageType = 9, mapped.mapType = 1, mapped.mapLength = 4, mapped.mapEntryBits = 24;
    mapped.width = 6, mapped.height = 2, mapped.depth = 8,
    mapped.map = {0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9};
    mapped.pixels = samples::EncodeTgaRle({0, 1, 2, 3, 3, 3, 2, 2, 1, 0, 0, 0}, 1);
    cases.push_back({"mapped.tga", mapped.Build(), "8", &DecodeTga});
    for (const auto& [bits, planes, format] :
         {std::tuple{1, 1, "1"}, {1, 4, "4"}, {4, 1, "4"}, {8, 1, "8"}, {8, 3, "24"}}) {
        samples::PcxFile f;
        f.bitsPerPlane = static_cast<std::uint8_t>(bits), f.planes = static_cast<std::uint8_t>(planes);
        f.xMax = 36, f.yMax = 4;
        for (int i = 0; i < 48; ++i) f.headerPalette.push_back(static_cast<std::uint8_t>(i * 5));
        Bytes raw(static_cast<std::size_t>(f.LineBytes()) * static_cast<std::size_t>(planes) * 5);
        for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(i / 4 * 29);
        f.data = samples::EncodePcxRle(raw);
        if (bits == 8 && planes == 1) {
            f.vgaPalette.emplace();
            for (int i = 0; i < 768; ++i) f.vgaPalette->push_back(static_cast<std::uint8_t>(i * 7));
        }
        cases.push_back({"p" + std::to_string(bits) + "x" + std::to_string(planes) + ".pcx", f.Build(),
                         format, &DecodePcx});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bitmap = Load(c.name, c.file);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(PixelFormatName(DescribeBitmap(bitmap.get()).format), c.format);
        EXPECT_TRUE(SameDib(PictureFromDibSection(bitmap.get()), c.decode(c.file, {}).picture));
    }
}

// A JPEG of 16 x 16 blocks: colour is stored at half resolution, so smaller ones would bleed.
std::uint8_t Block(int x, int y, int k) {
    return static_cast<std::uint8_t>(((x / 16) * 60 + (y / 16) * 90 + k * 70) % 256);
}

// PNG, GIF and JPEG through the library's export: the depth a DIB section can keep, the palette and
// every pixel (JPEG within its loss). Before XP SP3 there is no WIC: JPEG and GIF come through OLE's
// picture loader, PNG through GDI+, and each must give what WIC gives (JPEG within decoder rounding).
TEST_F(NViewLib, WebPicturesKeepDepthAndPixelsWithOrWithoutWic) {
    auto png = [](std::uint8_t colorType, std::uint8_t depth, std::uint32_t width,
                  std::vector<std::vector<std::uint8_t>> rows, std::vector<std::uint8_t> palette = {}) {
        samples::PngImage p;
        p.colorType = colorType, p.bitDepth = depth, p.width = width,
        p.height = static_cast<std::uint32_t>(rows.size());
        p.rows = std::move(rows), p.palette = std::move(palette);
        const auto b = p.Build();
        return Bytes(b.begin(), b.end());
    };
    using Colour = std::function<Bgra(int, int)>;
    auto list = [](int width, std::vector<Bgra> c) -> Colour {
        return [=](int x, int y) { return c[static_cast<std::size_t>(y * width + x)]; };
    };
    const Bgra black{0, 0, 0, 255}, red{0, 0, 255, 255}, green{0, 255, 0, 255}, dark{7, 7, 7, 255};
    const std::vector<std::uint8_t> fourColours = {0, 0, 0, 255, 0, 0, 0, 255, 0, 7, 7, 7};
    const Colour indexed = list(5, {black, red, green, dark, red, dark, dark, green, red, black});
    std::vector<std::uint8_t> gifPalette;
    for (int i = 0; i < 256; ++i)
        gifPalette.insert(gifPalette.end(),
                          {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 9});
    samples::GifFrame first{0, 0, 300, 4, {}};
    for (int i = 0; i < 300 * 4; ++i) first.indexes.push_back(static_cast<std::uint8_t>(i * 7 / 5));
    const samples::GifFrame second{0, 0, 300, 4, std::vector<std::uint8_t>(300 * 4, 1)};
    const auto gif = samples::BuildGif(300, 4, gifPalette, {first, second});
    const struct {
        const char* name;
        PictureKind kind;
        Bytes file;
        const char* format;
        Colour want;
        bool wicOnly = false;  // without WIC, GDI+ gives these 32 bits a pixel where WIC keeps 24 or 4
    } cases[] = {
        {"rgb.png", PictureKind::Png,
         png(2, 8, 3, {{255, 0, 0, 0, 255, 0, 0, 0, 255}, {1, 2, 3, 4, 5, 6, 7, 8, 9}}), "24",
         list(3, {red, green, {255, 0, 0, 255}, {3, 2, 1, 255}, {6, 5, 4, 255}, {9, 8, 7, 255}})},
        {"rgba.png", PictureKind::Png, png(6, 8, 3, {{10, 20, 30, 255, 40, 50, 60, 128, 1, 2, 3, 0}}), "32",
         list(3, {{30, 20, 10, 255}, {60, 50, 40, 128}, {3, 2, 1, 0}})},
        {"grey.png", PictureKind::Png, png(0, 8, 3, {{0, 100, 255}}), "8",
         list(3, {black, {100, 100, 100, 255}, {255, 255, 255, 255}})},
        {"16-bit.png", PictureKind::Png, png(2, 16, 1, {{0x12, 0x00, 0x34, 0xFF, 0x56, 0x80}}), "24",
         list(1, {{0x56, 0x34, 0x12, 255}}), true},
        {"8-bit palette.png", PictureKind::Png, png(3, 8, 5, {{0, 1, 2, 3, 1}, {3, 3, 2, 1, 0}}, fourColours),
         "8", indexed},
        {"4-bit palette.png", PictureKind::Png,
         png(3, 4, 4, {{0x01, 0x23}}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), "4",
         list(4, {{3, 2, 1, 255}, {6, 5, 4, 255}, {9, 8, 7, 255}, {12, 11, 10, 255}})},
        {"2-bit palette.png", PictureKind::Png, png(3, 2, 5, {{0x1B, 0x40}, {0xF9, 0x00}}, fourColours), "4",
         indexed, true},
        {"1-bit palette.png", PictureKind::Png, png(3, 1, 4, {{0xA0}}, {0, 0, 0, 250, 250, 250}), "1",
         list(4, {{250, 250, 250, 255}, black, {250, 250, 250, 255}, black})},
        {"anim.gif", PictureKind::Gif, Bytes(gif.begin(), gif.end()), "8",
         [](int x, int y) {
             const auto index = static_cast<std::uint8_t>((y * 300 + x) * 7 / 5);
             return Bgra{9, static_cast<std::uint8_t>(255 - index), index, 255};
         }},
        {"photo.jpg", PictureKind::Jpeg, EncodeJpeg(48, 32, false, Block), "24",
         [](int x, int y) {
             return Bgra{Block(x, y, 0), Block(x, y, 1), Block(x, y, 2), 255};
         }},
        {"grey.jif", PictureKind::Jpeg, EncodeJpeg(32, 16, true, Block), "8",
         [](int x, int y) {
             return Bgra{Block(x, y, 0), Block(x, y, 0), Block(x, y, 0), 255};
         }},
    };
    // The colour at (x, y), with a 32-bit pixel's fourth byte as its alpha.
    const auto at = [](const Picture& p, int x, int y) {
        Bgra c = p.ColorAt(x, y);
        if (p.BitsPerPixel() == 32) c.a = p.Row(y)[x * 4 + 3];
        return c;
    };
    const auto within = [](Bgra a, Bgra b, int tolerance) {
        return std::abs(a.b - b.b) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
               std::abs(a.r - b.r) <= tolerance && a.a == b.a;
    };
    const auto decode = [](const Bytes& file, PictureKind kind, bool wicAbsent) {
        const ScopedSeam<&SetWicAbsentSeam> seam(wicAbsent);
        return DecodeWebPicture(file, kind, {});
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.file.empty()) << "the platform encoder wrote nothing";
        const bool jpeg = c.kind == PictureKind::Jpeg;
        const auto bitmap = Load(c.name, c.file);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(PixelFormatName(DescribeBitmap(bitmap.get()).format), c.format);
        const auto got = PictureFromDibSection(bitmap.get());
        ASSERT_TRUE(got);
        for (int y = 0; y < got->Height(); ++y)
            for (int x = 0; x < got->Width(); ++x)
                ASSERT_TRUE(within(at(*got, x, y), c.want(x, y), jpeg ? 12 : 0))
                    << "library at " << x << "," << y;
        if (c.wicOnly) continue;
        const auto wic = decode(c.file, c.kind, false);
        const auto fallback = decode(c.file, c.kind, true);
        ASSERT_TRUE(wic && fallback);
        ASSERT_EQ(fallback->Width(), wic->Width());
        ASSERT_EQ(fallback->Height(), wic->Height());
        ASSERT_EQ(fallback->BitsPerPixel(), wic->BitsPerPixel());
        EXPECT_EQ(fallback->Palette(), wic->Palette());
        for (int y = 0; y < wic->Height(); ++y)
            for (int x = 0; x < wic->Width(); ++x)
                ASSERT_TRUE(within(at(*fallback, x, y), at(*wic, x, y), jpeg ? 3 : 0))
                    << "fallback at " << x << "," << y;
    }
    // A broken file stays broken.
    EXPECT_FALSE(DecodeWebPicture(std::span(cases[0].file).first(40), PictureKind::Png, {}));
    EXPECT_FALSE(DecodeWebPicture(std::span(cases[8].file).first(30), PictureKind::Gif, {}));
}

// COM belongs to the caller's thread: the library sets it up for itself and leaves it as it was.
TEST_F(NViewLib, LeavesTheCallersComAsItFoundIt) {
    samples::PngImage png;
    png.rows = {{1, 2, 3}};
    const std::string path = Save(dir, "com.png", png.Build());
    for (DWORD model : {DWORD{0}, DWORD{COINIT_MULTITHREADED}, DWORD{COINIT_APARTMENTTHREADED}}) {
        bool decoded = false, comAfter = false;
        TestThread worker([&] {
            const bool own = model != 0 && SUCCEEDED(CoInitializeEx(nullptr, model));
            win::UniqueBitmap bitmap(NViewLibLoad(path.c_str(), 0));
            decoded = static_cast<bool>(bitmap);
            // S_FALSE: still initialised by us; S_OK: the library left nothing behind.
            const HRESULT again = CoInitializeEx(nullptr, model ? model : DWORD{COINIT_APARTMENTTHREADED});
            comAfter = again == S_FALSE || again == RPC_E_CHANGED_MODE;
            if (SUCCEEDED(again)) CoUninitialize();
            if (own) CoUninitialize();
        });
        worker.join();
        EXPECT_TRUE(decoded) << "model " << model;
        EXPECT_EQ(comAfter, model != 0) << "model " << model;
    }
}

// Before XP SP3 there is no WIC: JPEG and GIF come through OLE's picture loader, PNG through
// GDI+. Each must give what WIC gives: the same size, depth and palette, and the same pixels

}  // namespace
}  // namespace mvpr

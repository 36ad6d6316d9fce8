#include "FormFixture.h"
#include "imaging/BmpCodec.h"
#include "app/FormPreview.h"
#include "imaging/StyleRenderer.h"
#include "ImagingSamples.h"
#include "system/DesktopKeys.h"
#include "system/Wallpaper_win.h"
#include "win/Menus.h"
#include "win/Registry.h"

namespace mvpr::test {
namespace {

using samples::PatternPicture;

std::string AsString(const std::vector<std::uint8_t>& b) {
    return std::string(b.begin(), b.end());
}

class FullScreen : public FormTest {
  protected:
    void SetUp() override {
        Open();
        CreateDirectoryA(pics().c_str(), nullptr);
        preview = std::make_unique<TFormPreview>(*form);
        ASSERT_NE(preview->CreateForm(), nullptr);
        form->SetFullScreenPreview([this] { preview->ShowPreview(); });
    }
    void TearDown() override {
        preview.reset();
        FormTest::TearDown();
    }
    std::string pics() { return dir / "pics"; }
    std::string workFile() { return dir / std::string(kWorkFileName); }
    std::string desktopKey() { return registry.prefix() + std::string(kDesktopKey); }

    // Lists pictures in a category, the first selected and so previewed.
    void Preview(ScreenCategory c, const Picture& picture, std::vector<std::string> names = {"a.bmp"}) {
        Click(c);
        std::vector<ScreenEntry> entries;
        for (const auto& n : names) {
            ASSERT_TRUE(WriteFile(pics() + "\\" + n, AsString(*EncodeBmp(picture))));
            entries.push_back({n, pics(), "Centred", false});
        }
        Probe().ListOf(c).AddMany(entries);
        Probe().ViewOf(c).Sync();
        HWND list = Probe().ViewOf(c).hwnd();
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        Pump();
    }
    void Command(HWND to, int id) {
        SendMessageA(to, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }
    // A key as the event loop hands it to the full-screen window.
    void Key(UINT vk, bool ctrl = false) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg{preview->hwnd(), WM_KEYDOWN, vk, 1, 0, {}};
        EXPECT_TRUE(preview->PreTranslateMessage(msg)) << vk;
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        Pump();
    }
    std::vector<UINT> ShownItems() {
        std::vector<UINT> ids;
        HMENU m = preview->PopMPreview();
        for (int i = 0; i < GetMenuItemCount(m); ++i) ids.push_back(GetMenuItemID(m, i));
        return ids;
    }
    std::vector<UINT> CheckedStyles() {
        std::vector<UINT> ids;
        for (UINT id = IDM_CENTRED1; id <= IDM_MIRROR1; ++id)
            if (win::IsMenuItemCheckedById(preview->PopMPreview(), id)) ids.push_back(id);
        return ids;
    }
    std::string Style() { return WindowText(form->Control(SelectCtl::CBStyle)); }
    void SetStyle(DisplayStyle s) {
        SendMessageA(form->Control(SelectCtl::CBStyle), CB_SETCURSEL, static_cast<WPARAM>(s), 0);
    }
    std::string Desktop(const char* value) {
        auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, desktopKey(), false);
        return key ? key->ReadText(value).value_or("<none>") : "<no key>";
    }

    std::unique_ptr<TFormPreview> preview;
};

TEST_F(FullScreen, AScreenIsStretchedOverTheScreenWithTheScreenMenu) {
    Preview(ScreenCategory::Start, PatternPicture(320, 400));
    Command(form->hwnd(), IDM_FULLSCREENPREVIEW2);  // F3
    HWND w = preview->hwnd();
    ASSERT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_EQ(WindowText(w), "Full screen Preview");
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    EXPECT_STREQ(cls, "TFormPreview");
    EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
    EXPECT_EQ(preview->Placement(), (PixelRect{0, 0, ScreenWidth(), ScreenHeight()}));
    EXPECT_EQ(preview->Rendering()->Width(), 320);
    EXPECT_EQ(preview->ImgPreviewHint(), "Size : 320 X 400");
    EXPECT_EQ(ShownItems(), (std::vector<UINT>{IDM_RETURNTOMAIN1, IDM_FILEINFO1, IDM_N_PREVIEW1,
                                               IDM_PREVIEW_SETASCURRENTSCREEN1}));
    Key('T', true);  // a hidden style entry keeps no shortcut
    EXPECT_EQ(Style(), "");
    Key('I', true);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Size : 320 X 400\n\rBits per pixel : 24\n\r");
    Key(VK_F3);
    EXPECT_FALSE(IsWindowVisible(w));
    // A click on the picture returns too.
    Command(form->hwnd(), IDM_VIEW2);
    ASSERT_TRUE(IsWindowVisible(w));
    SendMessageA(preview->ImgPreview(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(preview->ImgPreview(), WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(IsWindowVisible(w));
}

TEST_F(FullScreen, StylesAreChosenInTheWindowAndGoToTheSelectedWallpapersOnReturn) {
    Preview(ScreenCategory::Wall, PatternPicture(800, 600), {"a.bmp", "b.bmp"});
    Command(form->hwnd(), IDM_FULLSCREENPREVIEW2);
    EXPECT_EQ(preview->Placement(), (PixelRect{112, 84, 800, 600}));
    EXPECT_EQ(ShownItems(), (std::vector<UINT>{IDM_RETURNTOMAIN1, IDM_FILEINFO1, IDM_N_PREVIEW1, IDM_CENTRED1,
                                               IDM_STRETCHED1, IDM_TILED1, IDM_FIT2SCREEN1, IDM_MIRROR1,
                                               IDM_N_PREVIEW2, IDM_PREVIEW_SETASCURRENTWALLPAPER1}));
    EXPECT_EQ(CheckedStyles(), std::vector<UINT>{IDM_CENTRED1});
    struct Step {
        UINT key;
        std::string style;
        PixelRect placement;
        int renderedW, renderedH;
    };
    for (const Step& s : {Step{'T', "Tiled", {0, 0, 1024, 768}, 1024, 768},
                          Step{'F', "Fit 2 Screen", {0, 0, 1024, 768}, 1024, 768},
                          Step{'S', "Stretched", {0, 0, 1024, 768}, 800, 600},
                          Step{'M', "Mirror", {0, 0, 1024, 768}, 1024, 768}}) {
        Key(s.key, true);
        EXPECT_EQ(Style(), s.style);
        EXPECT_EQ(CheckedStyles(),
                  std::vector<UINT>{IDM_CENTRED1 + static_cast<UINT>(*DisplayStyleIndex(s.style))})
            << s.style;
        EXPECT_EQ(preview->Placement(), s.placement) << s.style;
        EXPECT_EQ(preview->Rendering()->Width(), s.renderedW) << s.style;
        EXPECT_EQ(preview->Rendering()->Height(), s.renderedH) << s.style;
    }
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[0].style, "Centred");
    EXPECT_FALSE(Probe().ListsModified());
    Key(VK_F3);
    EXPECT_FALSE(IsWindowVisible(preview->hwnd()));
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[0].style, "Mirror");
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[1].style, "Centred");
    EXPECT_TRUE(Probe().ListsModified());

    // With no entry selected, returning changes none.
    ListView_SetItemState(Probe().ViewOf(ScreenCategory::Wall).hwnd(), -1, 0, LVIS_SELECTED);
    Pump();
    Command(form->hwnd(), IDM_FULLSCREENPREVIEW2);
    Command(preview->hwnd(), IDM_TILED1);
    SendMessageA(preview->ImgPreview(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(preview->ImgPreview(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Style(), "Tiled");
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[0].style, "Mirror");
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[1].style, "Centred");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(FullScreen, TheWorkFileAndTheDesktopValuesFollowTheStyle) {
    const Picture source = PatternPicture(300, 200);
    Preview(ScreenCategory::Wall, source);
    {
        auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, desktopKey(), true);
        key->WriteString(kWallpaperStyleValue, "9");
    }
    struct Case {
        DisplayStyle style;
        const char *tile, *wallpaperStyle;
    };
    for (const Case& c : {Case{DisplayStyle::Centred, "0", "0"}, Case{DisplayStyle::Stretched, "0", "2"},
                          Case{DisplayStyle::Tiled, "1", "0"}, Case{DisplayStyle::Fit2Screen, "0", "0"},
                          Case{DisplayStyle::Mirror, "0", "0"}}) {
        const std::string what(DisplayStyleText(c.style));
        SetStyle(c.style);
        Command(form->hwnd(), IDM_SETASCURRENT1);  // F4, the window never shown
        const std::string file = ReadFile(workFile());
        const auto want = EncodeWorkFile(*RenderWorkFile(source, c.style, ScreenWidth(), ScreenHeight()),
                                         DisplayBitsPerPixel());
        EXPECT_TRUE(file == AsString(*want)) << what;
        EXPECT_EQ(Desktop("Wallpaper"), workFile()) << what;
        EXPECT_EQ(Desktop("TileWallpaper"), c.tile) << what;
        EXPECT_EQ(Desktop("WallpaperStyle"), c.wallpaperStyle) << what;

        // The full-screen window's own F4 writes the same bytes.
        DeleteFileA(workFile().c_str());
        Command(form->hwnd(), IDM_FULLSCREENPREVIEW2);
        Key(VK_F4);
        EXPECT_TRUE(ReadFile(workFile()) == file) << what;
        Key(VK_F3);
    }
    const std::string last = ReadFile(workFile());
    const DecodeResult tiled = DecodeBmp(samples::Bytes(last.begin(), last.end()));
    EXPECT_EQ(tiled.picture.Width(), ScreenWidth());
    const int depth = DisplayBitsPerPixel();
    EXPECT_EQ(tiled.picture.BitsPerPixel(), depth == 16 || depth == 32 ? depth : 24);

    // WallpaperStyle is never created; without the key nothing is written but the file.
    {
        auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, desktopKey(), false);
        key->DeleteValue(kWallpaperStyleValue);
    }
    SetStyle(DisplayStyle::Stretched);
    Command(form->hwnd(), IDM_SETASCURRENT1);
    EXPECT_EQ(Desktop("WallpaperStyle"), "<none>");
    EXPECT_EQ(Desktop("TileWallpaper"), "0");
    DeleteKeyTree(HKEY_CURRENT_USER, desktopKey());
    DeleteFileA(workFile().c_str());
    Command(form->hwnd(), IDM_SETASCURRENT1);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, desktopKey()));
    EXPECT_TRUE(FileExists(workFile()));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(FullScreen, AWorkFileThatCannotBeWrittenChangesNothing) {
    Preview(ScreenCategory::Wall, PatternPicture(30, 20));
    {
        auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, desktopKey(), true);
        key->WriteString(kWallpaperValue, "before");
        key->WriteString(kTileWallpaperValue, "1");
    }
    ASSERT_TRUE(WriteFile(workFile(), "old"));
    SetFileAttributesA(workFile().c_str(), FILE_ATTRIBUTE_READONLY);
    Command(form->hwnd(), IDM_SETASCURRENT1);
    Command(form->hwnd(), IDM_FULLSCREENPREVIEW2);
    Key(VK_F4);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    for (const auto& b : boxes.boxes) {
        EXPECT_EQ(b.kind, win::MsgKind::Error);
        EXPECT_NE(b.text.find("denied"), std::string::npos) << b.text;
    }
    EXPECT_EQ(ReadFile(workFile()), "old");
    EXPECT_EQ(Desktop("Wallpaper"), "before");
    EXPECT_EQ(Desktop("TileWallpaper"), "1");
    SetFileAttributesA(workFile().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Wallpaper, AWorkFilePathTooLongForTheSystemUsesTheShortFolderName) {
    TempDir dir;
    RegistrySandbox registry;
    // A folder of 247 characters, the most CreateDirectory takes: the work file's path is then 260 long.
    std::string folder = dir.path();
    while (folder.size() < 247) {
        const std::size_t room = 247 - folder.size() - 1;
        folder += "\\" + std::string(room > 40 ? 30 : room, 'L');
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    }
    const WallpaperOutcome outcome =
        SetCurrentWallpaper(PatternPicture(4, 4), "Centred", Places{folder + "\\", {}, registry.prefix()});
    char shortFolder[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(folder.c_str(), shortFolder, MAX_PATH), 0u);
    const std::string shortPath = std::string(shortFolder) + "\\" + std::string(kWorkFileName);
    ASSERT_LE(shortPath.size(), 259u);
    EXPECT_TRUE(outcome.written) << outcome.error;
    EXPECT_TRUE(FileExists(shortPath));
}

}  // namespace
}  // namespace mvpr::test

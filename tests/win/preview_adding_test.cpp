#include "FormFixture.h"
#include "app/PreviewTexts.h"
#include "win/FilterText.h"
#include "imaging/ScreenRule.h"
#include "win/Menus.h"

namespace mvpr::test {
namespace {

void WriteBmp(const std::string& path, int width, int height, int bpp) {
    ASSERT_TRUE(WriteFile(path, BlankBmp(width, height, bpp)));
}

// A 1 KB bitmap that claims width x height pixels of RLE8: one end of line, then the end.
std::string RleBomb(std::int32_t width, std::int32_t height) {
    std::string bytes = BlankBmp(1, 1, 8);
    auto put32 = [&bytes](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
    };
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    put32(30, 1);  // BI_RLE8
    bytes.replace(bytes.size() - 4, 4, std::string("\0\0\0\1", 4));
    return bytes;
}

class PreviewAndAdding : public FormTest {
  protected:
    void SetUp() override {
        config.places.programDir = dir.path();
        Open();
        ASSERT_TRUE(Probe().Browser().ApplyFilePath(pics()));
    }
    std::string pics() {
        const std::string p = dir / "pics";
        CreateDirectoryA(p.c_str(), nullptr);
        return p;
    }
    void Reload() { SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_REFRESH1, 0), 0); }
    int IndexOf(const std::string& name) {
        for (std::size_t i = 0; i < Probe().Browser().FileCount(); ++i)
            if (Probe().Browser().FileName(i) == name) return static_cast<int>(i);
        return -1;
    }
    // Chooses files as a click does: the last one gets the focus, then the list reports the change.
    void Choose(std::initializer_list<const char*> names) {
        HWND files = Probe().Browser().FileList();
        SendMessageA(files, LB_SETSEL, FALSE, -1);
        for (const char* n : names) {
            const int i = IndexOf(n);
            ASSERT_GE(i, 0) << n;
            SendMessageA(files, LB_SETSEL, TRUE, i);
            SendMessageA(files, LB_SETCARETINDEX, i, FALSE);
        }
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(files), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(files));
    }
    void PickAllFiles() {
        HWND combo = Probe().Browser().FilterCombo();
        SendMessageA(combo, CB_SETCURSEL, 3, 0);  // "All files (*.*)"
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }
    void Add() { SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_ADD1, 0), 0); }
    void SelectEntry(ScreenCategory c, int row) {
        HWND list = Probe().ViewOf(c).hwnd();
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    std::vector<std::string> Names(ScreenCategory c) {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < Probe().ListOf(c).size(); ++i)
            out.push_back(Probe().ListOf(c)[i].fileName);
        return out;
    }
    bool FileChosen(const char* name) {
        return Probe().Browser().FileSelected(static_cast<std::size_t>(IndexOf(name)));
    }
    bool PictureShown() { return IsWindowVisible(form->Control(SelectCtl::ImgPreview)) != FALSE; }
    std::string PictureHint() { return form->HintOf(form->Control(SelectCtl::ImgPreview)); }
};

TEST_F(PreviewAndAdding, ScreenFilesThatBreakTheRuleAreRefusedWithOneMessageEach) {
    WriteBmp(pics() + "\\a.bmp", 320, 400, 8);
    WriteBmp(pics() + "\\b.bmp", 640, 480, 24);  // the size is judged before the depth
    WriteBmp(pics() + "\\c.bmp", 320, 400, 8);
    Reload();
    Choose({"a.bmp", "b.bmp", "c.bmp"});
    Add();
    EXPECT_EQ(Names(ScreenCategory::Start), (std::vector<std::string>{"a.bmp", "c.bmp"}));
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Start)[0].folder, pics());
    EXPECT_FALSE(FileChosen("a.bmp"));
    EXPECT_TRUE(FileChosen("b.bmp"));
    EXPECT_FALSE(FileChosen("c.bmp"));
    EXPECT_TRUE(Probe().ListsModified());
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 2");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Error);
    EXPECT_EQ(boxes.boxes[0].text, SizeErrorMessage(pics() + "\\b.bmp", 640, 480));
    EXPECT_NE(boxes.boxes[0].text.find("Size is : 640 x 480,\n\r"), std::string::npos);
}

TEST_F(PreviewAndAdding, DepthMessagesNameTheFilesDepth) {
    WriteBmp(pics() + "\\four.bmp", 320, 400, 4);
    WriteBmp(pics() + "\\true.bmp", 320, 400, 24);
    Reload();
    Choose({"four.bmp", "true.bmp"});
    Add();
    EXPECT_TRUE(Names(ScreenCategory::Start).empty());
    EXPECT_FALSE(Probe().ListsModified());
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_NE(boxes.boxes[0].text.find("\n\rPixel depth is : 4 bpp\n\r"), std::string::npos);
    EXPECT_EQ(boxes.boxes[1].text, DepthErrorMessage(pics() + "\\true.bmp", PixelFormat::Bits24));
}

TEST_F(PreviewAndAdding, UndecodableFilesAreRefusedAsUnreadableAndReportingCanBeSwitchedOff) {
    WriteFile(pics() + "\\broken.bmp", "BM this is no bitmap");
    WriteFile(pics() + "\\empty.sys", "");
    WriteBmp(pics() + "\\good.sys", 320, 400, 8);
    Reload();
    Choose({"broken.bmp", "empty.sys", "good.sys"});
    Add();
    EXPECT_EQ(Names(ScreenCategory::Start), (std::vector<std::string>{"good.sys"}));
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, UnreadableErrorMessage(pics() + "\\broken.bmp"));
    EXPECT_NE(boxes.boxes[1].text.find("Size is : 0 x 0,"), std::string::npos);  // an empty bitmap
    // the preview was not touched by adding
    EXPECT_EQ(Probe().PreviewCaption(),
              pics() + "\\good.sys");  // the focused file, previewed by the choosing

    boxes.boxes.clear();
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_ERRORREPORTON1, 0), 0);
    EXPECT_FALSE(Probe().ReportAddErrors());
    Choose({"broken.bmp", "good.sys"});
    Add();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(Names(ScreenCategory::Start),
              (std::vector<std::string>{"good.sys", "good.sys"}));  // twice is fine
    EXPECT_TRUE(FileChosen("broken.bmp"));
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_ERRORREPORTON1, 0), 0);
    EXPECT_TRUE(Probe().ReportAddErrors());
}

// A file that fails to decode has no picture everywhere: strip, hint, information, adding.
TEST_F(PreviewAndAdding, AFailedDecodeNeverStandsForTheFileThatFailed) {
    WriteBmp(pics() + "\\valid.bmp", 320, 400, 8);
    WriteBmp(pics() + "\\deep.bmp", 320, 400, 24);
    WriteFile(pics() + "\\garbage.bmp", std::string(600, '\x5a'));
    Reload();
    const std::string garbage = pics() + "\\garbage.bmp";
    for (const char* before : {"valid.bmp", "deep.bmp"}) {
        boxes.boxes.clear();
        Choose({before});
        EXPECT_TRUE(form->PreviewDecoded()) << before;
        Choose({"garbage.bmp"});
        EXPECT_FALSE(form->PreviewDecoded()) << before;
        EXPECT_EQ(Probe().PreviewCaption(), garbage);
        EXPECT_TRUE(form->PreviewPicture().Empty()) << "the picture before must not stay";
        EXPECT_EQ(Probe().PreviewStripColor(), RGB(255, 0, 0));
        EXPECT_EQ(PictureHint(), kUnreadableHint);
        Probe().PopMFileInfoPopup();
        EXPECT_EQ(win::MenuItemText(Probe().PopMFileInfo(), IDM_SIZE), kUnreadableHint);
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_SIZE, 0), 0);
        Add();
        EXPECT_TRUE(Names(ScreenCategory::Start).empty()) << before;
        EXPECT_TRUE(FileChosen("garbage.bmp"));
        ASSERT_EQ(boxes.boxes.size(), 2u) << before;
        EXPECT_EQ(boxes.boxes[0].text, UnreadableInfoText(garbage, "bitmap"));
        EXPECT_EQ(boxes.boxes[1].kind, win::MsgKind::Error);
        EXPECT_EQ(boxes.boxes[1].text, UnreadableErrorMessage(garbage));
    }
    EXPECT_FALSE(Probe().ListsModified());
    // A picture bomb is no picture, in every category.
    WriteFile(pics() + "\\bomb.bmp", RleBomb(32768, 16384));
    WriteFile(pics() + "\\fits.bmp", RleBomb(16384, 4096));
    Reload();
    Choose({"bomb.bmp"});
    EXPECT_FALSE(form->PreviewDecoded());
    Choose({"fits.bmp"});
    EXPECT_TRUE(form->PreviewDecoded());
    EXPECT_EQ(PictureHint(), "Size : 16384 X 4096");
    // Nothing previewed and a picture the library could not give are no decoded pictures either.
    Choose({});
    EXPECT_FALSE(form->PreviewDecoded());
    Click(ScreenCategory::Wall);
    Choose({"valid.bmp"});
    EXPECT_TRUE(form->PreviewDecoded());
    Choose({"garbage.bmp"});
    EXPECT_FALSE(form->PreviewDecoded());
    EXPECT_EQ(Probe().PreviewStripColor(), GetSysColor(COLOR_BTNFACE));
    Choose({"bomb.bmp"});
    EXPECT_FALSE(form->PreviewDecoded());
    int shown = 0;
    form->SetFullScreenPreview([&] { ++shown; });
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_FULLSCREENPREVIEW2, 0), 0);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(boxes.boxes.back().text, kNoPreviewAvailable);
}

// A name the ANSI code page cannot spell would be shown with look-alike letters and name no
// file: it is left out. A name wider than the list scrolls it sideways.
TEST_F(PreviewAndAdding, TheFileListShowsOnlyNamesTheProgramCanUseAndScrollsSideways) {
    const std::string folder = pics();
    const std::wstring wide = std::wstring(folder.begin(), folder.end()) + L"\\\x03A9mega.bmp";
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    const std::string longName = std::string(120, 'x') + ".bmp";
    WriteBmp(pics() + "\\" + longName, 320, 400, 8);
    Reload();
    ASSERT_EQ(Probe().Browser().FileCount(), 1u);
    EXPECT_EQ(Probe().Browser().FileName(0), longName);
    RECT client{};
    GetClientRect(Probe().Browser().FileList(), &client);
    EXPECT_GT(SendMessageA(Probe().Browser().FileList(), LB_GETHORIZONTALEXTENT, 0, 0), client.right);
    DeleteFileW(wide.c_str());
}

TEST_F(PreviewAndAdding, WallpapersOfAnyKindAreAddedWithTheShownStyle) {
    WriteFile(pics() + "\\photo.jpg", "not even a picture");
    WriteBmp(pics() + "\\big.bmp", 1600, 1200, 24);
    WriteFile(pics() + "\\notes.txt", "hello");
    Click(ScreenCategory::Wall);
    PickAllFiles();
    Choose({"photo.jpg", "big.bmp"});
    Add();
    ASSERT_EQ(Names(ScreenCategory::Wall), (std::vector<std::string>{"big.bmp", "photo.jpg"}));
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[0].style, "Centred");
    SendMessageA(form->Control(SelectCtl::CBStyle), CB_SETCURSEL, 2, 0);  // "Tiled", nothing selected
    Choose({"notes.txt"});
    Add();
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[1].fileName, "notes.txt");
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[1].style, "Tiled");
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 3");
}

TEST_F(PreviewAndAdding, ChoosingPreviewsTheFocusedFileAndColoursAWrongSizeRed) {
    WriteBmp(pics() + "\\wide.bmp", 640, 480, 8);
    WriteBmp(pics() + "\\right.bmp", 320, 400, 24);
    Reload();
    EXPECT_FALSE(PictureShown());
    EXPECT_EQ(Probe().PreviewCaption(), "No File Selected");
    Choose({"wide.bmp"});
    EXPECT_TRUE(PictureShown());
    EXPECT_EQ(Probe().PreviewCaption(), pics() + "\\wide.bmp");
    EXPECT_EQ(form->HintOf(form->Control(SelectCtl::PnlPreviewName)), pics() + "\\wide.bmp");
    EXPECT_EQ(Probe().PreviewStripColor(), RGB(255, 0, 0));
    EXPECT_EQ(PictureHint(), "Size : 640 X 480");
    // The box shows a small picture made for it, not the file's bitmap.
    const HBITMAP shown =
        static_cast<win::PictureBox*>(win::Window::FromHandle(form->Control(SelectCtl::ImgPreview)))
            ->Bitmap();
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(shown, sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 160);
    EXPECT_EQ(bm.bmHeight, 100);
    EXPECT_TRUE(IsWindowEnabled(form->Control(SelectCtl::BtnAdd)));
    Choose({"right.bmp"});  // any depth: only the size turns the strip red
    EXPECT_EQ(Probe().PreviewStripColor(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(form->PreviewPicture().Format(), PixelFormat::Bits24);
    // in the wallpaper category a wrong size is no fault
    Click(ScreenCategory::Wall);
    Choose({"wide.bmp"});
    EXPECT_EQ(Probe().PreviewCaption(), pics() + "\\wide.bmp");
    EXPECT_EQ(Probe().PreviewStripColor(), GetSysColor(COLOR_BTNFACE));
    // another folder empties the panel
    CreateDirectoryA((pics() + "\\sub").c_str(), nullptr);
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(pics() + "\\sub"));
    EXPECT_FALSE(PictureShown());
    EXPECT_EQ(Probe().PreviewCaption(), "No File Selected");
    EXPECT_EQ(PictureHint(), "");
    EXPECT_FALSE(IsWindowEnabled(form->Control(SelectCtl::BtnAdd)));
}

TEST_F(PreviewAndAdding, ThePreviewedFileIsNotDecodedAgain) {
    WriteBmp(pics() + "\\s.bmp", 320, 400, 8);
    Reload();
    Choose({"s.bmp"});
    const HBITMAP first = form->PreviewPicture().Handle();
    WriteBmp(pics() + "\\s.bmp", 640, 480, 8);  // changed on disk behind the program's back
    Choose({"s.bmp"});
    EXPECT_EQ(form->PreviewPicture().Handle(), first);
    // adding it judges the picture already previewed
    Add();
    EXPECT_EQ(Names(ScreenCategory::Start), (std::vector<std::string>{"s.bmp"}));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(PreviewAndAdding, EachPreviewModeDecidesWhichListThePanelFollows) {
    WriteBmp(pics() + "\\one.bmp", 320, 400, 8);
    WriteBmp(pics() + "\\two.bmp", 320, 400, 8);
    Reload();
    Choose({"one.bmp", "two.bmp"});
    Add();
    Choose({});
    ASSERT_EQ(Probe().PreviewCaption(), "No File Selected");

    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_PREVIEWNONE1, 0), 0);
    EXPECT_EQ(Probe().PreviewMode(), 0);
    EXPECT_TRUE(win::IsMenuItemCheckedById(Probe().MainMenu1(), IDM_PREVIEWNONE1));
    EXPECT_FALSE(win::IsMenuItemCheckedById(Probe().MainMenu1(), IDM_PREVIEWBOTH1));
    Choose({"one.bmp"});
    SelectEntry(ScreenCategory::Start, 1);
    EXPECT_EQ(Probe().PreviewCaption(), "No File Selected");
    EXPECT_TRUE(IsWindowEnabled(form->Control(SelectCtl::BtnAdd)));  // follows the choice in every mode

    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_PREVIEWCHOOSEONLY1, 0), 0);
    SelectEntry(ScreenCategory::Start, 1);
    EXPECT_EQ(Probe().PreviewCaption(), "No File Selected");
    Choose({"one.bmp"});
    EXPECT_EQ(Probe().PreviewCaption(), pics() + "\\one.bmp");

    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_PREVIEWSELECTEDONLY1, 0), 0);
    SelectEntry(ScreenCategory::Start, 1);
    EXPECT_EQ(Probe().PreviewCaption(), pics() + "\\two.bmp");
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(dir.path()));  // another folder: the panel keeps the entry
    EXPECT_EQ(Probe().PreviewCaption(), pics() + "\\two.bmp");
    EXPECT_TRUE(PictureShown());

    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_PREVIEWBOTH1, 0), 0);
    SelectEntry(ScreenCategory::Start, 0);
    EXPECT_EQ(Probe().PreviewCaption(), pics() + "\\one.bmp");
    EXPECT_EQ(Probe().PreviewMode(), 30);
}

TEST_F(PreviewAndAdding, WithoutAFocusedEntryTheFirstSelectedIsPreviewed) {
    for (const char* n : {"p.bmp", "q.bmp", "r.bmp"}) WriteBmp(pics() + "\\" + n, 320, 400, 8);
    Reload();
    Choose({"p.bmp", "q.bmp", "r.bmp"});
    Add();
    HWND list = Probe().ViewOf(ScreenCategory::Start).hwnd();
    ListView_SetItemState(list, -1, 0, LVIS_FOCUSED);
    Probe().ListOf(ScreenCategory::Start).SetFocused(std::nullopt);
    ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);  // select all, no focus
    EXPECT_EQ(Probe().PreviewCaption(), pics() + "\\p.bmp");
}

TEST_F(PreviewAndAdding, SelectingAWallpaperShowsItsStyleWithoutChangingAnyEntry) {
    Click(ScreenCategory::Wall);
    Probe()
        .ListOf(ScreenCategory::Wall)
        .AddMany({{"a.jpg", pics(), "Tiled", false},
                  {"b.jpg", pics(), "Odd", false},
                  {"c.jpg", pics(), "Mirror", false}});
    Probe().ViewOf(ScreenCategory::Wall).Sync();
    for (int mode : {IDM_PREVIEWNONE1, IDM_PREVIEWCHOOSEONLY1, IDM_PREVIEWBOTH1}) {
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(mode, 0), 0);
        SelectEntry(ScreenCategory::Wall, 0);
        EXPECT_EQ(SendMessageA(form->Control(SelectCtl::CBStyle), CB_GETCURSEL, 0, 0), 2) << mode;
        SelectEntry(ScreenCategory::Wall, 1);  // a style of no name leaves the picker
        EXPECT_EQ(Text(SelectCtl::CBStyle), "Tiled") << mode;
        SelectEntry(ScreenCategory::Wall, 2);
        EXPECT_EQ(Text(SelectCtl::CBStyle), "Mirror") << mode;
    }
    EXPECT_FALSE(Probe().ListsModified());
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[1].style, "Odd");
}

TEST_F(PreviewAndAdding, DoubleClickOrF3WithNothingPreviewedExplainsWhy) {
    int shown = 0;
    form->SetFullScreenPreview([&] { ++shown; });
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_FULLSCREENPREVIEW2, 0), 0);
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(Id(SelectCtl::pnlPreview), win::Panel::kDoubleClicked),
                 reinterpret_cast<LPARAM>(form->Control(SelectCtl::pnlPreview)));
    ASSERT_EQ(boxes.boxes.size(), 2u);
    for (const auto& b : boxes.boxes) {
        EXPECT_EQ(b.kind, win::MsgKind::Information);
        EXPECT_EQ(b.text, "No Preview Available.\n\rSelect a file first.");
    }
    EXPECT_EQ(shown, 0);
    WriteBmp(pics() + "\\x.bmp", 320, 400, 8);
    Reload();
    Choose({"x.bmp"});
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_FULLSCREENPREVIEW2, 0), 0);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(boxes.boxes.size(), 2u);
}

TEST_F(PreviewAndAdding, InfoAboutFileReportsSizeAndDepthOfThePreviewedPicture) {
    WriteBmp(pics() + "\\x.bmp", 320, 400, 8);
    Reload();
    Choose({"x.bmp"});
    Probe().PopMFileInfoPopup();
    EXPECT_EQ(win::MenuItemText(Probe().PopMFileInfo(), IDM_SIZE), "Size : 320 X 400");
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_SIZE, 0), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Information);
    EXPECT_EQ(boxes.boxes[0].text, "Size : 320 X 400\n\rBits per pixel : 8\n\r");
}

TEST_F(PreviewAndAdding, ARootFolderKeepsItsBackslashOtherFoldersGetNone) {
    // A file in the drive root of the temporary folder, as the browser reports that root.
    const std::string root = dir.path().substr(0, 3);
    const std::string name = "mvpr-root-" + std::to_string(GetCurrentProcessId()) + ".jpg";
    ASSERT_TRUE(WriteFile(root + name, "x")) << "the root " << root << " must be writable here";
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(root));
    EXPECT_EQ(Probe().Browser().Directory(), root);
    Click(ScreenCategory::Wall);
    Choose({name.c_str()});
    Add();
    DeleteFileA((root + name).c_str());
    ASSERT_EQ(Probe().ListOf(ScreenCategory::Wall).size(), 1u);
    const ScreenEntry& e = Probe().ListOf(ScreenCategory::Wall)[0];
    EXPECT_EQ(e.folder, root);
    EXPECT_EQ(e.FullPath(), root + e.fileName);
}

}  // namespace
}  // namespace mvpr::test

#include <optional>
#include <shlobj.h>

#include "FormFixture.h"
#include "app/MakeScreenDialog.h"
#include "app/MakeScreenTexts.h"
#include "imaging/BmpCodec.h"
#include "imaging/ScreenConverter.h"
#include "imaging/ScreenRule.h"
#include "ScopedSeam.h"

namespace mvpr::test {
namespace {

// Screens made from a picture and files dropped on the window, both added as chosen files are.
class MakeScreenAndDrop : public FormTest {
  protected:
    void SetUp() override {
        Open();
        CreateDirectoryA(pics.c_str(), nullptr);
        ASSERT_TRUE(Probe().Browser().ApplyFilePath(pics));
    }
    void TearDown() override {
        saveAs.reset();
        shown.reset();
        FormTest::TearDown();
    }
    std::optional<ScopedSeam<&TMakeScreenDialog::SetSaveAsSeam>> saveAs;
    std::optional<ScopedSeam<&TMakeScreenDialog::SetShownSeam>> shown;
    // A 24-bit picture of many colours.
    void WritePhoto(const std::string& path, int w, int h) {
        Picture p = *Picture::Create(w, h, 24);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint8_t* px = p.Row(y) + x * 3;
                px[0] = static_cast<std::uint8_t>(x * 255 / w),
                px[1] = static_cast<std::uint8_t>(y * 255 / h);
                px[2] = static_cast<std::uint8_t>((x ^ y) & 0xFF);
            }
        const auto bytes = EncodeBmp(p);
        ASSERT_TRUE(WriteFile(path, std::string(bytes->begin(), bytes->end())));
    }
    void Choose(const char* name) {
        ASSERT_TRUE(Probe().Browser().ApplyFilePath(pics));  // read again, wherever a category took it
        HWND files = Probe().Browser().FileList();
        const LRESULT i =
            SendMessageA(files, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
        ASSERT_GE(i, 0) << name;
        SendMessageA(files, LB_SETSEL, TRUE, i);
        SendMessageA(files, LB_SETCARETINDEX, static_cast<WPARAM>(i), FALSE);
    }
    bool MakeScreenEnabled(HMENU menu, UINT id) {
        SendMessageA(form->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) == 0;
    }
    void MakeScreen(std::function<void(HWND)> inDialog) {
        shown.emplace(std::move(inDialog));
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_MAKESCREEN1, 0), 0);
        Pump();
    }
    std::string pics = dir / "pics";
};

TEST_F(MakeScreenAndDrop, MakeScreenSavesAValidScreenAndAddsItOrLeavesNothingOnCancel) {
    WritePhoto(pics + "\\photo.bmp", 900, 500);
    const std::string photoBytes = ReadFile(pics + "\\photo.bmp");
    HMENU edit = GetSubMenu(Probe().MainMenu1(), 2);
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(pics));
    EXPECT_FALSE(MakeScreenEnabled(edit, IDM_MAKESCREEN1));  // nothing chosen
    Choose("photo.bmp");
    EXPECT_TRUE(MakeScreenEnabled(edit, IDM_MAKESCREEN1));
    EXPECT_TRUE(MakeScreenEnabled(Probe().PopMFile(), IDM_MAKESCREEN2));
    Click(ScreenCategory::Wall);
    Choose("photo.bmp");
    EXPECT_FALSE(MakeScreenEnabled(edit, IDM_MAKESCREEN1));
    Click(ScreenCategory::Shut);
    Choose("photo.bmp");

    std::vector<std::string> suggested;
    std::vector<std::string> answers = {pics + "\\PHOTO.BMP", ""};  // the picture itself, then the default
    saveAs.emplace([&](const std::string& s) -> std::optional<std::string> {
        suggested.push_back(s);
        const std::string a = answers.front();
        answers.erase(answers.begin());
        return a.empty() ? s : a;
    });
    MakeScreen([](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(ListFolder(pics), std::vector<std::string>{"photo.bmp"});
    EXPECT_TRUE(suggested.empty());
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Shut).size(), 0u);
    EXPECT_FALSE(Probe().ListsModified());

    MakeScreen([](HWND dlg) {
        CheckRadioButton(dlg, IDC_MS_FIT, IDC_MS_FILL, IDC_MS_FILL);
        CheckDlgButton(dlg, IDC_MS_DITHER, BST_UNCHECKED);
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_MS_FILL, BN_CLICKED), 0);
        PostMessageA(GetDlgItem(dlg, IDC_MS_PREVIEW), WM_KEYDOWN, VK_LEFT, 0);
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);  // refused: the picture itself
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    });
    const std::string saved = pics + "\\photo screen.bmp";
    EXPECT_EQ(suggested, (std::vector<std::string>{saved, saved}));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, SaveOverSourceMessage(pics + "\\PHOTO.BMP"));
    EXPECT_EQ(ReadFile(pics + "\\photo.bmp"), photoBytes);
    const std::string bytes = ReadFile(saved);
    ASSERT_EQ(bytes.size(), 129078u);
    EXPECT_EQ(bytes.substr(0x2E, 8), std::string(8, '\0'));  // biClrUsed, biClrImportant
    EXPECT_EQ(bytes.substr(54, 3), std::string(3, '\0'));    // palette entry 0 black
    const auto decoded =
        DecodeBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_TRUE(MeetsScreenRule(decoded.picture.Width(), decoded.picture.Height(), decoded.picture.Format()));
    const CategoryList& list = Probe().ListOf(ScreenCategory::Shut);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].fileName, "photo screen.bmp");
    EXPECT_EQ(list[0].folder, pics);
    EXPECT_TRUE(Probe().ListsModified());
    EXPECT_EQ(Text(SelectCtl::LblNumber), "1 / 1");  // selected, and so previewed
    EXPECT_EQ(Probe().PreviewCaption(), saved);
    EXPECT_GE(SendMessageA(Probe().Browser().FileList(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>("photo screen.bmp")),
              0);
}

// A moving bar reaches the saved file and plays in the live preview; a screen that animates
// already keeps its cycle (here, being 320 x 400, every byte) and offers no bar.
TEST_F(MakeScreenAndDrop, AMovingBarOrAnAnimatedSourcesOwnCycleReachesTheSavedScreen) {
    WritePhoto(pics + "\\photo.bmp", 900, 500);
    Picture stock = *Picture::Create(kScreenWidth, kScreenHeight, 8);
    for (int i = 0; i < 256; ++i)
        stock.Palette()[static_cast<std::size_t>(i)] = Bgra{static_cast<std::uint8_t>(i), 40, 200, 0};
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) stock.Row(y)[x] = static_cast<std::uint8_t>((x + y) % 256);
    const auto stockFile = *EncodeScreen(stock, ColourCycle{0xEC});
    ASSERT_TRUE(WriteFile(pics + "\\logo.bmp", std::string(stockFile.begin(), stockFile.end())));
    saveAs.emplace([](const std::string& s) -> std::optional<std::string> { return s; });
    auto self = [](HWND dlg) { return static_cast<TMakeScreenDialog*>(win::ModalDialog::FromHandle(dlg)); };
    const struct {
        const char* source;
        bool bar;
        std::string saved;
    } cases[] = {{"photo.bmp", true, "photo screen.bmp"}, {"logo.bmp", false, "logo screen.bmp"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        Choose(c.source);
        bool barOffered = false, playing = false;
        MakeScreen([&](HWND dlg) {
            barOffered = IsWindowEnabled(GetDlgItem(dlg, IDC_MS_MOVINGBAR)) != FALSE;
            if (c.bar) {
                CheckDlgButton(dlg, IDC_MS_MOVINGBAR, BST_CHECKED);
                SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_MS_MOVINGBAR, BN_CLICKED), 0);
            }
            playing = self(dlg)->PreviewAnimation().Playing();
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(barOffered, c.bar);
        EXPECT_TRUE(playing);
        const std::string bytes = ReadFile(pics + "\\" + c.saved);
        ASSERT_EQ(bytes.size(), 129078u);
        EXPECT_EQ(static_cast<unsigned char>(bytes[kCycleByteOffset]), 0xECu);
        if (!c.bar) {
            EXPECT_EQ(bytes, std::string(stockFile.begin(), stockFile.end()));
        }
    }
}

TEST_F(MakeScreenAndDrop, DroppedFilesAreAddedAsChosenFilesAndADroppedFolderIsOpened) {
    ASSERT_TRUE(WriteFile(pics + "\\a.bmp", BlankBmp(320, 400, 8)));
    ASSERT_TRUE(WriteFile(pics + "\\b.bmp", BlankBmp(640, 480, 24)));
    ASSERT_TRUE(WriteFile(dir / "c.bmp", BlankBmp(320, 400, 8)));
    const std::string sub = pics + "\\sub";
    CreateDirectoryA(sub.c_str(), nullptr);
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(dir.path()));
    const std::vector<std::string> dropped = {pics + "\\a.bmp", pics + "\\b.bmp", sub, dir / "c.bmp"};
    std::string names;
    for (const auto& d : dropped) names += d + '\0';
    names += '\0';
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(drop);
    SendMessageA(form->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);  // the window frees it

    const CategoryList& list = Probe().ListOf(ScreenCategory::Start);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].fileName, "a.bmp");
    EXPECT_EQ(list[0].folder, pics);
    EXPECT_EQ(list[1].fileName, "c.bmp");
    EXPECT_EQ(list[1].folder, dir.path());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, SizeErrorMessage(pics + "\\b.bmp", 640, 480));
    EXPECT_TRUE(Probe().ListsModified());
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 2");
    EXPECT_EQ(Probe().Browser().Directory(), sub);
}

}  // namespace
}  // namespace mvpr::test

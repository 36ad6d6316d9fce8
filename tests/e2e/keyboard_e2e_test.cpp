#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

#include "ProgramDriver.h"
#include "app/FormSelectIds.h"
#include "imaging/BmpCodec.h"

namespace mvpr::test {
namespace {

// Keys as a user types them: through the system's input, to whichever window has the keyboard.
void Press(std::initializer_list<WORD> keys) {
    std::vector<INPUT> in;
    for (WORD k : keys) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        in.push_back(i);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *--it;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        in.push_back(i);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

bool WaitFor(const std::function<bool()>& done, int ms = 10000) {
    for (int t = 0; t < ms; t += 50) {
        if (done()) return true;
        Sleep(50);
    }
    return done();
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// A 1600 x 600 picture, red on the left half, blue on the right: a 4:3 crop of it shows how far
// it was moved.
std::string RedBlue() {
    Picture p = *Picture::Create(1600, 600, 24);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 1600; ++x) {
            std::uint8_t* px = p.Row(y) + x * 3;
            px[0] = x < 800 ? 0 : 255;
            px[2] = x < 800 ? 255 : 0;
        }
    const auto bytes = EncodeBmp(p);
    return std::string(bytes->begin(), bytes->end());
}

class KeyboardFromOutside : public ::testing::Test {
  protected:
    void TearDown() override { DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Tolvane\\Morvellan"); }

    void Choose(const char* name) {
        HWND files = GetDlgItem(main, Id(SelectCtl::FileListBox1));
        LRESULT i = -1;
        WaitFor([&] {
            i = SendMessageA(files, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(name));
            return i >= 0;
        });
        ASSERT_GE(i, 0) << name;
        SendMessageA(files, LB_SETSEL, FALSE, -1);
        SendMessageA(files, LB_SETSEL, TRUE, i);
        SendMessageA(files, LB_SETCARETINDEX, static_cast<WPARAM>(i), FALSE);
        SendMessageA(main, WM_COMMAND, MAKEWPARAM(Id(SelectCtl::FileListBox1), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(files));
    }
    // A visible window of the program with this class and caption.
    HWND Find(const char* cls, const std::string& caption) {
        HWND found = nullptr;
        WaitFor([&] {
            found = program.WaitForWindow(cls, 0);
            return found && WindowText(found) == caption;
        });
        return found && WindowText(found) == caption ? found : nullptr;
    }
    // F3, then File info in the full-screen window; the window it leaves open after the box.
    HWND FileInfoInFullScreen() {
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_FULLSCREENPREVIEW2, 0), 0);
        HWND full = program.WaitForWindow("TFormPreview", 10000);
        if (!full || !WaitFor([&] { return GetForegroundWindow() == full; })) return nullptr;
        Press({VK_CONTROL, 'I'});
        HWND box = Find("#32770", "Information");
        EXPECT_NE(box, nullptr);
        EXPECT_EQ(GetWindow(box, GW_OWNER), full) << "the box belongs to the full-screen window";
        Press({VK_RETURN});
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == full; })) << "the keyboard went elsewhere";
        return full;
    }

    TempDir dir;
    ProgramDriver program;
    HWND main = nullptr;
};

TEST_F(KeyboardFromOutside, FileInfoLeavesTheFullScreenWindowTheKeysAndTheConverterNeedsNoMouse) {
    ASSERT_TRUE(WriteFile(dir / "Screen.bmp", BlankBmp(320, 400, 8)));
    ASSERT_TRUE(WriteFile(dir / "Wide.bmp", RedBlue()));
    ASSERT_TRUE(program.Start(dir.path(), ""));
    main = program.WaitForWindow("TFormSelect", 20000);
    ASSERT_NE(main, nullptr);

    // A screen category: the first F3 after the box returns to the main window.
    Choose("Screen.bmp");
    HWND full = FileInfoInFullScreen();
    ASSERT_NE(full, nullptr);
    Press({VK_F3});
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(full); }));

    // The wallpaper category: Ctrl+T and Ctrl+S pick styles there, and Ctrl+S saves nothing.
    SendMessageA(GetDlgItem(main, Id(SelectCtl::sbtnWall)), BM_CLICK, 0, 0);
    Choose("Wide.bmp");
    ASSERT_EQ(FileInfoInFullScreen(), full);
    HWND style = GetDlgItem(main, Id(SelectCtl::CBStyle));
    Press({VK_CONTROL, 'T'});
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(style, CB_GETCURSEL, 0, 0) == 2; })) << "Tiled";
    Press({VK_CONTROL, 'S'});
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(style, CB_GETCURSEL, 0, 0) == 1; })) << "Stretched";
    EXPECT_TRUE(IsWindowVisible(full));
    EXPECT_FALSE(FileExists(dir / "MVDATA.MVD"));
    Press({VK_F3});
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(full); }));

    // Make Screen from Picture by keyboard alone: Fill, the crop to the far left, OK, Save.
    SendMessageA(GetDlgItem(main, Id(SelectCtl::sbtnStart)), BM_CLICK, 0, 0);
    Choose("Wide.bmp");
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_MAKESCREEN1, 0), 0);
    HWND dialog = Find("#32770", "Make Screen from Picture");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }));
    Press({VK_MENU, 'I'});
    ASSERT_TRUE(WaitFor(
        [&] { return SendMessageA(GetDlgItem(dialog, IDC_MS_FILL), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    EXPECT_TRUE(WaitFor([&] { return FocusOf(dialog) == GetDlgItem(dialog, IDC_MS_PREVIEW); }));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_MS_HINT)));
    for (int i = 0; i < 10; ++i) Press({VK_LEFT});  // a sixteenth of the crop each: 8 reach the edge
    Press({VK_RETURN});
    HWND saveAs = Find("#32770", "Save Screen As");
    ASSERT_NE(saveAs, nullptr);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == saveAs; }));
    Press({VK_RETURN});
    const std::string saved = dir / "Wide screen.bmp";
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) && FileExists(saved); }, 20000));

    // The crop lies at the left edge: the screen is red to its right edge, where the middle of the
    // picture would have put blue.
    const std::string bytes = ReadFile(saved);
    const auto decoded =
        DecodeBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    ASSERT_TRUE(decoded.Ok());
    ASSERT_EQ(decoded.picture.Width(), 320);
    for (int x : {0, 160, 319}) {
        const Bgra c = decoded.picture.Palette()[decoded.picture.Row(200)[x]];
        EXPECT_TRUE(c.r > 200 && c.g < 60 && c.b < 60) << "column " << x;
    }

    // The new screen is the list's selection and the preview shows it.
    HWND list = GetDlgItem(main, Id(SelectCtl::ListStart));
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_SELECTED), LVIS_SELECTED);
    HWND strip = GetDlgItem(GetDlgItem(main, Id(SelectCtl::pnlPreview)), Id(SelectCtl::PnlPreviewName));
    EXPECT_EQ(WindowText(strip), saved);
    EXPECT_EQ(WindowText(GetDlgItem(main, Id(SelectCtl::LblNumber))), "1 / 1");

    PostMessageA(main, WM_CLOSE, 0, 0);
    if (HWND box = program.WaitForWindow("#32770", 3000)) PostMessageA(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(20000), 0);
}

}  // namespace
}  // namespace mvpr::test

#include <gtest/gtest.h>

#include <vector>

#include "ProgramDriver.h"
#include "app/FormSelectIds.h"

#include <commctrl.h>

namespace mvpr::test {
namespace {

class AddingFromOutside : public ::testing::Test {
  protected:
    void TearDown() override { DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Tolvane\\Morvellan"); }
    TempDir dir;
    ProgramDriver program;
};

TEST_F(AddingFromOutside, AChosenScreenFileAppearsInTheListAndTheCounter) {
    ASSERT_TRUE(WriteFile(dir / "Harbour.bmp", BlankBmp(320, 400, 8)));
    ASSERT_TRUE(program.Start(dir.path(), ""));  // the browser opens in the folder it was started in
    HWND main = program.WaitForWindow("TFormSelect", 20000);
    ASSERT_NE(main, nullptr);
    HWND files = GetDlgItem(main, Id(SelectCtl::FileListBox1));
    int index = -1;
    for (int t = 0; t < 5000 && index < 0; t += 50) {
        index = static_cast<int>(SendMessageA(files, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>("Harbour.bmp")));
        if (index < 0) Sleep(50);
    }
    ASSERT_GE(index, 0) << "the file list does not show the folder the program started in";
    // as a click on the file does: select it, give it the focus, tell the window
    SendMessageA(files, LB_SETSEL, TRUE, index);
    SendMessageA(files, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(Id(SelectCtl::FileListBox1), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(files));
    HWND add = GetDlgItem(main, Id(SelectCtl::BtnAdd));
    EXPECT_TRUE(IsWindowEnabled(add));
    SendMessageA(add, BM_CLICK, 0, 0);
    HWND counter = GetDlgItem(main, Id(SelectCtl::LblNumber));
    for (int t = 0; t < 3000 && WindowText(counter) != "0 / 1"; t += 50) Sleep(50);
    EXPECT_EQ(WindowText(counter), "0 / 1");
    HWND list = GetDlgItem(main, Id(SelectCtl::ListStart));
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(RemoteListViewText(program.pid(), list, 0, 0), "Harbour.bmp");
    EXPECT_EQ(RemoteListViewText(program.pid(), list, 0, 1), dir.path());
    EXPECT_EQ(SendMessageA(files, LB_GETSEL, static_cast<WPARAM>(index), 0), 0);  // taken out of the choice
    // the preview names the chosen file
    HWND strip = GetDlgItem(GetDlgItem(main, Id(SelectCtl::pnlPreview)), Id(SelectCtl::PnlPreviewName));
    EXPECT_EQ(WindowText(strip), dir / "Harbour.bmp");
    // F3 shows it full screen; F3 there goes back
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_FULLSCREENPREVIEW2, 0), 0);
    HWND full = program.WaitForWindow("TFormPreview", 5000);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(WindowText(full), "Full screen Preview");
    PostMessageA(full, WM_KEYDOWN, VK_F3, 1);
    for (int t = 0; t < 3000 && IsWindowVisible(full); t += 50) Sleep(50);
    EXPECT_FALSE(IsWindowVisible(full));
    // A real double click on the preview opens it, and the release that ends the double click
    // does not close it again: only a click of its own does.
    HWND picture = GetDlgItem(GetDlgItem(main, Id(SelectCtl::pnlPreview)), Id(SelectCtl::ImgPreview));
    RECT r{};
    GetWindowRect(picture, &r);
    SetForegroundWindow(main);
    // Each batch moves the pointer there first: a warp on its own (SetCursorPos) does not always
    // reach Wine's X server.
    const LONG x = ((r.left + r.right) / 2 * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN),
               y = ((r.top + r.bottom) / 2 * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN);
    const auto clicks = [x, y](int n) {
        std::vector<INPUT> input(static_cast<std::size_t>(2 * n + 1));
        input[0].type = INPUT_MOUSE;
        input[0].mi = {x, y, 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0};
        for (std::size_t i = 1; i < input.size(); ++i) {
            input[i].type = INPUT_MOUSE;
            input[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        }
        SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    };
    clicks(2);
    // Wine now and then takes injected clicks after another test's input as two single ones: a
    // second double click, after the double-click time, is still one the user makes.
    if (!program.WaitForWindow("TFormPreview", 2000)) {
        Sleep(GetDoubleClickTime() + 100);
        clicks(2);
    }
    ASSERT_NE(program.WaitForWindow("TFormPreview", 5000), nullptr) << "the double click opened nothing";
    Sleep(500);
    EXPECT_TRUE(IsWindowVisible(full)) << "closed by the double click that opened it";
    clicks(1);
    for (int t = 0; t < 3000 && IsWindowVisible(full); t += 50) Sleep(50);
    EXPECT_FALSE(IsWindowVisible(full));
    PostMessageA(main, WM_CLOSE, 0, 0);
    // closing with an unsaved change may ask first: answer No
    if (HWND box = program.WaitForWindow("#32770", 3000)) PostMessageA(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(20000), 0);
}

}  // namespace
}  // namespace mvpr::test

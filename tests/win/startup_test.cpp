#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/FormOpstartScherm.h"
#include "system/ProgramInfo_win.h"
#include "win/MessageBox.h"

namespace mvpr::test {
namespace {

TEST(VersionRecord, ReadFromTheExecutableGivesVersionAndBuild) {
    // This test program carries the same resources as MVPR.exe.
    const VersionTexts v = ReadVersionTexts(GetExePath());
    EXPECT_EQ(v.version, "2.7");
    EXPECT_EQ(v.build, "12");
}

TEST(VersionRecord, AFileWithoutOneGivesTheFallback) {
    TempDir dir;
    WriteFile(dir / "plain.exe", std::string(4096, 'x'));
    const VersionTexts v = ReadVersionTexts(dir / "plain.exe");
    EXPECT_EQ(v.version, "2.7");
    EXPECT_EQ(v.build, "");
    EXPECT_EQ(ReadVersionTexts(dir / "missing.exe").version, "2.7");
}

TEST(ProgramFolders, EndInABackslashOrAsTheSystemSaysIt) {
    const std::string dir = GetProgramDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_EQ(GetExePath().rfind(dir, 0), 0u);
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_EQ(GetWindowsDir(), windows);
}

TEST(Splash, ShowsLoadingAndTheVersionInItsNestedPanels) {
    TFormOpstartScherm splash;
    ASSERT_NE(splash.CreateForm(GetExePath()), nullptr);
    splash.ShowAndPaint();
    char cls[64] = {};
    GetClassNameA(splash.hwnd(), cls, sizeof cls);
    EXPECT_STREQ(cls, "TFormOpstartScherm");
    RECT client{};
    GetClientRect(splash.hwnd(), &client);
    EXPECT_EQ(client.right, 221);
    EXPECT_EQ(client.bottom, 141);
    const LONG style = GetWindowLongA(splash.hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(IsWindowVisible(splash.hwnd()));
    EXPECT_EQ(splash.VersionText(), "2.7");
    EXPECT_EQ(splash.BuildText(), "12");
    EXPECT_EQ(WindowText(splash.Control(TFormOpstartScherm::Ctl::LStatus)), "Loading...");
    EXPECT_EQ(WindowText(splash.Control(TFormOpstartScherm::Ctl::LVersion)), "Version : 2.7");
    // the picture carries a real logo, 211 x 96
    HBITMAP logo = reinterpret_cast<HBITMAP>(
        SendMessageA(splash.Control(TFormOpstartScherm::Ctl::Image1), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(logo, nullptr);
    BITMAP bm{};
    GetObjectA(logo, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 211);
    EXPECT_EQ(bm.bmHeight, 96);
    // the panels nest: each inside the one before, the innermost holding the labels
    HWND outer = GetDlgItem(splash.hwnd(), static_cast<int>(TFormOpstartScherm::Ctl::PBorder_Out));
    HWND bevel = GetDlgItem(outer, static_cast<int>(TFormOpstartScherm::Ctl::PBevel));
    HWND inner = GetDlgItem(bevel, static_cast<int>(TFormOpstartScherm::Ctl::PBorder_In));
    HWND panel4 = GetDlgItem(inner, static_cast<int>(TFormOpstartScherm::Ctl::Panel4));
    ASSERT_NE(panel4, nullptr);
    EXPECT_EQ(GetParent(splash.Control(TFormOpstartScherm::Ctl::LStatus)), panel4);
    splash.Close();
    EXPECT_FALSE(IsWindowVisible(splash.hwnd()));
    Pump();
}

// --- the real message box, answered from inside its modal loop ---------------------------
struct Seen {
    std::string caption, text;
    std::vector<std::string> buttons;
};
Seen g_seen;
int g_press = IDOK;

BOOL CALLBACK Collect(HWND c, LPARAM) {
    char cls[32] = {};
    GetClassNameA(c, cls, sizeof cls);
    const std::string t = WindowText(c);
    if (!IsWindowVisible(c)) return TRUE;  // the box keeps every button, showing those asked for
    if (!lstrcmpiA(cls, "Static") && !t.empty() && GetDlgCtrlID(c) == 0xFFFF) g_seen.text = t;
    if (!lstrcmpiA(cls, "Button")) g_seen.buttons.push_back(t);
    return TRUE;
}

// Runs inside the box's modal loop: reads the box of this thread once it is up, then answers.
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindThreadDialog();
    if (!box) return;
    KillTimer(nullptr, id);
    g_seen = {};
    g_seen.caption = WindowText(box);
    EnumChildWindows(box, Collect, 0);
    PostMessageA(GetDlgItem(box, g_press), BM_CLICK, 0, 0);
}

class RealMessageBox : public ::testing::Test {
  protected:
    void SetUp() override { Pump(); }
    void TearDown() override { Pump(); }
    win::MsgAnswer Show(win::MsgKind kind, const char* text, win::MsgButtons buttons,
                        win::MessageCaption caption = win::MessageCaption::Kind) {
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, AnswerBox);
        const auto answer = win::ShowMessage(nullptr, kind, text, buttons, caption);
        KillTimer(nullptr, timer);
        return answer;
    }
};

TEST_F(RealMessageBox, EachKindHasItsTitleAndButtonsAndReturnsTheAnswer) {
    struct Case {
        win::MsgKind kind;
        win::MsgButtons buttons;
        int press;
        const char* title;
        std::vector<std::string> labels;
        win::MsgAnswer answer;
    } cases[] = {
        {win::MsgKind::Warning, win::MsgButtons::YesNo, IDNO, "Warning", {"&Yes", "&No"}, win::MsgAnswer::No},
        {win::MsgKind::Error, win::MsgButtons::Ok, IDOK, "Error", {"OK"}, win::MsgAnswer::Ok},
        {win::MsgKind::Information, win::MsgButtons::Ok, IDOK, "Information", {"OK"}, win::MsgAnswer::Ok},
        {win::MsgKind::Confirmation,
         win::MsgButtons::YesNoCancel,
         IDCANCEL,
         "Confirm",
         {"&Yes", "&No", "Cancel"},
         win::MsgAnswer::Cancel},
        {win::MsgKind::Confirmation,
         win::MsgButtons::YesNoCancel,
         IDYES,
         "Confirm",
         {"&Yes", "&No", "Cancel"},
         win::MsgAnswer::Yes},
    };
    for (const auto& c : cases) {
        g_press = c.press;
        const auto answer = Show(c.kind, "Changes not saved!\n\rSave before exit?", c.buttons);
        EXPECT_EQ(answer, c.answer) << c.title;
        EXPECT_EQ(g_seen.caption, c.title);
        EXPECT_EQ(g_seen.text, "Changes not saved!\n\rSave before exit?");
        EXPECT_EQ(g_seen.buttons, c.labels) << c.title;
    }
    g_press = IDOK;
    Show(win::MsgKind::Error, "boom", win::MsgButtons::Ok, win::MessageCaption::ApplicationTitle);
    EXPECT_EQ(g_seen.caption, "Morvellan Selector");
}

}  // namespace
}  // namespace mvpr::test

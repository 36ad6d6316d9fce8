// Sets the program up for the README's pictures (scripts/lib/screenshots.sh):
//   shot_driver.exe samples FOLDER          writes a few pictures to show
//   shot_driver.exe MVPR.exe [ACTION]       starts the program, does the action, leaves it running
// ACTION: wallpaper (the wallpaper category), about (the About box), preview and
// wallpaper-preview (choose a start-up screen or a wallpaper, preview and add it), make-screen
// (choose a wide picture, open "Make Screen from Picture" and choose Fill; make-screen-bar then
// adds a moving bar), fullscreen-mirror (the start-up picture as a wallpaper, full screen in the
// Mirror style), check-screens ("Check Screens" as Windows 98 sees a machine whose MSDOS.SYS says
// Logo=0 and whose logo.sys has 24 bits per pixel, with the sample screens in the shots' prefix's
// Windows folder), installed (install the start-up screen, about 4.5 s after the start, so
// that its note is up when the picture is taken), wallpaper-filter (the wallpaper category with its
// filter list dropped down).
#include <cmath>
#include <string>

#include "MsDosSamples.h"
#include "ProgramDriver.h"
#include "app/FormSelectIds.h"
#include "imaging/BmpCodec.h"

namespace {
using namespace mvpr;

bool Save(const std::string& path, const Picture& p) {
    const auto bytes = EncodeBmp(p);
    return bytes && test::WriteFile(path, std::string(bytes->begin(), bytes->end()));
}

// A 320 x 400 screen of 256 colours: a sunrise over the sea.
Picture Sunrise() {
    Picture p = *Picture::Create(320, 400, 8);
    auto& pal = p.Palette();
    for (int i = 0; i < 128; ++i)  // sky: deep blue to orange
        pal[static_cast<std::size_t>(i)] = Bgra{static_cast<std::uint8_t>(120 - i * 120 / 128),
                                                static_cast<std::uint8_t>(40 + i * 120 / 128),
                                                static_cast<std::uint8_t>(30 + i * 225 / 128), 0};
    for (int i = 0; i < 100; ++i)  // sea
        pal[static_cast<std::size_t>(128 + i)] =
            Bgra{static_cast<std::uint8_t>(140 - i), static_cast<std::uint8_t>(70 - i / 2), 10, 0};
    pal[250] = Bgra{170, 240, 255, 0};  // sun
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 320; ++x) {
            std::uint8_t v;
            const double d = std::hypot(x - 160.0, y - 250.0);
            if (y < 250)
                v = d < 46 ? 250 : static_cast<std::uint8_t>(y * 127 / 250);
            else
                v = static_cast<std::uint8_t>(128 + (y - 250) * 99 / 150);
            if (y > 255 && std::abs(x - 160) < 40 - (y - 255) / 4 && (y / 4) % 3 == 0) v = 250;  // glitter
            p.Row(y)[x] = v;
        }
    return p;
}

// A wallpaper of 24 bits: a harbour at night.
Picture Harbour(int width = 800) {
    Picture p = *Picture::Create(width, 600, 24);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* px = p.Row(y) + x * 3;
            const bool water = y > 420;
            px[0] = static_cast<std::uint8_t>(water ? 90 - (y - 420) / 4 : 40 + y / 6);
            px[1] = static_cast<std::uint8_t>(water ? 40 : 20 + y / 10);
            px[2] = static_cast<std::uint8_t>(water ? 20 : 10 + y / 20);
            if (!water && ((x * 7919 + y * 104729) % 997) == 0) px[0] = px[1] = px[2] = 255;  // stars
        }
    return p;
}

int MakeSamples(const std::string& folder) {
    const Picture sun = Sunrise();
    bool ok = Save(folder + "\\Autumn sunrise.bmp", sun) && Save(folder + "\\logo.sys", sun) &&
              Save(folder + "\\logow.sys", sun) && Save(folder + "\\logos.sys", sun) &&
              Save(folder + "\\Night harbour.bmp", Harbour()) &&
              Save(folder + "\\Harbour panorama.bmp", Harbour(1200));
    return ok ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const DWORD started = GetTickCount();
    const std::string first = argv[1];
    if (first == "samples") return argc > 2 ? MakeSamples(argv[2]) : 2;
    const std::string action = argc > 2 ? argv[2] : "";
    std::string cmd = "\"" + first + "\"";
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    // Only the shots' own prefix is touched: its C: and how Wine presents itself to MVPR.exe.
    constexpr char kAppDefaults[] = "Software\\Wine\\AppDefaults\\MVPR.exe";
    if (action == "check-screens") {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kAppDefaults, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6);
            RegCloseKey(key);
        }
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        for (const char* name : {"\\logow.sys", "\\logos.sys"})
            CopyFileA((std::string(cwd) + name).c_str(), (std::string(windows) + name).c_str(), FALSE);
        SetFileAttributesA("C:\\MSDOS.SYS", FILE_ATTRIBUTE_NORMAL);
        test::WriteFile("C:\\MSDOS.SYS", test::MsDosText("[Options]\nBootMulti=1\nBootGUI=1\nLogo=0\n"));
        Save("C:\\logo.sys", *Picture::Create(320, 400, 24));
    }
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(first.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd, &si, &pi))
        return 3;
    HWND main = nullptr;
    for (int t = 0; t < 20000 && !main; t += 50) {
        Sleep(50);
        main = FindWindowA("TFormSelect", nullptr);
        if (main && !IsWindowVisible(main)) main = nullptr;
    }
    if (action == "check-screens") {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kAppDefaults, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "Version");  // read at the program's start; later shots see Wine as it is
            RegCloseKey(key);
        }
    }
    if (!main) return 4;
    Sleep(500);
    if (action == "check-screens") PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_CHECKSCREENS1, 0), 0);
    if (action == "wallpaper") PostMessageA(GetDlgItem(main, Id(SelectCtl::sbtnWall)), BM_CLICK, 0, 0);
    if (action == "about") PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_ABOUT1, 0), 0);
    if (action == "wallpaper-filter") {
        SendMessageA(GetDlgItem(main, Id(SelectCtl::sbtnWall)), BM_CLICK, 0, 0);
        PostMessageA(GetDlgItem(main, Id(SelectCtl::FilterComboBox1)), CB_SHOWDROPDOWN, TRUE, 0);
    }
    if (action == "preview" || action == "wallpaper-preview" || action == "fullscreen-mirror" ||
        action == "installed") {
        const bool wall = action != "preview" && action != "installed";
        if (wall) SendMessageA(GetDlgItem(main, Id(SelectCtl::sbtnWall)), BM_CLICK, 0, 0);
        HWND files = GetDlgItem(main, Id(SelectCtl::FileListBox1));
        const LRESULT i =
            SendMessageA(files, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(action == "wallpaper-preview" ? "Night harbour.bmp"
                                                                                : "Autumn sunrise.bmp"));
        if (i >= 0) {
            SendMessageA(files, LB_SETSEL, TRUE, i);
            SendMessageA(files, LB_SETCARETINDEX, static_cast<WPARAM>(i), FALSE);
            SendMessageA(main, WM_COMMAND, MAKEWPARAM(Id(SelectCtl::FileListBox1), LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(files));
            SendMessageA(GetDlgItem(main, Id(SelectCtl::BtnAdd)), BM_CLICK, 0, 0);
            SendMessageA(files, LB_SETSEL, TRUE, i);
        }
        if (action == "installed") {
            while (GetTickCount() - started < 4500) Sleep(50);
            PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_SETASCURRENT1, 0), 0);
        }
        if (action == "fullscreen-mirror") {
            SendMessageA(GetDlgItem(main, Id(SelectCtl::CBStyle)), CB_SETCURSEL, 4, 0);
            PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_FULLSCREENPREVIEW2, 0), 0);
        }
    }
    if (action == "make-screen" || action == "make-screen-bar") {
        HWND files = GetDlgItem(main, Id(SelectCtl::FileListBox1));
        const LRESULT i = SendMessageA(files, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>("Harbour panorama.bmp"));
        if (i >= 0) {
            SendMessageA(files, LB_SETSEL, TRUE, i);
            SendMessageA(files, LB_SETCARETINDEX, static_cast<WPARAM>(i), FALSE);
            PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_MAKESCREEN1, 0), 0);
            for (int t = 0; t < 10000; t += 50) {
                Sleep(50);
                HWND dialog = FindWindowA("#32770", "Make Screen from Picture");
                if (!dialog) continue;
                PostMessageA(GetDlgItem(dialog, IDC_MS_FILL), BM_CLICK, 0, 0);
                break;
            }
        }
        // With a moving bar: its box ticked once the dialog is up.
        for (int t = 0; action == "make-screen-bar" && t < 20000; t += 100) {
            Sleep(100);
            if (HWND dialog = FindWindowA("#32770", "Make Screen from Picture")) {
                PostMessageA(GetDlgItem(dialog, IDC_MS_MOVINGBAR), BM_CLICK, 0, 0);
                break;
            }
        }
    }
    WaitForSingleObject(pi.hProcess, 60000);
    return 0;
}

// Puts the running program into the state a README picture shows:
//   shot_driver.exe MVPR.exe [wallpaper | about]
// Starts the program, waits for its main window, does the action, and leaves it running.
#include <string>

#include "ProgramDriver.h"
#include "res/resource.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string exe = argv[1];
    const std::string action = argc > 2 ? argv[2] : "";
    const std::string folder = exe.substr(0, exe.find_last_of('\\'));
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd, &si, &pi))
        return 3;
    HWND main = nullptr;
    for (int t = 0; t < 20000 && !main; t += 50) {
        Sleep(50);
        main = FindWindowA("TFormSelect", nullptr);
        if (main && !IsWindowVisible(main)) main = nullptr;
    }
    if (!main) return 4;
    Sleep(500);
    if (action == "wallpaper") PostMessageA(GetDlgItem(main, 103), BM_CLICK, 0, 0);
    if (action == "about") PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_ABOUT1, 0), 0);
    WaitForSingleObject(pi.hProcess, 60000);
    return 0;
}

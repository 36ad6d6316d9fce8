#include "ProgramDriver.h"

#include <commctrl.h>

namespace mvpr::test {

namespace {
struct Search {
    DWORD pid;
    const char* cls;
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindTop(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid == s->pid && !lstrcmpA(cls, s->cls) && IsWindowVisible(w) &&
        (!s->caption || WindowText(w) == s->caption)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectBox(HWND c, LPARAM p) {
    auto* box = reinterpret_cast<BoxContents*>(p);
    if (!IsWindowVisible(c)) return TRUE;
    char cls[32] = {};
    GetClassNameA(c, cls, sizeof cls);
    const std::string t = WindowText(c);
    if (!lstrcmpiA(cls, "Static") && !t.empty()) box->text = t;
    if (!lstrcmpiA(cls, "Button")) box->buttons.push_back(t);
    return TRUE;
}

const char* const kDesktop = "Control Panel\\desktop";

void ForgetPrograms() {
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Tolvane");
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Morvellan");
        RegCloseKey(key);
    }
}

std::optional<std::string> DesktopValue(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktop, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    const LONG got = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (got != ERROR_SUCCESS) return std::nullopt;
    return std::string(value);
}
}  // namespace

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    return folder;
}

void RecordMachineWithoutScreens() {
    HKEY record = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, "SoftWare\\Tolvane\\Morvellan\\Original Info", &record) !=
        ERROR_SUCCESS)
        return;
    const std::pair<const char*, std::string> values[] = {
        {"StartScreen", "(none)"}, {"WaitScreen", "(none)"}, {"ShutScreen", "(none)"},
        {"WallPaper", ""},         {"TileWallpaper", ""},    {"WallpaperStyle", "(none)"}};
    for (const auto& [name, value] : values)
        RegSetValueExA(record, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(record);
}

MachineSnapshot::MachineSnapshot() {
    const std::string windows = WindowsFolder();
    const std::string root = windows.substr(0, 3);
    for (const std::string& path : {root + "logo.sys", windows + "\\logow.sys", windows + "\\logos.sys",
                                    root + "MSDOS.SYS", root + "MSDOS.MVP"})
        files_.push_back({path, GetFileAttributesA(path.c_str()), ReadFile(path)});
    for (const char* name : {"Wallpaper", "TileWallpaper", "WallpaperStyle"})
        values_.push_back({name, DesktopValue(name)});
    ForgetPrograms();
}

MachineSnapshot::~MachineSnapshot() {
    for (const auto& f : files_) {
        SetFileAttributesA(f.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(f.path.c_str());
        if (f.attributes == INVALID_FILE_ATTRIBUTES) continue;
        WriteFile(f.path, f.bytes);
        SetFileAttributesA(f.path.c_str(), f.attributes);
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktop, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        for (const auto& [name, value] : values_) {
            if (value)
                RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                               static_cast<DWORD>(value->size() + 1));
            else
                RegDeleteValueA(key, name.c_str());
        }
        RegCloseKey(key);
    }
    ForgetPrograms();
}

std::string BuiltProgram() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string path(self);
    path = path.substr(0, path.find_last_of('\\'));  // ...\tests
    path = path.substr(0, path.find_last_of('\\'));  // the build folder
    return path + "\\bin\\MVPR.exe";
}

std::string BuiltProgramFolder() {
    const std::string built = BuiltProgram();
    return built.substr(0, built.find_last_of('\\'));
}

ProgramDriver::~ProgramDriver() {
    if (pi_.hProcess) {
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
        WaitForSingleObject(pi_.hProcess, 5000);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
}

bool ProgramDriver::Start(const std::string& folder, const std::string& parameters,
                          const std::string& program) {
    // The programs, the library and the help, not what a run from the build folder left there
    // (a list file, backups, the log).
    const std::string bin = BuiltProgramFolder();
    for (const auto& name : ListFolder(bin)) {
        const std::string ext = name.size() > 4 ? name.substr(name.size() - 4) : "";
        if (lstrcmpiA(ext.c_str(), ".exe") && lstrcmpiA(ext.c_str(), ".dll") &&
            lstrcmpiA(ext.c_str(), ".htm") && lstrcmpiA(ext.c_str(), ".hlp"))
            continue;
        if (!CopyFileA((bin + "\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE)) return false;
    }
    const std::string exe = folder + "\\" + program;
    std::string cmd = "\"" + exe + "\"" + (parameters.empty() ? "" : " " + parameters);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    return CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                          &pi_) != FALSE;
}

HWND ProgramDriver::WaitForWindow(const char* className, int ms, const char* caption) const {
    for (int t = 0; t <= ms; t += 20) {
        Search s{pi_.dwProcessId, className, caption, nullptr};
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        if (WaitForSingleObject(pi_.hProcess, 20) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

bool ProgramDriver::HasVisibleWindow(const char* className) const {
    Search s{pi_.dwProcessId, className, nullptr, nullptr};
    EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
    return s.found != nullptr;
}

long ProgramDriver::WaitForExit(int ms) {
    if (WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(ms)) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
}

std::string RemoteListViewText(DWORD pid, HWND list, int item, int subItem) {
    HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!proc) return "<no access>";
    const SIZE_T size = sizeof(LVITEMA) + 512;
    char* remote =
        static_cast<char*>(VirtualAllocEx(proc, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    std::string text = "<no memory>";
    if (remote) {
        LVITEMA it{};
        it.iSubItem = subItem;
        it.cchTextMax = 512;
        it.pszText = remote + sizeof(LVITEMA);
        SIZE_T done = 0;
        if (WriteProcessMemory(proc, remote, &it, sizeof it, &done)) {
            const LRESULT n = SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
                                           reinterpret_cast<LPARAM>(remote));
            char buf[513] = {};
            if (ReadProcessMemory(proc, remote + sizeof(LVITEMA), buf, 512, &done))
                text.assign(buf, static_cast<std::size_t>(n > 0 ? n : 0));
        }
        VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
    }
    CloseHandle(proc);
    return text;
}

BoxContents ReadBox(HWND box) {
    BoxContents c;
    c.caption = WindowText(box);
    EnumChildWindows(box, CollectBox, reinterpret_cast<LPARAM>(&c));
    return c;
}

}  // namespace mvpr::test

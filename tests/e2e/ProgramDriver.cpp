#include "ProgramDriver.h"

#include <commctrl.h>

namespace mvpr::test {

namespace {
struct Search {
    DWORD pid;
    const char* cls;
    HWND found;
};

BOOL CALLBACK FindTop(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid == s->pid && !lstrcmpA(cls, s->cls) && IsWindowVisible(w)) {
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
}  // namespace

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

HWND ProgramDriver::WaitForWindow(const char* className, int ms) const {
    for (int t = 0; t <= ms; t += 20) {
        Search s{pi_.dwProcessId, className, nullptr};
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        if (WaitForSingleObject(pi_.hProcess, 20) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

bool ProgramDriver::HasVisibleWindow(const char* className) const {
    Search s{pi_.dwProcessId, className, nullptr};
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

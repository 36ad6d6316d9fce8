#include "TestSupport.h"

#include <atomic>
#include <cstdio>
#include <stdexcept>

#include "imaging/BmpCodec.h"

namespace mvpr::test {

namespace {
std::atomic<int> g_counter{0};

std::string UniqueName(const char* stem) {
    char name[96];
    std::snprintf(name, sizeof name, "%s-%lu-%lu-%d", stem, GetCurrentProcessId(), GetTickCount(),
                  ++g_counter);
    return name;
}
}  // namespace

TempDir::TempDir() {
    char tmp[MAX_PATH] = {};
    GetTempPathA(sizeof tmp, tmp);
    path_ = std::string(tmp) + UniqueName("mvpr");
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::string BlankBmp(int width, int height, int bitsPerPixel) {
    const auto picture = Picture::Create(width, height, bitsPerPixel);
    if (!picture) return {};
    const auto bytes = EncodeBmp(*picture);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

std::string ReadFile(const std::string& path) {
    std::string out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ListFolder(const std::string& path) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = fd.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

RegistrySandbox::RegistrySandbox() : prefix_("Software\\MVPR tests\\" + UniqueName("run") + "\\") {
    DeleteKeyTree(HKEY_CURRENT_USER, prefix_.substr(0, prefix_.size() - 1));
}

RegistrySandbox::~RegistrySandbox() {
    DeleteKeyTree(HKEY_CURRENT_USER, prefix_.substr(0, prefix_.size() - 1));
    // Leave no empty parent behind either, once the last sandbox is gone.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\MVPR tests");
}

void DeleteKeyTree(HKEY root, const std::string& path) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | KEY_WRITE, &k) != ERROR_SUCCESS) return;
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD len = sizeof name;
        if (RegEnumKeyExA(k, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name, len);
    }
    RegCloseKey(k);
    for (const auto& c : children) DeleteKeyTree(root, path + "\\" + c);
    RegDeleteKeyA(root, path.c_str());
}

bool RegistryKeyExists(HKEY root, const std::string& path) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

bool RegistryValueExists(HKEY root, const std::string& path, const std::string& value) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    const bool found =
        RegQueryValueExA(k, value.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(k);
    return found;
}

void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

HWND FindThreadDialog() {
    HWND box = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) WINAPI -> BOOL {
            char cls[32] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (!lstrcmpA(cls, "#32770") && IsWindowVisible(w)) {
                *reinterpret_cast<HWND*>(p) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&box));
    return box;
}

std::string WindowText(HWND hwnd) {
    char b[1024] = {};
    GetWindowTextA(hwnd, b, sizeof b);
    return b;
}

DriveRootLock::DriveRootLock()
    : mutex_(CreateMutexA(nullptr, FALSE, "MVPR tests: root of the Windows drive")) {
    if (mutex_) WaitForSingleObject(mutex_, INFINITE);  // abandoned by a crashed test: ours now
}

DriveRootLock::~DriveRootLock() {
    if (!mutex_) return;
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

TestThread::TestThread(std::function<void()> work) : work_(std::move(work)) {
    handle_ = CreateThread(nullptr, 0, &TestThread::Run, this, 0, nullptr);
    if (!handle_) throw std::runtime_error("CreateThread failed: " + std::to_string(GetLastError()));
}

DWORD WINAPI TestThread::Run(void* self) {
    static_cast<TestThread*>(self)->work_();
    return 0;
}

void TestThread::join() {
    if (!handle_) return;
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
    handle_ = nullptr;
}

}  // namespace mvpr::test

#include "system/ProgramInfo_win.h"

#include <vector>

#include "win/FolderPath.h"
#include "win/Win32.h"

namespace mvpr {

std::string GetExePath() {
    // Long program folders exist; grow the buffer until the path fits.
    std::vector<char> buf(MAX_PATH);
    while (true) {
        const DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
        if (buf.size() > 65536) return {};
    }
}

std::string GetProgramDir() {
    const std::string exe = GetExePath();
    const auto slash = exe.find_last_of("\\/:");
    return WithTrailingBackslash(slash == std::string::npos ? std::string() : exe.substr(0, slash + 1));
}

std::string GetWindowsDir() {
    char buf[260] = {};
    const UINT n = GetWindowsDirectoryA(buf, sizeof buf);
    return (n > 0 && n < sizeof buf) ? std::string(buf, n) : std::string();
}

Places MachinePlaces(Places given) {
    given.programDir = given.programDir.empty() ? GetProgramDir() : WithTrailingBackslash(given.programDir);
    if (given.windowsDir.empty()) given.windowsDir = GetWindowsDir();
    return given;
}

VersionTexts ReadVersionTexts(const std::string& exePath) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(exePath.c_str(), &handle);
    if (size == 0) return {std::string(kFallbackVersion), {}};
    std::vector<char> record(size);
    if (!GetFileVersionInfoA(exePath.c_str(), 0, size, record.data()))
        return {std::string(kFallbackVersion), {}};
    void* value = nullptr;
    UINT len = 0;
    std::string fileVersion;
    if (VerQueryValueA(record.data(), std::string(kFileVersionQuery).c_str(), &value, &len) && value &&
        len > 0) {
        // len counts characters, the terminating zero mostly included; never read past it.
        const char* text = static_cast<const char*>(value);
        std::size_t n = 0;
        while (n < len && text[n]) ++n;
        fileVersion.assign(text, n);
    }
    return SplitFileVersion(fileVersion);
}

}  // namespace mvpr

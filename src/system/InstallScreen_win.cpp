#include "system/InstallScreen_win.h"

#include <new>

#include "win/Files.h"
#include "win/Handles.h"

namespace mvpr {

namespace {
// The whole file, or the system's error number.
DWORD ReadWholeFile(const std::string& path, std::string& bytes) {
    win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return GetLastError();
    DWORD high = 0;
    const DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return GetLastError();
    if (high != 0 || low > 0x7FFFFFFF) return ERROR_FILE_TOO_LARGE;
    try {
        bytes.assign(low, '\0');
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    DWORD done = 0;
    while (done < low) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, low - done, &got, nullptr)) return GetLastError();
        if (got == 0) break;  // shorter than it said: what is there is the file
        done += got;
    }
    bytes.resize(done);
    return 0;
}
}  // namespace

InstallOutcome InstallScreenFile(const std::string& source, const std::string& target) {
    std::string bytes;
    if (const DWORD error = ReadWholeFile(source, bytes)) return {false, win::SystemErrorText(error)};
    const win::ReplaceResult r = win::ReplaceFileWith(target, bytes);
    if (r.status != win::ReplaceStatus::Done) return {false, win::SystemErrorText(r.error)};
    return {true, {}};
}

InstallOutcome CopyToNewFile(const std::string& source, const std::string& target) {
    if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES)
        return {false, win::SystemErrorText(ERROR_FILE_EXISTS)};
    return InstallScreenFile(source, target);
}

}  // namespace mvpr

#include "imaging/FileBytes_win.h"

#include "win/Handles.h"

namespace mvpr {

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
    // Shared for reading only, as a bitmap reader opens it: a file someone is writing is not read.
    win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    DWORD high = 0;
    const DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
    if (high != 0 || low > maxBytes) return std::nullopt;
    std::vector<std::uint8_t> bytes(low);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            return std::nullopt;
        if (got == 0) break;  // shorter than it said: what is there is the file
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace mvpr

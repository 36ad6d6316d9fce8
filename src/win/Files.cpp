#include "win/Files.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <new>
#include <utility>

#include "win/Handles.h"
#include "win/OperationSeam.h"

namespace mvpr::win {

namespace {
constexpr DWORD kPiece = 64 * 1024;
constexpr int kTempNameTries = 64;

FileFaultSeam& Seam() {
    static FileFaultSeam seam;
    return seam;
}

// Counts the steps of one operation for the seam.
class Steps {
  public:
    // The error to fail the step with, 0 to run it.
    DWORD Fault(FileStep step) {
        const int number = ++counts_[static_cast<std::size_t>(step)];
        if (const DWORD fault = OperationFault()) return fault;
        return Seam() ? Seam()(step, number) : 0;
    }

  private:
    std::array<int, static_cast<std::size_t>(FileStep::Count)> counts_{};
};

std::string FolderOf(const std::string& path) {
    const std::size_t at = path.find_last_of("\\/:");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

// Tries `take` on names "MVDxxxx.<ext>" in `folder` until one is free; `take` gives 0 when the
// name was free and is now taken, or the system's error. Leaves `name` empty when none was had.
template <typename Take>
DWORD TakeUniqueName(const std::string& folder, const char* ext, std::string& name, Take take) {
    DWORD number = (GetTickCount() ^ (GetCurrentProcessId() << 8)) & 0xFFFF;
    DWORD error = ERROR_FILE_EXISTS;
    for (int i = 0; i < kTempNameTries; ++i, number = (number + 1) & 0xFFFF) {
        char leaf[16];
        std::snprintf(leaf, sizeof leaf, "MVD%04lX.%s", static_cast<unsigned long>(number), ext);
        name = folder + leaf;
        error = take(name);
        if (!error) return 0;
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    name.clear();
    return error;
}

// A new, empty file beside the target, under a name nobody else holds.
UniqueFile CreateTempFile(const std::string& folder, std::string& name, DWORD& error) {
    UniqueFile file;
    error = TakeUniqueName(folder, "TMP", name, [&](const std::string& candidate) -> DWORD {
        file.reset(CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        return file ? 0 : GetLastError();
    });
    return file;
}

// Windows 95, 98 and ME export MoveFileExA only as a stub that fails.
bool IsWindows9x() {
    return (GetVersion() & 0x80000000u) != 0;
}

DWORD Move(const std::string& from, const std::string& to) {
    if (const DWORD fault = OperationFault()) return fault;
    return MoveFileA(from.c_str(), to.c_str()) ? 0 : GetLastError();
}

// Removes a file of ours (a temporary one, one set aside); the seam may keep it.
void RemoveOwnFile(const std::string& path) {
    if (OperationFault()) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

// The new file into the old one's place with the renames Windows 9x has: the old one aside under
// a free name, the new one in, the old one deleted. Any failure puts the old one back.
DWORD ReplaceByRenames(const std::string& temp, const std::string& path, bool targetExists, Steps& steps) {
    if (!targetExists) {
        const DWORD error = steps.Fault(FileStep::MoveIn);
        return error ? error : Move(temp, path);
    }
    std::string aside;
    DWORD error = steps.Fault(FileStep::SetAside);
    if (!error) {
        error = TakeUniqueName(FolderOf(path), "OLD", aside,
                               [&](const std::string& candidate) { return Move(path, candidate); });
    }
    if (error) return error;
    error = steps.Fault(FileStep::MoveIn);
    if (!error) error = Move(temp, path);
    if (!error) {
        error = steps.Fault(FileStep::DeleteOld);
        const DWORD kept = GetFileAttributesA(aside.c_str());
        if (!error) {
            SetFileAttributesA(aside.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file does not go
            if (DeleteFileA(aside.c_str())) return 0;
            error = GetLastError();
            SetFileAttributesA(aside.c_str(), kept);
        }
        Move(path, temp);  // the new file goes back to be removed with the temporary one
    }
    Move(aside, path);
    return error;
}

DWORD WriteAll(HANDLE file, std::string_view bytes, Steps& steps) {
    while (!bytes.empty()) {
        const DWORD n = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kPiece));
        if (const DWORD fault = steps.Fault(FileStep::Write)) return fault;
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), n, &written, nullptr)) return GetLastError();
        if (written != n) return ERROR_DISK_FULL;
        bytes.remove_prefix(n);
    }
    return 0;
}
}  // namespace

FileFaultSeam SetFileFaultSeam(FileFaultSeam seam) {
    return std::exchange(Seam(), std::move(seam));
}

ReadStatus ReadFileInPieces(const std::string& path, const std::function<bool(std::string_view)>& piece) {
    if (OperationFault()) return ReadStatus::NotOpened;
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return ReadStatus::NotOpened;
    Steps steps;
    std::string buffer(kPiece, '\0');
    for (;;) {
        if (steps.Fault(FileStep::Read)) return ReadStatus::Failed;
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer.data(), kPiece, &got, nullptr)) return ReadStatus::Failed;
        if (got == 0) return ReadStatus::Done;
        if (!piece(std::string_view(buffer.data(), got))) return ReadStatus::Done;
    }
}

ReadStatus ReadFileAtOnce(const std::string& path, std::string& bytes) {
    bytes.clear();
    try {
        // Room for the size it has now, so that the pieces land without the buffer growing; a
        // file that grows meanwhile is read on all the same.
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeHigh == 0)
            bytes.reserve(data.nFileSizeLow);
        return ReadFileInPieces(path, [&bytes](std::string_view piece) {
            bytes.append(piece);
            return true;
        });
    } catch (const std::bad_alloc&) {
        return ReadStatus::Failed;
    }
}

ReplaceResult ReplaceFileWith(const std::string& path, std::string_view bytes) {
    return ReplaceFileWith(path, [bytes](const ByteSink& write) { return write(bytes); });
}

ReplaceResult ReplaceFileWith(const std::string& path, const ByteSource& produce) {
    Steps steps;
    // A file that could not be rewritten where it stands (read-only, locked by another program,
    // a folder of that name) is refused with the system's reason, before anything is written.
    DWORD error = steps.Fault(FileStep::OpenTarget);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    // A rename would replace a read-only file all the same (and Wine run as root opens one for
    // writing): refuse it as Windows refuses to open it.
    if (!error && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        error = ERROR_ACCESS_DENIED;
    if (!error) {
        // No FILE_SHARE_DELETE: Windows 9x refuses it as an invalid parameter.
        UniqueFile target(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        error = target ? 0 : GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) error = 0;  // the first save makes it
    }
    if (error) return {ReplaceStatus::NotCreated, error};

    std::string tempName;
    error = steps.Fault(FileStep::CreateTemp);
    UniqueFile temp;
    if (!error) temp = CreateTempFile(FolderOf(path), tempName, error);
    if (!temp) return {ReplaceStatus::NotCreated, error};

    DWORD writeError = 0;
    const bool produced = produce([&](std::string_view piece) {
        writeError = WriteAll(temp.get(), piece, steps);
        return writeError == 0;
    });
    error = writeError ? writeError : (produced ? 0 : ERROR_NOT_ENOUGH_MEMORY);
    if (!error) {
        error = steps.Fault(FileStep::Flush);
        if (!error && !FlushFileBuffers(temp.get())) error = GetLastError();
    }
    if (!error) {
        error = steps.Fault(FileStep::Close);
        if (!error && !CloseHandle(temp.release())) error = GetLastError();
    }
    if (!error) {
        // A hidden or system list file stays so.
        const DWORD keep = attributes == INVALID_FILE_ATTRIBUTES
                               ? 0
                               : attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        if (keep) SetFileAttributesA(tempName.c_str(), keep);
        error = IsWindows9x() ? ERROR_CALL_NOT_IMPLEMENTED : steps.Fault(FileStep::Replace);
        if (!error &&
            !MoveFileExA(tempName.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            error = GetLastError();
        if (error == ERROR_CALL_NOT_IMPLEMENTED)
            error = ReplaceByRenames(tempName, path, attributes != INVALID_FILE_ATTRIBUTES, steps);
    }
    if (!error) return {ReplaceStatus::Done, 0};
    temp.reset();
    RemoveOwnFile(tempName);
    return {ReplaceStatus::NotWritten, error};
}

bool IsExistingFile(const std::string& path) {
    if (OperationFault()) return false;
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

FileQuery QueryFile(const std::string& path) {
    DWORD error = OperationFault();
    if (!error) {
        const DWORD a = GetFileAttributesA(path.c_str());
        if (a != INVALID_FILE_ATTRIBUTES) return {FileState::Exists, 0};
        error = GetLastError();
    }
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {FileState::Absent, error};
    return {FileState::Unknown, error ? error : ERROR_GEN_FAILURE};
}

DWORD ReadWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    if (const DWORD fault = OperationFault()) return fault;
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return GetLastError();
    DWORD high = 0;
    const DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return GetLastError();
    if (high != 0 || low > maxBytes) return ERROR_FILE_TOO_LARGE;
    try {
        bytes.assign(low, '\0');
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    DWORD done = 0;
    while (done < low) {
        if (const DWORD fault = OperationFault()) return fault;
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, low - done, &got, nullptr)) return GetLastError();
        if (got == 0) break;  // shorter than it said: what is there is the file
        done += got;
    }
    bytes.resize(done);
    return 0;
}

DWORD RemoveFile(const std::string& path) {
    if (const DWORD fault = OperationFault()) return fault;
    return DeleteFileA(path.c_str()) ? 0 : GetLastError();
}

std::string SystemErrorText(DWORD error) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string s = n && text ? std::string(text, n) : "Error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ')) s.pop_back();
    return s;
}

}  // namespace mvpr::win

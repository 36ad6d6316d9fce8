#ifndef MVPR_WIN_FILES_H
#define MVPR_WIN_FILES_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "win/Win32.h"

namespace mvpr::win {

// The steps of reading and of replacing a file, so that tests can make any one of them fail.
// Replace is the one-step move; failing it with ERROR_CALL_NOT_IMPLEMENTED takes the way of
// Windows 9x instead: SetAside, MoveIn, DeleteOld.
enum class FileStep {
    Read,
    OpenTarget,
    CreateTemp,
    Write,
    Flush,
    Close,
    Replace,
    SetAside,
    MoveIn,
    DeleteOld,
    Count
};

// While set, called before each step with the step's number among the steps of its kind in the
// current operation (from 1); a non-zero result makes the step fail with that error number.
using FileFaultSeam = std::function<DWORD(FileStep step, int number)>;
FileFaultSeam SetFileFaultSeam(FileFaultSeam seam);  // returns the seam it replaces

enum class ReadStatus { Done, NotOpened, Failed };

// Reads a file in pieces, handing each to `piece` in order; stops, still Done, when `piece`
// returns false. Failed means a read went wrong after the file was opened.
ReadStatus ReadFileInPieces(const std::string& path, const std::function<bool(std::string_view)>& piece);
// Reads a whole file in the same pieces into one buffer sized once from the file's size, so that
// a big file is not grown on its way in (fresh memory costs more than the reading). On Failed
// `bytes` holds the pieces read before the failure; running out of memory fails too.
ReadStatus ReadFileAtOnce(const std::string& path, std::string& bytes);

enum class ReplaceStatus { Done, NotCreated, NotWritten };
struct ReplaceResult {
    ReplaceStatus status;
    DWORD error;  // the system's error number when not Done
};

// Gives `path` the bytes without ever leaving it half written: they go to a new file in the
// same folder, which is flushed and then moved over `path` in one step. Windows 9x has no such
// move: there the old file is renamed aside, the new one renamed into place and the old one
// deleted; at every moment one of them holds the name or lies beside it. NotCreated when the old
// file cannot be written or the new one cannot be made; NotWritten when writing, flushing or the
// move fails. Whatever fails, the old file keeps its name and bytes and the new one is removed.
ReplaceResult ReplaceFileWith(const std::string& path, std::string_view bytes);

// The same with the bytes made while they are written: `produce` hands them to its sink piece by
// piece (a false from the sink: stop, the write failed) and returns false when it could not make
// them all, which counts as running out of memory.
using ByteSink = std::function<bool(std::string_view piece)>;
using ByteSource = std::function<bool(const ByteSink& write)>;
ReplaceResult ReplaceFileWith(const std::string& path, const ByteSource& produce);

// The system's own text for an error number, without its line break; "Error <n>" when it has none.
std::string SystemErrorText(DWORD error);

// True for a file; a folder of that name does not count. One attribute query.
bool IsExistingFile(const std::string& path);

// Whether something of that name is there. Absent only when the system says so (file or path not
// found): a drive that is not ready, a share out of reach or a denied access is Unknown, with the
// system's error number.
enum class FileState { Exists, Absent, Unknown };
struct FileQuery {
    FileState state;
    DWORD error;
};
FileQuery QueryFile(const std::string& path);

// The whole file, at most maxBytes of it (ERROR_FILE_TOO_LARGE beyond); 0 or the system's error.
DWORD ReadWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes = 0x7FFFFFFF);

// Deletes a file; 0 or the system's error (ERROR_FILE_NOT_FOUND when it was not there).
DWORD RemoveFile(const std::string& path);

}  // namespace mvpr::win

#endif

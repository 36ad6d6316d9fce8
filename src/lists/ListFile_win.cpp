#include "lists/ListFile_win.h"

#include <utility>

namespace mvpr {

win::ReadStatus ReadListFileInto(const std::string& path, ListFileReader& reader) {
    std::string bytes;
    const win::ReadStatus status = win::ReadFileAtOnce(path, bytes);
    reader.Take(std::move(bytes));
    if (status == win::ReadStatus::Done) reader.Finish();
    return status;
}

}  // namespace mvpr

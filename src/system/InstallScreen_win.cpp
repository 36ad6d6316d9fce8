#include "system/InstallScreen_win.h"

#include "win/Files.h"

namespace mvpr {

InstallOutcome WriteScreenFile(std::string_view bytes, const std::string& target) {
    const win::ReplaceResult r = win::ReplaceFileWith(target, bytes);
    if (r.status != win::ReplaceStatus::Done) return {false, win::SystemErrorText(r.error)};
    return {true, {}};
}

InstallOutcome InstallScreenFile(const std::string& source, const std::string& target) {
    std::string bytes;
    if (const DWORD error = win::ReadWholeFile(source, bytes)) return {false, win::SystemErrorText(error)};
    return WriteScreenFile(bytes, target);
}

InstallOutcome CopyToNewFile(const std::string& source, const std::string& target) {
    const win::FileQuery there = win::QueryFile(target);
    if (there.state != win::FileState::Absent)
        return {false, win::SystemErrorText(there.state == win::FileState::Exists ? ERROR_FILE_EXISTS
                                                                                  : there.error)};
    return InstallScreenFile(source, target);
}

}  // namespace mvpr

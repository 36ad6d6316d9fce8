#include "system/ScreenFile_win.h"

#include <cstdint>
#include <span>

#include "imaging/BmpCodec.h"
#include "win/Files.h"

namespace mvpr {

ScreenFile ReadScreenFile(const std::string& path) {
    const DecodeLimits limits;
    ScreenFile file;
    file.error = win::ReadWholeFile(path, file.bytes, limits.maxBytes);
    if (file.error == ERROR_FILE_TOO_LARGE) {
        file.error = 0;  // readable, but no bitmap of ours
        file.bytes.clear();
        return file;
    }
    if (file.error) return file;
    const DecodeResult decoded = DecodeBmp(
        std::span(reinterpret_cast<const std::uint8_t*>(file.bytes.data()), file.bytes.size()), limits);
    if (decoded.Ok())
        file.verdict =
            JudgeScreen(decoded.picture.Width(), decoded.picture.Height(), decoded.picture.Format());
    return file;
}

ScreenVerdict JudgeScreenFile(const std::string& path) {
    return ReadScreenFile(path).verdict;
}

}  // namespace mvpr

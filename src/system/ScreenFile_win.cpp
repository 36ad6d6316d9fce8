#include "system/ScreenFile_win.h"

#include "imaging/DecodeFile_win.h"

namespace mvpr {

ScreenVerdict JudgeScreenFile(const std::string& path) {
    const auto decoded = DecodeBitmapFile(path);
    if (!decoded || !decoded->Ok()) return {};
    return JudgeScreen(decoded->picture.Width(), decoded->picture.Height(), decoded->picture.Format());
}

}  // namespace mvpr

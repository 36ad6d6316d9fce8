#ifndef MVPR_SYSTEM_MSDOSSYS_H
#define MVPR_SYSTEM_MSDOSSYS_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mvpr {

// MSDOS.SYS of Windows 95, 98 and ME: a text file in the root of the boot drive whose [Options]
// decide how Windows starts. The copy kept beside it before a change is MSDOS.MVP.
inline constexpr std::string_view kMsDosSysName = "MSDOS.SYS";
inline constexpr std::string_view kMsDosCopyName = "MSDOS.MVP";
// The file itself says it must stay longer than 1,024 bytes (its lines of x's are there for that).
inline constexpr std::size_t kMsDosSysMinSize = 1025;
// Far more than any real one; a bigger file is something else.
inline constexpr std::size_t kMsDosSysMaxSize = 64 * 1024;

// The two [Options] keys whose 0 keeps the start-up screen away.
enum class MsDosKey { Logo, BootGui };
std::string_view MsDosKeyName(MsDosKey key);  // "Logo", "BootGUI"

struct MsDosSettings {
    bool logo = true;     // a missing key means 1
    bool bootGui = true;  // a missing key means 1
    // [Paths] HostWinBootDrv, the drive whose root Windows starts from, as an upper-case letter.
    std::optional<char> hostWinBootDrive;
};

// What the file says; nothing when the bytes do not look like the MSDOS.SYS of Windows 9x (a text
// file of 1,025 bytes to 64 KB with a [Paths] section naming WinDir or WinBootDir). The first line
// of a key counts; keys and section names in any letter case, blanks and tabs around "=".
std::optional<MsDosSettings> ReadMsDosSys(std::string_view bytes);

enum class MsDosEditStatus { Switched, AlreadyOn, NotMsDosSys };
struct MsDosEdit {
    MsDosEditStatus status;
    std::string bytes;  // when Switched: the file with the key's "0" made "1", every other byte kept
};

// Turns an [Options] key that reads 0 on by changing its last digit to 1: the length, the line ends
// and every other byte stay.
MsDosEdit SwitchOn(std::string_view bytes, MsDosKey key);

}  // namespace mvpr

#endif

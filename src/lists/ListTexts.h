#ifndef MVPR_LISTS_LISTTEXTS_H
#define MVPR_LISTS_LISTTEXTS_H

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace mvpr {

// The screen-list file, in the program folder.
inline constexpr std::string_view kListFileName = "MVDATA.MVD";
// Where a list file that could not be read at start-up is kept when the first save replaces it.
inline constexpr std::string_view kListBackupName = "MVDATA.BAK";

// Line breaks in message texts are LF CR, in that order.
inline constexpr std::string_view kReadingError = "Error Reading file";
inline constexpr std::string_view kWritingError = "Error writing to file";
inline constexpr std::string_view kCreatingErrorPrefix = "Error ";
inline constexpr std::string_view kCreatingErrorSuffix = " creating file";
inline constexpr std::string_view kSaveBeforeExit = "Changes not saved!\n\rSave before exit?";
// Said once, by the save that kept aside a file whose lines stood under no known header.
inline constexpr std::string_view kSkippedLinesKept =
    "MVDATA.MVD held lines under no known header, which no list shows.\n\r"
    "The old file is kept as MVDATA.BAK.";

// The purge's report: a heading, then one line per category in list order.
inline constexpr std::string_view kPurgeHeading = "Numbers of removed screens : ";
inline constexpr std::array<std::string_view, 4> kPurgeCountLabels{
    "Start-Up screens : ", "Waiting screens : ", "Shut down screens : ", "Wallpaper : "};

// "Error 5 creating file": the system's error number in decimal.
inline std::string CreatingFileError(unsigned long error) {
    return std::string(kCreatingErrorPrefix) + std::to_string(error) + std::string(kCreatingErrorSuffix);
}

// Every line of the report is followed by LF CR, the last one too.
inline std::string PurgeReport(const std::array<std::size_t, 4>& removed) {
    std::string text(kPurgeHeading);
    text += "\n\r";
    for (std::size_t i = 0; i < removed.size(); ++i) {
        text += kPurgeCountLabels[i];
        text += std::to_string(removed[i]);
        text += "\n\r";
    }
    return text;
}

}  // namespace mvpr

#endif

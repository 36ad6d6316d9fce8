#ifndef MVPR_WIN_FOLDERPATH_H
#define MVPR_WIN_FOLDERPATH_H

#include <string>
#include <string_view>
#include <vector>

namespace mvpr {

// Length of the root part of a folder: "C:\" (3), "C:" (2), "\\server\share\" (through the
// backslash after the share, or the whole text), "\" (1); 0 for a relative path.
std::size_t RootLength(std::string_view path);

// A folder as the file browser reports it: a root keeps its backslash ("C:\"), any other folder
// loses its trailing ones ("C:\PICS"). Forward slashes become backslashes.
std::string NormalizeFolder(std::string_view folder);

// The folders from the root down to the folder itself: "C:\A\B" gives "C:\", "C:\A", "C:\A\B".
std::vector<std::string> FolderChain(std::string_view folder);

// The last name of a folder ("B" of "C:\A\B"); the root itself for a root.
std::string FolderName(std::string_view folder);

// Drive letter of a folder ("C" of "c:\x"), or 0 when it has none.
char DriveLetter(std::string_view folder);

// Folder and name with one backslash between them, unless the folder already ends in one.
std::string JoinPath(std::string_view folder, std::string_view name);

// Appends a backslash unless the text is empty or already ends in one.
std::string WithTrailingBackslash(std::string_view folder);

}  // namespace mvpr

#endif

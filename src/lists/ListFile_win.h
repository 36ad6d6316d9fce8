#ifndef MVPR_LISTS_LISTFILE_WIN_H
#define MVPR_LISTS_LISTFILE_WIN_H

// Reading the list file from disk, the same way in the selector and the randomizer.
#include <string>

#include "lists/ListFile.h"
#include "win/Files.h"

namespace mvpr {

// Reads the file at `path` whole into `reader`, its bytes handed over without a copy, and
// finishes the reader when every byte was read. On Failed the reader holds what was read before
// the failure, unfinished; on NotOpened it holds nothing.
win::ReadStatus ReadListFileInto(const std::string& path, ListFileReader& reader);

}  // namespace mvpr

#endif

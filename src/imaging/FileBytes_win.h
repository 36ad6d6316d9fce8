#ifndef MVPR_IMAGING_FILEBYTES_WIN_H
#define MVPR_IMAGING_FILEBYTES_WIN_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mvpr {

// The whole file, or nothing when it cannot be opened (missing, locked, no access, a folder),
// cannot be read, or holds more than maxBytes. The path is in the ANSI code page.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes);

}  // namespace mvpr

#endif

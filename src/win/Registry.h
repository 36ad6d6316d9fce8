#ifndef MVPR_WIN_REGISTRY_H
#define MVPR_WIN_REGISTRY_H

#include <optional>
#include <string>
#include <string_view>

#include "win/Handles.h"

namespace mvpr::win {

// One open registry key. Where a call takes `error`, it receives the system's error number when
// the call fails: ERROR_FILE_NOT_FOUND only when the key or value is not there.
class RegistryKey {
  public:
    // Opens a key; with create, makes it (and the keys above it) when absent.
    static std::optional<RegistryKey> Open(HKEY root, std::string_view path, bool create,
                                           LONG* error = nullptr);
    // Opens an existing key for reading only (a key the user may not write still reads).
    static std::optional<RegistryKey> OpenForReading(HKEY root, std::string_view path, LONG* error = nullptr);

    HKEY get() const { return key_.get(); }
    bool HasValue(std::string_view name) const;
    // The one way values are read: as text, whatever type the user or another program stored
    // them with. REG_SZ as it is, REG_EXPAND_SZ with its environment variables expanded,
    // REG_DWORD as its decimal number; nothing when it is absent or of any other type
    // (ERROR_UNSUPPORTED_TYPE).
    std::optional<std::string> ReadText(std::string_view name, LONG* error = nullptr) const;
    bool WriteString(std::string_view name, std::string_view value, LONG* error = nullptr);
    // True also when the value was not there.
    bool DeleteValue(std::string_view name, LONG* error = nullptr);
    // Deletes a subkey with everything under it; true also when it was not there.
    bool DeleteTree(std::string_view subkey, LONG* error = nullptr);

  private:
    explicit RegistryKey(HKEY k) : key_(k) {}
    std::optional<std::string> ReadString(const std::string& name, DWORD& type, LONG& error) const;
    UniqueKey key_;
};

}  // namespace mvpr::win

#endif

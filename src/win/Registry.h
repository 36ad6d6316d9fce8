#ifndef MVPR_WIN_REGISTRY_H
#define MVPR_WIN_REGISTRY_H

#include <optional>
#include <string>
#include <string_view>

#include "win/Handles.h"

namespace mvpr::win {

// One open registry key.
class RegistryKey {
  public:
    // Opens a key; with create, makes it (and the keys above it) when absent.
    static std::optional<RegistryKey> Open(HKEY root, std::string_view path, bool create);

    HKEY get() const { return key_.get(); }
    bool HasValue(std::string_view name) const;
    // A string value (REG_SZ or REG_EXPAND_SZ, unexpanded); nothing when absent or of another type.
    std::optional<std::string> ReadString(std::string_view name) const;
    bool WriteString(std::string_view name, std::string_view value);
    // True also when the value was not there.
    bool DeleteValue(std::string_view name);
    // Deletes a subkey with everything under it; true also when it was not there.
    bool DeleteTree(std::string_view subkey);

    // --- settings ---------------------------------------------------------------------------
    // Opens an existing key for reading only (a key the user may not write still reads).
    static std::optional<RegistryKey> OpenForReading(HKEY root, std::string_view path);
    // A value as text, whatever type the user or another program stored it with: REG_SZ as it
    // is, REG_EXPAND_SZ with its environment variables expanded, REG_DWORD as its decimal
    // number; nothing when it is absent or of any other type.
    std::optional<std::string> ReadText(std::string_view name) const;

  private:
    explicit RegistryKey(HKEY k) : key_(k) {}
    UniqueKey key_;
};

}  // namespace mvpr::win

#endif

#include "win/Registry.h"

#include <string>
#include <vector>

namespace mvpr::win {

namespace {
// RegDeleteTree and SHDeleteKey are missing on the oldest systems: delete depth first by hand.
LONG DeleteTreeOf(HKEY parent, const std::string& name) {
    HKEY raw = nullptr;
    LONG rc = RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &raw);
    if (rc == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (rc != ERROR_SUCCESS) return rc;
    UniqueKey key(raw);
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        char child[256];
        DWORD len = sizeof child;
        rc = RegEnumKeyExA(key.get(), i, child, &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) return rc;
        children.emplace_back(child, len);
    }
    for (const auto& c : children)
        if ((rc = DeleteTreeOf(key.get(), c)) != ERROR_SUCCESS) return rc;
    key.reset();
    rc = RegDeleteKeyA(parent, name.c_str());
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}
}  // namespace

std::optional<RegistryKey> RegistryKey::Open(HKEY root, std::string_view path, bool create) {
    HKEY k = nullptr;
    const std::string p(path);
    LONG rc;
    if (create)
        rc = RegCreateKeyExA(root, p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                             nullptr, &k, nullptr);
    else
        rc = RegOpenKeyExA(root, p.c_str(), 0, KEY_READ | KEY_WRITE, &k);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    return RegistryKey(k);
}

bool RegistryKey::HasValue(std::string_view name) const {
    return RegQueryValueExA(key_.get(), std::string(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

std::optional<std::string> RegistryKey::ReadString(std::string_view name) const {
    const std::string n(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::string data(size + 1, '\0');
    DWORD got = size;
    if (RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got) !=
        ERROR_SUCCESS)
        return std::nullopt;
    data.resize(got);
    // The stored size may or may not count the terminating zero; text ends at the first one.
    const auto zero = data.find('\0');
    if (zero != std::string::npos) data.resize(zero);
    return data;
}

bool RegistryKey::WriteString(std::string_view name, std::string_view value) {
    const std::string v(value);
    return RegSetValueExA(key_.get(), std::string(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(v.c_str()),
                          static_cast<DWORD>(v.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(std::string_view name) {
    const LONG rc = RegDeleteValueA(key_.get(), std::string(name).c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool RegistryKey::DeleteTree(std::string_view subkey) {
    return DeleteTreeOf(key_.get(), std::string(subkey)) == ERROR_SUCCESS;
}

// --- settings -------------------------------------------------------------------------------

std::optional<RegistryKey> RegistryKey::OpenForReading(HKEY root, std::string_view path) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, std::string(path).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return std::nullopt;
    return RegistryKey(k);
}

std::optional<std::string> RegistryKey::ReadText(std::string_view name) const {
    const std::string n(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type == REG_DWORD) {
        DWORD number = 0;
        size = sizeof number;
        if (RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number),
                             &size) != ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof number)
            return std::nullopt;
        return std::to_string(number);
    }
    auto text = ReadString(name);
    if (!text || type != REG_EXPAND_SZ) return text;
    // Expanded as the system would; the size asked for includes the terminating zero.
    std::string expanded(text->size() + 1, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD need =
            ExpandEnvironmentStringsA(text->c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (need == 0) return text;  // cannot expand: the text as stored
        if (need <= expanded.size()) {
            expanded.resize(expanded.find('\0'));  // the zero lies inside: need counts it
            return expanded;
        }
        expanded.assign(need, '\0');
    }
    return text;
}

}  // namespace mvpr::win

#include "win/Registry.h"

#include <string>
#include <vector>

#include "win/OperationSeam.h"

namespace mvpr::win {

namespace {
// The seam's answer, or the call's own result.
template <typename Call>
LONG Run(Call call) {
    if (const DWORD fault = OperationFault()) return static_cast<LONG>(fault);
    return call();
}

bool Report(LONG rc, LONG* error) {
    if (error) *error = rc;
    return rc == ERROR_SUCCESS;
}

// RegDeleteTree and SHDeleteKey are missing on the oldest systems: delete depth first by hand.
LONG DeleteTreeOf(HKEY parent, const std::string& name) {
    HKEY raw = nullptr;
    LONG rc = Run([&] { return RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &raw); });
    if (rc == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (rc != ERROR_SUCCESS) return rc;
    UniqueKey key(raw);
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        char child[256];
        DWORD len = sizeof child;
        rc =
            Run([&] { return RegEnumKeyExA(key.get(), i, child, &len, nullptr, nullptr, nullptr, nullptr); });
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) return rc;
        children.emplace_back(child, len);
    }
    for (const auto& c : children)
        if ((rc = DeleteTreeOf(key.get(), c)) != ERROR_SUCCESS) return rc;
    key.reset();
    rc = Run([&] { return RegDeleteKeyA(parent, name.c_str()); });
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}
}  // namespace

std::optional<RegistryKey> RegistryKey::Open(HKEY root, std::string_view path, bool create, LONG* error) {
    HKEY k = nullptr;
    const std::string p(path);
    const LONG rc = Run([&] {
        return create ? RegCreateKeyExA(root, p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_READ | KEY_WRITE, nullptr, &k, nullptr)
                      : RegOpenKeyExA(root, p.c_str(), 0, KEY_READ | KEY_WRITE, &k);
    });
    if (!Report(rc, error)) return std::nullopt;
    return RegistryKey(k);
}

std::optional<RegistryKey> RegistryKey::OpenForReading(HKEY root, std::string_view path, LONG* error) {
    HKEY k = nullptr;
    const LONG rc = Run([&] { return RegOpenKeyExA(root, std::string(path).c_str(), 0, KEY_READ, &k); });
    if (!Report(rc, error)) return std::nullopt;
    return RegistryKey(k);
}

bool RegistryKey::HasValue(std::string_view name) const {
    return Run([&] {
               return RegQueryValueExA(key_.get(), std::string(name).c_str(), nullptr, nullptr, nullptr,
                                       nullptr);
           }) == ERROR_SUCCESS;
}

std::optional<std::string> RegistryKey::ReadString(const std::string& n, DWORD& type, LONG& error) const {
    DWORD size = 0;
    error = Run([&] { return RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type, nullptr, &size); });
    if (error != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_DWORD) {
        error = ERROR_UNSUPPORTED_TYPE;
        return std::nullopt;
    }
    std::string data(size + 1, '\0');
    DWORD got = size;
    error = Run([&] {
        return RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                &got);
    });
    if (error != ERROR_SUCCESS) return std::nullopt;
    data.resize(got);
    if (type == REG_DWORD) {
        if (got != sizeof(DWORD)) {
            error = ERROR_UNSUPPORTED_TYPE;
            return std::nullopt;
        }
        DWORD number = 0;
        data.copy(reinterpret_cast<char*>(&number), sizeof number);
        return std::to_string(number);
    }
    // The stored size may or may not count the terminating zero; text ends at the first one.
    const auto zero = data.find('\0');
    if (zero != std::string::npos) data.resize(zero);
    return data;
}

std::optional<std::string> RegistryKey::ReadText(std::string_view name, LONG* error) const {
    DWORD type = 0;
    LONG rc = ERROR_SUCCESS;
    auto text = ReadString(std::string(name), type, rc);
    if (error) *error = rc;
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

bool RegistryKey::WriteString(std::string_view name, std::string_view value, LONG* error) {
    const std::string v(value);
    return Report(Run([&] {
                      return RegSetValueExA(key_.get(), std::string(name).c_str(), 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(v.c_str()),
                                            static_cast<DWORD>(v.size() + 1));
                  }),
                  error);
}

bool RegistryKey::DeleteValue(std::string_view name, LONG* error) {
    LONG rc = Run([&] { return RegDeleteValueA(key_.get(), std::string(name).c_str()); });
    if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
    return Report(rc, error);
}

bool RegistryKey::DeleteTree(std::string_view subkey, LONG* error) {
    return Report(DeleteTreeOf(key_.get(), std::string(subkey)), error);
}

}  // namespace mvpr::win

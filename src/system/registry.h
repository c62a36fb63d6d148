// The registry as the program uses it: keys below HKEY_LOCAL_MACHINE, string values,
// subkey listing. Backends: advapi32 (win32/) and an in-memory tree (headless/).
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lt {

// Access rights, with the values Windows gives them: stored settings and the fallback
// order of the settings read depend on exactly these masks.
namespace rights {
constexpr uint32_t kQueryValue = 0x0001;
constexpr uint32_t kSetValue = 0x0002;
constexpr uint32_t kCreateSubKey = 0x0004;
constexpr uint32_t kEnumerateSubKeys = 0x0008;
constexpr uint32_t kStandardRead = 0x20000;
constexpr uint32_t kRead = 0x20019;
constexpr uint32_t kAllAccess = 0xF003F;
}  // namespace rights

// Value types, numbered as Windows numbers them.
namespace regtype {
constexpr uint32_t kNone = 0;
constexpr uint32_t kString = 1;        // REG_SZ
constexpr uint32_t kExpandString = 2;  // REG_EXPAND_SZ
constexpr uint32_t kBinary = 3;
constexpr uint32_t kDword = 4;
constexpr uint32_t kMultiString = 7;
}  // namespace regtype

// System error codes, numbered as Windows numbers them; a backend reports the system's own.
namespace regerror {
constexpr uint32_t kSuccess = 0;
constexpr uint32_t kFileNotFound = 2;  // no such key or value
constexpr uint32_t kAccessDenied = 5;
}  // namespace regerror

struct RegValueInfo {
    uint32_t type = regtype::kNone;
    uint32_t size = 0;  // bytes, as the system reports them (terminator included)
};

// An open key. Texts are UTF-8 here; a backend converts at its own boundary.
class RegKey {
public:
    virtual ~RegKey() = default;
    virtual std::optional<RegValueInfo> queryValue(const std::string& name) = 0;
    // The text of a string value up to its first zero character; only called for
    // values whose type is a string type.
    virtual std::string readText(const std::string& name) = 0;
    // Stores a REG_SZ value; false when the system refuses.
    virtual bool writeText(const std::string& name, const std::string& text) = 0;
    // Removes a value: regerror::kSuccess, kFileNotFound when it did not exist, or the
    // system's error code why not.
    virtual uint32_t deleteValue(const std::string& name) = 0;
    virtual std::vector<std::string> subkeyNames() = 0;
};

// An opened key, or the system's error code why it could not be opened.
struct OpenedKey {
    std::unique_ptr<RegKey> key;
    uint32_t error = regerror::kSuccess;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Opens path (below HKEY_LOCAL_MACHINE, no leading backslash) with the given rights;
    // no key (kFileNotFound) when it does not exist, none (kAccessDenied) when the rights
    // are refused.
    virtual OpenedKey openKey(const std::string& path, uint32_t access) = 0;
    // As openKey, but creates the key (non-volatile, default security) when missing.
    virtual OpenedKey createKey(const std::string& path, uint32_t access) = 0;
    // The system's text for an error code, in the user's language; "" when it has none.
    virtual std::string errorText(uint32_t code) = 0;
};

}  // namespace lt

#include "win32_registry.h"

#include <windows.h>

#include "wide_text.h"

namespace lt::win32 {
namespace {

class Win32Key : public RegKey {
public:
    explicit Win32Key(HKEY key) : key_(key) {}
    ~Win32Key() override { RegCloseKey(key_); }

    std::optional<RegValueInfo> queryValue(const std::string& name) override {
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key_, widen(name).c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        return RegValueInfo{type, size};
    }

    std::string readText(const std::string& name) override {
        const std::wstring wname = widen(name);
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key_, wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "";
        // Room for a terminator the stored data may lack.
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = size;
        if (RegQueryValueExW(key_, wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
            ERROR_SUCCESS)
            return "";
        return narrow(buffer.substr(0, buffer.find(L'\0')));
    }

    bool writeText(const std::string& name, const std::string& text) override {
        const std::wstring data = widen(text);
        const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(key_, widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                              bytes) == ERROR_SUCCESS;
    }

    uint32_t deleteValue(const std::string& name) override {
        return static_cast<uint32_t>(RegDeleteValueW(key_, widen(name).c_str()));
    }

    std::vector<std::string> subkeyNames() override {
        std::vector<std::string> names;
        wchar_t name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name / sizeof name[0];
            const LONG rc = RegEnumKeyExW(key_, i, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_MORE_DATA) continue;  // longer than any key name Windows allows
            if (rc != ERROR_SUCCESS) break;
            names.push_back(narrow(std::wstring(name, length)));
        }
        return names;
    }

private:
    HKEY key_;
};

OpenedKey opened(LONG status, HKEY key) {
    if (status != ERROR_SUCCESS) return {nullptr, static_cast<uint32_t>(status)};
    return {std::make_unique<Win32Key>(key)};
}

}  // namespace

OpenedKey Win32Registry::openKey(const std::string& path, uint32_t access) {
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, widen(path).c_str(), 0, access, &key);
    return opened(status, key);
}

OpenedKey Win32Registry::createKey(const std::string& path, uint32_t access) {
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        access, nullptr, &key, nullptr);
    return opened(status, key);
}

std::string Win32Registry::errorText(uint32_t code) {
    // In the user's language: "Отказано в доступе." on a Russian Windows.
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (!length) return "";
    const std::string result = narrow(std::wstring(text, length));
    LocalFree(text);
    return result;
}

}  // namespace lt::win32

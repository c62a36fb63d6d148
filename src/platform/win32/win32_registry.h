// The registry through advapi32, below HKEY_LOCAL_MACHINE, with wide-character calls.
#pragma once
#include "../registry.h"

namespace lt::win32 {

class Win32Registry : public Registry {
public:
    std::unique_ptr<RegKey> openKey(const std::string& path, uint32_t access) override;
    std::unique_ptr<RegKey> createKey(const std::string& path, uint32_t access) override;
};

}  // namespace lt::win32

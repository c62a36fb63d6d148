// The registry through advapi32, below HKEY_LOCAL_MACHINE, with wide-character calls.
#pragma once
#include "system/registry.h"

namespace lt::win32 {

class Win32Registry : public Registry {
public:
    OpenedKey openKey(const std::string& path, uint32_t access) override;
    OpenedKey createKey(const std::string& path, uint32_t access) override;
    std::string errorText(uint32_t code) override;
};

}  // namespace lt::win32

// The shell's "open" verb and the platform name from the version query.
#pragma once
#include "system/desktop.h"

namespace lt::win32 {

class Win32Shell : public Shell {
public:
    void open(const std::string& address, Form& owner) override;
};

class Win32SystemInfo : public SystemInfo {
public:
    std::string platformName() override;
};

}  // namespace lt::win32

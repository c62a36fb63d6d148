#include "win32_shell.h"

#include <windows.h>
#include <shellapi.h>

#include "toolkit/form.h"
#include "window_peer.h"

namespace lt::win32 {

void Win32Shell::open(const std::string& address, Form& owner) {
    // The result is of no interest: a missing browser is the user's business.
    ShellExecuteA(windowOf(owner), "open", address.c_str(), nullptr, nullptr, SW_SHOW);
}

std::string Win32SystemInfo::platformName() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&info);
#pragma GCC diagnostic pop
    switch (info.dwPlatformId) {
        case VER_PLATFORM_WIN32_WINDOWS: return "Windows 95";
        case VER_PLATFORM_WIN32s: return "Win32s";
        default: return "Windows NT";
    }
}

}  // namespace lt::win32

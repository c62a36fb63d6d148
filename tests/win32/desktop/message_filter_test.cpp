// The tray icon's window takes the shell's "TaskbarCreated" and its own callback message
// from a less privileged process, by whichever filter call the system has.
#include <windows.h>

#include <vector>

#include "checks.h"
#include "platform/win32/tray_host.h"
#include "toolkit/tray_icon.h"

namespace lt::win32::testing {
namespace {

struct Call {
    bool perWindow;
    HWND window;
    UINT message;
    DWORD action;
    bool operator==(const Call&) const = default;
};

std::vector<Call> calls;

BOOL WINAPI recordPerWindow(HWND window, UINT message, DWORD action, void*) {
    calls.push_back({true, window, message, action});
    return TRUE;
}

BOOL WINAPI recordPerProcess(UINT message, DWORD flag) {
    calls.push_back({false, nullptr, message, flag});
    return TRUE;
}

}  // namespace

void testMessageFilter(Checks& checks) {
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    const UINT callback = WM_APP + 2;  // what the shell sends the icon's window
    constexpr DWORD kAllow = 1;        // MSGFLT_ALLOW and MSGFLT_ADD
    struct Case {
        const char* what;
        MessageFilterCalls filter;
        bool perWindow;  // the per-window call is the one made
        bool none;       // no call at all
    };
    const Case cases[] = {
        {"Windows 7 and later: per window", {recordPerWindow, recordPerProcess}, true, false},
        {"Vista: per process", {nullptr, recordPerProcess}, false, false},
        {"XP: neither call", {nullptr, nullptr}, false, true},
    };
    TrayIcon icon;
    for (const Case& c : cases) {
        calls.clear();
        TrayHost tray(icon, GetModuleHandleW(nullptr), nullptr, [](const std::function<void()>& a) { a(); }, c.filter);
        std::vector<Call> expected;
        if (!c.none)
            for (UINT message : {taskbarCreated, callback})
                expected.push_back({c.perWindow, c.perWindow ? tray.window() : nullptr, message, kAllow});
        checks.expect(tray.window() != nullptr, std::string(c.what) + ": the tray window exists");
        checks.expect(calls == expected, std::string(c.what) + ": the messages let through");
    }

    // Wine has both calls, as Windows 7 and later have: the names looked up are the system's.
    using WineVersion = const char*(CDECL*)();
    const auto wineVersion = reinterpret_cast<WineVersion>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    if (wineVersion) {
        const MessageFilterCalls found = MessageFilterCalls::lookUp();
        checks.expect(found.perWindow && found.perProcess, "both filter calls are found in user32");
    }
}

}  // namespace lt::win32::testing

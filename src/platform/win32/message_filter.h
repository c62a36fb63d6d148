// An elevated program (an administrator's, see the manifest) hears no message that a less
// privileged process sends or posts to it, unless it says which ones it takes: the system
// drops them (user interface privilege isolation, Windows Vista and later). The shell runs
// unelevated, so the tray icon's messages need this.
#pragma once
#include <windows.h>

#include <initializer_list>

namespace lt::win32 {

// The system's calls that let a message through, where the system has them.
struct MessageFilterCalls {
    // ChangeWindowMessageFilterEx, Windows 7 and later: for one window.
    BOOL(WINAPI* perWindow)(HWND window, UINT message, DWORD action, void* status) = nullptr;
    // ChangeWindowMessageFilter, Windows Vista: for the whole process.
    BOOL(WINAPI* perProcess)(UINT message, DWORD flag) = nullptr;

    // Looked up in user32 when the program runs: Windows XP has neither call (nor the
    // isolation), and the program must not import what XP lacks.
    static MessageFilterCalls lookUp();
};

// Lets the messages reach the window from less privileged processes: for the window alone
// where the system can, else for the process; nothing where it has neither call.
void allowFromLessPrivileged(const MessageFilterCalls& calls, HWND window, std::initializer_list<UINT> messages);

}  // namespace lt::win32

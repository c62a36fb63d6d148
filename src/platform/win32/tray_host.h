// The notification-area icon with its popup menu. It is added again when the shell
// restarts ("TaskbarCreated"); only the right button opens the menu.
#pragma once
#include <windows.h>

#include <functional>

#include "message_filter.h"
#include "toolkit/tray_icon.h"

namespace lt::win32 {

class TrayHost {
public:
    // The message the shell sends the icon's window on mouse input over the icon.
    static constexpr UINT kCallbackMessage = WM_APP + 2;

    // The filter calls are the system's unless a test gives its own.
    TrayHost(TrayIcon& icon, HINSTANCE instance, HICON image, std::function<void(const std::function<void()>&)> run,
             const MessageFilterCalls& filter = MessageFilterCalls::lookUp());
    ~TrayHost();
    HWND window() const { return window_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void add();
    void showMenu();

    TrayIcon& icon_;
    HICON image_;
    std::function<void(const std::function<void()>&)> run_;
    HWND window_ = nullptr;
    UINT taskbarCreated_ = 0;
};

}  // namespace lt::win32

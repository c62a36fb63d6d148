// The notification-area icon with its popup menu. It is added again when the shell
// restarts ("TaskbarCreated"); only the right button opens the menu.
#pragma once
#include <windows.h>

#include <functional>

#include "../tray_icon.h"

namespace lt::win32 {

class TrayHost {
public:
    TrayHost(TrayIcon& icon, HINSTANCE instance, HICON image, std::function<void(const std::function<void()>&)> run);
    ~TrayHost();

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

#include "tray_host.h"

#include <shellapi.h>

#include <string>

#include "wide_text.h"
#include "window_guard.h"

namespace lt::win32 {
namespace {

constexpr UINT kIconId = 1;
constexpr wchar_t kWindowClass[] = L"LinetrimTray";

NOTIFYICONDATAW iconData(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}

}  // namespace

TrayHost::TrayHost(TrayIcon& icon, HINSTANCE instance, HICON image,
                   std::function<void(const std::function<void()>&)> run, const MessageFilterCalls& filter)
    : icon_(icon), image_(image), run_(std::move(run)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    // A hidden top-level window: message-only windows do not hear broadcasts such as
    // "TaskbarCreated".
    window_ = CreateWindowExW(0, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    // Both come from the shell, which runs unelevated when the program is elevated.
    allowFromLessPrivileged(filter, window_, {taskbarCreated_, kCallbackMessage});
    add();
}

TrayHost::~TrayHost() {
    NOTIFYICONDATAW data = iconData(window_);
    Shell_NotifyIconW(NIM_DELETE, &data);
    DestroyWindow(window_);
}

void TrayHost::add() {
    NOTIFYICONDATAW data = iconData(window_);
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = image_;
    const std::wstring tip = widen(icon_.hint);
    lstrcpynW(data.szTip, tip.c_str(), sizeof data.szTip / sizeof data.szTip[0]);
    Shell_NotifyIconW(NIM_ADD, &data);
}

void TrayHost::showMenu() {
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < icon_.menu.size(); ++i)
        AppendMenuW(menu, MF_STRING, i + 1, widen(icon_.menu[i].caption).c_str());
    POINT at;
    GetCursorPos(&at);
    // Without this the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(window_);
    const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
    PostMessageW(window_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen >= 1 && chosen <= icon_.menu.size()) {
        const MenuItem& item = icon_.menu[chosen - 1];
        if (item.onClick) run_(item.onClick);
    }
}

LRESULT CALLBACK TrayHost::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto byDefault = [&] { return DefWindowProcW(window, message, wParam, lParam); };
    return guardedAnswer(
        [&]() -> LRESULT {
            auto* self = reinterpret_cast<TrayHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (self && message == kCallbackMessage) {
                if (lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU) self->showMenu();
                return 0;  // left clicks and double clicks do nothing
            }
            if (self && message == self->taskbarCreated_) {
                self->add();
                return 0;
            }
            return byDefault();
        },
        byDefault);
}

}  // namespace lt::win32

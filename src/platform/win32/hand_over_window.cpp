#include "hand_over_window.h"

#include "window_guard.h"

namespace lt::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"LinetrimPortHandOver";

}  // namespace

HandOverWindow::HandOverWindow(std::function<void()> receive) : receive_(std::move(receive)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HandOverWindow::~HandOverWindow() { DestroyWindow(window_); }

LRESULT CALLBACK HandOverWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto byDefault = [&] { return DefWindowProcW(window, message, wParam, lParam); };
    return guardedAnswer(
        [&]() -> LRESULT {
            if (message != kMessage) return byDefault();
            auto* self = reinterpret_cast<HandOverWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (self && wParam == self->generation_) self->receive_();
            return 0;
        },
        byDefault);
}

}  // namespace lt::win32

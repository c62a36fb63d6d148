#include "screen_density.h"

#include "late_bound.h"

namespace lt::win32 {
namespace {

// Windows 10 1607 and later; XP to 8.1 have neither.
struct DensityCalls {
    UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
    BOOL(WINAPI* adjustForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;

    DensityCalls() {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        dpiForWindow = lookUpIn<decltype(dpiForWindow)>(user32, "GetDpiForWindow");
        adjustForDpi = lookUpIn<decltype(adjustForDpi)>(user32, "AdjustWindowRectExForDpi");
    }
};

const DensityCalls& calls() {
    static const DensityCalls found;
    return found;
}

}  // namespace

RECT scaledRect(int left, int top, int width, int height, int dpi) {
    return {scaled(left, dpi), scaled(top, dpi), scaled(left + width, dpi), scaled(top + height, dpi)};
}

int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

int windowDpi(HWND window) {
    if (calls().dpiForWindow)
        if (const UINT dpi = calls().dpiForWindow(window)) return static_cast<int>(dpi);
    return systemDpi();
}

RECT frameAround(RECT client, DWORD style, DWORD exStyle, int dpi) {
    // The system's metrics are those of its own density; another screen's frame is asked
    // for where the system can draw one.
    if (!calls().adjustForDpi || !calls().adjustForDpi(&client, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
    return client;
}

}  // namespace lt::win32

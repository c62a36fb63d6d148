#include "window_classes.h"

#include <commctrl.h>

#include "window_guard.h"
#include "window_peer.h"

namespace lt::win32 {
namespace {

// The one procedure of the classes: a standard child control's notification goes to the
// child's peer, everything else to the window's own peer first.
LRESULT CALLBACK ownClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto byDefault = [&] { return DefWindowProcW(window, message, wParam, lParam); };
    return guardedAnswer([&]() -> LRESULT {
        WindowPeer* self = peerOf(window);
        LRESULT result = 0;
        if (self && self->answer(message, wParam, lParam, result)) return result;
        switch (message) {
            case WM_COMMAND:
                if (WindowPeer* child = peerOf(reinterpret_cast<HWND>(lParam))) {
                    child->command(HIWORD(wParam));
                    return 0;
                }
                break;
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                if (WindowPeer* child = peerOf(header->hwndFrom)) return child->notify(*header);
                break;
            }
            case WM_DRAWITEM: {
                const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                if (WindowPeer* child = peerOf(item->hwndItem)) {
                    child->drawItem(*item);
                    return TRUE;
                }
                break;
            }
            case WM_MEASUREITEM: {
                auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
                WindowPeer* child = peerOf(GetDlgItem(window, static_cast<int>(item->CtlID)));
                if (!child) child = peerBeingCreated();
                if (child) {
                    child->measureItem(*item);
                    return TRUE;
                }
                break;
            }
            case WM_HSCROLL:
                if (WindowPeer* child = peerOf(reinterpret_cast<HWND>(lParam))) {
                    child->scroll(LOWORD(wParam));
                    return 0;
                }
                break;
            case WM_CTLCOLORSTATIC:
                if (WindowPeer* child = peerOf(reinterpret_cast<HWND>(lParam)))
                    if (HBRUSH brush = child->colour(reinterpret_cast<HDC>(wParam)))
                        return reinterpret_cast<LRESULT>(brush);
                break;
            case WM_SETCURSOR:
                if (WindowPeer* child = peerOf(reinterpret_cast<HWND>(wParam)))
                    if (HCURSOR c = child->cursor()) {
                        SetCursor(c);
                        return TRUE;
                    }
                break;
            case WM_NCDESTROY: forgetWindow(window); break;
        }
        return byDefault();
    }, byDefault);
}

}  // namespace

bool isOwnClass(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &ownClassProc;
}

void registerWindowClasses(HINSTANCE instance, HICON icon) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW wc{};
    wc.lpfnWndProc = ownClassProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = icon;
    wc.lpszClassName = kFormClass;
    RegisterClassW(&wc);
    wc.hIcon = nullptr;
    wc.lpszClassName = kContainerClass;
    RegisterClassW(&wc);
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kDrawnClass;
    RegisterClassW(&wc);
}

}  // namespace lt::win32

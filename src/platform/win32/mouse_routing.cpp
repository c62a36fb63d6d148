#include "mouse_routing.h"

#include <windowsx.h>

#include "screen_density.h"
#include "toolkit/form.h"
#include "win32_desktop.h"
#include "window_peer.h"

namespace lt::win32 {

bool routeMouse(WindowPeer& peer, Win32Desktop& desktop, UINT message, LPARAM lParam) {
    if (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN && message != WM_MOUSEMOVE &&
        message != WM_LBUTTONUP && message != WM_RBUTTONUP)
        return false;
    Form* form = formOf(peer.control());
    HWND formWindow = form ? windowOf(*form) : nullptr;
    if (!formWindow) return false;
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(peer.window(), formWindow, &at, 1);
    // The form's controls lie and move in the units of the 96-dpi layout.
    at = {unscaled(at.x, peer.dpi()), unscaled(at.y, peer.dpi())};
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            SetCapture(peer.window());
            desktop.run([&] { form->userMouseDown(at.x, at.y); });
            break;
        case WM_MOUSEMOVE: desktop.run([&] { form->userMouseMove(at.x, at.y); }); break;
        default:
            if (GetCapture() == peer.window()) ReleaseCapture();
            desktop.run([&] { form->userMouseUp(at.x, at.y); });
            break;
    }
    return true;
}

}  // namespace lt::win32

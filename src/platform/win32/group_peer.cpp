#include "group_peer.h"

#include "wide_text.h"
#include "win32_desktop.h"
#include "window_classes.h"

namespace lt::win32 {

// The frame covers the whole container and paints only its lines and caption, so the
// container paints its background beneath its children.
WindowPeer::Spec GroupPeer::spec() const { return {kContainerClass, 0, WS_EX_CONTROLPARENT}; }

void GroupPeer::afterCreate() {
    frame_ = CreateWindowExW(0, L"BUTTON", widen(control_.text()).c_str(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0,
                             0, 0, 0, window_, nullptr, desktop_.instance(), nullptr);
    placeFrame();
}

void GroupPeer::placeFrame() {
    SendMessageW(frame_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    const RECT r = placement();
    SetWindowPos(frame_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void GroupPeer::afterChildren() {
    SetWindowPos(frame_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void GroupPeer::sync(Aspect aspect) {
    WindowPeer::sync(aspect);
    if (aspect == Aspect::Text) setWindowText(frame_, control_.text());
    if (aspect == Aspect::Bounds) placeFrame();
}

}  // namespace lt::win32

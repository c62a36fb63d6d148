#include "form_peer.h"

#include "keyboard_navigation.h"
#include "mouse_routing.h"
#include "screen_density.h"
#include "toolkit/form.h"
#include "win32_desktop.h"
#include "window_classes.h"

namespace lt::win32 {

namespace {

struct OwnedSearch {
    HWND owner, found;
};

BOOL CALLBACK matchOwned(HWND w, LPARAM param) {
    auto& s = *reinterpret_cast<OwnedSearch*>(param);
    if (GetWindow(w, GW_OWNER) != s.owner || !IsWindowVisible(w) || !IsWindowEnabled(w)) return TRUE;
    s.found = w;
    return FALSE;
}

// The window a user works in when the form is shown: the form itself, or while it is
// disabled the enabled window it owns (a dialog it waits on), as a click on the form
// would activate.
HWND activeFor(HWND form) {
    if (IsWindowEnabled(form)) return form;
    OwnedSearch search{form, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), matchOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Windows made afresh at a screen's density, the parents before their children (a page
// fills its page control's area, which depends on the page control's font).
void rescaleTree(Control& control) {
    for (Control* child : control.children()) {
        if (auto* peer = dynamic_cast<WindowPeer*>(child->peer())) peer->rescale();
        rescaleTree(*child);
    }
}

}  // namespace

FormPeer::FormPeer(Form& form, Win32Desktop& desktop) : WindowPeer(form, desktop), form_(form), dpi_(systemDpi()) {}

WindowPeer::Spec FormPeer::spec() const {
    const FormStyle& s = form_.formStyle;
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (s.sizeable) style |= WS_THICKFRAME;
    if (s.minimizeBox && !s.toolWindow) style |= WS_MINIMIZEBOX;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    if (s.toolWindow) exStyle |= WS_EX_TOOLWINDOW;
    if (s.stayOnTop) exStyle |= WS_EX_TOPMOST;
    return {kFormClass, style, exStyle};
}

RECT FormPeer::placement() const {
    RECT r{0, 0, scaled(form_.width()), scaled(form_.height())};
    if (form_.formStyle.clientSize) {
        const Spec s = spec();
        r = frameAround(r, s.style, s.exStyle, dpi_);
    }
    // Centred on the desktop's work area.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = work.left + (work.right - work.left - w) / 2, y = work.top + (work.bottom - work.top - h) / 2;
    return {x, y, x + w, y + h};
}

void FormPeer::afterCreate() {
    // A program aware of each screen's density learns the form's only once it exists.
    if (const int actual = windowDpi(window_); actual != dpi_) {
        RECT r{};
        GetWindowRect(window_, &r);
        moveToDpi(actual, {r.left, r.top});
    }
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(desktop_.icon()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(desktop_.smallIcon()));
}

void FormPeer::sync(Aspect aspect) {
    switch (aspect) {
        case Aspect::Visible:
            if (form_.visible()) {
                desktop_.realizeChildren(*this);
                ShowWindow(window_, everShown_ ? SW_SHOW : SW_SHOWNORMAL);
                if (HWND active = activeFor(window_)) SetForegroundWindow(active);
                everShown_ = true;
            } else {
                ShowWindow(window_, SW_HIDE);
            }
            break;
        case Aspect::Bounds: {
            const RECT r = placement();
            SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        default: WindowPeer::sync(aspect);
    }
}

// The form's own size comes from the layout at the new density rather than from the
// system's proposal, which scales the old outer size: the client area stays exact.
void FormPeer::moveToDpi(int dpi, POINT at) {
    dpi_ = dpi;
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    rescaleTree(form_);
    const RECT r = placement();
    SetWindowPos(window_, nullptr, at.x, at.y, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // A frame the system draws otherwise than it told (Windows 10 1607's first per-screen
    // mode keeps the system's frame) would take from the client area: the outer size makes
    // up the difference.
    RECT client{};
    if (!form_.formStyle.clientSize || IsIconic(window_) || !GetClientRect(window_, &client)) return;
    const int wider = scaled(form_.width()) - client.right, taller = scaled(form_.height()) - client.bottom;
    if (wider || taller)
        SetWindowPos(window_, nullptr, 0, 0, r.right - r.left + wider, r.bottom - r.top + taller,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FormPeer::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CLOSE:
            // The form decides: the main window ends the program, others hide.
            user([this] { form_.userClose(); });
            result = 0;
            return true;
        case WM_DPICHANGED: {
            const auto* proposed = reinterpret_cast<const RECT*>(lParam);
            moveToDpi(LOWORD(wParam), {proposed->left, proposed->top});
            result = 0;
            return true;
        }
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) desktop_.minimized(form_);
            return false;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(window_, focus)) lastFocus_ = focus;
                return false;
            }
            // The focus goes back where it was, rather than to the form (the default).
            result = 0;
            return !HIWORD(wParam) && IsChild(window_, lastFocus_) && giveFocusBack(lastFocus_);
        default: return routeMouse(*this, desktop_, message, lParam);
    }
}

}  // namespace lt::win32

#include "keyboard_navigation.h"

#include <algorithm>
#include <vector>

#include "page_peers.h"
#include "toolkit/form.h"
#include "toolkit/keyboard_order.h"
#include "toolkit/widgets.h"

namespace lt::win32 {
namespace {

bool held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool wants(HWND window, const MSG& msg, LRESULT codes) {
    return window && (SendMessageW(window, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & codes);
}

// The control whose window, or an inner window of which, has the focus.
Control* focusedControl(HWND formWindow) {
    for (HWND w = GetFocus(); w && w != formWindow; w = GetParent(w))
        if (WindowPeer* peer = peerOf(w)) return &peer->control();
    return nullptr;
}

PageControl* pageControlIn(Control& c) {
    if (c.kind() == ControlKind::PageControl) return static_cast<PageControl*>(&c);
    for (Control* child : c.children())
        if (PageControl* found = pageControlIn(*child)) return found;
    return nullptr;
}

// The system hides focus rectangles until the keyboard is used (keyboard cues); the dialog
// manager shows them on Tab and the arrow keys, and so do the form's own keys.
void showFocusCues(HWND formWindow) {
    SendMessageW(formWindow, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

bool switchPage(const MSG& msg, HWND formWindow, Form& form) {
    int step = 0;
    if (msg.wParam == VK_TAB) step = held(VK_SHIFT) ? -1 : 1;
    if (msg.wParam == VK_NEXT) step = 1;
    if (msg.wParam == VK_PRIOR) step = -1;
    PageControl* pages = step ? pageControlIn(form) : nullptr;
    auto* peer = pages ? dynamic_cast<PageControlPeer*>(pages->peer()) : nullptr;
    if (!peer || wants(GetFocus(), msg, DLGC_WANTMESSAGE)) return false;
    showFocusCues(formWindow);
    peer->userStep(step);
    return true;
}

bool moveFocus(const MSG& msg, HWND formWindow, Form& form) {
    if (msg.wParam != VK_TAB || wants(GetFocus(), msg, DLGC_WANTTAB)) return false;
    showFocusCues(formWindow);
    const std::vector<Control*> order = keyboardOrder(form);
    if (order.empty()) return true;
    const int count = static_cast<int>(order.size());
    const bool back = held(VK_SHIFT);
    const auto at = std::find(order.begin(), order.end(), focusedControl(formWindow));
    // From nowhere in the order (the form itself has the focus) Tab goes to the first.
    const int next = at == order.end() ? (back ? count - 1 : 0)
                                       : (static_cast<int>(at - order.begin()) + (back ? count - 1 : 1)) % count;
    HWND window = windowOf(*order[next]);
    if (!window) return true;
    // A field reached by Tab has its text selected, as in the system's dialogs.
    if (wants(window, msg, DLGC_HASSETSEL)) SendMessageW(window, EM_SETSEL, 0, -1);
    SetFocus(window);
    return true;
}

// A dialog makes the push button that has the focus its default button, which Enter
// presses; the forms are plain windows, which have no default button, so Enter presses the
// focused button here.
bool pressFocusedButton(const MSG& msg) {
    HWND focus = GetFocus();
    if (msg.wParam != VK_RETURN || !wants(focus, msg, DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) return false;
    SendMessageW(focus, BM_CLICK, 0, 0);
    return true;
}

}  // namespace

bool giveFocusBack(HWND control) {
    if (!control || !IsWindow(control) || !IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
    SetFocus(control);
    return true;
}

bool navigateByKeyboard(const MSG& msg, HWND formWindow, Form& form) {
    if (msg.message != WM_KEYDOWN || held(VK_MENU)) return false;
    if (held(VK_CONTROL) && switchPage(msg, formWindow, form)) return true;
    return moveFocus(msg, formWindow, form) || pressFocusedButton(msg);
}

}  // namespace lt::win32

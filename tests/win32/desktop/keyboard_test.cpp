// Windows hides focus rectangles until the keyboard is used, and the dialog manager shows
// them on Tab. The form moves the focus on Tab itself, so it must ask for them too; Wine
// always shows them, so the request is what is checked: the form's window hears
// WM_CHANGEUISTATE clearing UISF_HIDEFOCUS when Tab moves the focus.
#include <windows.h>

#include <vector>

#include "checks.h"
#include "platform/win32/win32_desktop.h"
#include "toolkit/form.h"
#include "toolkit/widgets.h"

namespace lt::win32::testing {
namespace {

WNDPROC formProc = nullptr;
std::vector<WPARAM> uiStateChanges;

LRESULT CALLBACK recordUiState(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHANGEUISTATE) uiStateChanges.push_back(wParam);
    return CallWindowProcW(formProc, window, message, wParam, lParam);
}

void pressTab(HWND window) {
    PostMessageW(window, WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(window, WM_KEYUP, VK_TAB, 1 | (LPARAM{3} << 30));
}

}  // namespace

void testKeyboardCues(Checks& checks) {
    Win32Desktop desktop(GetModuleHandleW(nullptr));
    Form form("Form1");
    Button second(&form, "Button2"), first(&form, "Button1");  // built in the other order
    form.setBounds(0, 0, 300, 200);
    first.setBounds(8, 8, 100, 25);
    second.setBounds(8, 50, 100, 25);
    form.show();
    desktop.realize(form);
    HWND window = windowOf(form);
    formProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&recordUiState)));

    SetFocus(windowOf(first));
    uiStateChanges.clear();
    pressTab(windowOf(first));
    desktop.processMessages();
    checks.expect(GetFocus() == windowOf(second), "Tab: the focus on the next button in reading order");
    bool shown = false;
    for (WPARAM change : uiStateChanges)
        shown = shown || (LOWORD(change) == UIS_CLEAR && (HIWORD(change) & UISF_HIDEFOCUS));
    checks.expect(shown, "Tab: the form asks for focus rectangles to be shown");

    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(formProc));
    desktop.destroyWindows();
}

}  // namespace lt::win32::testing

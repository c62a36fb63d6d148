// The keys the form takes itself. Windows hides focus rectangles until the keyboard is used,
// and the dialog manager shows them on Tab; the form moves the focus on Tab itself, so it
// must ask for them too. Wine always shows them, so the request is what is checked: the
// form's window hears WM_CHANGEUISTATE clearing UISF_HIDEFOCUS when Tab moves the focus.
// Ctrl+Tab takes the path of a click on a tab: a page control that does not respond refuses
// the change and keeps its tab, and the focus stays where it was. A link is a control of its
// own to the keyboard.
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

void press(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 1 | (LPARAM{3} << 30));
}

void pressTab(HWND window) { press(window, VK_TAB); }

// Tab with Ctrl held: the thread's key state says so, as it would for typed keys.
void pressCtrlTab(HWND window, Win32Desktop& desktop) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE before = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    pressTab(window);
    desktop.processMessages();
    keys[VK_CONTROL] = before;
    SetKeyboardState(keys);
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

// A label that acts when clicked (a web link) is reached by Tab and acts on Enter and Space;
// a plain label is passed over.
void testLinkKeys(Checks& checks) {
    Win32Desktop desktop(GetModuleHandleW(nullptr));
    Form form("Form1");
    Button button(&form, "Button1");
    Label plain(&form, "Label1"), link(&form, "Label20");
    form.setBounds(0, 0, 300, 200);
    button.setBounds(8, 8, 100, 25);
    plain.setBounds(8, 50, 100, 13);
    plain.setText("Сайт Olvix :");
    link.setBounds(96, 50, 100, 13);
    link.setText("http://olvix.example/");
    int clicks = 0;
    link.onClick = [&] { ++clicks; };
    form.show();
    desktop.realize(form);

    SetFocus(windowOf(button));
    pressTab(windowOf(button));
    desktop.processMessages();
    checks.expect(GetFocus() == windowOf(link), "Tab: from the button to the link, past the plain label");
    press(windowOf(link), VK_RETURN);
    desktop.processMessages();
    checks.expect(clicks == 1, "Enter on the link acts as a click");
    press(windowOf(link), VK_SPACE);
    desktop.processMessages();
    checks.expect(clicks == 2, "Space on the link acts as a click");
    pressTab(windowOf(link));
    desktop.processMessages();
    checks.expect(GetFocus() == windowOf(button), "Tab: from the link back to the button");
    desktop.destroyWindows();
}

void testPageKeys(Checks& checks) {
    Win32Desktop desktop(GetModuleHandleW(nullptr));
    Form form("Form1");
    PageControl pages(&form, "PageControl1");
    TabSheet one(&pages, "TabSheet1"), two(&pages, "TabSheet2");
    Button below(&form, "Button1");
    form.setBounds(0, 0, 300, 200);
    pages.setBounds(0, 0, 300, 150);
    one.setText("one");
    two.setText("two");
    below.setBounds(200, 160, 80, 25);
    form.show();
    desktop.realize(form);
    HWND tabs = windowOf(pages), button = windowOf(below);
    const auto shown = [&] { return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)); };

    pages.setEnabled(false);
    SetFocus(button);
    pressCtrlTab(button, desktop);
    checks.expect(pages.activePage() == 0 && shown() == 0, "Ctrl+Tab: a disabled page control keeps its page");
    checks.expect(GetFocus() == button, "Ctrl+Tab refused: the focus stays");

    pages.setEnabled(true);
    pressCtrlTab(button, desktop);
    checks.expect(pages.activePage() == 1 && shown() == 1, "Ctrl+Tab: the next page");
    checks.expect(GetFocus() == tabs, "Ctrl+Tab: the focus on the tabs");
    pressCtrlTab(tabs, desktop);
    checks.expect(pages.activePage() == 0 && shown() == 0, "Ctrl+Tab: around to the first page");
    desktop.destroyWindows();
}

}  // namespace lt::win32::testing

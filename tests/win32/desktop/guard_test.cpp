// A failure that escapes a handler reaches the guard of the window procedure, which shows
// it in an error box instead of dropping it: through the application's default handler
// when the desktop has the application (also for what that handler does not take), in a
// box of its own when it has none.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "checks.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_desktop.h"
#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/widgets.h"

namespace lt::win32::testing {
namespace {

// The first message box of this process that comes up within ten seconds: its caption and
// text; it is then closed with OK.
struct SeenBox {
    bool seen = false;
    std::string caption, text;
};

BOOL CALLBACK findBox(HWND w, LPARAM param) {
    wchar_t className[16] = {};
    GetClassNameW(w, className, 16);
    if (std::wstring(className) != L"#32770" || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(param) = w;
    return FALSE;
}

DWORD WINAPI watchForBox(void* param) {
    auto& seen = *static_cast<SeenBox*>(param);
    const DWORD process = GetCurrentProcessId();
    for (int i = 0; i < 1000 && !seen.seen; ++i) {
        HWND box = nullptr;
        EnumWindows(findBox, reinterpret_cast<LPARAM>(&box));
        DWORD owner = 0;
        if (box) GetWindowThreadProcessId(box, &owner);
        if (!box || owner != process) {
            Sleep(10);
            continue;
        }
        wchar_t text[256] = {};
        GetWindowTextW(box, text, 256);
        seen.caption = narrow(text);
        GetDlgItemTextW(box, 0xFFFF, text, 256);  // the box's static text
        seen.text = narrow(text);
        seen.seen = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return 0;
}

// Clicks the button as the user would and returns the box that came up.
SeenBox clickAndWatch(Win32Desktop& desktop, Button& button) {
    SeenBox seen;
    HANDLE watcher = CreateThread(nullptr, 0, watchForBox, &seen, 0, nullptr);
    SendMessageW(windowOf(button), BM_CLICK, 0, 0);
    desktop.processMessages();
    WaitForSingleObject(watcher, 15000);
    CloseHandle(watcher);
    return seen;
}

}  // namespace

void testWindowGuard(Checks& checks) {
    Win32Desktop desktop(GetModuleHandleW(nullptr));
    Application app(desktop);
    app.title = "guard under test";
    Form form("Form1");
    Button button(&form, "Button1");
    form.setBounds(0, 0, 200, 100);
    button.setBounds(8, 8, 80, 25);
    desktop.realize(form);
    form.show();
    desktop.processMessages();

    desktop.attach(&app);
    button.onClick = [] { throw 42; };  // not a std::exception: the default handler lets it through
    SeenBox seen = clickAndWatch(desktop, button);
    checks.expect(seen.seen && seen.caption == app.title && seen.text == "Unknown exception.",
                  "a failure the default handler does not take is shown in its error box (\"" + seen.text + "\")");

    desktop.attach(nullptr);
    button.onClick = [] { throw std::runtime_error("Lost on the way"); };
    seen = clickAndWatch(desktop, button);
    checks.expect(seen.seen && seen.text == "Lost on the way.",
                  "without an application a failure is shown in a box of its own (\"" + seen.text + "\")");
    desktop.destroyWindows();
}

}  // namespace lt::win32::testing

// While a message box is up no window of the program responds: the box is owned by the
// program's form in front (also when another program is active), and every other form is
// disabled with it; afterwards each form is as its object says.
#include <windows.h>

#include <string>
#include <vector>

#include "checks.h"
#include "platform/win32/win32_desktop.h"
#include "toolkit/form.h"

namespace lt::win32::testing {
namespace {

constexpr wchar_t kCaption[] = L"box under test";

// What a second thread sees while the box is up; it then closes the box with OK.
struct Observation {
    std::vector<HWND> forms;
    bool seen = false;
    HWND owner = nullptr;
    std::vector<bool> enabled;
};

DWORD WINAPI observe(void* param) {
    auto& o = *static_cast<Observation*>(param);
    for (int i = 0; i < 1000 && !o.seen; ++i) {
        HWND box = FindWindowW(L"#32770", kCaption);
        if (!box || !IsWindowVisible(box)) {
            Sleep(10);
            continue;
        }
        o.seen = true;
        o.owner = GetWindow(box, GW_OWNER);
        for (HWND w : o.forms) o.enabled.push_back(IsWindowEnabled(w) != FALSE);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return 0;
}

// A window of another thread, brought to the front as another program's would be; its
// thread runs its own message loop until the window is closed.
class ForeignWindow {
public:
    ForeignWindow() {
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
        WaitForSingleObject(ready_, 10000);
    }
    ~ForeignWindow() {
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static DWORD WINAPI run(void* param) {
        auto& self = *static_cast<ForeignWindow*>(param);
        WNDCLASSW wc{};
        wc.lpfnWndProc = windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ForeignWindow";
        RegisterClassW(&wc);
        self.window_ = CreateWindowExW(0, wc.lpszClassName, L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                       0, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
        SetForegroundWindow(self.window_);
        SetEvent(self.ready_);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        return 0;
    }

    HANDLE ready_ = nullptr, thread_ = nullptr;
    HWND window_ = nullptr;
};

// Handles this thread's messages until the condition holds, for at most five seconds.
bool pumpUntil(Win32Desktop& desktop, bool (*condition)()) {
    for (int i = 0; i < 500; ++i) {
        desktop.processMessages();
        if (condition()) return true;
        Sleep(10);
    }
    return false;
}

}  // namespace

void testMessageBoxOwner(Checks& checks) {
    Win32Desktop desktop(GetModuleHandleW(nullptr));
    Form main("Form1"), setup("Form2"), editor("Form4");
    main.setBounds(0, 0, 300, 200);
    setup.setBounds(0, 0, 200, 100);
    setup.formStyle.stayOnTop = true;
    editor.setBounds(0, 0, 200, 100);
    // Created as the program creates them: the main window first, which owns the others.
    desktop.realize(main);
    desktop.realize(setup);
    desktop.realize(editor);
    Form* const forms[] = {&main, &setup, &editor};

    struct Case {
        const char* what;
        bool mainShown, mainEnabled, setupShown, editorShown, anotherInFront;
        Form* owner;  // nullptr: none, the box is task-modal
    };
    const Case cases[] = {
        {"the main window alone", true, true, false, false, false, &main},
        {"the cadence editor over the main window", true, true, false, true, false, &editor},
        {"the setup dialog over the disabled main window", true, false, true, false, false, &setup},
        {"another program in front", true, true, false, false, true, &main},
        {"the program in the tray", false, true, false, false, false, nullptr},
    };
    for (const Case& c : cases) {
        const std::string what = c.what;
        main.setVisible(c.mainShown);
        main.setEnabled(c.mainEnabled);
        setup.setVisible(c.setupShown);
        editor.setVisible(c.editorShown);
        desktop.processMessages();
        std::unique_ptr<ForeignWindow> another;
        if (c.anotherInFront) {
            another = std::make_unique<ForeignWindow>();
            checks.expect(pumpUntil(desktop, [] { return GetActiveWindow() == nullptr; }),
                          what + ": no window of ours is active");
        }

        Observation o;
        for (Form* f : forms) o.forms.push_back(windowOf(*f));
        HANDLE observer = CreateThread(nullptr, 0, observe, &o, 0, nullptr);
        desktop.messageBox("text", "box under test", MessageKind::Error);
        WaitForSingleObject(observer, 15000);
        CloseHandle(observer);

        checks.expect(o.seen, what + ": the box was shown");
        checks.expect(o.owner == (c.owner ? windowOf(*c.owner) : nullptr), what + ": owned by the form in front");
        for (size_t i = 0; i < o.enabled.size(); ++i)
            checks.expect(!o.enabled[i], what + ": " + forms[i]->name() + " does not respond while the box is up");
        for (Form* f : forms)
            checks.expect((IsWindowEnabled(windowOf(*f)) != FALSE) == f->enabled(),
                          what + ": " + f->name() + " is enabled as its form says afterwards");
    }
    desktop.destroyWindows();
}

}  // namespace lt::win32::testing

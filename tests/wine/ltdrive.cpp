// ltdrive: drives the running program from outside, as UI automation tools do: it finds
// a top-level window by its caption and a control by its stable id (derived from the
// control's name), sends the window messages a user's actions cause, and reads texts
// and states back. One command per run, or several separated by ";" (run in order, up to
// the first that fails); the exit code says whether they succeeded. With --stdin it stays
// running and takes one command a line from its input, the arguments separated by tabs
// (UTF-8), answering each with its output lines and a status line: the character 0x1E,
// the exit code the command would have, and after a space why it failed, if it says.
// Starting a Windows program under Wine costs a good part of a second; this saves it.
//
//   ltdrive wait-window CAPTION [SECONDS]      ltdrive wait-gone CAPTION [SECONDS]
//   ltdrive text|state|items|checks|pos|tabs CAPTION CONTROL
//   ltdrive wait-text CAPTION CONTROL TEXT [SECONDS]
//   ltdrive click|tab|pick|toggle|slide|type CAPTION CONTROL [INDEX|VALUE|TEXT]
//   ltdrive pick-text CAPTION CONTROL TEXT     ltdrive drop CAPTION CONTROL 1|0
//   ltdrive key CAPTION CONTROL LEFT|RIGHT|UP|DOWN|HOME|END|PRIOR|NEXT|SPACE [COUNT]
//   ltdrive values CAPTION CONTROL...          (one line each: text, selected item, check bits, position
//                                               or the index of the page shown)
//   ltdrive wait-values CAPTION SECONDS EXPECTED CONTROL...  (EXPECTED: the values joined by '|')
//   ltdrive memory CAPTION                     (memory counters, KiB, of the window's process)
//   ltdrive setting NAME   ltdrive forget-setting NAME   ltdrive wait-setting NAME VALUE [SECONDS]
//                                              (the program's settings, HKLM\SOFTWARE\LTRM)
//   ltdrive box [SECONDS]  (prints the text of the "ZOLT tuner" message box)   ltdrive box-ok
//   ltdrive rect CAPTION   ltdrive close CAPTION   ltdrive minimize CAPTION
//   ltdrive client-size CAPTION  (width height of the window's client area)
//   ltdrive clipped CAPTION  ("measured N", then each text of the window's controls that does
//     not fit its control, measured in the program's font at the window's density)
//   ltdrive window-state CAPTION  (also a hidden window: enabled= visible= iconic=)
//   ltdrive screen-rect CAPTION CONTROL  (left top width height on the screen)
//   ltdrive tray-menu  (asks the tray icon's window for its menu, as a right click does)
//   ltdrive menu-pick INDEX  (chooses an item of the open pop-up menu by keyboard)
//   ltdrive z-order  (the captions of the shown top-level windows, the topmost first)
//   ltdrive front-window CAPTION SECONDS  (a window of another program, brought in front of
//     everything and kept for SECONDS or until it is closed; prints "ready" once in front)
//   ltdrive click-until-gone CAPTION CONTROL [SECONDS]  (clicks, prints the milliseconds
//     until the window CAPTION has been destroyed)
//   ltdrive watch-window CAPTION [SECONDS]   ltdrive watch-text CAPTION CONTROL TEXT [SECONDS]
//     (for time stamps taken by a reader of the output: print "ready", then look every
//     millisecond and print "seen MS" the moment the window is shown or the text is there,
//     MS being how long that last look took)
//   ltdrive accessible CAPTION CONTROL  (what a screen reader is told, through
//     AccessibleObjectFromWindow and the IAccessible of the control's client area: lines
//     "role=R", "name=N", "value=V" where it has one, "state=S,S..." and, for each simple
//     child element (a list's items, a page control's tabs), "item=ROLE<tab>NAME<tab>STATES";
//     roles and states by their short names: text, combobox, list, listitem, checked, ...;
//     line breaks in a name or value written as \r and \n)
//   ltdrive focused CAPTION  (the name of the control of that window that has the keyboard
//     focus, "none" when the window itself or no window of its thread has it)
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <objbase.h>
#include <oleacc.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "text_fit.h"
#include "toolkit/control_ids.h"

namespace {

constexpr wchar_t kBoxCaption[] = L"ZOLT tuner";
constexpr UINT kReplyWaitMs = 15000;  // a paced send keeps the program busy for seconds

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void print(const std::string& line) {
    const std::string out = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

// A command that cannot be carried out; it ends that command (exit code 1).
struct Failed {
    std::string why;
};

[[noreturn]] void fail(const std::string& why) { throw Failed{why}; }

LRESULT send(HWND w, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(w, message, wParam, lParam, SMTO_NORMAL, kReplyWaitMs, &result))
        fail("the program did not answer");
    return static_cast<LRESULT>(result);
}

std::wstring windowText(HWND w) {
    const LRESULT length = send(w, WM_GETTEXTLENGTH);
    std::wstring text(length + 1, L'\0');
    const LRESULT got = send(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got);
    return text;
}

struct Search {
    std::wstring caption;
    const wchar_t* windowClass;
    bool hiddenToo = false;
    HWND found = nullptr;
};

BOOL CALLBACK matchTopLevel(HWND w, LPARAM param) {
    auto& s = *reinterpret_cast<Search*>(param);
    wchar_t text[256] = {}, cls[64] = {};
    GetWindowTextW(w, text, 256);
    GetClassNameW(w, cls, 64);
    if ((s.hiddenToo || IsWindowVisible(w)) && s.caption == text && (!s.windowClass || lstrcmpW(cls, s.windowClass) == 0)) {
        s.found = w;
        return FALSE;
    }
    return TRUE;
}

HWND topLevel(const std::wstring& caption, const wchar_t* windowClass = nullptr) {
    Search s{caption, windowClass};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// By class alone: windows without a caption (the tray icon's, a pop-up menu).
HWND topLevelOfClass(const wchar_t* windowClass, bool hiddenToo) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (lstrcmpW(cls, windowClass) == 0 && (hiddenToo || IsWindowVisible(w))) return w;
    }
    return nullptr;
}

HWND requireTopLevel(const std::wstring& caption) {
    HWND w = topLevel(caption);
    if (!w) fail("no window \"" + utf8(caption) + "\"");
    return w;
}

bool waitFor(double seconds, const auto& condition, DWORD everyMs = 50) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() > end) return false;
        Sleep(everyMs);
    }
}

struct ChildSearch {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK matchChild(HWND w, LPARAM param) {
    auto& s = *reinterpret_cast<ChildSearch*>(param);
    if (GetDlgCtrlID(w) == s.id) {
        s.found = w;
        return FALSE;
    }
    return TRUE;
}

HWND control(HWND top, const std::wstring& name) {
    const int id = lt::controlId(utf8(name));
    if (!id) fail("no control id for " + utf8(name));
    // The windows of pages not shown yet come a moment after the main window.
    ChildSearch s{id};
    waitFor(10, [&] {
        EnumChildWindows(top, matchChild, reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
    });
    if (!s.found) fail("no control " + utf8(name));
    return s.found;
}

// A user can only reach a control that is shown.
HWND reachable(HWND top, const std::wstring& name) {
    HWND w = control(top, name);
    if (!IsWindowVisible(w)) fail(utf8(name) + " is not shown");
    return w;
}

int watch(double seconds, const auto& condition) {
    timeBeginPeriod(1);
    print("ready");
    // The last look's own duration follows "seen": the reading's uncertainty.
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    const bool seen = waitFor(seconds, [&] {
        QueryPerformanceCounter(&begin);
        const bool met = condition();
        QueryPerformanceCounter(&end);
        return met;
    }, 1);
    if (seen) print("seen " + std::to_string((end.QuadPart - begin.QuadPart) * 1000.0 / frequency.QuadPart));
    timeEndPeriod(1);
    return seen ? 0 : 1;
}

// Memory in the program's process, for the control messages the system does not
// carry across processes (the tab control's item texts).
class RemoteBuffer {
public:
    RemoteBuffer(HWND w, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!process_) fail("cannot open the program's process");
        address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        if (!address_) fail("cannot allocate in the program's process");
    }
    ~RemoteBuffer() {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    void* address() const { return address_; }
    void write(const void* data, size_t size, size_t offset = 0) {
        WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
    }
    void read(void* data, size_t size, size_t offset = 0) {
        ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

std::wstring tabText(HWND tabs, int index) {
    constexpr size_t kChars = 128;
    RemoteBuffer remote(tabs, sizeof(TCITEMW) + kChars * sizeof(wchar_t));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.address()) + sizeof(TCITEMW));
    item.cchTextMax = kChars;
    remote.write(&item, sizeof item);
    send(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(remote.address()));
    wchar_t text[kChars] = {};
    remote.read(text, sizeof text - sizeof(wchar_t), sizeof(TCITEMW));
    return text;
}

std::wstring listText(HWND w, bool combo, int index) {
    const LRESULT length = send(w, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index);
    if (length < 0) return {};
    std::wstring text(length + 1, L'\0');
    send(w, combo ? CB_GETLBTEXT : LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

bool isCombo(HWND w) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    return lstrcmpiW(cls, L"ComboBox") == 0;
}

HWND messageBox() { return topLevel(kBoxCaption, L"#32770"); }

// The message text of a box: its longest static text (the other static is the icon).
std::wstring boxText(HWND box) {
    std::wstring best;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        if (lstrcmpiW(cls, L"Static") != 0) continue;
        const std::wstring text = windowText(child);
        if (text.size() > best.size()) best = text;
    }
    return best;
}

constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\LTRM";

// A string value of the program's settings; nothing when it is missing.
bool readSetting(const std::wstring& name, std::wstring& value) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSettingsKey, name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return false;
    value = data;
    return true;
}

void notifyParent(HWND w, UINT message, WPARAM wParam) {
    PostMessageW(GetParent(w), message, wParam, reinterpret_cast<LPARAM>(w));
}

// What a user picking an item in the dropped-down list causes: the selection, then the
// notification to the parent.
void pickItem(HWND w, LRESULT index) {
    send(w, CB_SETCURSEL, index);
    notifyParent(w, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), CBN_SELCHANGE));
}

std::string className(HWND w) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    return utf8(cls);
}

// The state a person reads off a control: a list's selected item, a check list's marks
// (first item first), a slider's position, the index of the page shown, and the text of
// anything else.
std::string value(HWND w) {
    const std::string cls = className(w);
    if (lstrcmpiA(cls.c_str(), "ComboBox") == 0) return utf8(listText(w, true, static_cast<int>(send(w, CB_GETCURSEL))));
    if (lstrcmpiA(cls.c_str(), "ListBox") == 0) {
        std::string bits;
        for (int i = 0, n = static_cast<int>(send(w, LB_GETCOUNT)); i < n; ++i)
            bits += send(w, LB_GETITEMDATA, i) ? '1' : '0';
        return bits;
    }
    if (lstrcmpiA(cls.c_str(), "msctls_trackbar32") == 0) return std::to_string(send(w, TBM_GETPOS));
    if (lstrcmpiA(cls.c_str(), "SysTabControl32") == 0) return std::to_string(send(w, TCM_GETCURSEL));
    return utf8(windowText(w));
}

std::string values(const std::vector<HWND>& controls) {
    std::string joined;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (i) joined += '|';
        joined += value(controls[i]);
    }
    return joined;
}

// The font every control of the program draws with, at the density of its window: a font
// handle belongs to its process, so the driver makes its own (the desktop's console test
// checks that the controls draw with this one, and measures their texts in their own).
HFONT controlFont(HWND top) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (!dpiForWindow) fail("the system cannot tell a window's density");
    return CreateFontW(-MulDiv(8, static_cast<int>(dpiForWindow(top)), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       RUSSIAN_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       L"Microsoft Sans Serif");
}

UINT virtualKey(const std::wstring& name) {
    static const struct {
        const wchar_t* name;
        UINT key;
    } keys[] = {{L"LEFT", VK_LEFT}, {L"RIGHT", VK_RIGHT}, {L"UP", VK_UP},       {L"DOWN", VK_DOWN}, {L"HOME", VK_HOME},
                {L"END", VK_END},   {L"PRIOR", VK_PRIOR}, {L"NEXT", VK_NEXT}, {L"SPACE", VK_SPACE}};
    for (const auto& k : keys)
        if (name == k.name) return k.key;
    fail("unknown key " + utf8(name));
}

// A key pressed and released while the control has the keyboard: the two messages the
// system queues for it, with the key's scan code and the release's transition bits.
void pressKey(HWND w, UINT key) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(w, WM_KEYDOWN, key, scan | 1);
    PostMessageW(w, WM_KEYUP, key, scan | 1 | (LPARAM{3} << 30));
}

LRESULT CALLBACK frontWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

void CALLBACK frontWindowEnds(HWND window, UINT, UINT_PTR, DWORD) { DestroyWindow(window); }

// Another program in front, as when the user works elsewhere: a plain window that takes
// the foreground and lives until SECONDS have passed or it is closed.
int frontWindow(const std::wstring& caption, double seconds) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = frontWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"ltdriveFront";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400,
                             300, nullptr, nullptr, wc.hInstance, nullptr);
    if (!w) fail("cannot create the window");
    SetForegroundWindow(w);
    if (!waitFor(10, [&] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            return GetForegroundWindow() == w;
        }, 10))
        fail("the window did not come in front");
    print("ready");
    SetTimer(w, 1, static_cast<UINT>(seconds * 1000), frontWindowEnds);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

// Roles and states by short names; a role not listed by its number.
std::string roleName(const VARIANT& role) {
    if (role.vt != VT_I4) return "none";
    static const struct {
        long role;
        const char* name;
    } names[] = {{ROLE_SYSTEM_CLIENT, "client"},         {ROLE_SYSTEM_WINDOW, "window"},
                 {ROLE_SYSTEM_GROUPING, "grouping"},     {ROLE_SYSTEM_PROPERTYPAGE, "propertypage"},
                 {ROLE_SYSTEM_STATICTEXT, "statictext"}, {ROLE_SYSTEM_TEXT, "text"},
                 {ROLE_SYSTEM_PUSHBUTTON, "pushbutton"}, {ROLE_SYSTEM_COMBOBOX, "combobox"},
                 {ROLE_SYSTEM_LIST, "list"},             {ROLE_SYSTEM_LISTITEM, "listitem"},
                 {ROLE_SYSTEM_SLIDER, "slider"},         {ROLE_SYSTEM_PAGETABLIST, "pagetablist"},
                 {ROLE_SYSTEM_PAGETAB, "pagetab"},       {ROLE_SYSTEM_GRAPHIC, "graphic"},
                 {ROLE_SYSTEM_LINK, "link"}};
    for (const auto& n : names)
        if (n.role == role.lVal) return n.name;
    return std::to_string(role.lVal);
}

std::string stateNames(const VARIANT& state) {
    if (state.vt != VT_I4) return "none";
    static const struct {
        long flag;
        const char* name;
    } names[] = {{STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_SELECTED, "selected"},
                 {STATE_SYSTEM_FOCUSED, "focused"},         {STATE_SYSTEM_CHECKED, "checked"},
                 {STATE_SYSTEM_READONLY, "readonly"},       {STATE_SYSTEM_INVISIBLE, "invisible"},
                 {STATE_SYSTEM_OFFSCREEN, "offscreen"},     {STATE_SYSTEM_FOCUSABLE, "focusable"},
                 {STATE_SYSTEM_SELECTABLE, "selectable"},   {STATE_SYSTEM_LINKED, "linked"}};
    std::string joined;
    for (const auto& n : names) {
        if (!(state.lVal & n.flag)) continue;
        if (!joined.empty()) joined += ',';
        joined += n.name;
    }
    return joined;
}

// A text on one output line: its line breaks written as \r and \n.
std::string oneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

// A text property, on one line; has says whether the object has one (S_OK and a text).
template <typename Getter>
std::string textOf(const Getter& get, bool& has) {
    BSTR text = nullptr;
    has = get(&text) == S_OK && text;
    const std::string out = has ? oneLine(utf8(std::wstring(text, SysStringLen(text)))) : std::string();
    SysFreeString(text);
    return out;
}

// Whatever the program hands out is released on every way out.
struct Accessible {
    IAccessible* object = nullptr;
    ~Accessible() {
        if (object) object->Release();
    }
};

void describeAccessible(HWND w) {
    Accessible acc;
    const HRESULT got =
        AccessibleObjectFromWindow(w, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&acc.object));
    if (FAILED(got) || !acc.object) fail("no accessible object (" + std::to_string(got) + ")");
    IAccessible* a = acc.object;
    const auto child = [](long id) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = id;
        return v;
    };
    const auto describe = [&](long id, std::string& role, std::string& name, std::string& state, std::string& value,
                              bool& hasValue) {
        VARIANT r, s;
        VariantInit(&r);
        VariantInit(&s);
        a->get_accRole(child(id), &r);
        a->get_accState(child(id), &s);
        role = roleName(r);
        state = stateNames(s);
        VariantClear(&r);
        VariantClear(&s);
        bool hasName = false;
        name = textOf([&](BSTR* t) { return a->get_accName(child(id), t); }, hasName);
        value = textOf([&](BSTR* t) { return a->get_accValue(child(id), t); }, hasValue);
    };
    std::string role, name, state, value;
    bool hasValue = false;
    describe(CHILDID_SELF, role, name, state, value, hasValue);
    print("role=" + role);
    print("name=" + name);
    if (hasValue) print("value=" + value);
    print("state=" + state);
    long count = 0;
    if (a->get_accChildCount(&count) != S_OK) return;
    for (long id = 1; id <= count; ++id) {
        // A child with an object of its own is a window of its own, not an item.
        IDispatch* own = nullptr;
        const HRESULT hr = a->get_accChild(child(id), &own);
        if (own) own->Release();
        if (FAILED(hr) || own) continue;
        describe(id, role, name, state, value, hasValue);
        print("item=" + role + "\t" + name + "\t" + state);
    }
}

int run(const std::vector<std::wstring>& a) {
    auto arg = [&](size_t i) -> const std::wstring& {
        if (i >= a.size()) fail("missing argument");
        return a[i];
    };
    auto number = [&](size_t i) { return _wtoi(arg(i).c_str()); };
    auto seconds = [&](size_t i) { return i < a.size() ? _wtof(a[i].c_str()) : 30.0; };
    const std::wstring& cmd = arg(0);

    if (cmd == L"wait-window") return waitFor(seconds(2), [&] { return topLevel(arg(1)) != nullptr; }) ? 0 : 1;
    if (cmd == L"watch-window") return watch(seconds(2), [&] { return topLevel(arg(1)) != nullptr; });
    if (cmd == L"wait-gone") return waitFor(seconds(2), [&] { return topLevel(arg(1)) == nullptr; }) ? 0 : 1;
    if (cmd == L"box") {
        if (!waitFor(seconds(1), [] { return messageBox() != nullptr; })) fail("no message box");
        print(utf8(boxText(messageBox())));
        return 0;
    }
    if (cmd == L"window-state") {
        Search s{arg(1), nullptr, true};
        EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&s));
        if (!s.found) fail("no window \"" + utf8(arg(1)) + "\"");
        print(std::string("enabled=") + (IsWindowEnabled(s.found) ? "1" : "0") + " visible=" +
              (IsWindowVisible(s.found) ? "1" : "0") + " iconic=" + (IsIconic(s.found) ? "1" : "0"));
        return 0;
    }
    if (cmd == L"z-order") {
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            wchar_t text[256] = {};
            GetWindowTextW(w, text, 256);
            if (IsWindowVisible(w) && text[0]) print(utf8(text));
        }
        return 0;
    }
    if (cmd == L"tray-menu") {
        // The message the shell sends the icon's window on a right click (the program's
        // callback message, WM_APP + 2, with the mouse message in lParam).
        HWND tray = topLevelOfClass(L"LinetrimTray", true);
        if (!tray) fail("no tray icon window");
        PostMessageW(tray, WM_APP + 2, 1, WM_RBUTTONUP);
        return waitFor(10, [] { return topLevelOfClass(L"#32768", false) != nullptr; }) ? 0 : 1;
    }
    if (cmd == L"menu-pick") {
        HWND menu = topLevelOfClass(L"#32768", false);
        if (!menu) fail("no pop-up menu");
        for (int i = 0; i <= number(1); ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        return waitFor(10, [] { return topLevelOfClass(L"#32768", false) == nullptr; }) ? 0 : 1;
    }
    if (cmd == L"box-ok") {
        HWND box = messageBox();
        if (!box) fail("no message box");
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        return waitFor(10, [&] { return !IsWindow(box) || !IsWindowVisible(box); }) ? 0 : 1;
    }

    if (cmd == L"front-window") return frontWindow(arg(1), seconds(2));
    if (cmd == L"setting") {
        std::wstring value;
        if (!readSetting(arg(1), value)) fail("no setting " + utf8(arg(1)));
        print(utf8(value));
        return 0;
    }
    if (cmd == L"forget-setting") {
        const LSTATUS status = RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSettingsKey, arg(1).c_str());
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : 1;
    }
    if (cmd == L"wait-setting") {
        std::wstring value;
        if (waitFor(seconds(3), [&] { return readSetting(arg(1), value) && value == arg(2); })) return 0;
        fail("the setting " + utf8(arg(1)) + " is \"" + utf8(value) + "\"");
    }

    HWND top = requireTopLevel(arg(1));
    if (cmd == L"rect") {
        RECT r;
        GetWindowRect(top, &r);
        print(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
              std::to_string(r.bottom - r.top));
        return 0;
    }
    if (cmd == L"close") return PostMessageW(top, WM_CLOSE, 0, 0) ? 0 : 1;
    if (cmd == L"memory") {
        DWORD pid = 0;
        GetWindowThreadProcessId(top, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (!process) fail("cannot open the program's process");
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        const BOOL got =
            GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
        CloseHandle(process);
        if (!got) fail("no memory counters for the program's process");
        print("private=" + std::to_string(counters.PrivateUsage / 1024) +
              " pagefile=" + std::to_string(counters.PagefileUsage / 1024) +
              " working=" + std::to_string(counters.WorkingSetSize / 1024));
        return 0;
    }
    if (cmd == L"wait-values") {
        std::vector<HWND> controls;
        for (size_t i = 4; i < a.size(); ++i) controls.push_back(control(top, a[i]));
        if (controls.empty()) fail("missing argument");
        const std::string expected = utf8(arg(3));
        std::string seen;
        std::string box;
        waitFor(seconds(2), [&] {
            if (HWND b = messageBox()) box = utf8(boxText(b));
            seen = values(controls);
            return !box.empty() || seen == expected;
        });
        if (!box.empty()) fail("error box \"" + box + "\" while the controls show \"" + seen + "\"");
        if (seen != expected) fail("the controls show \"" + seen + "\"");
        return 0;
    }
    if (cmd == L"minimize") return PostMessageW(top, WM_SYSCOMMAND, SC_MINIMIZE, 0) ? 0 : 1;
    if (cmd == L"client-size") {
        RECT r;
        GetClientRect(top, &r);
        print(std::to_string(r.right) + " " + std::to_string(r.bottom));
        return 0;
    }
    if (cmd == L"clipped") {
        HFONT font = controlFont(top);
        const lt::win32::testing::TextFit fit = lt::win32::testing::fitTexts(top, [&](HWND) { return font; });
        DeleteObject(font);
        print("measured " + std::to_string(fit.measured));
        for (const std::string& line : fit.clipped) print(line);
        return 0;
    }
    if (cmd == L"focused") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) fail("no thread information");
        std::string focused = "none";
        // The control itself, or the control an inner window of which has the focus (an
        // inner window's own id may look like a control's: the window found by the id
        // must be this one).
        for (HWND w = info.hwndFocus; w && w != top && IsChild(top, w); w = GetParent(w)) {
            ChildSearch s{GetDlgCtrlID(w)};
            EnumChildWindows(top, matchChild, reinterpret_cast<LPARAM>(&s));
            if (s.found == w && !lt::controlName(s.id).empty()) {
                focused = lt::controlName(s.id);
                break;
            }
        }
        print(focused);
        return 0;
    }

    const std::wstring& name = arg(2);
    if (cmd == L"screen-rect") {
        RECT r;
        GetWindowRect(control(top, name), &r);
        print(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
              std::to_string(r.bottom - r.top));
        return 0;
    }
    if (cmd == L"text") print(utf8(windowText(control(top, name))));
    else if (cmd == L"wait-text") {
        HWND w = control(top, name);
        if (!waitFor(seconds(4), [&] { return windowText(w) == arg(3); }))
            fail(utf8(name) + " shows \"" + utf8(windowText(w)) + "\"");
    } else if (cmd == L"watch-text") {
        HWND w = control(top, name);
        return watch(seconds(4), [&] { return windowText(w) == arg(3); });
    } else if (cmd == L"state") {
        HWND w = control(top, name);
        print(std::string("enabled=") + (IsWindowEnabled(w) ? "1" : "0") + " visible=" +
              (IsWindowVisible(w) ? "1" : "0"));
    } else if (cmd == L"items") {
        HWND w = control(top, name);
        const bool combo = isCombo(w);
        const LRESULT count = send(w, combo ? CB_GETCOUNT : LB_GETCOUNT);
        print("selected=" + std::to_string(send(w, combo ? CB_GETCURSEL : LB_GETCURSEL)));
        for (int i = 0; i < count; ++i) print(utf8(listText(w, combo, i)));
    } else if (cmd == L"checks") {
        print(value(control(top, name)));
    } else if (cmd == L"values") {
        for (size_t i = 2; i < a.size(); ++i) print(value(control(top, a[i])));
    } else if (cmd == L"pos") print(std::to_string(send(control(top, name), TBM_GETPOS)));
    else if (cmd == L"tabs") {
        HWND w = control(top, name);
        print("selected=" + std::to_string(send(w, TCM_GETCURSEL)));
        for (int i = 0, n = static_cast<int>(send(w, TCM_GETITEMCOUNT)); i < n; ++i) print(utf8(tabText(w, i)));
    } else if (cmd == L"click") {
        HWND w = reachable(top, name);
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (lstrcmpiW(cls, L"Button") == 0) {
            PostMessageW(w, BM_CLICK, 0, 0);
        } else {
            PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        }
    } else if (cmd == L"click-until-gone") {
        LARGE_INTEGER frequency, start, now;
        QueryPerformanceFrequency(&frequency);
        PostMessageW(reachable(top, name), BM_CLICK, 0, 0);
        QueryPerformanceCounter(&start);
        // Gone is destroyed: a window hidden by a program that hangs in its exit stays.
        if (!waitFor(seconds(3), [&] { return !IsWindow(top); })) fail("the window stays");
        QueryPerformanceCounter(&now);
        print(std::to_string((now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart));
    } else if (cmd == L"type") {
        HWND w = reachable(top, name);
        send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(3).c_str()));
    } else if (cmd == L"pick") {
        pickItem(reachable(top, name), number(3));
    } else if (cmd == L"pick-text") {
        HWND w = reachable(top, name);
        const LRESULT index = send(w, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(arg(3).c_str()));
        if (index == CB_ERR) fail(utf8(name) + " has no item \"" + utf8(arg(3)) + "\"");
        pickItem(w, index);
    } else if (cmd == L"drop") {
        HWND w = reachable(top, name);
        const bool dropped = number(3) != 0;
        PostMessageW(w, CB_SHOWDROPDOWN, dropped, 0);
        if (!waitFor(5, [&] { return (send(w, CB_GETDROPPEDSTATE) != 0) == dropped; })) fail("the list did not follow");
    } else if (cmd == L"key") {
        HWND w = reachable(top, name);
        const UINT key = virtualKey(arg(3));
        for (int i = 0, n = a.size() > 4 ? number(4) : 1; i < n; ++i) pressKey(w, key);
    } else if (cmd == L"toggle") {
        // A click on the item's check box, at the left end of its row.
        HWND w = reachable(top, name);
        const int height = static_cast<int>(send(w, LB_GETITEMHEIGHT, 0));
        const int row = number(3) - static_cast<int>(send(w, LB_GETTOPINDEX));
        const LPARAM at = MAKELPARAM(height / 2, row * height + height / 2);
        PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(w, WM_LBUTTONUP, 0, at);
    } else if (cmd == L"slide") {
        HWND w = reachable(top, name);
        send(w, TBM_SETPOS, TRUE, number(3));
        notifyParent(w, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0));
    } else if (cmd == L"tab") {
        PostMessageW(reachable(top, name), TCM_SETCURFOCUS, number(3), 0);
    } else if (cmd == L"accessible") {
        describeAccessible(control(top, name));
    } else {
        fail("unknown command " + utf8(cmd));
    }
    return 0;
}

// One command, its failure told as the exit code and "ltdrive: WHY" on the error output.
int runReporting(const std::vector<std::wstring>& command) {
    try {
        return run(command);
    } catch (const Failed& f) {
        const std::string out = "ltdrive: " + f.why + "\n";
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
        return 1;
    }
}

std::wstring wide(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

// --stdin: commands one a line until the input ends, each answered by its status line.
int serveInput() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string pending;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(input, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        pending.append(chunk, got);
        for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
            std::string line = pending.substr(0, end);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::vector<std::wstring> command;
            for (size_t from = 0;;) {
                const size_t tab = line.find('\t', from);
                command.push_back(wide(line.substr(from, tab - from)));
                if (tab == std::string::npos) break;
                from = tab + 1;
            }
            std::string status;
            try {
                status = std::to_string(run(command));
            } catch (const Failed& f) {
                status = "1 " + f.why;
            }
            print("\x1e" + status);
        }
    }
    return 0;
}

}  // namespace

int main() {
    // The program's accessibility objects are called through COM.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc == 2 && lstrcmpW(argv[1], L"--stdin") == 0) return serveInput();
    std::vector<std::wstring> command;
    for (int i = 1; i <= argc; ++i) {
        if (i < argc && lstrcmpW(argv[i], L";") != 0) {
            command.emplace_back(argv[i]);
            continue;
        }
        if (const int status = runReporting(command)) return status;
        command.clear();
    }
    LocalFree(argv);
    return 0;
}

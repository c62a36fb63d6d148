#include "window_peer.h"

#include <unordered_map>

#include "accessible_object.h"
#include "toolkit/accessibility.h"
#include "toolkit/control_ids.h"
#include "toolkit/form.h"
#include "screen_density.h"
#include "wide_text.h"
#include "window_classes.h"
#include "window_guard.h"
#include "win32_desktop.h"

namespace lt::win32 {
namespace {

// Every window the backend made, with its peer. A map rather than GWLP_USERDATA, which
// the inner windows of standard controls may use for themselves.
std::unordered_map<HWND, WindowPeer*>& peers() {
    static std::unordered_map<HWND, WindowPeer*> map;
    return map;
}

// The peer whose window is being created: lists ask their parent for item heights
// before CreateWindowEx has returned.
WindowPeer* creating = nullptr;

}  // namespace

WindowPeer* peerBeingCreated() { return creating; }

void forgetWindow(HWND window) { peers().erase(window); }

WindowPeer* peerOf(HWND window) {
    auto it = peers().find(window);
    return it == peers().end() ? nullptr : it->second;
}

HWND windowOf(const Control& control) {
    auto* peer = dynamic_cast<WindowPeer*>(control.peer());
    return peer ? peer->window() : nullptr;
}

Form* formOf(Control& control) {
    Control* c = &control;
    while (c->parent()) c = c->parent();
    return c->kind() == ControlKind::Form ? static_cast<Form*>(c) : nullptr;
}

WindowPeer::~WindowPeer() {
    peers().erase(window_);
    control_.attachPeer(nullptr);
}

void WindowPeer::create(HWND parent) {
    const Spec s = spec();
    const RECT r = placement();
    // A form's parent is its owner window; every other control is a child window.
    const bool child = control_.parent() != nullptr;
    DWORD style = s.style | (shown() ? WS_VISIBLE : 0);
    if (child) style |= WS_CHILD | WS_CLIPSIBLINGS;
    const int id = child ? controlId(control_.name()) : 0;
    creating = this;
    window_ = CreateWindowExW(s.exStyle, s.windowClass, widen(control_.text()).c_str(), style, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, parent,
                              child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr,
                              desktop_.instance(), nullptr);
    creating = nullptr;
    peers()[window_] = this;
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    afterCreate();
    // A standard control answers assistive tools through its peer (accessible_object.h).
    if (!isOwnClass(window_)) subclass();
    if (!control_.enabled()) EnableWindow(window_, FALSE);
    control_.attachPeer(this);
}

RECT WindowPeer::placement() const {
    return scaledRect(control_.left(), control_.top(), control_.width(), control_.height(), dpi());
}

int WindowPeer::dpi() const {
    Form* form = formOf(control_);
    auto* peer = form ? dynamic_cast<WindowPeer*>(form->peer()) : nullptr;
    return peer && peer != this ? peer->dpi() : systemDpi();
}

int WindowPeer::scaled(int length) const { return win32::scaled(length, dpi()); }

HFONT WindowPeer::font() const { return desktop_.font(control_.style.underline, dpi()); }

void WindowPeer::rescale() {
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    sync(Aspect::Bounds);
    InvalidateRect(window_, nullptr, TRUE);
}

void WindowPeer::sync(Aspect aspect) {
    switch (aspect) {
        case Aspect::Text:
            setWindowText(window_, control_.text());
            tellNamesChanged();
            break;
        case Aspect::Enabled: EnableWindow(window_, control_.enabled()); break;
        case Aspect::Visible: ShowWindow(window_, shown() ? SW_SHOWNA : SW_HIDE); break;
        case Aspect::Bounds: {
            const RECT r = placement();
            SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        default: break;
    }
}

HCURSOR WindowPeer::cursor() const {
    if (control_.style.handCursor) return LoadCursorW(nullptr, IDC_HAND);
    if (control_.style.splitCursor) return LoadCursorW(nullptr, IDC_SIZEWE);
    return nullptr;
}

bool WindowPeer::handle(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

// The system tells of this window's own new text; a screen reader also hears of the
// controls it names (a label that becomes "S17" renames its list).
void WindowPeer::tellNamesChanged() const {
    for (const Control* named : namedBy(control_))
        if (HWND window = windowOf(*named))
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

bool WindowPeer::answer(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_GETOBJECT && answerAccessibility(*this, wParam, lParam, result)) return true;
    return handle(message, wParam, lParam, result);
}

void WindowPeer::user(const std::function<void()>& action) { desktop_.run(action); }

void WindowPeer::setWindowText(HWND window, const std::string& text) {
    updating_ = true;
    SetWindowTextW(window, widen(text).c_str());
    updating_ = false;
}

LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowPeer* peer = peerOf(window);
    if (!peer) return DefWindowProcW(window, message, wParam, lParam);
    const auto byClass = [&] { return CallWindowProcW(peer->classProc_, window, message, wParam, lParam); };
    return guardedAnswer(
        [&] {
            LRESULT result = 0;
            return peer->answer(message, wParam, lParam, result) ? result : byClass();
        },
        byClass);
}

void WindowPeer::subclass() {
    if (classProc_) return;
    classProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassProc)));
}

}  // namespace lt::win32

#include "form_peer.h"

#include <windowsx.h>

#include "toolkit/form.h"
#include "toolkit/widgets.h"
#include "wide_text.h"
#include "win32_desktop.h"

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

// --- forms ---

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

}  // namespace

FormPeer::FormPeer(Form& form, Win32Desktop& desktop) : WindowPeer(form, desktop), form_(form) {}

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
    RECT r{0, 0, form_.width(), form_.height()};
    if (form_.formStyle.clientSize) {
        const Spec s = spec();
        AdjustWindowRectEx(&r, s.style, FALSE, s.exStyle);
    }
    // Centred on the desktop's work area.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = work.left + (work.right - work.left - w) / 2, y = work.top + (work.bottom - work.top - h) / 2;
    return {x, y, x + w, y + h};
}

void FormPeer::afterCreate() {
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(desktop_.icon()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(desktop_.icon()));
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

bool FormPeer::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CLOSE:
            // The form decides: the main window ends the program, others hide.
            user([this] { form_.userClose(); });
            result = 0;
            return true;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) desktop_.minimized(form_);
            return false;
        default: return routeMouse(*this, desktop_, message, lParam);
    }
}

// --- pages and groups ---

WindowPeer::Spec ContainerPeer::spec() const {
    // A group's frame covers the whole container and paints only its lines and caption,
    // so the container must paint its background beneath its children.
    const DWORD style = control_.kind() == ControlKind::GroupBox ? 0 : WS_CLIPCHILDREN;
    return {kContainerClass, style, WS_EX_CONTROLPARENT};
}

bool ContainerPeer::shown() const {
    if (!control_.visible()) return false;
    if (control_.kind() != ControlKind::TabSheet) return true;
    auto& pages = *static_cast<PageControl*>(control_.parent());
    const auto all = pages.pages();
    return pages.activePage() >= 0 && pages.activePage() < static_cast<int>(all.size()) &&
           all[pages.activePage()] == &control_;
}

RECT ContainerPeer::placement() const {
    // A page fills the page control's display area, which depends on its rows of tabs.
    if (control_.kind() == ControlKind::TabSheet)
        if (auto* pages = dynamic_cast<PageControlPeer*>(control_.parent()->peer())) return pages->pageArea();
    return WindowPeer::placement();
}

void ContainerPeer::afterCreate() {
    if (control_.kind() != ControlKind::GroupBox) return;
    frame_ = CreateWindowExW(0, L"BUTTON", widen(control_.text()).c_str(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0,
                             0, control_.width(), control_.height(), window_, nullptr, desktop_.instance(), nullptr);
    SendMessageW(frame_, WM_SETFONT, reinterpret_cast<WPARAM>(desktop_.font(false)), FALSE);
}

void ContainerPeer::afterChildren() {
    if (frame_) SetWindowPos(frame_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ContainerPeer::sync(Aspect aspect) {
    if (aspect == Aspect::Visible && shown()) desktop_.realizeChildren(*this);
    WindowPeer::sync(aspect);
    if (aspect == Aspect::Text) {
        if (frame_) setWindowText(frame_, control_.text());
        if (control_.kind() == ControlKind::TabSheet)
            if (auto* pages = dynamic_cast<PageControlPeer*>(control_.parent()->peer())) {
                const auto all = static_cast<PageControl*>(control_.parent())->pages();
                for (size_t i = 0; i < all.size(); ++i)
                    if (all[i] == &control_) pages->setTabText(static_cast<int>(i), control_.text());
            }
    }
    if (aspect == Aspect::Bounds && frame_)
        SetWindowPos(frame_, nullptr, 0, 0, control_.width(), control_.height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- the page control ---

PageControlPeer::PageControlPeer(PageControl& pages, Win32Desktop& desktop) : WindowPeer(pages, desktop), pages_(pages) {}

WindowPeer::Spec PageControlPeer::spec() const {
    return {WC_TABCONTROLW, WS_TABSTOP | WS_CLIPCHILDREN | TCS_MULTILINE, WS_EX_CONTROLPARENT};
}

void PageControlPeer::addTabs() {
    const auto all = pages_.pages();
    for (size_t i = 0; i < all.size(); ++i) {
        std::wstring text = widen(all[i]->text());
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(window_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(window_, TCM_SETCURSEL, pages_.activePage(), 0);
}

void PageControlPeer::setTabText(int index, const std::string& text) {
    std::wstring wide = widen(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    SendMessageW(window_, TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
}

RECT PageControlPeer::pageArea() const {
    RECT r{};
    GetClientRect(window_, &r);
    SendMessageW(window_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void PageControlPeer::showActivePage() {
    SendMessageW(window_, TCM_SETCURSEL, pages_.activePage(), 0);
    for (TabSheet* page : pages_.pages())
        if (page->peer()) {
            page->peer()->sync(Aspect::Bounds);
            page->peer()->sync(Aspect::Visible);
        }
}

void PageControlPeer::sync(Aspect aspect) {
    WindowPeer::sync(aspect);
    if (aspect == Aspect::ActivePage || aspect == Aspect::Bounds) showActivePage();
}

LRESULT PageControlPeer::notify(const NMHDR& header) {
    if (header.code == TCN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageW(window_, TCM_GETCURSEL, 0, 0));
        user([&] { pages_.userSelectPage(index); });
        showActivePage();  // also puts the tab back when the change was refused
    }
    return 0;
}

}  // namespace lt::win32

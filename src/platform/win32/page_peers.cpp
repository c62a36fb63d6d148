#include "page_peers.h"

#include "toolkit/widgets.h"
#include "wide_text.h"
#include "win32_desktop.h"
#include "window_classes.h"

namespace lt::win32 {

PageControlPeer::PageControlPeer(PageControl& pages, Win32Desktop& desktop)
    : WindowPeer(pages, desktop), pages_(pages) {}

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

void PageControlPeer::userSelect(int index) {
    user([&] { pages_.userSelectPage(index); });
    showActivePage();  // also puts the tab back when the change was refused
}

LRESULT PageControlPeer::notify(const NMHDR& header) {
    if (header.code == TCN_SELCHANGE) userSelect(static_cast<int>(SendMessageW(window_, TCM_GETCURSEL, 0, 0)));
    return 0;
}

void PageControlPeer::userStep(int step) {
    const int count = static_cast<int>(pages_.pages().size());
    if (count == 0) return;
    userSelect(((pages_.activePage() + step) % count + count) % count);
    if (pages_.responds()) SetFocus(window_);
}

PageControl& TabSheetPeer::pages() const { return *static_cast<PageControl*>(control_.parent()); }

PageControlPeer* TabSheetPeer::pagesPeer() const { return dynamic_cast<PageControlPeer*>(pages().peer()); }

WindowPeer::Spec TabSheetPeer::spec() const { return {kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT}; }

bool TabSheetPeer::shown() const {
    if (!control_.visible()) return false;
    const auto all = pages().pages();
    const int active = pages().activePage();
    return active >= 0 && active < static_cast<int>(all.size()) && all[active] == &control_;
}

// A page fills the page control's display area, which depends on its rows of tabs.
RECT TabSheetPeer::placement() const {
    if (PageControlPeer* peer = pagesPeer()) return peer->pageArea();
    return WindowPeer::placement();
}

void TabSheetPeer::sync(Aspect aspect) {
    if (aspect == Aspect::Visible && shown()) desktop_.realizeChildren(*this);
    WindowPeer::sync(aspect);
    if (aspect != Aspect::Text) return;
    if (PageControlPeer* peer = pagesPeer()) {
        const auto all = pages().pages();
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i] == &control_) peer->setTabText(static_cast<int>(i), control_.text());
    }
}

}  // namespace lt::win32

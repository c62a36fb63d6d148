// The page control and its pages. A page is a plain window whose children are the page's
// controls, filling the page control's display area; only the active one is shown.
#pragma once
#include <string>

#include "window_peer.h"

namespace lt {
class PageControl;
}

namespace lt::win32 {

class PageControlPeer : public WindowPeer {
public:
    PageControlPeer(PageControl& pages, Win32Desktop& desktop);
    void sync(Aspect aspect) override;
    LRESULT notify(const NMHDR& header) override;
    // Places the tabs; called once the pages exist.
    void addTabs();
    void setTabText(int index, const std::string& text);
    RECT pageArea() const;

protected:
    Spec spec() const override;

private:
    void showActivePage();
    PageControl& pages_;
};

class TabSheetPeer : public WindowPeer {
public:
    using WindowPeer::WindowPeer;
    void sync(Aspect aspect) override;
    bool shown() const override;
    RECT placement() const override;

protected:
    Spec spec() const override;

private:
    PageControl& pages() const;
    PageControlPeer* pagesPeer() const;
};

}  // namespace lt::win32

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
    // The page step pages after the one in front (before it when negative, wrapping around)
    // brought to the front as a click on its tab brings it, and the focus put on the tabs,
    // as the keyboard does in property sheets.
    void userStep(int step);

protected:
    Spec spec() const override;

private:
    void showActivePage();
    void userSelect(int index);
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

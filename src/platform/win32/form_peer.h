// Top-level windows and the containers inside them (pages, groups, the page control).
#pragma once
#include "window_peer.h"

namespace lt {
class Form;
class PageControl;
}

namespace lt::win32 {

inline constexpr wchar_t kFormClass[] = L"LinetrimForm";
inline constexpr wchar_t kContainerClass[] = L"LinetrimContainer";
inline constexpr wchar_t kDrawnClass[] = L"LinetrimDrawn";

class FormPeer : public WindowPeer {
public:
    FormPeer(Form& form, Win32Desktop& desktop);
    void sync(Aspect aspect) override;
    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    Spec spec() const override;
    RECT placement() const override;
    void afterCreate() override;

private:
    Form& form_;
    bool everShown_ = false;
};

// A tab page or a group: a plain window whose children are the control's children, so
// that disabling it disables all it holds. A group draws its frame and caption with a
// group-box button at the bottom of its children.
class ContainerPeer : public WindowPeer {
public:
    using WindowPeer::WindowPeer;
    void sync(Aspect aspect) override;
    bool shown() const override;
    RECT placement() const override;
    void afterChildren() override;

protected:
    Spec spec() const override;
    void afterCreate() override;

private:
    HWND frame_ = nullptr;
};

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

}  // namespace lt::win32

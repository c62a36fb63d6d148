// The native window of one control, kept in step with the control's state. The
// notifications of a standard control reach its peer through its parent's window
// procedure (window_classes.h), and the peer calls the control's user*() member under the
// application's default handler.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "toolkit/control.h"

namespace lt {
class Form;
}

namespace lt::win32 {

class Win32Desktop;

class WindowPeer : public ControlPeer {
public:
    WindowPeer(Control& control, Win32Desktop& desktop) : control_(control), desktop_(desktop) {}
    ~WindowPeer() override;

    // Creates the window below parent (nullptr for a form) and brings it in step.
    void create(HWND parent);
    HWND window() const { return window_; }
    // The window the control's children are created in.
    virtual HWND container() const { return window_; }
    Control& control() const { return control_; }

    void sync(Aspect aspect) override;

    // The density of the screen the control's form is on.
    virtual int dpi() const;
    // Lays the window out afresh at its form's density: its font, place and size, and what
    // else it measures in pixels.
    virtual void rescale();

    // Notifications of a standard control, routed by its parent.
    virtual void command(int) {}
    virtual LRESULT notify(const NMHDR&) { return 0; }
    virtual void drawItem(const DRAWITEMSTRUCT&) {}
    virtual void measureItem(MEASUREITEMSTRUCT&) {}
    virtual void scroll(int) {}
    // A brush and colours for a static-like child, or nullptr for the system's.
    virtual HBRUSH colour(HDC) { return nullptr; }
    virtual HCURSOR cursor() const;
    // Messages of the window itself, before the class's own handling; true when handled.
    virtual bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // What the window procedures ask first: assistive tools' questions, then handle().
    bool answer(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    struct Spec {
        const wchar_t* windowClass;
        DWORD style;
        DWORD exStyle = 0;
    };
    virtual Spec spec() const = 0;
    // The window's place in its parent: the control's bounds at the form's density.
    virtual RECT placement() const;
    // A length of the 96-dpi layout at the form's density.
    int scaled(int length) const;
    HFONT font() const;
    virtual void afterCreate() {}

public:
    // Once the children's windows exist.
    virtual void afterChildren() {}
    virtual bool shown() const { return control_.visible(); }

protected:
    // Replaces the window procedure to see messages of a standard control first; once.
    void subclass();
    // Runs a user action under the application's default handler.
    void user(const std::function<void()>& action);
    // Sets a window text without the echo notification of the control's own change.
    void setWindowText(HWND window, const std::string& text);
    void tellNamesChanged() const;

    Control& control_;
    Win32Desktop& desktop_;
    HWND window_ = nullptr;
    WNDPROC classProc_ = nullptr;
    bool updating_ = false;  // the window is being changed from the control's state

    friend LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM);
};

WindowPeer* peerOf(HWND window);
// The window of a realized control, or nullptr.
HWND windowOf(const Control& control);
// The peer whose window is being created, or nullptr: lists ask their parent for item
// heights before CreateWindowEx has returned.
WindowPeer* peerBeingCreated();
// A destroyed window is no one's any more.
void forgetWindow(HWND window);
// The form a control belongs to.
Form* formOf(Control& control);

}  // namespace lt::win32

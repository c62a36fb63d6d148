// The peer of a form: a top-level window.
#pragma once
#include "window_peer.h"

namespace lt {
class Form;
}

namespace lt::win32 {

class FormPeer : public WindowPeer {
public:
    FormPeer(Form& form, Win32Desktop& desktop);
    void sync(Aspect aspect) override;
    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    int dpi() const override { return dpi_; }

protected:
    Spec spec() const override;
    RECT placement() const override;
    void afterCreate() override;

private:
    // The form has come onto a screen of another density: every window of it is laid out
    // afresh, then the form takes its new size at the position the system proposes.
    void moveToDpi(int dpi, POINT at);

    Form& form_;
    bool everShown_ = false;
    int dpi_;
    HWND lastFocus_ = nullptr;  // the control that had the focus when the form was left
};

}  // namespace lt::win32

// A top-level window and the mouse routing its drawn controls rely on.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "control.h"

namespace lt {

struct FormStyle {
    bool toolWindow = false;   // small caption, close button only
    bool sizeable = false;     // otherwise a single fixed border
    bool minimizeBox = true;
    bool stayOnTop = false;
    bool clientSize = true;    // width and height give the client area, not the outer frame
};

class Form : public Control {
public:
    explicit Form(std::string name) : Control(ControlKind::Form, nullptr, std::move(name)) {
        setVisible(false);
    }

    FormStyle formStyle;
    // The order Tab takes the controls in when the form states one (the form library's tab
    // order); empty for reading order (keyboard_order.h).
    std::vector<Control*> statedKeyboardOrder;

    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    // The close box and Close(): runs onClose when set, otherwise hides the window.
    void close();
    std::function<void()> onClose;

    // Mouse input in client coordinates. A press goes to the topmost control under the
    // pointer (the form itself where there is none), which then receives the moves,
    // relative to where it lies at each move, until the release; with no button down
    // each move goes to the topmost control under the pointer.
    void userMouseDown(int x, int y);
    void userMouseMove(int x, int y);
    void userMouseUp(int x, int y);
    bool userClose();

private:
    Control* controlAt(int x, int y);
    Control* captured_ = nullptr;
};

}  // namespace lt

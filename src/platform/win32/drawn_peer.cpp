#include "drawn_peer.h"

#include "mouse_routing.h"
#include "painting.h"
#include "window_classes.h"

namespace lt::win32 {
namespace {

// Shapes and lines, drawn by the backend (painting.h); mouse input on them goes through
// the form's routing.
class DrawnPeer : public WindowPeer {
public:
    using WindowPeer::WindowPeer;

    void sync(Aspect aspect) override {
        WindowPeer::sync(aspect);
        InvalidateRect(window_, nullptr, TRUE);
    }

    bool handle(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
        if (message == WM_ERASEBKGND) {
            result = 1;
            return true;
        }
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window_, &ps);
            RECT r;
            GetClientRect(window_, &r);
            paintDrawn(dc, r, control_, desktop_, dpi());
            EndPaint(window_, &ps);
            result = 0;
            return true;
        }
        return routeMouse(*this, desktop_, message, lParam);
    }

protected:
    Spec spec() const override { return {kDrawnClass, 0}; }
};

}  // namespace

std::unique_ptr<WindowPeer> makeDrawnPeer(Control& control, Win32Desktop& desktop) {
    return std::make_unique<DrawnPeer>(control, desktop);
}

}  // namespace lt::win32

#include "slider_peer.h"

namespace lt::win32 {
namespace {

// A trackbar. Its end-of-track notification closes every change the user makes (a drag
// released, a keyboard step, a press on the track); a value set in code is not one.
class SliderPeer : public WindowPeer {
public:
    SliderPeer(Slider& slider, Win32Desktop& desktop) : WindowPeer(slider, desktop), slider_(slider) {}

    void sync(Aspect aspect) override {
        if (aspect != Aspect::Value) return WindowPeer::sync(aspect);
        SendMessageW(window_, TBM_SETRANGEMIN, FALSE, slider_.minValue());
        SendMessageW(window_, TBM_SETRANGEMAX, FALSE, slider_.maxValue());
        SendMessageW(window_, TBM_SETPOS, TRUE, slider_.value());
    }

    void scroll(int code) override {
        if (code != TB_ENDTRACK) return;
        const int position = static_cast<int>(SendMessageW(window_, TBM_GETPOS, 0, 0));
        if (position != slider_.value()) user([&] { slider_.userChange(position); });
        sync(Aspect::Value);
    }

protected:
    Spec spec() const override { return {TRACKBAR_CLASSW, WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS}; }
    void afterCreate() override { sync(Aspect::Value); }

private:
    Slider& slider_;
};

}  // namespace

std::unique_ptr<WindowPeer> makeSliderPeer(Slider& slider, Win32Desktop& desktop) {
    return std::make_unique<SliderPeer>(slider, desktop);
}

}  // namespace lt::win32

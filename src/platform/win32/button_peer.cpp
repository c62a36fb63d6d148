#include "button_peer.h"

#include <algorithm>

#include "painting.h"

namespace lt::win32 {
namespace {

class ButtonPeer : public WindowPeer {
public:
    ButtonPeer(Button& button, Win32Desktop& desktop) : WindowPeer(button, desktop), button_(button) {}

    void command(int code) override {
        if (code == BN_CLICKED) user([this] { button_.userClick(); });
    }

    ~ButtonPeer() override {
        if (glyph_) DeleteObject(glyph_);
    }

    void rescale() override {
        WindowPeer::rescale();
        paintGlyph();
    }

protected:
    Spec spec() const override {
        DWORD style = WS_TABSTOP | BS_PUSHBUTTON;
        if (button_.style.flat) style |= BS_FLAT;
        if (button_.picture) style |= BS_BITMAP;
        return {L"BUTTON", style};
    }

    // The picture replaces the caption on the face only: the button stays a push button
    // that the keyboard, BM_CLICK and assistive tools work as any other.
    void afterCreate() override { paintGlyph(); }

private:
    // The picture fills the face within the button's edges, at the screen's density.
    void paintGlyph() {
        if (!button_.picture) return;
        const RECT r = placement();
        const int edges = scaled(8);
        HBITMAP old = glyph_;
        glyph_ = paintPicture(button_.picture, std::max<int>(r.right - r.left - edges, edges),
                              std::max<int>(r.bottom - r.top - edges, edges), desktop_);
        SendMessageW(window_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph_));
        if (old) DeleteObject(old);
    }

    Button& button_;
    HBITMAP glyph_ = nullptr;
};

}  // namespace

std::unique_ptr<WindowPeer> makeButtonPeer(Button& button, Win32Desktop& desktop) {
    return std::make_unique<ButtonPeer>(button, desktop);
}

}  // namespace lt::win32

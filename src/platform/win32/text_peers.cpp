#include "text_peers.h"

#include <algorithm>

#include "painting.h"
#include "wide_text.h"
#include "win32_desktop.h"

namespace lt::win32 {
namespace {

class LabelPeer : public WindowPeer {
public:
    LabelPeer(Label& label, Win32Desktop& desktop) : WindowPeer(label, desktop), label_(label) {}

    void command(int code) override {
        if (code == STN_CLICKED) user([this] { label_.userClick(); });
    }

    // A link takes the focus from the keyboard (the form's Tab order) and acts on Enter and
    // Space as a button does; it shows the focus with the system's focus rectangle.
    bool handle(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (!label_.isLink()) return false;
        switch (message) {
            case WM_GETDLGCODE: result = DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON; return true;
            case BM_CLICK: user([this] { label_.userClick(); }); return true;
            case WM_KEYDOWN:
                if (wParam != VK_SPACE) return false;
                user([this] { label_.userClick(); });
                return true;
            case WM_SETFOCUS:
            case WM_KILLFOCUS: InvalidateRect(window_, nullptr, TRUE); return false;
            case WM_PAINT: {
                result = CallWindowProcW(classProc_, window_, message, wParam, 0);
                if (GetFocus() == window_ && !(SendMessageW(window_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
                    RECT r{};
                    GetClientRect(window_, &r);
                    HDC dc = GetDC(window_);
                    DrawFocusRect(dc, &r);
                    ReleaseDC(window_, dc);
                }
                return true;
            }
            default: return false;
        }
    }

    HBRUSH colour(HDC dc) override {
        SetTextColor(dc, colourOr(label_.style.fontColor, COLOR_BTNTEXT));
        const COLORREF back = background();
        SetBkColor(dc, back);
        return desktop_.brush(back);
    }

protected:
    Spec spec() const override {
        DWORD style = SS_NOTIFY;
        if (label_.style.centred) style |= SS_CENTER;
        else if (!label_.style.multiLine) style |= SS_LEFTNOWORDWRAP;
        return {L"STATIC", style};
    }

    // A single-line label is at least as wide as its text, as the form library's
    // self-sizing labels are; the text is never cut.
    RECT placement() const override {
        RECT r = WindowPeer::placement();
        if (label_.style.multiLine || label_.style.centred || !window_) return r;
        HDC dc = GetDC(window_);
        HGDIOBJ old = SelectObject(dc, font());
        const std::wstring text = widen(label_.text());
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(window_, dc);
        r.right = std::max<LONG>(r.right, r.left + size.cx);
        r.bottom = std::max<LONG>(r.bottom, r.top + size.cy);
        return r;
    }

    void afterCreate() override { WindowPeer::sync(Aspect::Bounds); }

public:
    void sync(Aspect aspect) override {
        WindowPeer::sync(aspect);
        if (aspect == Aspect::Text) WindowPeer::sync(Aspect::Bounds);
    }

private:
    // A transparent label shows the colour of the drawn shape it lies on.
    COLORREF background() const {
        return label_.style.transparent ? backdrop(label_) : GetSysColor(COLOR_BTNFACE);
    }

    Label& label_;
};

class EditPeer : public WindowPeer {
public:
    EditPeer(Edit& edit, Win32Desktop& desktop) : WindowPeer(edit, desktop), edit_(edit) {}

    // Text that is already in the window is not set again: that would put the caret
    // back to the start under the user's fingers.
    void sync(Aspect aspect) override {
        if (aspect == Aspect::Text && windowText() == edit_.text()) return;
        WindowPeer::sync(aspect);
    }

    void command(int code) override {
        if (code != EN_CHANGE || updating_) return;
        const std::string typed = windowText();
        user([&] { edit_.userType(typed); });
        sync(Aspect::Text);  // a refused change is taken back
    }

protected:
    Spec spec() const override { return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE}; }

private:
    std::string windowText() const {
        std::wstring text(GetWindowTextLengthW(window_) + 1, L'\0');
        text.resize(GetWindowTextW(window_, text.data(), static_cast<int>(text.size())));
        return narrow(text);
    }

    Edit& edit_;
};

// The invisible logs: a hidden multi-line edit that holds the lines.
class MemoPeer : public WindowPeer {
public:
    MemoPeer(Memo& memo, Win32Desktop& desktop) : WindowPeer(memo, desktop), memo_(memo) {}

    // The window gets the lines only while it is shown: laying out up to a thousand lines
    // again for every CR received cost tens of milliseconds per reply, for a log no one sees.
    void sync(Aspect aspect) override {
        if (aspect != Aspect::Items) WindowPeer::sync(aspect);
        if ((aspect == Aspect::Items || aspect == Aspect::Visible) && memo_.visible()) {
            std::string text;
            for (const std::string& line : memo_.lines()) text += line + "\r\n";
            setWindowText(window_, text);
        }
    }

protected:
    Spec spec() const override { return {L"EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL}; }

private:
    Memo& memo_;
};

}  // namespace

std::unique_ptr<WindowPeer> makeLabelPeer(Label& label, Win32Desktop& desktop) {
    return std::make_unique<LabelPeer>(label, desktop);
}

std::unique_ptr<WindowPeer> makeEditPeer(Edit& edit, Win32Desktop& desktop) {
    return std::make_unique<EditPeer>(edit, desktop);
}

std::unique_ptr<WindowPeer> makeMemoPeer(Memo& memo, Win32Desktop& desktop) {
    return std::make_unique<MemoPeer>(memo, desktop);
}

}  // namespace lt::win32

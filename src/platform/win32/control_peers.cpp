#include "control_peers.h"

#include <windowsx.h>

#include <algorithm>

#include "form_peer.h"
#include "toolkit/form.h"
#include "toolkit/widgets.h"
#include "wide_text.h"
#include "win32_desktop.h"

namespace lt::win32 {
namespace {

COLORREF colourOr(uint32_t colour, int systemColour) {
    return colour == colors::kDefault ? GetSysColor(systemColour) : static_cast<COLORREF>(colour);
}

// A framed rectangle filled with a horizontal gradient (from == to for a plain fill).
void paintBar(HDC dc, const RECT& r, COLORREF from, COLORREF to, Win32Desktop& desktop) {
    const int width = std::max<int>(r.right - r.left, 1);
    for (int x = r.left; x < r.right; ++x) {
        auto mix = [&](int shift) {
            const int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
            return a + (b - a) * (x - r.left) / width;
        };
        RECT strip{x, r.top, x + 1, r.bottom};
        FillRect(dc, &strip, desktop.brush(RGB(mix(0), mix(8), mix(16))));
    }
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// A picture's canvas over a device context.
class DcCanvas : public Canvas {
public:
    DcCanvas(HDC dc, Win32Desktop& desktop) : dc_(dc), desktop_(desktop) {}
    void fill(const Rect& r, uint32_t color) override {
        const RECT rect{r.left, r.top, r.right, r.bottom};
        FillRect(dc_, &rect, desktop_.brush(color));
    }
    void bar(const Rect& r, uint32_t from, uint32_t to) override {
        paintBar(dc_, {r.left, r.top, r.right, r.bottom}, from, to, desktop_);
    }

private:
    HDC dc_;
    Win32Desktop& desktop_;
};

// The shape beneath a control that draws no background of its own: the last one
// before it that holds its top-left corner, or none.
const Control* shapeBeneath(const Control& control) {
    const Control* found = nullptr;
    if (!control.parent()) return found;
    for (Control* sibling : control.parent()->children()) {
        if (sibling == &control) break;
        if (sibling->kind() != ControlKind::Shape || !sibling->visible() ||
            sibling->style.brushColor == colors::kDefault)
            continue;
        const bool inside = control.left() >= sibling->left() && control.top() >= sibling->top() &&
                            control.left() < sibling->left() + sibling->width() &&
                            control.top() < sibling->top() + sibling->height();
        if (inside) found = sibling;
    }
    return found;
}

COLORREF backdrop(const Control& control) {
    const Control* shape = shapeBeneath(control);
    return shape ? static_cast<COLORREF>(shape->style.brushColor) : GetSysColor(COLOR_BTNFACE);
}

class LabelPeer : public WindowPeer {
public:
    LabelPeer(Label& label, Win32Desktop& desktop) : WindowPeer(label, desktop), label_(label) {}

    void command(int code) override {
        if (code == STN_CLICKED) user([this] { label_.userClick(); });
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
        HGDIOBJ old = SelectObject(dc, desktop_.font(label_.style.underline));
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

class ButtonPeer : public WindowPeer {
public:
    ButtonPeer(Button& button, Win32Desktop& desktop) : WindowPeer(button, desktop), button_(button) {}

    void command(int code) override {
        if (code == BN_CLICKED) user([this] { button_.userClick(); });
    }

    ~ButtonPeer() override {
        if (glyph_) DeleteObject(glyph_);
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
    void afterCreate() override {
        if (!button_.picture) return;
        glyph_ = pictureBitmap(std::max(button_.width() - 8, 8), std::max(button_.height() - 8, 8));
        SendMessageW(window_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph_));
    }

private:
    HBITMAP pictureBitmap(int w, int h) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        DcCanvas canvas(dc, desktop_);
        button_.picture(canvas, w, h);
        SelectObject(dc, old);
        DeleteDC(dc);
        return bitmap;
    }

    Button& button_;
    HBITMAP glyph_ = nullptr;
};

// Draws one owner-drawn list item: the text on the selection or window colour.
void drawItemText(const DRAWITEMSTRUCT& item, const std::wstring& text, int indent) {
    const bool selected = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT r = item.rcItem;
    r.left += indent + 2;
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

std::wstring itemText(HWND window, UINT lengthMessage, UINT textMessage, UINT index) {
    const LRESULT length = SendMessageW(window, lengthMessage, index, 0);
    if (length <= 0) return {};
    std::wstring text(length + 1, L'\0');
    SendMessageW(window, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

class ComboBoxPeer : public WindowPeer {
public:
    ComboBoxPeer(ComboBox& combo, Win32Desktop& desktop) : WindowPeer(combo, desktop), combo_(combo) {}

    void sync(Aspect aspect) override {
        if (aspect == Aspect::Items) {
            SendMessageW(window_, CB_RESETCONTENT, 0, 0);
            for (const std::string& item : combo_.items())
                SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
            aspect = Aspect::ItemIndex;
        }
        if (aspect == Aspect::ItemIndex) SendMessageW(window_, CB_SETCURSEL, combo_.itemIndex(), 0);
        else WindowPeer::sync(aspect);
    }

    void command(int code) override {
        if (code != CBN_SELCHANGE) return;
        const int index = static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0));
        user([&] { combo_.userPick(index); });
        SendMessageW(window_, CB_SETCURSEL, combo_.itemIndex(), 0);
    }

    void measureItem(MEASUREITEMSTRUCT& item) override {
        // The selection field (item -1) keeps the control at the height it was given.
        if (item.itemID == static_cast<UINT>(-1)) item.itemHeight = std::max(combo_.height() - 6, 8);
        else item.itemHeight = combo_.style.itemHeight > 0 ? combo_.style.itemHeight : 16;
    }

    void drawItem(const DRAWITEMSTRUCT& item) override {
        if (item.itemID == static_cast<UINT>(-1)) {
            FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
            return;
        }
        drawItemText(item, itemText(window_, CB_GETLBTEXTLEN, CB_GETLBTEXT, item.itemID), 0);
    }

protected:
    Spec spec() const override {
        return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS};
    }
    // The window's height includes the dropped-down list.
    RECT placement() const override {
        RECT r = WindowPeer::placement();
        const int itemHeight = combo_.style.itemHeight > 0 ? combo_.style.itemHeight : 16;
        r.bottom += itemHeight * std::max(combo_.style.dropDownCount, 1) + 2;
        return r;
    }
    void afterCreate() override { sync(Aspect::Items); }

private:
    ComboBox& combo_;
};

// A list box drawing a check box before each item; a click on the box, or the space
// bar, toggles the item. The item data holds the check state for assistive tools.
class CheckListBoxPeer : public WindowPeer {
public:
    CheckListBoxPeer(CheckListBox& list, Win32Desktop& desktop) : WindowPeer(list, desktop), list_(list) {}

    void sync(Aspect aspect) override {
        if (aspect == Aspect::Items) {
            SendMessageW(window_, LB_RESETCONTENT, 0, 0);
            for (const std::string& item : list_.items())
                SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
            aspect = Aspect::Checks;
        }
        if (aspect == Aspect::Checks) {
            for (size_t i = 0; i < list_.items().size(); ++i)
                SendMessageW(window_, LB_SETITEMDATA, i, list_.checked(static_cast<int>(i)) ? 1 : 0);
            InvalidateRect(window_, nullptr, TRUE);
        } else {
            WindowPeer::sync(aspect);
        }
    }

    void measureItem(MEASUREITEMSTRUCT& item) override { item.itemHeight = itemHeight(); }

    void drawItem(const DRAWITEMSTRUCT& item) override {
        if (item.itemID == static_cast<UINT>(-1)) return;
        const int box = itemHeight();
        drawItemText(item, itemText(window_, LB_GETTEXTLEN, LB_GETTEXT, item.itemID), box);
        RECT r{item.rcItem.left + 1, item.rcItem.top + 1, item.rcItem.left + box - 1, item.rcItem.bottom - 1};
        UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
        if (list_.checked(static_cast<int>(item.itemID))) state |= DFCS_CHECKED;
        if (!list_.enabled()) state |= DFCS_INACTIVE;
        DrawFrameControl(item.hDC, &r, DFC_BUTTON, state);
    }

    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) override {
        if (message == WM_LBUTTONDOWN) {
            const LRESULT hit = SendMessageW(window_, LB_ITEMFROMPOINT, 0, lParam);
            const int index = LOWORD(hit);
            if (HIWORD(hit) == 0 && GET_X_LPARAM(lParam) < itemHeight()) toggle(index);
        } else if (message == WM_KEYDOWN && wParam == VK_SPACE) {
            toggle(static_cast<int>(SendMessageW(window_, LB_GETCURSEL, 0, 0)));
        }
        return false;  // the list box still selects the item
    }

protected:
    Spec spec() const override {
        return {L"LISTBOX",
                WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                WS_EX_CLIENTEDGE};
    }
    void afterCreate() override {
        subclass();
        sync(Aspect::Items);
    }

private:
    int itemHeight() const { return list_.style.itemHeight > 0 ? list_.style.itemHeight : 16; }
    void toggle(int index) {
        user([&] { list_.userToggle(index); });
    }

    CheckListBox& list_;
};

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

// Shapes and lines, drawn here: a framed rectangle filled with the brush colour or a
// horizontal gradient, or a horizontal line with a closed arrow at its end. Mouse input
// goes through the form's routing.
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
            if (control_.kind() == ControlKind::Line) paintLine(dc, r);
            else paintShape(dc, r);
            EndPaint(window_, &ps);
            result = 0;
            return true;
        }
        return routeMouse(*this, desktop_, message, lParam);
    }

protected:
    Spec spec() const override { return {kDrawnClass, 0}; }

private:
    void paintShape(HDC dc, const RECT& r) {
        const ControlStyle& s = control_.style;
        const COLORREF from = colourOr(s.brushColor, COLOR_WINDOW);
        const COLORREF to = s.gradientTo == colors::kDefault ? from : static_cast<COLORREF>(s.gradientTo);
        paintBar(dc, r, from, to, desktop_);
    }

    // A line has no background: its band shows the shape it is drawn on.
    void paintLine(HDC dc, const RECT& r) {
        FillRect(dc, &r, desktop_.brush(backdrop(control_)));
        if (const Control* shape = shapeBeneath(control_)) {  // with the part of its frame the band covers
            const int x = shape->left() - control_.left(), y = shape->top() - control_.top();
            const RECT frame{x, y, x + shape->width(), y + shape->height()};
            FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
        const int y = (r.top + r.bottom) / 2;
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
        const int arrow = control_.style.arrowAtEnd ? 10 : 0;
        MoveToEx(dc, r.left, y, nullptr);
        LineTo(dc, r.right - arrow, y);
        if (arrow) {
            POINT head[3] = {{r.right - 1, y}, {r.right - arrow, y - 4}, {r.right - arrow, y + 4}};
            Polygon(dc, head, 3);
        }
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
    }
};

}  // namespace

void registerWindowClasses(HINSTANCE instance, HICON icon) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW wc{};
    wc.lpfnWndProc = containerProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = icon;
    wc.lpszClassName = kFormClass;
    RegisterClassW(&wc);
    wc.hIcon = nullptr;
    wc.lpszClassName = kContainerClass;
    RegisterClassW(&wc);
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kDrawnClass;
    RegisterClassW(&wc);
}

std::unique_ptr<WindowPeer> makePeer(Control& c, Win32Desktop& d) {
    switch (c.kind()) {
        case ControlKind::Form: return std::make_unique<FormPeer>(static_cast<Form&>(c), d);
        case ControlKind::PageControl: return std::make_unique<PageControlPeer>(static_cast<PageControl&>(c), d);
        case ControlKind::TabSheet:
        case ControlKind::GroupBox: return std::make_unique<ContainerPeer>(c, d);
        case ControlKind::Label: return std::make_unique<LabelPeer>(static_cast<Label&>(c), d);
        case ControlKind::Edit: return std::make_unique<EditPeer>(static_cast<Edit&>(c), d);
        case ControlKind::Button: return std::make_unique<ButtonPeer>(static_cast<Button&>(c), d);
        case ControlKind::ComboBox: return std::make_unique<ComboBoxPeer>(static_cast<ComboBox&>(c), d);
        case ControlKind::CheckListBox: return std::make_unique<CheckListBoxPeer>(static_cast<CheckListBox&>(c), d);
        case ControlKind::Slider: return std::make_unique<SliderPeer>(static_cast<Slider&>(c), d);
        case ControlKind::Memo: return std::make_unique<MemoPeer>(static_cast<Memo&>(c), d);
        case ControlKind::Shape:
        case ControlKind::Line: return std::make_unique<DrawnPeer>(c, d);
    }
    return nullptr;
}

}  // namespace lt::win32

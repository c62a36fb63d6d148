#include "painting.h"

#include <algorithm>

#include "screen_density.h"
#include "toolkit/widgets.h"
#include "win32_desktop.h"

namespace lt::win32 {
namespace {

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

void paintShape(HDC dc, const RECT& r, const Control& control, Win32Desktop& desktop) {
    const ControlStyle& s = control.style;
    const COLORREF from = colourOr(s.brushColor, COLOR_WINDOW);
    const COLORREF to = s.gradientTo == colors::kDefault ? from : static_cast<COLORREF>(s.gradientTo);
    paintBar(dc, r, from, to, desktop);
}

// A line has no background: its band shows the shape it is drawn on.
void paintLine(HDC dc, const RECT& r, const Control& control, Win32Desktop& desktop, int dpi) {
    FillRect(dc, &r, desktop.brush(backdrop(control)));
    if (const Control* shape = shapeBeneath(control)) {  // with the part of its frame the band covers
        // Both lie in the same parent: the frame where the shape's window lies, seen from the band's.
        const RECT band = scaledRect(control.left(), control.top(), control.width(), control.height(), dpi);
        RECT frame = scaledRect(shape->left(), shape->top(), shape->width(), shape->height(), dpi);
        OffsetRect(&frame, -band.left, -band.top);
        FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    const int y = (r.top + r.bottom) / 2;
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    const int arrow = control.style.arrowAtEnd ? scaled(10, dpi) : 0;
    const int half = scaled(4, dpi);
    MoveToEx(dc, r.left, y, nullptr);
    LineTo(dc, r.right - arrow, y);
    if (arrow) {
        POINT head[3] = {{r.right - 1, y}, {r.right - arrow, y - half}, {r.right - arrow, y + half}};
        Polygon(dc, head, 3);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

}  // namespace

COLORREF colourOr(uint32_t colour, int systemColour) {
    return colour == colors::kDefault ? GetSysColor(systemColour) : static_cast<COLORREF>(colour);
}

COLORREF backdrop(const Control& control) {
    const Control* shape = shapeBeneath(control);
    return shape ? static_cast<COLORREF>(shape->style.brushColor) : GetSysColor(COLOR_BTNFACE);
}

void paintDrawn(HDC dc, const RECT& r, const Control& control, Win32Desktop& desktop, int dpi) {
    if (control.kind() == ControlKind::Line) paintLine(dc, r, control, desktop, dpi);
    else paintShape(dc, r, control, desktop);
}

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

void drawCheckBox(HDC dc, const RECT& r, bool checked, bool enabled) {
    RECT box = r;
    UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (checked) state |= DFCS_CHECKED;
    if (!enabled) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);
}

HBITMAP paintPicture(const Picture& picture, int width, int height, Win32Desktop& desktop) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DcCanvas canvas(dc, desktop);
    picture(canvas, width, height);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

}  // namespace lt::win32

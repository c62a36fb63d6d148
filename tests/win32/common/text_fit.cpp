#include "text_fit.h"

namespace lt::win32::testing {
namespace {

constexpr UINT kAnswerWaitMs = 15000;

LRESULT ask(HWND w, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(w, message, wParam, lParam, SMTO_NORMAL, kAnswerWaitMs, &result);
    return static_cast<LRESULT>(result);
}

std::string utf8(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring windowText(HWND w) {
    std::wstring text(ask(w, WM_GETTEXTLENGTH) + 1, L'\0');
    text.resize(ask(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    return text;
}

// The system carries these across processes for lists that keep their strings.
std::wstring itemText(HWND w, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = ask(w, lengthMessage, index);
    if (length <= 0) return {};
    std::wstring text(length + 1, L'\0');
    ask(w, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

bool isClass(HWND w, const wchar_t* name) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    return lstrcmpiW(cls, name) == 0;
}

struct Measure {
    const std::function<HFONT(HWND)>& fontOf;
    TextFit& fit;

    // The text's extent on one line, or with its words wrapped at WRAP pixels when given;
    // FITS judges it against the control, with the font's average character width.
    void operator()(HWND w, const std::wstring& text, const auto& fits, int wrap = 0) const {
        if (text.empty()) return;
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, fontOf(w));
        RECT extent{0, 0, wrap, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent,
                  DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        ++fit.measured;
        const SIZE size{extent.right, extent.bottom};
        if (fits(size, static_cast<int>(metrics.tmAveCharWidth))) return;
        RECT client{};
        GetClientRect(w, &client);
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        fit.clipped.push_back(utf8(cls) + " " + std::to_string(GetDlgCtrlID(w)) + " \"" + utf8(text) + "\" needs " +
                              std::to_string(size.cx) + "x" + std::to_string(size.cy) + " in " +
                              std::to_string(client.right) + "x" + std::to_string(client.bottom));
    }
};

void check(HWND w, const Measure& measure) {
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    RECT client{};
    GetClientRect(w, &client);
    const int width = client.right, height = client.bottom;
    if (isClass(w, L"Button")) {
        const std::wstring text = windowText(w);
        if ((style & BS_TYPEMASK) == BS_GROUPBOX) {
            // The caption sits in the top edge, about a character's width in from each side.
            measure(w, text, [&](SIZE size, int charWidth) { return size.cx <= width - 2 * charWidth; });
        } else if (!(style & (BS_BITMAP | BS_ICON))) {
            const int edges = 2 * (GetSystemMetrics(SM_CXEDGE) + 1);
            measure(w, text, [&](SIZE size, int) { return size.cx <= width - edges && size.cy <= height; });
        }
    } else if (isClass(w, L"Static")) {
        // A label that wraps its words needs its lines' height, one that does not its width.
        const bool wraps = (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
        measure(w, windowText(w), [&](SIZE size, int) { return size.cx <= width && size.cy <= height; },
                wraps ? width : 0);
    } else if (isClass(w, L"ComboBox")) {
        const int arrow = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE) + 2;
        for (int i = 0, n = static_cast<int>(ask(w, CB_GETCOUNT)); i < n; ++i)
            measure(w, itemText(w, CB_GETLBTEXTLEN, CB_GETLBTEXT, i),
                    [&](SIZE size, int) { return size.cx <= width - arrow; });
    } else if (isClass(w, L"ListBox")) {
        // An item of a check list follows its box, as wide as an item is high.
        const int box = static_cast<int>(ask(w, LB_GETITEMHEIGHT)) + 2;
        for (int i = 0, n = static_cast<int>(ask(w, LB_GETCOUNT)); i < n; ++i)
            measure(w, itemText(w, LB_GETTEXTLEN, LB_GETTEXT, i), [&](SIZE size, int) { return size.cx <= width - box; });
    }
}

BOOL CALLBACK visit(HWND w, LPARAM measure) {
    check(w, *reinterpret_cast<const Measure*>(measure));
    return TRUE;
}

}  // namespace

TextFit fitTexts(HWND top, const std::function<HFONT(HWND)>& fontOf) {
    TextFit fit;
    const Measure measure{fontOf, fit};
    EnumChildWindows(top, visit, reinterpret_cast<LPARAM>(&measure));
    return fit;
}

}  // namespace lt::win32::testing

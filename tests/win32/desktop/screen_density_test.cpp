// A form carried onto a screen of another density is laid out afresh from its 96-dpi
// layout (places and sizes, font, list items, the mouse in the layout's units), and comes
// back exactly; the small icon is at the system's size. Wine gives every screen one density, so the move is the message Windows
// sends a program aware of each screen's density.
#include <windows.h>

#include <string>

#include "checks.h"
#include "platform/win32/screen_density.h"
#include "platform/win32/win32_desktop.h"
#include "toolkit/form.h"
#include "toolkit/widgets.h"

namespace lt::win32::testing {
namespace {

RECT inParent(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string text(const RECT& r) {
    std::string out;
    for (const LONG edge : {r.left, r.top, r.right, r.bottom}) out += (out.empty() ? "(" : ", ") + std::to_string(edge);
    return out + ")";
}

LONG fontHeight(HWND w) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

}  // namespace

void testScreenDensity(Checks& checks) {
    Win32Desktop desktop(GetModuleHandleW(nullptr));
    Form form("Form1");
    GroupBox group(&form, "GroupBox1");
    Edit edit(&group, "Edit1");
    CheckListBox list(&form, "CheckListBox1");
    Shape shape(&form, "Shape1");
    form.setBounds(0, 0, 300, 201);
    group.setBounds(8, 8, 200, 100);
    edit.setBounds(80, 16, 100, 21);
    list.setBounds(216, 8, 76, 101);
    list.style.itemHeight = 16;
    list.setItems({"Mute All", "V.8bis"});
    shape.setBounds(8, 120, 101, 40);
    int pressedX = -1, pressedY = -1;
    shape.onMouseDown = [&](int x, int y) { pressedX = x, pressedY = y; };
    form.show();
    desktop.realize(form);
    HWND formWindow = windowOf(form);

    // In the parent, at 96, 120 and 144 dpi. Edges are scaled, not sizes, so an odd length
    // rounds with its edges.
    const struct {
        Control& control;
        RECT at[3];
    } places[] = {
        {group, {{8, 8, 208, 108}, {10, 10, 260, 135}, {12, 12, 312, 162}}},
        {edit, {{80, 16, 180, 37}, {100, 20, 225, 46}, {120, 24, 270, 56}}},
        {list, {{216, 8, 292, 109}, {270, 10, 365, 136}, {324, 12, 438, 164}}},
        {shape, {{8, 120, 109, 160}, {10, 150, 136, 200}, {12, 180, 164, 240}}},
    };
    const struct {
        int dpi, column;
        LONG fontHeight;
        int itemHeight;
        RECT client;
    } moves[] = {
        {96, 0, -11, 16, {0, 0, 300, 201}},
        {144, 2, -16, 24, {0, 0, 450, 302}},
        {120, 1, -13, 20, {0, 0, 375, 251}},
        {96, 0, -11, 16, {0, 0, 300, 201}},  // and back, exactly
    };
    for (const auto& move : moves) {
        const std::string at = " at " + std::to_string(move.dpi) + " dpi";
        RECT proposed{40, 30, 0, 0};
        SendMessageW(formWindow, WM_DPICHANGED, MAKEWPARAM(move.dpi, move.dpi), reinterpret_cast<LPARAM>(&proposed));
        for (const auto& place : places) {
            const RECT& want = place.at[move.column];
            const RECT got = inParent(windowOf(place.control));
            checks.expect(EqualRect(&got, &want), place.control.name() + at + ": " + text(got) + ", not " + text(want));
        }
        // What draws text: the edit, the list, and the group's frame with its caption.
        HWND frame = FindWindowExW(windowOf(group), nullptr, L"Button", nullptr);
        for (HWND w : {windowOf(edit), windowOf(list), frame})
            checks.expect(fontHeight(w) == move.fontHeight, "font" + at + ": " + std::to_string(fontHeight(w)));
        RECT frameArea{};
        GetClientRect(frame, &frameArea);
        const RECT& groupPlace = places[0].at[move.column];
        checks.expect(frameArea.right == groupPlace.right - groupPlace.left &&
                          frameArea.bottom == groupPlace.bottom - groupPlace.top,
                      "the group's frame fills it" + at);
        RECT client{};
        GetClientRect(formWindow, &client);
        checks.expect(EqualRect(&client, &move.client), "client area" + at + ": " + text(client));
        RECT outer{};
        GetWindowRect(formWindow, &outer);
        checks.expect(outer.left == 40 && outer.top == 30, "the form lies where the system proposed" + at);
        const LRESULT item = SendMessageW(windowOf(list), LB_GETITEMHEIGHT, 0, 0);
        checks.expect(item == move.itemHeight, "check list items" + at + ": " + std::to_string(item));

        // A press 30, 15 layout pixels into the shape reaches it there, whatever the density.
        pressedX = pressedY = -1;
        const int x = MulDiv(30, move.dpi, 96), y = MulDiv(15, move.dpi, 96);
        SendMessageW(windowOf(shape), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(windowOf(shape), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        checks.expect(pressedX == 30 && pressedY == 15, "mouse" + at + ": " + std::to_string(pressedX) + ", " +
                                                            std::to_string(pressedY));
    }

    // The tray and the captions show the icon drawn at the size the system asks for.
    ICONINFO icon{};
    BITMAP image{};
    const bool read = GetIconInfo(desktop.smallIcon(), &icon) && GetObjectW(icon.hbmColor, sizeof image, &image);
    checks.expect(read && image.bmWidth == GetSystemMetrics(SM_CXSMICON) && image.bmHeight == GetSystemMetrics(SM_CYSMICON),
                  "small icon: " + std::to_string(image.bmWidth) + " x " + std::to_string(image.bmHeight));
    if (icon.hbmColor) DeleteObject(icon.hbmColor);
    if (icon.hbmMask) DeleteObject(icon.hbmMask);
    desktop.destroyWindows();
}

}  // namespace lt::win32::testing

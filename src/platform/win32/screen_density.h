// Screen density. The controls' positions and sizes are pixels of a 96-dpi screen; their
// windows take them scaled to the density of the screen the form is on, so that a form
// at 120 or 144 dpi has the layout of 96 dpi, grown as its font grows.
#pragma once
#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace lt::win32 {

constexpr int kDesignDpi = 96;

// A length of the 96-dpi layout at DPI, and back; rounded, so that at 96 dpi both are
// the identity.
inline int scaled(int length, int dpi) { return MulDiv(length, dpi, kDesignDpi); }
inline int unscaled(int length, int dpi) { return MulDiv(length, kDesignDpi, dpi); }

// A rectangle of the layout at DPI. Its edges are scaled, not its size, so that controls
// that touch at 96 dpi still touch.
RECT scaledRect(int left, int top, int width, int height, int dpi);

// The density every window starts with: the system's (a program that is only aware of
// the system's density sees that of the primary screen at sign-in).
int systemDpi();
// The density of the screen a window is on: asked of the window where the system can
// tell (Windows 10 1607 and later, for a program aware of each screen's density), else
// the system's.
int windowDpi(HWND window);
// The outer rectangle of a window whose client area is CLIENT, with the frame the system
// draws at DPI.
RECT frameAround(RECT client, DWORD style, DWORD exStyle, int dpi);

}  // namespace lt::win32

// The backend's own window classes: forms, containers (pages and groups) and drawn
// shapes. They share one window procedure, which hands every notification of a standard
// child control (BN_CLICKED, EN_CHANGE, CBN_SELCHANGE, TCN_SELCHANGE, WM_HSCROLL, owner
// drawing) to the child's peer.
#pragma once
#include <windows.h>

namespace lt::win32 {

inline constexpr wchar_t kFormClass[] = L"LinetrimForm";
inline constexpr wchar_t kContainerClass[] = L"LinetrimContainer";
inline constexpr wchar_t kDrawnClass[] = L"LinetrimDrawn";

// Registers them; once, before the first window.
void registerWindowClasses(HINSTANCE instance, HICON icon);
// Whether the window is of these classes (and not subclassed).
bool isOwnClass(HWND window);

}  // namespace lt::win32

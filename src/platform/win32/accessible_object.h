// What a control's window tells assistive tools (Microsoft Active Accessibility): the
// answer to WM_GETOBJECT for its client area is the system's own object for the window
// (CreateStdAccessibleObject) with the control's role, name and value, and the items of a
// check list or the tabs of a page control with their states, taken from the control.
//
// The system cannot know these: Windows names a field by the static window before it
// among its siblings (stopping at a WS_GROUP | WS_TABSTOP window), which here is not the
// label beside it, and not at all a list or slider; Wine's object names only edits so, gives
// most classes no role, and has no items. Containers (forms, pages, groups) keep the
// system's object, whose child windows it lists itself.
#pragma once
#include <windows.h>

namespace lt::win32 {

class WindowPeer;

// True when the peer's window answers the message itself; result is then the answer.
bool answerAccessibility(WindowPeer& peer, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace lt::win32

// Mouse input on a window of the backend's own classes (a form, or a shape or line it
// draws) enters the form's routing (Form::userMouse*) in form client coordinates, so the
// form's hit test decides which control it reaches; the window captures the mouse while
// a button is down.
#pragma once
#include <windows.h>

namespace lt::win32 {

class WindowPeer;
class Win32Desktop;

// True when the message was mouse input, which has then been routed.
bool routeMouse(WindowPeer& peer, Win32Desktop& desktop, UINT message, LPARAM lParam);

}  // namespace lt::win32

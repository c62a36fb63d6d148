// The peer of each control kind.
#pragma once
#include <memory>

#include "window_peer.h"

namespace lt::win32 {

// Registers the backend's own window classes; once, before the first window.
void registerWindowClasses(HINSTANCE instance, HICON icon);
std::unique_ptr<WindowPeer> makePeer(Control& control, Win32Desktop& desktop);

}  // namespace lt::win32

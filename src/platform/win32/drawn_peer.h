// The peer of the shapes and lines the backend draws itself.
#pragma once
#include <memory>

#include "window_peer.h"

namespace lt::win32 {

std::unique_ptr<WindowPeer> makeDrawnPeer(Control& control, Win32Desktop& desktop);

}  // namespace lt::win32

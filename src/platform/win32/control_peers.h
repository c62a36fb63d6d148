// The peer of each control kind, one family a file.
#pragma once
#include <memory>

#include "window_peer.h"

namespace lt::win32 {

std::unique_ptr<WindowPeer> makePeer(Control& control, Win32Desktop& desktop);

}  // namespace lt::win32

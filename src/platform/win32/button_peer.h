// The peer of a push button, with a picture on its face where the control has one.
#pragma once
#include <memory>

#include "toolkit/widgets.h"
#include "window_peer.h"

namespace lt::win32 {

std::unique_ptr<WindowPeer> makeButtonPeer(Button& button, Win32Desktop& desktop);

}  // namespace lt::win32

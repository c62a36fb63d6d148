// The peer of a slider: a trackbar.
#pragma once
#include <memory>

#include "toolkit/widgets.h"
#include "window_peer.h"

namespace lt::win32 {

std::unique_ptr<WindowPeer> makeSliderPeer(Slider& slider, Win32Desktop& desktop);

}  // namespace lt::win32

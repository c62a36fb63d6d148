// The peers of the text controls: labels, edits and the hidden logs.
#pragma once
#include <memory>

#include "toolkit/widgets.h"
#include "window_peer.h"

namespace lt::win32 {

std::unique_ptr<WindowPeer> makeLabelPeer(Label& label, Win32Desktop& desktop);
std::unique_ptr<WindowPeer> makeEditPeer(Edit& edit, Win32Desktop& desktop);
std::unique_ptr<WindowPeer> makeMemoPeer(Memo& memo, Win32Desktop& desktop);

}  // namespace lt::win32

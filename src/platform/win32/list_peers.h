// The peers of the owner-drawn lists: drop-down lists and check lists.
#pragma once
#include <memory>

#include "toolkit/widgets.h"
#include "window_peer.h"

namespace lt::win32 {

std::unique_ptr<WindowPeer> makeComboBoxPeer(ComboBox& combo, Win32Desktop& desktop);
std::unique_ptr<WindowPeer> makeCheckListBoxPeer(CheckListBox& list, Win32Desktop& desktop);

}  // namespace lt::win32

// A group: a plain window whose children are the group's controls, so that disabling it
// disables all it holds. It draws its frame and caption with a group-box button at the
// bottom of its children.
#pragma once
#include "window_peer.h"

namespace lt::win32 {

class GroupPeer : public WindowPeer {
public:
    using WindowPeer::WindowPeer;
    void sync(Aspect aspect) override;
    void afterChildren() override;

protected:
    Spec spec() const override;
    void afterCreate() override;

private:
    // The frame fills the group, in the group's font (a new density brings both).
    void placeFrame();
    HWND frame_ = nullptr;
};

}  // namespace lt::win32

// Whether the device behind an open COM port has gone away (a USB adapter pulled, the far
// end of a pseudo-terminal closed under Wine): it then fails every call from now on, and
// the handle must be closed before the device can be opened anew. Both the user-interface
// thread's calls and the event thread's waits note their failures here.
#pragma once
#include <windows.h>

#include <atomic>

#include "comm_api.h"

namespace lt::win32 {

class DeviceLoss {
public:
    explicit DeviceLoss(const CommApi& api) : api_(api) {}

    bool lost() const { return lost_; }
    // A freshly opened device.
    void reset() { lost_ = false; }
    // After a call on port failed with error: marks the device lost when the error says
    // so, or (where askStatus) when the device's status cannot be read afterwards.
    void note(HANDLE port, DWORD error, bool askStatus = true);

private:
    const CommApi& api_;
    std::atomic<bool> lost_{false};
};

}  // namespace lt::win32

// The system's millisecond tick at 1 ms resolution, and a sleep that handles no message.
#pragma once
#include "../clock.h"

namespace lt::win32 {

class Win32Clock : public Clock {
public:
    Win32Clock();
    ~Win32Clock() override;
    uint32_t tickMs() override;
    void sleepMs(uint32_t ms) override;
};

}  // namespace lt::win32

// A millisecond tick from the performance counter, and a sleep that handles no message.
#pragma once
#include <cstdint>

#include "../clock.h"

namespace lt::win32 {

class Win32Clock : public Clock {
public:
    Win32Clock();
    ~Win32Clock() override;
    uint32_t tickMs() override;
    void sleepMs(uint32_t ms) override;

private:
    int64_t frequency_ = 1;
};

}  // namespace lt::win32

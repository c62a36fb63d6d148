// A millisecond tick from the performance counter, and a sleep that handles no message.
#pragma once
#include <cstdint>

#include "system/clock.h"

namespace lt::win32 {

class Win32Clock : public Clock {
public:
    Win32Clock();
    ~Win32Clock() override;
    uint32_t tickMs() override;
    void sleepUntil(uint32_t tick) override;

private:
    int64_t counter() const;
    int64_t toMs(int64_t count) const;
    // The first counter value whose millisecond is ms.
    int64_t fromMs(int64_t ms) const;
    void delay(int64_t counts) const;

    int64_t frequency_ = 1;
    // The system's delay in 100 ns units, where it can be found; Sleep otherwise.
    long(__stdcall* delayExecution_)(unsigned char alertable, void* interval) = nullptr;
};

}  // namespace lt::win32

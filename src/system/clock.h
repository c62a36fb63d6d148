// Millisecond time for the paced send. The product reads the system tick; the tests
// run on a virtual clock so that a 2.3 s script costs no real time.
#pragma once
#include <cstdint>

namespace lt {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary origin; wraps like the system tick count.
    virtual uint32_t tickMs() = 0;
    // Blocks the calling thread until tickMs() reaches tick (compared modulo 2^32), or a
    // little after, without handling any window message (the paced send relies on
    // nothing being handled meanwhile). Returns at once when the tick has passed.
    virtual void sleepUntil(uint32_t tick) = 0;
};

}  // namespace lt

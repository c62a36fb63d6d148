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
    // Blocks the calling thread for about ms milliseconds without handling any
    // window message (the paced send relies on nothing being handled meanwhile).
    virtual void sleepMs(uint32_t ms) = 0;
};

}  // namespace lt

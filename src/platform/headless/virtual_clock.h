// A clock that moves only when someone waits on it, so paced sends cost no real time.
#pragma once
#include <cstdint>

#include "../clock.h"

namespace lt::headless {

class VirtualClock : public Clock {
public:
    uint32_t tickMs() override { return now_; }
    void sleepMs(uint32_t ms) override { now_ += ms; }
    void advance(uint32_t ms) { now_ += ms; }

private:
    uint32_t now_ = 1000;
};

}  // namespace lt::headless

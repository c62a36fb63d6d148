// A clock that moves only when someone waits on it, so paced sends cost no real time.
#pragma once
#include <cstdint>

#include "system/clock.h"

namespace lt::headless {

class VirtualClock : public Clock {
public:
    uint32_t tickMs() override { return now_; }
    void sleepUntil(uint32_t tick) override {
        if (static_cast<int32_t>(tick - now_) > 0) now_ = tick;
    }
    void advance(uint32_t ms) { now_ += ms; }
    void set(uint32_t tick) { now_ = tick; }

private:
    uint32_t now_ = 1000;
};

}  // namespace lt::headless

// What the fake port's line leads to: it takes the bytes the program sends and has bytes
// of its own to send back from a given time on. Times are the virtual clock's ticks.
#pragma once
#include <cstdint>
#include <string>

namespace lt::headless {

class FarEnd {
public:
    virtual ~FarEnd() = default;
    virtual void receive(unsigned char byte, uint32_t tickMs) = 0;
    // Whether bytes are due at or before tickMs.
    virtual bool hasOutput(uint32_t tickMs) = 0;
    // The bytes due at or before tickMs, in order; they are gone from the far end.
    virtual std::string takeOutput(uint32_t tickMs) = 0;
};

}  // namespace lt::headless

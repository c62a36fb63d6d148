#include "win32_clock.h"

#include <windows.h>
#include <mmsystem.h>

namespace lt::win32 {

// The system tick count may move in steps of 10-16 ms (Wine updates it that coarsely),
// which would let a paced character follow the previous one after as little as 35 ms;
// the performance counter is exact. The finer timer period lets Sleep wake within a
// millisecond instead of a scheduler quantum.
Win32Clock::Win32Clock() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    frequency_ = f.QuadPart;
    timeBeginPeriod(1);
}

Win32Clock::~Win32Clock() { timeEndPeriod(1); }

uint32_t Win32Clock::tickMs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    // Whole seconds and the remainder apart, so the product cannot overflow.
    const int64_t seconds = now.QuadPart / frequency_, rest = now.QuadPart % frequency_;
    return static_cast<uint32_t>(seconds * 1000 + rest * 1000 / frequency_);
}

void Win32Clock::sleepMs(uint32_t ms) { Sleep(ms); }

}  // namespace lt::win32

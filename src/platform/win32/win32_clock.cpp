#include "win32_clock.h"

#include <windows.h>
#include <mmsystem.h>

namespace lt::win32 {

// Without the finer timer period both the tick and Sleep move in 10-16 ms steps, and
// every paced character would wait up to 66 ms instead of just over 50.
Win32Clock::Win32Clock() { timeBeginPeriod(1); }
Win32Clock::~Win32Clock() { timeEndPeriod(1); }

uint32_t Win32Clock::tickMs() { return timeGetTime(); }

void Win32Clock::sleepMs(uint32_t ms) { Sleep(ms); }

}  // namespace lt::win32

#include "win32_clock.h"

#include <windows.h>
#include <mmsystem.h>

namespace lt::win32 {

// The system tick count may move in steps of 10-16 ms (Wine updates it that coarsely),
// which would let a paced character follow the previous one after as little as 35 ms;
// the performance counter is exact. The finer timer period lets a sleep wake within a
// millisecond instead of a scheduler quantum.
Win32Clock::Win32Clock() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    frequency_ = f.QuadPart;
    timeBeginPeriod(1);
    // Sleep counts whole milliseconds, so a pause meant to end on a tick would end up to a
    // millisecond after it; the delay under it takes 100 ns units and Wine honours them to
    // the microsecond (Windows to its timer period, as Sleep does).
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll"))
        delayExecution_ = reinterpret_cast<decltype(delayExecution_)>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDelayExecution")));
}

Win32Clock::~Win32Clock() { timeEndPeriod(1); }

int64_t Win32Clock::counter() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Whole seconds and the remainder apart, so the products cannot overflow.
int64_t Win32Clock::toMs(int64_t count) const {
    return count / frequency_ * 1000 + count % frequency_ * 1000 / frequency_;
}

int64_t Win32Clock::fromMs(int64_t ms) const {
    return ms / 1000 * frequency_ + (ms % 1000 * frequency_ + 999) / 1000;
}

uint32_t Win32Clock::tickMs() { return static_cast<uint32_t>(toMs(counter())); }

void Win32Clock::sleepUntil(uint32_t tick) {
    const int64_t now = counter(), nowMs = toMs(now);
    const int32_t ahead = static_cast<int32_t>(tick - static_cast<uint32_t>(nowMs));
    if (ahead <= 0) return;
    const int64_t due = fromMs(nowMs + ahead);
    for (int64_t left = due - now; left > 0; left = due - counter()) delay(left);
}

void Win32Clock::delay(int64_t counts) const {
    if (delayExecution_) {
        LARGE_INTEGER interval;
        interval.QuadPart = -((counts * 10000000 + frequency_ - 1) / frequency_);  // relative
        delayExecution_(FALSE, &interval);
    } else {
        Sleep(static_cast<DWORD>((counts * 1000 + frequency_ - 1) / frequency_));
    }
}

}  // namespace lt::win32

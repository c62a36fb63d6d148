// A system call looked up when the program runs, for what not every Windows from XP on
// has: the program must not import it, or it would not start where it is missing.
#pragma once
#include <windows.h>

namespace lt::win32 {

// The function NAME of MODULE, or nullptr where the system lacks it.
template <typename Function>
Function lookUpIn(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // Through the generic function type, which the compiler accepts as any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace lt::win32

#include "message_filter.h"

namespace lt::win32 {
namespace {

constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW, for the per-window call
constexpr DWORD kAdd = 1;    // MSGFLT_ADD, for the per-process call

template <typename Function>
Function lookUpIn(HMODULE module, const char* name) {
    // Through the generic function type, which the compiler accepts as any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

MessageFilterCalls MessageFilterCalls::lookUp() {
    MessageFilterCalls calls;
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
        calls.perWindow = lookUpIn<decltype(calls.perWindow)>(user32, "ChangeWindowMessageFilterEx");
        calls.perProcess = lookUpIn<decltype(calls.perProcess)>(user32, "ChangeWindowMessageFilter");
    }
    return calls;
}

void allowFromLessPrivileged(const MessageFilterCalls& calls, HWND window, std::initializer_list<UINT> messages) {
    for (UINT message : messages) {
        if (calls.perWindow) calls.perWindow(window, message, kAllow, nullptr);
        else if (calls.perProcess) calls.perProcess(message, kAdd);
    }
}

}  // namespace lt::win32

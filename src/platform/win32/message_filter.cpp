#include "message_filter.h"

#include "late_bound.h"

namespace lt::win32 {
namespace {

constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW, for the per-window call
constexpr DWORD kAdd = 1;    // MSGFLT_ADD, for the per-process call

}  // namespace

MessageFilterCalls MessageFilterCalls::lookUp() {
    MessageFilterCalls calls;
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    calls.perWindow = lookUpIn<decltype(calls.perWindow)>(user32, "ChangeWindowMessageFilterEx");
    calls.perProcess = lookUpIn<decltype(calls.perProcess)>(user32, "ChangeWindowMessageFilter");
    return calls;
}

void allowFromLessPrivileged(const MessageFilterCalls& calls, HWND window, std::initializer_list<UINT> messages) {
    for (UINT message : messages) {
        if (calls.perWindow) calls.perWindow(window, message, kAllow, nullptr);
        else if (calls.perProcess) calls.perProcess(message, kAdd);
    }
}

}  // namespace lt::win32

// Every system call the COM port makes on its device, as one table of function
// pointers: the system's by default, a model of a serial driver in the tests.
#pragma once
#include <windows.h>

namespace lt::win32 {

struct CommApi {
    HANDLE(WINAPI* createFile)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI* closeHandle)(HANDLE);
    BOOL(WINAPI* setupComm)(HANDLE, DWORD, DWORD);
    BOOL(WINAPI* getCommState)(HANDLE, LPDCB);
    BOOL(WINAPI* setCommState)(HANDLE, LPDCB);
    BOOL(WINAPI* setCommTimeouts)(HANDLE, LPCOMMTIMEOUTS);
    BOOL(WINAPI* setCommMask)(HANDLE, DWORD);
    BOOL(WINAPI* purgeComm)(HANDLE, DWORD);
    BOOL(WINAPI* waitCommEvent)(HANDLE, LPDWORD, LPOVERLAPPED);
    BOOL(WINAPI* getOverlappedResult)(HANDLE, LPOVERLAPPED, LPDWORD, BOOL);
    BOOL(WINAPI* cancelIo)(HANDLE);
    BOOL(WINAPI* readFile)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
    BOOL(WINAPI* writeFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    BOOL(WINAPI* clearCommError)(HANDLE, LPDWORD, LPCOMSTAT);
};

// The calls of the system itself.
const CommApi& systemCommApi();

}  // namespace lt::win32

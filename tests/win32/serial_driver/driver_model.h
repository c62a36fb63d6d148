// A model of a Windows serial driver behind the COM port's table of system calls: one
// port, "\\.\COM1", whose far end is a scripted modem. It behaves as the documentation
// of the communications functions describes serial.sys:
// - overlapped requests pend and complete through the OVERLAPPED's event; CancelIo ends
//   those issued by the calling thread;
// - events of the mask that occur while no wait is pending are kept and complete the
//   next wait at once; SetCommMask clears them and ends a pending wait with an empty mask;
// - EV_TXEMPTY when the last byte has left, EV_RXCHAR on each received byte;
// - a write waits while CTS is off and ends after the write total timeout, unsent;
// - received bytes are dropped while DSR is off (fDsrSensitivity), NULs with fNull;
// - a pulled device fails every call on its handle with the error its driver uses.
// Quirks make it one of the drivers that misbehave.
#pragma once
#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/comm_api.h"

namespace serial_model {

enum class Call {
    CreateFile, CloseHandle, SetupComm, GetCommState, SetCommState, SetCommTimeouts, SetCommMask,
    PurgeComm, WaitCommEvent, GetOverlappedResult, CancelIo, ReadFile, WriteFile, ClearCommError,
    None
};

struct Quirks {
    bool noTxEmpty = false;        // EV_TXEMPTY is never reported
    DWORD emptyWaitAfterMs = 0;    // a pending wait ends with an empty mask after this long
    int abortWaits = 0;            // pending waits ended ERROR_OPERATION_ABORTED; -1: every one
    DWORD abortAfterMs = 1;        // how long such a wait pends first
    DWORD failWaits = 0;           // WaitCommEvent fails at once with this error
    Call refuse = Call::None;      // this call fails with ERROR_INVALID_PARAMETER
};

class DriverModel {
public:
    DriverModel();
    ~DriverModel();
    DriverModel(const DriverModel&) = delete;
    DriverModel& operator=(const DriverModel&) = delete;

    // The table that sends the port's calls to the model of the moment.
    static const lt::win32::CommApi& api();

    void setQuirks(const Quirks& quirks);
    void setCts(bool on);
    void setDsr(bool on);
    // Surprise removal: every later call on the open handle fails with error; requests
    // in flight end with pendingError. Opening fails until plug().
    void pull(DWORD error, DWORD pendingError);
    void plug();

    // The far end: answers one command (the text before its CR); every byte is echoed.
    std::function<std::string(const std::string& command)> answer;

    long calls() const { return calls_.load(); }
    long calls(Call call) const { return perCall_[static_cast<int>(call)].load(); }
    int openHandles();
    bool waitPending();
    long bytesQueued();  // every byte placed in the receive queue so far

private:
    struct Handle {
        HANDLE value;
        int generation;
        bool closed;
    };
    struct Write {
        OVERLAPPED* ov;
        std::string bytes;
        DWORD issued, timeoutMs;  // timeoutMs 0: none
        DWORD thread;
    };
    struct Wait {
        OVERLAPPED* ov;
        DWORD* mask;
        DWORD issued;
        DWORD thread;
        bool abort;
    };

    static HANDLE WINAPI createFile(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    static BOOL WINAPI closeHandle(HANDLE);
    static BOOL WINAPI setupComm(HANDLE, DWORD, DWORD);
    static BOOL WINAPI getCommState(HANDLE, LPDCB);
    static BOOL WINAPI setCommState(HANDLE, LPDCB);
    static BOOL WINAPI setCommTimeouts(HANDLE, LPCOMMTIMEOUTS);
    static BOOL WINAPI setCommMask(HANDLE, DWORD);
    static BOOL WINAPI purgeComm(HANDLE, DWORD);
    static BOOL WINAPI waitCommEvent(HANDLE, LPDWORD, LPOVERLAPPED);
    static BOOL WINAPI getOverlappedResult(HANDLE, LPOVERLAPPED, LPDWORD, BOOL);
    static BOOL WINAPI cancelIo(HANDLE);
    static BOOL WINAPI readFile(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
    static BOOL WINAPI writeFile(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    static BOOL WINAPI clearCommError(HANDLE, LPDWORD, LPCOMSTAT);

    // Entry of every call on a handle, under the lock: counts it and checks the handle.
    bool enter(Call call, HANDLE handle);
    void count(Call call);
    static DWORD WINAPI lineThread(void* self);
    void runLine();
    DWORD lineStep();  // moves what is due; returns ms until the next deadline
    void transmit(char byte);
    void receive(const std::string& bytes);
    void raise(DWORD events);
    void complete(OVERLAPPED* ov, DWORD error, DWORD bytes);
    void finish(OVERLAPPED* ov, ULONG_PTR status, DWORD bytes);
    void endAll(DWORD error, DWORD thread);  // thread 0: every thread's requests
    void kick() { SetEvent(kick_); }

    CRITICAL_SECTION lock_;
    HANDLE kick_ = nullptr;
    HANDLE thread_ = nullptr;
    bool stop_ = false;
    std::atomic<long> calls_{0};
    std::atomic<long> perCall_[static_cast<int>(Call::None) + 1]{};

    Quirks quirks_;
    bool present_ = true;
    int generation_ = 0;
    DWORD removalError_ = 0;
    std::vector<Handle> handles_;
    DCB dcb_{};
    COMMTIMEOUTS timeouts_{};
    DWORD mask_ = 0;
    DWORD history_ = 0;
    DWORD errors_ = 0;
    bool cts_ = true;
    bool dsr_ = true;
    size_t inCapacity_ = 4096;
    std::string in_;
    std::deque<Write> writes_;
    bool waiting_ = false;
    Wait wait_{};
    std::string command_;
    long queued_ = 0;
};

}  // namespace serial_model

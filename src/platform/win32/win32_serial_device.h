// A COM port through the Win32 communications API. One event thread waits for port
// events (overlapped WaitCommEvent) and ORs them into one pending set; it then hands
// over synchronously to the user-interface thread through a hidden message window, and
// the user-interface side takes the set whole. Conditions that arrive while a
// hand-over waits therefore merge into it, and nothing is handed over while a handler
// (or a paced send) runs, since the user-interface thread does not pump messages then.
// Where the system cannot wait on the device (Wine on a pseudo-terminal ends every wait
// aborted), the event thread looks at the port's queues instead, often only while busy.
#pragma once
#include <windows.h>

#include <atomic>

#include "../serial_device.h"

namespace lt::win32 {

class Win32SerialDevice : public SerialDevice {
public:
    // Must be constructed on the user-interface thread: it creates the message window there.
    Win32SerialDevice();
    ~Win32SerialDevice() override;

    OpenResult open(const std::string& deviceName, const PortSettings& settings, HandOver handOver) override;
    void close() override;
    bool writeByte(unsigned char byte, uint32_t waitMs) override;
    std::string readAll() override;
    void clearErrors() override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static DWORD WINAPI watchThread(void* self);
    void watch();
    void deliver();
    bool pollQueues(unsigned& conditions);
    bool configure(const PortSettings& settings, std::string& detail);

    HWND window_ = nullptr;
    HANDLE port_ = INVALID_HANDLE_VALUE;
    HANDLE stopEvent_ = nullptr;
    HANDLE writeEvent_ = nullptr;
    HANDLE readEvent_ = nullptr;
    HANDLE thread_ = nullptr;  // a system thread: close() waits on its handle
    std::atomic<unsigned> pending_{0};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> written_{false};            // a byte written since the last transmit-empty report
    std::atomic<DWORD> lastActivity_{0};         // tick of the last write or report
    HandOver handOver_;
};

}  // namespace lt::win32

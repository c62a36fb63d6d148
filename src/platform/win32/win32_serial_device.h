// A COM port through the Win32 communications API. One event thread waits for port
// events (overlapped WaitCommEvent) and ORs them into one pending set; it then posts a
// hand-over to the user-interface thread through a hidden message window and waits
// until the user-interface side has taken the set whole. Conditions that arrive while a
// hand-over waits are kept by the driver (or stay in the queues) and come together with
// the next one, and nothing is handed over while a handler (or a paced send) runs, since
// the user-interface thread does not pump messages then. Every call on the device goes
// through a CommApi table, so that a test can put a model of the driver behind it.
// The thread waits for the user-interface thread only together with its stop event, so
// close() never waits on a hand-over, also when a handler itself closes the port.
// Where the system cannot wait on the device (Wine on a pseudo-terminal ends every wait
// aborted), the event thread looks at the port's queues instead, often only while busy.
//
// A device that has gone away (a USB adapter pulled, the far end of a pseudo-terminal
// closed under Wine) fails every write and wait from then on; it is marked lost and
// the event thread stops waiting on it.
#pragma once
#include <windows.h>

#include <atomic>

#include "comm_api.h"
#include "system/serial_device.h"

namespace lt::win32 {

class Win32SerialDevice : public SerialDevice {
public:
    // Must be constructed on the user-interface thread: it creates the message window there.
    explicit Win32SerialDevice(const CommApi& api = systemCommApi());
    ~Win32SerialDevice() override;

    OpenResult open(const std::string& deviceName, const PortSettings& settings, HandOver handOver) override;
    void close() override;
    bool writeByte(unsigned char byte, uint32_t waitMs) override;
    std::string readAll() override;
    void clearErrors() override;
    bool lost() const override { return lost_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static DWORD WINAPI watchThread(void* self);
    enum class WaitEnd { Events, Failed, StillPending, Wrote, Stopped };

    void watch();
    // Starts a wait unless one is in flight, and waits up to limitMs for it to end or for
    // a byte to be written.
    WaitEnd awaitEvents(OVERLAPPED& ov, DWORD& mask, bool& inFlight, DWORD limitMs, DWORD& error);
    unsigned withTransmitEmpty(unsigned conditions, bool unreportedWrite);
    bool pollQueues(unsigned& conditions, bool unreportedWrite);
    void deliver();
    bool configure(const PortSettings& settings, std::string& detail);
    // Marks the device lost when a failed call's error, or its status asked afterwards,
    // says that it has gone.
    void noteFailure(DWORD error);

    const CommApi& api_;
    HWND window_ = nullptr;
    HANDLE port_ = INVALID_HANDLE_VALUE;
    HANDLE stopEvent_ = nullptr;
    HANDLE writeEvent_ = nullptr;
    HANDLE readEvent_ = nullptr;
    HANDLE takenEvent_ = nullptr;  // the user-interface side has taken a hand-over
    HANDLE wroteEvent_ = nullptr;  // a byte has been written
    HANDLE thread_ = nullptr;  // a system thread: close() waits on its handle
    std::atomic<unsigned> pending_{0};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> lost_{false};
    WPARAM generation_ = 0;  // counts the opens; set before the event thread starts
    std::atomic<unsigned> writes_{0};     // bytes written; the event thread reports their transmit-empty
    std::atomic<DWORD> lastActivity_{0};  // tick of the last write or report
    HandOver handOver_;
};

}  // namespace lt::win32

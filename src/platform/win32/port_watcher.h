// The event thread of an open COM port. It waits for port events (overlapped
// WaitCommEvent) and ORs them into one pending set; it then calls notify (which posts to
// the user-interface thread) and waits until the user-interface side has taken the set
// whole. Conditions that arrive meanwhile are kept by the driver (or stay in the queues)
// and come together with the next hand-over. The thread waits for the user-interface
// thread only together with its stop event, so stop() never waits on a hand-over, also
// when a handler itself closes the port.
// Where the system cannot wait on the device (Wine on a pseudo-terminal ends every wait
// aborted), the thread looks at the port's queues instead, often only while busy. A
// failure that says the device has gone ends the thread.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>

#include "comm_api.h"
#include "device_loss.h"

namespace lt::win32 {

class PortWatcher {
public:
    PortWatcher(const CommApi& api, DeviceLoss& loss);
    ~PortWatcher();
    PortWatcher(const PortWatcher&) = delete;
    PortWatcher& operator=(const PortWatcher&) = delete;

    // Starts the thread on a configured port; notify is called on that thread.
    void start(HANDLE port, std::function<void()> notify);
    // Ends the thread; the port stays open.
    void stop();

    // The user-interface side: takes the pending set whole, then says it has handled it.
    unsigned take() { return pending_.exchange(0); }
    void taken() { SetEvent(takenEvent_); }
    // A byte has been written: its transmit-empty is reported also by drivers that never
    // report one.
    void wrote();

private:
    static DWORD WINAPI threadMain(void* self);
    enum class WaitEnd { Events, Failed, StillPending, Wrote, Stopped };

    void watch();
    // Starts a wait unless one is in flight, and waits up to limitMs for it to end or for
    // a byte to be written.
    WaitEnd awaitEvents(OVERLAPPED& ov, DWORD& mask, bool& inFlight, DWORD limitMs, DWORD& error);
    unsigned withTransmitEmpty(unsigned conditions, bool unreportedWrite);
    bool pollQueues(unsigned& conditions, bool unreportedWrite);
    void noteFailure(DWORD error) { loss_.note(port_, error, !stopping_); }

    const CommApi& api_;
    DeviceLoss& loss_;
    HANDLE port_ = INVALID_HANDLE_VALUE;
    std::function<void()> notify_;
    HANDLE stopEvent_ = nullptr;
    HANDLE takenEvent_ = nullptr;  // the user-interface side has taken a hand-over
    HANDLE wroteEvent_ = nullptr;  // a byte has been written
    HANDLE thread_ = nullptr;      // a system thread: stop() waits on its handle
    std::atomic<unsigned> pending_{0};
    std::atomic<bool> stopping_{false};
    std::atomic<unsigned> writes_{0};     // bytes written; the thread reports their transmit-empty
    std::atomic<DWORD> lastActivity_{0};  // tick of the last write or report
};

}  // namespace lt::win32

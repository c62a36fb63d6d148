#include "port_watcher.h"

#include "system/serial_device.h"

namespace lt::win32 {
namespace {

constexpr DWORD kQuietPauseMs = 200;
constexpr DWORD kFailedPauseMs = 100;
// Waits failed or aborted in a row before the queues are watched instead, and how often,
// while idle, a wait is tried again then.
constexpr int kFailedWaitsBeforeWatching = 3;
constexpr DWORD kWaitRetryMs = 3000;
// Watching the queues: every few milliseconds for a while after a write or a report, so a
// reply is handed over at once; seldom otherwise, which costs next to nothing.
constexpr DWORD kBusySpellMs = 2000;
constexpr DWORD kBusyPollMs = 5;
constexpr DWORD kIdlePollMs = 100;

unsigned conditionsOf(DWORD mask) {
    unsigned conditions = 0;
    if (mask & EV_RXCHAR) conditions |= cond::kRxChar;
    if (mask & EV_ERR) conditions |= cond::kError;
    if (mask & EV_TXEMPTY) conditions |= cond::kTxEmpty;
    return conditions;
}

}  // namespace

PortWatcher::PortWatcher(const CommApi& api, DeviceLoss& loss) : api_(api), loss_(loss) {
    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    takenEvent_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    wroteEvent_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

PortWatcher::~PortWatcher() {
    stop();
    CloseHandle(stopEvent_);
    CloseHandle(takenEvent_);
    CloseHandle(wroteEvent_);
}

void PortWatcher::start(HANDLE port, std::function<void()> notify) {
    port_ = port;
    notify_ = std::move(notify);
    pending_ = 0;
    lastActivity_ = GetTickCount();
    stopping_ = false;
    ResetEvent(stopEvent_);
    ResetEvent(takenEvent_);
    ResetEvent(wroteEvent_);
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
}

void PortWatcher::stop() {
    if (!thread_) return;
    stopping_ = true;
    SetEvent(stopEvent_);
    // Releases a WaitCommEvent in progress, also when the device has gone away. Every
    // other wait of the thread includes the stop event.
    api_.setCommMask(port_, 0);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
    pending_ = 0;
}

void PortWatcher::wrote() {
    ++writes_;
    SetEvent(wroteEvent_);
    lastActivity_ = GetTickCount();
}

DWORD WINAPI PortWatcher::threadMain(void* self) {
    static_cast<PortWatcher*>(self)->watch();
    return 0;
}

void PortWatcher::watch() {
    OVERLAPPED ov{};
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD mask = 0;  // set by the driver when the wait in flight completes
    bool inFlight = false;
    bool watchingQueues = false;
    int failedWaits = 0;
    DWORD lastTry = 0;
    unsigned reportedWrites = writes_;
    while (!stopping_) {
        unsigned conditions = 0;
        unsigned writes = 0;
        DWORD error = 0;
        if (!watchingQueues) {
            const WaitEnd end = awaitEvents(ov, mask, inFlight, INFINITE, error);
            if (end == WaitEnd::Stopped || stopping_) break;
            if (end == WaitEnd::Wrote) {
                // The wait stays in flight; a driver that never reports transmit-empty gets it here.
                writes = writes_;
                conditions = withTransmitEmpty(0, writes != reportedWrites);
                if (!conditions) continue;
            } else if (end == WaitEnd::Failed) {
                noteFailure(error);
                if (loss_.lost()) break;
                // Drivers that cannot wait fail or abort every wait (Wine on a pseudo-terminal
                // aborts them all): after a few in a row the queues are watched instead. A wait
                // aborted now and then (a USB adapter's selective suspend) is waited again.
                if (++failedWaits >= kFailedWaitsBeforeWatching) {
                    watchingQueues = true;
                    lastTry = GetTickCount();
                } else if (error != ERROR_OPERATION_ABORTED) {
                    WaitForSingleObject(stopEvent_, kFailedPauseMs);
                }
                continue;
            } else {
                failedWaits = 0;
                writes = writes_;
                conditions = withTransmitEmpty(conditionsOf(mask), writes != reportedWrites);
                // Wine may also end a wait with an empty mask. Those carry nothing; a pause
                // before waiting again keeps the idle thread from eating CPU, and loses
                // nothing: waiting data and an emptied transmit queue are still reported by
                // the next wait.
                if (!conditions) {
                    WaitForSingleObject(stopEvent_, kQuietPauseMs);
                    continue;
                }
            }
        } else {
            writes = writes_;
            if (!pollQueues(conditions, writes != reportedWrites)) {
                noteFailure(GetLastError());
                if (loss_.lost()) break;
                WaitForSingleObject(stopEvent_, kFailedPauseMs);
                continue;
            }
            if (!conditions) {
                const DWORD now = GetTickCount();
                const bool busy = now - lastActivity_ < kBusySpellMs;
                if (busy || now - lastTry < kWaitRetryMs) {
                    WaitForSingleObject(stopEvent_, busy ? kBusyPollMs : kIdlePollMs);
                    continue;
                }
                // Now and then, while idle, a wait in place of one look at the queues: a
                // driver whose waits work again is waited on again. Wine ends such a wait
                // aborted within a millisecond, and the queues are watched on.
                lastTry = now;
                const WaitEnd end = awaitEvents(ov, mask, inFlight, kIdlePollMs, error);
                if (end == WaitEnd::Stopped) break;
                if (end == WaitEnd::Failed) {
                    noteFailure(error);
                    if (loss_.lost()) break;
                    continue;
                }
                // A write says nothing of the wait: it stays in flight until the next try.
                if (end == WaitEnd::Wrote) continue;
                watchingQueues = false;
                failedWaits = 0;
                if (end == WaitEnd::StillPending) continue;
                writes = writes_;
                conditions = withTransmitEmpty(conditionsOf(mask), writes != reportedWrites);
                if (!conditions) continue;
            }
        }
        if (conditions & cond::kTxEmpty) reportedWrites = writes;
        lastActivity_ = GetTickCount();
        pending_ |= conditions;
        notify_();
        HANDLE taken[2] = {takenEvent_, stopEvent_};
        if (WaitForMultipleObjects(2, taken, FALSE, INFINITE) != WAIT_OBJECT_0) break;
    }
    if (inFlight) {
        DWORD ignored = 0;
        api_.cancelIo(port_);
        api_.getOverlappedResult(port_, &ov, &ignored, TRUE);
    }
    CloseHandle(ov.hEvent);
}

PortWatcher::WaitEnd PortWatcher::awaitEvents(OVERLAPPED& ov, DWORD& mask, bool& inFlight,
                                                         DWORD limitMs, DWORD& error) {
    if (!inFlight) {
        ResetEvent(ov.hEvent);
        mask = 0;
        if (api_.waitCommEvent(port_, &mask, &ov)) return WaitEnd::Events;
        error = GetLastError();
        if (error != ERROR_IO_PENDING) return WaitEnd::Failed;
        inFlight = true;
    }
    HANDLE events[3] = {ov.hEvent, stopEvent_, wroteEvent_};
    const DWORD woken = WaitForMultipleObjects(3, events, FALSE, limitMs);
    if (woken == WAIT_TIMEOUT) return WaitEnd::StillPending;
    if (woken == WAIT_OBJECT_0 + 2) return WaitEnd::Wrote;
    if (woken != WAIT_OBJECT_0) return WaitEnd::Stopped;
    inFlight = false;
    DWORD ignored = 0;
    if (api_.getOverlappedResult(port_, &ov, &ignored, FALSE)) return WaitEnd::Events;
    error = GetLastError();
    return WaitEnd::Failed;
}

// Transmit-empty as the driver should report it, also for drivers that never do: a write
// since the last report whose bytes have all left the output queue.
unsigned PortWatcher::withTransmitEmpty(unsigned conditions, bool unreportedWrite) {
    if (conditions & cond::kTxEmpty || !unreportedWrite) return conditions;
    DWORD errors = 0;
    COMSTAT status{};
    if (api_.clearCommError(port_, &errors, &status) && status.cbOutQue == 0) conditions |= cond::kTxEmpty;
    return conditions;
}

// The conditions a wait would report, from the queues: bytes waiting, a line error, and
// a transmit queue that has emptied since the last write. Nothing is lost between two
// looks: bytes stay queued and a write stays unreported until its queue has emptied.
bool PortWatcher::pollQueues(unsigned& conditions, bool unreportedWrite) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!api_.clearCommError(port_, &errors, &status)) return false;
    conditions = 0;
    if (status.cbInQue) conditions |= cond::kRxChar;
    if (errors) conditions |= cond::kError;
    if (status.cbOutQue == 0 && unreportedWrite) conditions |= cond::kTxEmpty;
    return true;
}

}  // namespace lt::win32

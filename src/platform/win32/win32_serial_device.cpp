#include "win32_serial_device.h"

#include "base/failure.h"
#include "wide_text.h"

namespace lt::win32 {
namespace {

constexpr UINT kHandOverMessage = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"LinetrimPortHandOver";
constexpr DWORD kWatchedEvents = EV_ERR | EV_RXCHAR | EV_TXEMPTY;
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

// Errors of a port whose device has gone: usbser and most adapters' drivers answer
// ERROR_BAD_COMMAND, ERROR_ACCESS_DENIED or ERROR_GEN_FAILURE once the adapter is pulled,
// others ERROR_DEV_NOT_EXIST, ERROR_FILE_NOT_FOUND or ERROR_IO_DEVICE, newer systems
// ERROR_DEVICE_REMOVED or ERROR_DEVICE_NOT_CONNECTED; Wine answers ERROR_NOT_READY once
// the far end of its pseudo-terminal has closed.
bool meansGone(DWORD error) {
    switch (error) {
        case ERROR_BAD_COMMAND:
        case ERROR_ACCESS_DENIED:
        case ERROR_GEN_FAILURE:
        case ERROR_NOT_READY:
        case ERROR_INVALID_HANDLE:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_IO_DEVICE:
        case ERROR_DEVICE_REMOVED:
        case ERROR_DEVICE_NOT_CONNECTED: return true;
        default: return false;
    }
}

bool isTimeout(DWORD error) { return error == ERROR_SEM_TIMEOUT || error == ERROR_TIMEOUT || error == WAIT_TIMEOUT; }

// "COM10" and above only open with the device namespace prefix.
std::wstring devicePath(const std::string& name) { return L"\\\\.\\" + widen(name); }

}  // namespace

Win32SerialDevice::Win32SerialDevice(const CommApi& api) : api_(api) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    writeEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    readEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    takenEvent_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    wroteEvent_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

Win32SerialDevice::~Win32SerialDevice() {
    close();
    DestroyWindow(window_);
    CloseHandle(stopEvent_);
    CloseHandle(writeEvent_);
    CloseHandle(readEvent_);
    CloseHandle(takenEvent_);
    CloseHandle(wroteEvent_);
}

OpenResult Win32SerialDevice::open(const std::string& deviceName, const PortSettings& settings,
                                   HandOver handOver) {
    close();
    port_ = api_.createFile(devicePath(deviceName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_FLAG_OVERLAPPED, nullptr);
    if (port_ == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return {error == ERROR_FILE_NOT_FOUND ? OpenStatus::NoSuchDevice : OpenStatus::CannotOpen, ""};
    }
    std::string detail;
    if (!configure(settings, detail)) {
        api_.closeHandle(port_);
        port_ = INVALID_HANDLE_VALUE;
        return {OpenStatus::ConfigFailed, detail};
    }
    handOver_ = std::move(handOver);
    pending_ = 0;
    lastActivity_ = GetTickCount();
    stopping_ = false;
    lost_ = false;
    ++generation_;
    ResetEvent(stopEvent_);
    ResetEvent(takenEvent_);
    ResetEvent(wroteEvent_);
    thread_ = CreateThread(nullptr, 0, watchThread, this, 0, nullptr);
    return {OpenStatus::Opened, ""};
}

bool Win32SerialDevice::configure(const PortSettings& s, std::string& detail) {
    // A refused step leaves a port that would never report anything: the open fails with
    // the step's message, the system's code and its text.
    const auto refused = [&](const std::string& what) {
        const DWORD error = GetLastError();
        detail = formatMessage(formatMessage(what + " (%d), %s", static_cast<long long>(error)),
                               systemErrorText(error));
        return false;
    };
    if (!api_.setupComm(port_, s.rxQueue, s.txQueue)) return refused("Error writing buffer sizes");
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!api_.getCommState(port_, &dcb)) return refused("Error reading dcb");
    dcb.BaudRate = s.baudRate;
    dcb.ByteSize = s.dataBits;
    dcb.Parity = s.parity ? EVENPARITY : NOPARITY;
    dcb.StopBits = s.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = s.parityCheck;
    dcb.fOutxCtsFlow = s.rtsCtsFlow;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fRtsControl = s.rtsCtsFlow ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fDtrControl = s.dtrOn ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = s.dsrSensitivity;
    dcb.fNull = s.nullStrip;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!api_.setCommState(port_, &dcb)) return refused("Error writing dcb");
    // Reads return what is waiting at once; one byte's write waits at most the write wait.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = s.writeWaitMs;
    if (!api_.setCommTimeouts(port_, &timeouts)) return refused("Error writing timeouts");
    if (!api_.setCommMask(port_, kWatchedEvents)) return refused("Error writing event mask");
    if (!api_.purgeComm(port_, PURGE_RXCLEAR | PURGE_TXCLEAR)) return refused("Error purging buffers");
    return true;
}

void Win32SerialDevice::close() {
    if (port_ == INVALID_HANDLE_VALUE) return;
    stopping_ = true;
    SetEvent(stopEvent_);
    // Releases a WaitCommEvent in progress, also when the device has gone away. Every
    // other wait of the event thread includes the stop event.
    api_.setCommMask(port_, 0);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
    api_.closeHandle(port_);
    port_ = INVALID_HANDLE_VALUE;
    handOver_ = nullptr;
    pending_ = 0;
}

DWORD WINAPI Win32SerialDevice::watchThread(void* self) {
    static_cast<Win32SerialDevice*>(self)->watch();
    return 0;
}

void Win32SerialDevice::watch() {
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
                if (lost_) break;
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
                if (lost_) break;
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
                    if (lost_) break;
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
        PostMessageW(window_, kHandOverMessage, generation_, 0);
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

Win32SerialDevice::WaitEnd Win32SerialDevice::awaitEvents(OVERLAPPED& ov, DWORD& mask, bool& inFlight,
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
unsigned Win32SerialDevice::withTransmitEmpty(unsigned conditions, bool unreportedWrite) {
    if (conditions & cond::kTxEmpty || !unreportedWrite) return conditions;
    DWORD errors = 0;
    COMSTAT status{};
    if (api_.clearCommError(port_, &errors, &status) && status.cbOutQue == 0) conditions |= cond::kTxEmpty;
    return conditions;
}

// The conditions a wait would report, from the queues: bytes waiting, a line error, and
// a transmit queue that has emptied since the last write. Nothing is lost between two
// looks: bytes stay queued and a write stays unreported until its queue has emptied.
bool Win32SerialDevice::pollQueues(unsigned& conditions, bool unreportedWrite) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!api_.clearCommError(port_, &errors, &status)) return false;
    conditions = 0;
    if (status.cbInQue) conditions |= cond::kRxChar;
    if (errors) conditions |= cond::kError;
    if (status.cbOutQue == 0 && unreportedWrite) conditions |= cond::kTxEmpty;
    return true;
}

void Win32SerialDevice::deliver() {
    if (stopping_ || !handOver_) return;
    const unsigned conditions = pending_.exchange(0);
    if (conditions) handOver_(conditions);
}

LRESULT CALLBACK Win32SerialDevice::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kHandOverMessage) {
        auto* self = reinterpret_cast<Win32SerialDevice*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        // One left in the queue by the event thread of a port closed since is dropped.
        if (!self || wParam != self->generation_) return 0;
        // The hand-over runs its handlers under the application's default handler; nothing
        // may cross back into the system from here.
        try {
            self->deliver();
        } catch (...) {
        }
        SetEvent(self->takenEvent_);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Win32SerialDevice::writeByte(unsigned char byte, uint32_t waitMs) {
    if (port_ == INVALID_HANDLE_VALUE) return false;
    OVERLAPPED ov{};
    ov.hEvent = writeEvent_;
    ResetEvent(writeEvent_);
    DWORD written = 0;
    if (!api_.writeFile(port_, &byte, 1, &written, &ov)) {
        const DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) {
            noteFailure(error);
            return false;
        }
        if (WaitForSingleObject(writeEvent_, waitMs) != WAIT_OBJECT_0) {
            api_.cancelIo(port_);  // a timeout: the device may still be there, held by flow control
            api_.getOverlappedResult(port_, &ov, &written, TRUE);
            return false;
        }
        if (!api_.getOverlappedResult(port_, &ov, &written, FALSE)) {
            noteFailure(GetLastError());
            return false;
        }
    }
    if (written != 1) return false;
    ++writes_;
    SetEvent(wroteEvent_);
    lastActivity_ = GetTickCount();
    return true;
}

std::string Win32SerialDevice::readAll() {
    if (port_ == INVALID_HANDLE_VALUE) return "";
    DWORD errors = 0;
    COMSTAT status{};
    if (!api_.clearCommError(port_, &errors, &status)) {
        noteFailure(GetLastError());
        return "";
    }
    if (status.cbInQue == 0) return "";
    std::string data(status.cbInQue, '\0');
    OVERLAPPED ov{};
    ov.hEvent = readEvent_;
    ResetEvent(readEvent_);
    DWORD got = 0;
    if (!api_.readFile(port_, data.data(), static_cast<DWORD>(data.size()), &got, &ov)) {
        DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING && !api_.getOverlappedResult(port_, &ov, &got, TRUE)) error = GetLastError();
        if (error != ERROR_IO_PENDING) {
            noteFailure(error);
            got = 0;
        }
    }
    data.resize(got);
    return data;
}

void Win32SerialDevice::noteFailure(DWORD error) {
    if (meansGone(error)) {
        lost_ = true;
        return;
    }
    // Drivers fail in many ways once their device has gone, also with errors that say
    // nothing by themselves (a request cut short as on a surprise removal): a device whose
    // status cannot be read has gone. Not the modem status: Wine cannot read that from a
    // pseudo-terminal. A time-out says nothing.
    DWORD errors = 0;
    COMSTAT status{};
    if (!stopping_ && !isTimeout(error) && !api_.clearCommError(port_, &errors, &status)) lost_ = true;
}

void Win32SerialDevice::clearErrors() {
    if (port_ == INVALID_HANDLE_VALUE) return;
    DWORD errors = 0;
    if (!api_.clearCommError(port_, &errors, nullptr)) noteFailure(GetLastError());
}

}  // namespace lt::win32

#include "win32_serial_device.h"

#include "../failure.h"
#include "wide_text.h"

namespace lt::win32 {
namespace {

constexpr UINT kHandOverMessage = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"LinetrimPortHandOver";
constexpr DWORD kWatchedEvents = EV_ERR | EV_RXCHAR | EV_TXEMPTY;
constexpr DWORD kQuietPauseMs = 200;
constexpr DWORD kFailedPauseMs = 100;
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
// newer systems ERROR_DEVICE_REMOVED or ERROR_DEVICE_NOT_CONNECTED; Wine answers
// ERROR_NOT_READY once the far end of its pseudo-terminal has closed.
bool meansGone(DWORD error) {
    switch (error) {
        case ERROR_BAD_COMMAND:
        case ERROR_ACCESS_DENIED:
        case ERROR_GEN_FAILURE:
        case ERROR_NOT_READY:
        case ERROR_INVALID_HANDLE:
        case ERROR_DEVICE_REMOVED:
        case ERROR_DEVICE_NOT_CONNECTED: return true;
        default: return false;
    }
}

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
}

Win32SerialDevice::~Win32SerialDevice() {
    close();
    DestroyWindow(window_);
    CloseHandle(stopEvent_);
    CloseHandle(writeEvent_);
    CloseHandle(readEvent_);
    CloseHandle(takenEvent_);
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
    written_ = false;
    lastActivity_ = GetTickCount();
    stopping_ = false;
    lost_ = false;
    ++generation_;
    ResetEvent(stopEvent_);
    ResetEvent(takenEvent_);
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
    bool polling = false;
    while (!stopping_) {
        unsigned conditions = 0;
        bool done = true;
        if (polling) {
            done = pollQueues(conditions);
            if (done && !conditions) {
                WaitForSingleObject(stopEvent_, GetTickCount() - lastActivity_ < kBusySpellMs ? kBusyPollMs : kIdlePollMs);
                continue;
            }
        } else {
            DWORD mask = 0;
            ResetEvent(ov.hEvent);
            done = api_.waitCommEvent(port_, &mask, &ov);
            if (!done && GetLastError() == ERROR_IO_PENDING) {
                HANDLE events[2] = {ov.hEvent, stopEvent_};
                if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
                    api_.cancelIo(port_);
                    api_.getOverlappedResult(port_, &ov, &mask, TRUE);
                    break;
                }
                DWORD ignored = 0;
                done = api_.getOverlappedResult(port_, &ov, &ignored, FALSE);
            }
            // Ended by the system though nobody asked, on a device whose status still
            // reads: it cannot wait on this device (Wine on a pseudo-terminal ends every
            // wait so, after a helper thread of its own has polled the device). Watch the
            // queues instead from now on.
            DWORD errors = 0;
            if (!done && GetLastError() == ERROR_OPERATION_ABORTED && !stopping_ &&
                api_.clearCommError(port_, &errors, nullptr)) {
                polling = true;
                continue;
            }
            // Wine may also end a wait with an empty mask. Those carry nothing; a pause
            // before waiting again keeps the idle thread from eating CPU, and loses nothing:
            // waiting data and an emptied transmit queue are still reported by the next wait.
            conditions = conditionsOf(mask);
            if (done && !conditions) {
                WaitForSingleObject(stopEvent_, kQuietPauseMs);
                continue;
            }
        }
        if (!done) {
            noteFailure(GetLastError());
            // A device that has gone fails every wait at once: only the stop event is
            // left to wait for. Another failure may pass; wait a little instead of
            // spinning on it.
            if (lost_) break;
            WaitForSingleObject(stopEvent_, kFailedPauseMs);
            continue;
        }
        lastActivity_ = GetTickCount();
        pending_ |= conditions;
        PostMessageW(window_, kHandOverMessage, generation_, 0);
        HANDLE taken[2] = {takenEvent_, stopEvent_};
        if (WaitForMultipleObjects(2, taken, FALSE, INFINITE) != WAIT_OBJECT_0) break;
    }
    CloseHandle(ov.hEvent);
}

// The conditions a wait would report, from the queues: bytes waiting, a line error, and
// a transmit queue that has emptied since the last write. Nothing is lost between two
// looks: bytes stay queued and the write leaves its mark until it is reported.
bool Win32SerialDevice::pollQueues(unsigned& conditions) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!api_.clearCommError(port_, &errors, &status)) return false;
    conditions = 0;
    if (status.cbInQue) conditions |= cond::kRxChar;
    if (errors) conditions |= cond::kError;
    if (status.cbOutQue == 0 && written_.exchange(false)) conditions |= cond::kTxEmpty;
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
    written_ = true;
    lastActivity_ = GetTickCount();
    return true;
}

std::string Win32SerialDevice::readAll() {
    if (port_ == INVALID_HANDLE_VALUE) return "";
    DWORD errors = 0;
    COMSTAT status{};
    if (!api_.clearCommError(port_, &errors, &status) || status.cbInQue == 0) return "";
    std::string data(status.cbInQue, '\0');
    OVERLAPPED ov{};
    ov.hEvent = readEvent_;
    ResetEvent(readEvent_);
    DWORD got = 0;
    if (!api_.readFile(port_, data.data(), static_cast<DWORD>(data.size()), &got, &ov)) {
        if (GetLastError() != ERROR_IO_PENDING || !api_.getOverlappedResult(port_, &ov, &got, TRUE)) got = 0;
    }
    data.resize(got);
    return data;
}

void Win32SerialDevice::noteFailure(DWORD error) {
    if (meansGone(error)) {
        lost_ = true;
        return;
    }
    // A write or wait cut short by the driver (as on a surprise removal) says nothing
    // by itself: the device has gone when even its status cannot be read.
    DWORD errors = 0;
    if (error == ERROR_OPERATION_ABORTED && !stopping_ && !api_.clearCommError(port_, &errors, nullptr) &&
        meansGone(GetLastError()))
        lost_ = true;
}

void Win32SerialDevice::clearErrors() {
    if (port_ == INVALID_HANDLE_VALUE) return;
    DWORD errors = 0;
    api_.clearCommError(port_, &errors, nullptr);
}

}  // namespace lt::win32

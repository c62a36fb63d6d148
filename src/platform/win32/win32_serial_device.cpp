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

// "COM10" and above only open with the device namespace prefix.
std::wstring devicePath(const std::string& name) { return L"\\\\.\\" + widen(name); }

}  // namespace

Win32SerialDevice::Win32SerialDevice() {
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
}

Win32SerialDevice::~Win32SerialDevice() {
    close();
    DestroyWindow(window_);
    CloseHandle(stopEvent_);
    CloseHandle(writeEvent_);
    CloseHandle(readEvent_);
}

OpenResult Win32SerialDevice::open(const std::string& deviceName, const PortSettings& settings,
                                   HandOver handOver) {
    close();
    port_ = CreateFileW(devicePath(deviceName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_FLAG_OVERLAPPED, nullptr);
    if (port_ == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return {error == ERROR_FILE_NOT_FOUND ? OpenStatus::NoSuchDevice : OpenStatus::CannotOpen, ""};
    }
    std::string detail;
    if (!configure(settings, detail)) {
        CloseHandle(port_);
        port_ = INVALID_HANDLE_VALUE;
        return {OpenStatus::ConfigFailed, detail};
    }
    handOver_ = std::move(handOver);
    pending_ = 0;
    written_ = false;
    lastActivity_ = GetTickCount();
    stopping_ = false;
    ResetEvent(stopEvent_);
    thread_ = CreateThread(nullptr, 0, watchThread, this, 0, nullptr);
    return {OpenStatus::Opened, ""};
}

bool Win32SerialDevice::configure(const PortSettings& s, std::string& detail) {
    SetupComm(port_, s.rxQueue, s.txQueue);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(port_, &dcb);
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
    if (!SetCommState(port_, &dcb)) {
        const DWORD error = GetLastError();
        detail = formatMessage(formatMessage("Error writing dcb (%d), %s", static_cast<long long>(error)),
                               systemErrorText(error));
        return false;
    }
    // Reads return what is waiting at once; one byte's write waits at most the write wait.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = s.writeWaitMs;
    SetCommTimeouts(port_, &timeouts);
    SetCommMask(port_, kWatchedEvents);
    PurgeComm(port_, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return true;
}

void Win32SerialDevice::close() {
    if (port_ == INVALID_HANDLE_VALUE) return;
    stopping_ = true;
    SetEvent(stopEvent_);
    // Releases a WaitCommEvent in progress, also when the device has gone away.
    SetCommMask(port_, 0);
    // The event thread may be inside a SendMessage to this thread: handle sent messages
    // (ignored while stopping) until it has ended, so neither side waits for the other.
    while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(thread_);
    thread_ = nullptr;
    CloseHandle(port_);
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
        if (polling) {
            if (!pollQueues(conditions)) {
                WaitForSingleObject(stopEvent_, kFailedPauseMs);
                continue;
            }
            if (!conditions) {
                WaitForSingleObject(stopEvent_, GetTickCount() - lastActivity_ < kBusySpellMs ? kBusyPollMs : kIdlePollMs);
                continue;
            }
        } else {
            DWORD mask = 0;
            ResetEvent(ov.hEvent);
            bool done = WaitCommEvent(port_, &mask, &ov);
            if (!done && GetLastError() == ERROR_IO_PENDING) {
                HANDLE events[2] = {ov.hEvent, stopEvent_};
                if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
                    CancelIo(port_);
                    GetOverlappedResult(port_, &ov, &mask, TRUE);
                    break;
                }
                DWORD ignored = 0;
                done = GetOverlappedResult(port_, &ov, &ignored, FALSE);
            }
            if (!done) {
                // Ended by the system though nobody asked: it cannot wait on this device
                // (Wine on a pseudo-terminal ends every wait so, after a helper thread of its
                // own has polled the device). Watch the queues instead from now on.
                if (GetLastError() == ERROR_OPERATION_ABORTED && !stopping_) {
                    polling = true;
                    continue;
                }
                // The device has failed or gone: wait a little instead of spinning on it.
                WaitForSingleObject(stopEvent_, kFailedPauseMs);
                continue;
            }
            // Wine may also end a wait with an empty mask. Those carry nothing; a pause
            // before waiting again keeps the idle thread from eating CPU, and loses nothing:
            // waiting data and an emptied transmit queue are still reported by the next wait.
            conditions = conditionsOf(mask);
            if (!conditions) {
                WaitForSingleObject(stopEvent_, kQuietPauseMs);
                continue;
            }
        }
        lastActivity_ = GetTickCount();
        pending_ |= conditions;
        SendMessageW(window_, kHandOverMessage, 0, 0);
    }
    CloseHandle(ov.hEvent);
}

// The conditions a wait would report, from the queues: bytes waiting, a line error, and
// a transmit queue that has emptied since the last write. Nothing is lost between two
// looks: bytes stay queued and the write leaves its mark until it is reported.
bool Win32SerialDevice::pollQueues(unsigned& conditions) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(port_, &errors, &status)) return false;
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
        // The hand-over runs its handlers under the application's default handler; nothing
        // may cross back into the system from here.
        try {
            if (self) self->deliver();
        } catch (...) {
        }
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
    if (!WriteFile(port_, &byte, 1, &written, &ov)) {
        if (GetLastError() != ERROR_IO_PENDING) return false;
        if (WaitForSingleObject(writeEvent_, waitMs) != WAIT_OBJECT_0) {
            CancelIo(port_);
            GetOverlappedResult(port_, &ov, &written, TRUE);
            return false;
        }
        if (!GetOverlappedResult(port_, &ov, &written, FALSE)) return false;
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
    if (!ClearCommError(port_, &errors, &status) || status.cbInQue == 0) return "";
    std::string data(status.cbInQue, '\0');
    OVERLAPPED ov{};
    ov.hEvent = readEvent_;
    ResetEvent(readEvent_);
    DWORD got = 0;
    if (!ReadFile(port_, data.data(), static_cast<DWORD>(data.size()), &got, &ov)) {
        if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(port_, &ov, &got, TRUE)) got = 0;
    }
    data.resize(got);
    return data;
}

void Win32SerialDevice::clearErrors() {
    if (port_ == INVALID_HANDLE_VALUE) return;
    DWORD errors = 0;
    ClearCommError(port_, &errors, nullptr);
}

}  // namespace lt::win32

#include "win32_serial_device.h"

#include "base/failure.h"
#include "wide_text.h"

namespace lt::win32 {
namespace {

constexpr DWORD kWatchedEvents = EV_ERR | EV_RXCHAR | EV_TXEMPTY;

// "COM10" and above only open with the device namespace prefix.
std::wstring devicePath(const std::string& name) { return L"\\\\.\\" + widen(name); }

}  // namespace

Win32SerialDevice::Win32SerialDevice(const CommApi& api)
    : api_(api), loss_(api), watcher_(api, loss_), window_([this] { deliver(); }) {
    writeEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    readEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

Win32SerialDevice::~Win32SerialDevice() {
    close();
    CloseHandle(writeEvent_);
    CloseHandle(readEvent_);
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
    loss_.reset();
    window_.nextGeneration();
    watcher_.start(port_, [this] { window_.post(); });
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
    watcher_.stop();
    api_.closeHandle(port_);
    port_ = INVALID_HANDLE_VALUE;
    handOver_ = nullptr;
}

void Win32SerialDevice::deliver() {
    // The event thread goes on once the set is taken and handled, also when handling failed.
    struct Release {
        PortWatcher& watcher;
        ~Release() { watcher.taken(); }
    } release{watcher_};
    const unsigned conditions = watcher_.take();
    if (conditions && handOver_) handOver_(conditions);
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
            loss_.note(port_, error);
            return false;
        }
        if (WaitForSingleObject(writeEvent_, waitMs) != WAIT_OBJECT_0) {
            api_.cancelIo(port_);  // a timeout: the device may still be there, held by flow control
            api_.getOverlappedResult(port_, &ov, &written, TRUE);
            return false;
        }
        if (!api_.getOverlappedResult(port_, &ov, &written, FALSE)) {
            loss_.note(port_, GetLastError());
            return false;
        }
    }
    if (written != 1) return false;
    watcher_.wrote();
    return true;
}

std::string Win32SerialDevice::readAll() {
    if (port_ == INVALID_HANDLE_VALUE) return "";
    DWORD errors = 0;
    COMSTAT status{};
    if (!api_.clearCommError(port_, &errors, &status)) {
        loss_.note(port_, GetLastError());
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
            loss_.note(port_, error);
            got = 0;
        }
    }
    data.resize(got);
    return data;
}

void Win32SerialDevice::clearErrors() {
    if (port_ == INVALID_HANDLE_VALUE) return;
    DWORD errors = 0;
    if (!api_.clearCommError(port_, &errors, nullptr)) loss_.note(port_, GetLastError());
}

}  // namespace lt::win32

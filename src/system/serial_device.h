// One serial device as the operating system offers it. The portable CommPort
// (comm_port.h) holds the component's rules; a backend only moves bytes and reports
// conditions. Backends: a Win32 COM port with an event thread (win32/) and a fake port
// wired to the simulated modem (headless/).
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace lt {

// Conditions a device reports; a hand-over carries any combination of them.
namespace cond {
constexpr unsigned kRxChar = 1;
constexpr unsigned kError = 2;
constexpr unsigned kTxEmpty = 4;
}  // namespace cond

// The line settings of the port, fixed by the main window.
struct PortSettings {
    uint32_t baudRate = 115200;
    uint8_t dataBits = 8;
    bool parity = false;
    uint8_t stopBits = 1;
    bool rtsCtsFlow = true;      // output waits while CTS is off; RTS follows the receive buffer
    bool dtrOn = true;
    bool nullStrip = true;       // received NUL bytes are dropped
    bool parityCheck = true;
    bool dsrSensitivity = true;  // received bytes are ignored while DSR is off
    uint32_t rxQueue = 4096;
    uint32_t txQueue = 2048;
    uint32_t readWaitMs = 1000;
    uint32_t writeWaitMs = 1000;
};

enum class OpenStatus { Opened, NoSuchDevice, CannotOpen, ConfigFailed };

struct OpenResult {
    OpenStatus status = OpenStatus::Opened;
    std::string detail;  // for ConfigFailed: the message with the system's code and text
};

class SerialDevice {
public:
    // Called on the user-interface thread, only while it processes messages, with the
    // conditions raised since the last hand-over; the device does not report again
    // until the call has returned.
    using HandOver = std::function<void(unsigned conditions)>;

    virtual ~SerialDevice() = default;
    virtual OpenResult open(const std::string& deviceName, const PortSettings& settings,
                            HandOver handOver) = 0;
    virtual void close() = 0;
    // Waits at most waitMs for the device to take the byte; false when it did not.
    virtual bool writeByte(unsigned char byte, uint32_t waitMs) = 0;
    // Every byte waiting in the receive queue at this moment.
    virtual std::string readAll() = 0;
    virtual void clearErrors() = 0;
    // True when the device behind the open handle has gone away (a USB adapter pulled):
    // the handle will never work again and must be closed before the device can be
    // opened anew. A backend that cannot tell keeps the default.
    virtual bool lost() const { return false; }
};

}  // namespace lt

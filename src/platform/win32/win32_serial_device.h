// A COM port through the Win32 communications API, opened overlapped. Its event thread
// (port_watcher.h) watches the port and hands the conditions it gathers to the
// user-interface thread through a hidden message window (hand_over_window.h), where the
// port's handler takes them whole. Every call on the device goes through a CommApi table,
// so that a test can put a model of the driver behind it.
//
// A device that has gone away (a USB adapter pulled, the far end of a pseudo-terminal
// closed under Wine) fails every write and wait from then on; it is marked lost
// (device_loss.h) and the event thread stops waiting on it.
#pragma once
#include <windows.h>

#include "comm_api.h"
#include "device_loss.h"
#include "hand_over_window.h"
#include "port_watcher.h"
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
    bool lost() const override { return loss_.lost(); }

private:
    bool configure(const PortSettings& settings, std::string& detail);
    // On the user-interface thread, for each hand-over the event thread posted.
    void deliver();

    const CommApi& api_;
    DeviceLoss loss_;
    PortWatcher watcher_;
    HandOverWindow window_;
    HANDLE port_ = INVALID_HANDLE_VALUE;
    HANDLE writeEvent_ = nullptr;
    HANDLE readEvent_ = nullptr;
    HandOver handOver_;
};

}  // namespace lt::win32

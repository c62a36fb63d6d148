// The serial port component: port number, open with the fixed settings, byte writes
// with the write wait, and the hand-over of reported conditions to the handlers.
// All members are used on the user-interface thread only.
#pragma once
#include <functional>
#include <string>

#include "base/event_guard.h"
#include "system/serial_device.h"

namespace lt {

class CommPort {
public:
    CommPort(SerialDevice& device, EventGuard& guard) : device_(device), guard_(guard) {}
    ~CommPort();

    PortSettings settings;
    std::string deviceName = "COM%d";

    int portNum() const { return portNum_; }
    // Refused while the port is open with another number.
    void setPortNum(int number);
    // A port whose device has gone away no longer counts as open.
    bool isOpen() const { return open_ && !device_.lost(); }
    // Closes a port whose device has gone away first, so it opens afresh. Raises "Invalid port number (COM%d)", "Can't open device COM%d" or the device's
    // configuration message.
    void open();
    void close();
    // A failed write on a device that has gone away closes the port, so the next
    // request opens it again once the device is back.
    bool writeByte(unsigned char byte);

    // The modem component sees received bytes before OnRxBuf does.
    std::function<void(const std::string&)> rxTap;
    std::function<void(const std::string&)> onRxBuf;
    std::function<void()> onTxEmpty;

private:
    void handOver(unsigned conditions);

    SerialDevice& device_;
    EventGuard& guard_;
    int portNum_ = 1;
    bool open_ = false;
};

}  // namespace lt

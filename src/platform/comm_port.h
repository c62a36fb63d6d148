// The serial port component: port number, open with the fixed settings, byte writes
// with the write wait, and the hand-over of reported conditions to the handlers.
// All members are used on the user-interface thread only.
#pragma once
#include <functional>
#include <string>

#include "event_guard.h"
#include "serial_device.h"

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
    bool isOpen() const { return open_; }
    // Raises "Invalid port number (COM%d)", "Can't open device COM%d" or the device's
    // configuration message.
    void open();
    void close();
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

// A serial device on the virtual clock whose line leads to a far end that the tests plug
// in (the simulated modem); with nothing plugged in, what is sent goes nowhere. It behaves as the
// driver does for the settings it is opened with (NUL bytes dropped, nothing received
// while DSR is off with DSR sensitivity) and can be switched into the faults a real
// line shows. Conditions are handed over only from poll(), which the headless message
// processing calls: never while a handler runs.
#pragma once
#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "far_end.h"
#include "system/serial_device.h"
#include "virtual_clock.h"

namespace lt::headless {

class FakeSerialDevice : public SerialDevice {
public:
    explicit FakeSerialDevice(VirtualClock& clock) : clock_(clock) {}

    // Connects the line to a far end that outlives the device, or to nothing.
    void plug(FarEnd* farEnd) { farEnd_ = farEnd; }

    OpenResult open(const std::string& deviceName, const PortSettings& settings, HandOver handOver) override;
    void close() override;
    bool writeByte(unsigned char byte, uint32_t waitMs) override;
    std::string readAll() override;
    void clearErrors() override { lineError_ = false; }
    // Pulled while open: that handle stays dead, even once the device is back.
    bool lost() const override { return open_ && (unplugged || dead_); }

    // Hands the pending conditions over, if any; true when it did.
    bool poll();

    // Faults and line states.
    std::set<std::string> presentDevices{"COM1"};  // others do not exist
    std::set<std::string> heldDevices;             // held by another program
    std::string configFailure;                     // non-empty: the configuration step fails with it
    bool ctsOn = true;                             // off: no byte is taken, each write waits its limit
    bool dsrOn = true;
    bool unplugged = false;                        // the device has gone: writes fail at once
    // Runs before each byte is offered, to change the line in the middle of a script.
    std::function<void()> beforeWrite;
    // Bytes that arrive without being asked for (noise, unsolicited results).
    void inject(const std::string& bytes);
    void raiseLineError();
    // A line error reported and not yet cleared.
    bool lineErrorStanding() const { return lineError_; }
    // The transmit buffer reported empty without anything sent.
    void raiseTxEmpty() { pending_ |= cond::kTxEmpty; }

    bool isOpen() const { return open_; }
    int opens() const { return opens_; }
    size_t queued() const { return rxQueue_.size(); }

private:
    void collectFromFarEnd();
    // Notices a device pulled while its handle was open.
    bool pulled();

    VirtualClock& clock_;
    FarEnd* farEnd_ = nullptr;
    PortSettings settings_;
    HandOver handOver_;
    bool open_ = false;
    bool dead_ = false;
    int opens_ = 0;
    unsigned pending_ = 0;
    bool lineError_ = false;
    std::string rxQueue_;
    bool inHandOver_ = false;
};

}  // namespace lt::headless

#include "fake_serial_device.h"

namespace lt::headless {

OpenResult FakeSerialDevice::open(const std::string& deviceName, const PortSettings& settings,
                                  HandOver handOver) {
    if (!presentDevices.count(deviceName) || unplugged) return {OpenStatus::NoSuchDevice, ""};
    if (heldDevices.count(deviceName)) return {OpenStatus::CannotOpen, ""};
    if (!configFailure.empty()) return {OpenStatus::ConfigFailed, configFailure};
    settings_ = settings;
    handOver_ = std::move(handOver);
    open_ = true;
    dead_ = false;
    ++opens_;
    pending_ = 0;
    rxQueue_.clear();
    return {OpenStatus::Opened, ""};
}

void FakeSerialDevice::close() {
    open_ = false;
    dead_ = false;
    handOver_ = nullptr;
    pending_ = 0;
}

bool FakeSerialDevice::pulled() {
    if (open_ && unplugged) dead_ = true;
    return dead_;
}

bool FakeSerialDevice::writeByte(unsigned char byte, uint32_t waitMs) {
    if (beforeWrite) beforeWrite();
    if (!open_ || pulled()) return false;
    if (!ctsOn) {
        clock_.advance(waitMs);  // the driver waits out its write limit
        return false;
    }
    collectFromFarEnd();
    if (farEnd_) farEnd_->receive(byte, clock_.tickMs());
    pending_ |= cond::kTxEmpty;
    return true;
}

void FakeSerialDevice::collectFromFarEnd() {
    if (!farEnd_ || !farEnd_->hasOutput(clock_.tickMs())) return;
    const std::string out = farEnd_->takeOutput(clock_.tickMs());
    if (open_ && !pulled()) inject(out);
}

void FakeSerialDevice::inject(const std::string& bytes) {
    if (settings_.dsrSensitivity && !dsrOn) return;
    for (char c : bytes) {
        if (settings_.nullStrip && c == '\0') continue;
        if (rxQueue_.size() >= settings_.rxQueue) {
            lineError_ = true;  // receive queue overrun
            pending_ |= cond::kError;
            continue;
        }
        rxQueue_ += c;
    }
    if (!rxQueue_.empty()) pending_ |= cond::kRxChar;
}

void FakeSerialDevice::raiseLineError() {
    lineError_ = true;
    pending_ |= cond::kError;
}

std::string FakeSerialDevice::readAll() {
    collectFromFarEnd();
    std::string data;
    data.swap(rxQueue_);
    return data;
}

bool FakeSerialDevice::poll() {
    if (!open_ || inHandOver_ || pulled()) return false;
    collectFromFarEnd();
    const unsigned conditions = pending_;
    if (!conditions || !handOver_) return false;
    pending_ = 0;
    inHandOver_ = true;
    handOver_(conditions);
    inHandOver_ = false;
    return true;
}

}  // namespace lt::headless

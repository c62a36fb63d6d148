#include "comm_port.h"

#include "base/failure.h"

namespace lt {

CommPort::~CommPort() { close(); }

void CommPort::setPortNum(int number) {
    if (isOpen() && number != portNum_) throw Failure("Can't perform this operation while port is open");
    portNum_ = number;
}

void CommPort::open() {
    if (open_ && device_.lost()) close();
    if (open_) return;
    const std::string name = formatMessage(deviceName, portNum_);
    const OpenResult result =
        device_.open(name, settings, [this](unsigned conditions) { handOver(conditions); });
    switch (result.status) {
        case OpenStatus::Opened: open_ = true; return;
        case OpenStatus::NoSuchDevice:
            throw Failure(formatMessage("Invalid port number (COM%d)", portNum_));
        case OpenStatus::CannotOpen:
            throw Failure(formatMessage("Can't open device COM%d", portNum_));
        case OpenStatus::ConfigFailed: throw Failure(result.detail);
    }
}

void CommPort::close() {
    if (!open_) return;
    open_ = false;
    device_.close();
}

bool CommPort::writeByte(unsigned char byte) {
    if (!open_) return false;
    if (device_.writeByte(byte, settings.writeWaitMs)) return true;
    if (device_.lost()) close();
    return false;
}

void CommPort::handOver(unsigned conditions) {
    // Received data first, then line errors, then transmit-empty: the dispatch on
    // transmit-empty must see everything that arrived in the same hand-over.
    guard_.run([&] {
        if (conditions & cond::kRxChar) {
            const std::string data = device_.readAll();
            if (!data.empty()) {
                if (rxTap) rxTap(data);
                if (onRxBuf) onRxBuf(data);
            }
        }
        if (conditions & cond::kError) device_.clearErrors();
        if ((conditions & cond::kTxEmpty) && onTxEmpty) onTxEmpty();
    });
}

}  // namespace lt

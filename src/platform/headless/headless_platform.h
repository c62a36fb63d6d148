// The headless backends assembled around one simulated modem.
#pragma once
#include <memory>

#include "../platform.h"
#include "fake_serial_device.h"
#include "headless_desktop.h"
#include "memory_registry.h"
#include "virtual_clock.h"

namespace sim {
class Modem;
}

namespace lt::headless {

class HeadlessPlatform {
public:
    HeadlessPlatform();
    ~HeadlessPlatform();

    sim::Modem& modem() { return *modem_; }
    Platform platform() { return {registry, serial, clock, desktop, shell, systemInfo}; }

    MemoryRegistry registry;
    VirtualClock clock;
    HeadlessDesktop desktop;
    RecordingShell shell;
    FixedSystemInfo systemInfo;

private:
    std::unique_ptr<sim::Modem> modem_;

public:
    FakeSerialDevice serial;
};

}  // namespace lt::headless

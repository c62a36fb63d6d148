// The headless backends assembled around one simulated modem.
#pragma once
#include <memory>

#include "fake_serial_device.h"
#include "headless_desktop.h"
#include "memory_registry.h"
#include "sim/editions.h"
#include "system/platform.h"
#include "virtual_clock.h"

namespace sim {
class Modem;
}

namespace lt::headless {

class HeadlessPlatform {
public:
    HeadlessPlatform();
    // The simulated modem plays the given firmware edition.
    explicit HeadlessPlatform(sim::Edition edition);
    ~HeadlessPlatform();

    sim::Modem& modem() { return *modem_; }
    Platform platform() { return {registry, serial, clock, desktop, shell, systemInfo}; }

    MemoryRegistry registry;
    VirtualClock clock;
    HeadlessDesktop desktop;
    RecordingShell shell;
    FixedSystemInfo systemInfo;

private:
    explicit HeadlessPlatform(std::unique_ptr<sim::Modem> modem);
    std::unique_ptr<sim::Modem> modem_;

public:
    FakeSerialDevice serial;
};

}  // namespace lt::headless

// The headless backends assembled: the port's line leads nowhere until a far end is
// plugged into `serial`.
#pragma once
#include "fake_serial_device.h"
#include "headless_desktop.h"
#include "memory_registry.h"
#include "system/platform.h"
#include "virtual_clock.h"

namespace lt::headless {

class HeadlessPlatform {
public:
    HeadlessPlatform();
    HeadlessPlatform(const HeadlessPlatform&) = delete;
    HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

    Platform platform() { return {registry, serial, clock, desktop, shell, systemInfo}; }

    MemoryRegistry registry;
    VirtualClock clock;
    HeadlessDesktop desktop;
    RecordingShell shell;
    FixedSystemInfo systemInfo;
    FakeSerialDevice serial{clock};
};

}  // namespace lt::headless

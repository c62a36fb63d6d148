// Everything the portable program takes from the system, handed over at start.
#pragma once
#include "clock.h"
#include "desktop.h"
#include "registry.h"
#include "serial_device.h"

namespace lt {

struct Platform {
    Registry& registry;
    SerialDevice& serial;
    Clock& clock;
    Desktop& desktop;
    Shell& shell;
    SystemInfo& systemInfo;
};

}  // namespace lt

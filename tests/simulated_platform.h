// The headless platform with the simulated modem at the far end of its port's line: what
// the tests, the fuzz targets and the demo run the program against.
#pragma once
#include <cstdint>
#include <string>

#include "platform/headless/far_end.h"
#include "platform/headless/headless_platform.h"
#include "sim/modem.h"

namespace lt::testing {

// The simulated modem as the far end of the line; the modem may be replaced by assignment.
class ModemAtFarEnd : public headless::FarEnd {
public:
    explicit ModemAtFarEnd(sim::Modem& modem) : modem_(modem) {}
    void receive(unsigned char byte, uint32_t tickMs) override { modem_.receive(byte, tickMs); }
    bool hasOutput(uint32_t tickMs) override { return modem_.hasOutput(tickMs); }
    std::string takeOutput(uint32_t tickMs) override { return modem_.takeOutput(tickMs); }

private:
    sim::Modem& modem_;
};

class SimulatedPlatform : public headless::HeadlessPlatform {
public:
    // The simulated modem plays the given firmware edition.
    explicit SimulatedPlatform(sim::Edition edition = sim::Edition::B65a) : modem_(edition) { serial.plug(&farEnd_); }

    sim::Modem& modem() { return modem_; }

private:
    sim::Modem modem_;
    ModemAtFarEnd farEnd_{modem_};
};

}  // namespace lt::testing

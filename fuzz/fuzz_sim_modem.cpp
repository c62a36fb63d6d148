// The simulated modem's command interpreter fed arbitrary bytes over virtual time.
#include <cstdint>

#include "sim/modem.h"
#include "slowest.h"

static void fuzzOne(const uint8_t* data, size_t size) {
    sim::Modem modem(static_cast<sim::Edition>(size ? data[0] % 10 : 0));
    modem.setMalformedValues(size && (data[0] & 0x80));  // the malformed printing meets the same bytes
    uint32_t now = 0;
    for (size_t i = 1; i < size; ++i) {
        modem.receive(data[i], now);
        now += 51;
        if (i % 16 == 0) modem.takeOutput(now);
    }
    modem.takeOutput(now + 100000);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lt::fuzz::timed([&] { fuzzOne(data, size); });
    return 0;
}

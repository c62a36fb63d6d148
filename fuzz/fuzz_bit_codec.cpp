// The bit codecs: any text either converts or fails with the conversion message, and
// every value the codecs promise to round-trip comes back unchanged.
#include <cstring>
#include <string>

#include "base/failure.h"
#include "link/bit_codec.h"
#include "slowest.h"

static void fuzzOne(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        lt::BitsToByte(text);
    } catch (const lt::Failure&) {
    }
    int32_t value = 0;
    std::memcpy(&value, data, size < sizeof value ? size : sizeof value);
    const std::string bits = lt::ByteToBits(value);
    if (value >= 0 && value <= 1279 && lt::BitsToByte(bits) != value) __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lt::fuzz::timed([&] { fuzzOne(data, size); });
    return 0;
}

// ExtractRegisterValue with an arbitrary query and offset: never outside the snapshot.
#include <cstring>
#include <string>

#include "link/register_value.h"
#include "slowest.h"

static void fuzzOne(const uint8_t* data, size_t size) {
    if (size < 2) return;
    const int offset = static_cast<int8_t>(data[0]);
    const size_t queryLength = data[1] % 12;
    if (size < 2 + queryLength) return;
    const std::string query(reinterpret_cast<const char*>(data + 2), queryLength);
    const std::string snapshot(reinterpret_cast<const char*>(data + 2 + queryLength), size - 2 - queryLength);
    const std::string value = lt::ExtractRegisterValue(snapshot, query, offset);
    if (value.size() > 3 || (!value.empty() && snapshot.find(value) == std::string::npos)) __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lt::fuzz::timed([&] { fuzzOne(data, size); });
    return 0;
}

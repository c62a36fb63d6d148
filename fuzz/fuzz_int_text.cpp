// StrToInt either fails with its message or has accepted only blanks, signs and digits.
#include <string>

#include "base/failure.h"
#include "base/int_text.h"
#include "slowest.h"

static void fuzzOne(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const int32_t value = lt::StrToInt(text);
        if (text.find_first_not_of(" +-0123456789") != std::string::npos) __builtin_trap();
        (void)value;
    } catch (const lt::Failure&) {
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lt::fuzz::timed([&] { fuzzOne(data, size); });
    return 0;
}

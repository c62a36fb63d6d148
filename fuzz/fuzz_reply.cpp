// One target per request code (FUZZ_REQUEST is set by the build).
#include "reply_harness.h"
#include "slowest.h"

static lt::fuzz::ReplyHarness& harness() {
    static lt::fuzz::ReplyHarness instance;
    return instance;
}

static void fuzzOne(const uint8_t* data, size_t size) {
    harness().run(static_cast<lt::TRequestKind>(FUZZ_REQUEST), data, size);
}

// Built once, before the first input, so only the dispatch is timed.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    harness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lt::fuzz::timed([&] { fuzzOne(data, size); });
    return 0;
}

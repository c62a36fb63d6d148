// One target per request code (FUZZ_REQUEST is set by the build).
#include "reply_harness.h"
#include "slowest.h"

// Built once, outside the timer: only the dispatch is measured.
static lt::fuzz::ReplyHarness harness;

static void fuzzOne(const uint8_t* data, size_t size) {
    harness.run(static_cast<lt::TRequestKind>(FUZZ_REQUEST), data, size);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lt::fuzz::timed([&] { fuzzOne(data, size); });
    return 0;
}

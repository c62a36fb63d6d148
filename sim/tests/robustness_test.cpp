// Arbitrary input must neither crash the model nor grow it without bound.
#include <gtest/gtest.h>

#include <random>

#include "modem_session.h"
#include "output_queue.h"

using simtest::converse;

namespace {

TEST(Robustness, RandomBytesKeepBuffersBoundedAndModemResponsive) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        // Bias towards bytes that drive the parser: AT, S, digits, ?, =, CR.
        const std::string alphabet = "ATatSs0123456789?=&WZEIQV+MS,;\r\n\b ";
        sim::Modem m(sim::kAllEditions[seed % sim::kAllEditions.size()]);
        m.setLogLimit(1000);
        for (int i = 0; i < 200000; ++i) {
            const unsigned r = rng();
            const auto byte = static_cast<unsigned char>(
                (r & 0x100) ? alphabet[r % alphabet.size()] : (r & 0xff));
            m.receive(byte, static_cast<std::uint32_t>(i));
            ASSERT_LE(m.pendingOutputBytes(), sim::OutputQueue::kCapacity);
        }
        EXPECT_EQ(m.log().size(), 1000u);
        m.takeOutput(1u << 30);
        converse(m, "\rATE0\r", 1u << 30);
        EXPECT_EQ(converse(m, "AT&FE0S10?\r", 1u << 30), "\r\n014\r\n\r\nOK\r\n");
    }
}

TEST(Robustness, UntakenOutputIsCappedAndOldestKept) {
    sim::Modem m;
    for (int i = 0; i < 10000; ++i)
        for (char c : std::string("ATI3\r")) m.receive(static_cast<unsigned char>(c), 0);
    EXPECT_EQ(m.pendingOutputBytes(), sim::OutputQueue::kCapacity);
    const std::string out = m.takeOutput(0);
    EXPECT_EQ(out.size(), sim::OutputQueue::kCapacity);
    EXPECT_EQ(out.substr(0, 5), "ATI3\r");
    EXPECT_EQ(converse(m, "AT\r"), "AT\r\r\nOK\r\n") << "room again once drained";
}

TEST(OutputQueue, DueTimesSurviveClockWrap) {
    sim::OutputQueue q;
    const std::uint32_t nearEnd = 0xFFFFFFF0u;
    q.push("a", nearEnd);
    q.push("b", nearEnd + 0x20);  // wraps to 0x10
    EXPECT_FALSE(q.hasDue(nearEnd - 1));
    EXPECT_EQ(q.takeDue(nearEnd), "a");
    EXPECT_FALSE(q.hasDue(0x0F));
    EXPECT_EQ(q.takeDue(0x10), "b");
}

}  // namespace

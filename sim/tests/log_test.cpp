// The record of what the computer sent, used to check the tuner's pacing.
#include <gtest/gtest.h>

#include "modem_session.h"

namespace {

TEST(Log, RecordsEveryByteWithItsTime) {
    sim::Modem m;
    m.receive('A', 3);
    m.receive('T', 7);
    m.receive('\n', 7);
    m.receive('\r', 20);
    const auto& log = m.log();
    ASSERT_EQ(log.size(), 4u);
    const std::pair<std::uint32_t, unsigned char> want[] = {{3, 'A'}, {7, 'T'}, {7, '\n'}, {20, '\r'}};
    for (std::size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].timeMs, want[i].first) << i;
        EXPECT_EQ(log[i].byte, want[i].second) << i;
    }
    EXPECT_EQ(m.receivedText(), "AT\n\r");
}

TEST(Log, CommandLinesSplitAtCrKeepingOtherBytes) {
    sim::Modem m;
    simtest::converse(m, "ATE1\rATS203?\r\nAT&W\r\rATZ");
    const std::vector<std::string> want = {"ATE1", "ATS203?", "\nAT&W", ""};
    EXPECT_EQ(m.commandLines(), want) << "the unterminated ATZ is not a line";
}

TEST(Log, BackspaceAndIgnoredLinesAreStillRecorded) {
    sim::Modem m;
    simtest::converse(m, "junk\rATX\b\r");
    EXPECT_EQ(m.receivedText(), "junk\rATX\b\r");
}

TEST(Log, ClearLogForgetsReceivedBytesOnly) {
    auto m = simtest::quietModem();
    simtest::converse(m, "ATS216=9\r");
    m.clearLog();
    EXPECT_TRUE(m.log().empty());
    EXPECT_TRUE(m.commandLines().empty());
    EXPECT_EQ(m.reg(216), 9);
    simtest::converse(m, "AT\r");
    EXPECT_EQ(m.commandLines(), std::vector<std::string>{"AT"});
}

TEST(Log, LimitKeepsTheFirstBytesAndCountsTheRest) {
    sim::Modem m;
    m.setLogLimit(4);
    simtest::converse(m, "ATS10?\r");
    EXPECT_EQ(m.receivedText(), "ATS1");
    EXPECT_EQ(m.droppedLogEntries(), 3u);
}

}  // namespace

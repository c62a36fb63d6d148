// How bytes become command lines: echo, CR/LF/backspace, non-AT lines.
#include <gtest/gtest.h>

#include "modem_session.h"

using simtest::converse;
using simtest::kError;
using simtest::kOk;

namespace {

TEST(Echo, OnByDefaultEchoesEveryByteBeforeTheReply) {
    sim::Modem m;
    EXPECT_EQ(converse(m, "ATS203?\r"), "ATS203?\r\r\n025\r\n\r\nOK\r\n");
}

TEST(Echo, EchoedImmediatelyPerByteNotPerLine) {
    sim::Modem m;
    EXPECT_EQ(converse(m, "AT", 5), "AT");
    EXPECT_EQ(converse(m, "\r", 6), "\r" + std::string(kOk));
}

TEST(Echo, E0StopsEchoAfterItsOwnCr) {
    sim::Modem m;
    EXPECT_EQ(converse(m, "ATE0\r"), "ATE0\r" + std::string(kOk));
    EXPECT_FALSE(m.echo());
    EXPECT_EQ(converse(m, "AT\r"), kOk);
}

TEST(Echo, E1StartsEchoWithTheNextByte) {
    auto m = simtest::quietModem();
    EXPECT_EQ(converse(m, "ATE1\r"), kOk);  // its CR arrived while echo was off
    EXPECT_EQ(converse(m, "AT\r"), "AT\r" + std::string(kOk));
}

TEST(Echo, NonCommandBytesAreEchoedToo) {
    sim::Modem m;
    EXPECT_EQ(converse(m, "hello\r\n"), "hello\r\n");
}

TEST(LineInput, LfIgnoredSoCrLfTerminatedLinesWork) {
    auto m = simtest::quietModem();
    EXPECT_EQ(converse(m, "ATS10?\r\nATS12?\r\n"), "\r\n014\r\n\r\nOK\r\n\r\n050\r\n\r\nOK\r\n");
}

TEST(LineInput, BackspaceRemovesLastCharacter) {
    auto m = simtest::quietModem();
    EXPECT_EQ(converse(m, "ATS10X\b?\r"), "\r\n014\r\n\r\nOK\r\n");
    EXPECT_EQ(converse(m, "\b\b\bAT\r"), kOk) << "backspace on an empty line is harmless";
}

TEST(LineInput, LinesNotStartingWithAtGetNoAnswer) {
    for (const char* line : {"", "A", "T", "XAT", " AT", "hello", "+MS?", "S203?"}) {
        auto m = simtest::quietModem();
        EXPECT_EQ(converse(m, std::string(line) + "\r"), "") << '"' << line << '"';
        EXPECT_EQ(converse(m, "AT\r"), kOk) << "still alive after \"" << line << '"';
    }
}

TEST(LineInput, AtPrefixInAnyLetterCase) {
    for (const char* prefix : {"AT", "at", "At", "aT"}) {
        auto m = simtest::quietModem();
        EXPECT_EQ(converse(m, std::string(prefix) + "S10?\r"), "\r\n014\r\n\r\nOK\r\n") << prefix;
    }
}

TEST(LineInput, OverlongLineAnswersErrorAndTheNextLineWorks) {
    auto m = simtest::quietModem();
    // Cut to its first 256 characters this would be a harmless "AT".
    const std::string tooLong = "AT" + std::string(300, ' ') + "S10?";
    EXPECT_EQ(converse(m, tooLong + "\r"), kError);
    EXPECT_EQ(converse(m, "ATS10?\r"), "\r\n014\r\n\r\nOK\r\n");
}

TEST(LineInput, LineOfExactlyBufferSizeIsStillExecuted) {
    auto m = simtest::quietModem();
    // 256 characters: "AT" then blanks (ignored) then a query.
    std::string line = "AT" + std::string(256 - 2 - 6, ' ') + "S10?E0";
    ASSERT_EQ(line.size(), sim::LineAssembler::kCapacity);
    EXPECT_EQ(converse(m, line + "\r"), "\r\n014\r\n\r\nOK\r\n");
}

}  // namespace

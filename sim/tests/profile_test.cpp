// Stored profile: &W writes it, Z brings it back, nothing else touches it.
#include <gtest/gtest.h>

#include "modem_session.h"

using simtest::converse;
using simtest::kOk;

namespace {

class ProfileTest : public ::testing::TestWithParam<const char*> {};

// Every spelling of "store" the tuner may send.
TEST_P(ProfileTest, StoreThenChangeThenZRestoresStoredValues) {
    auto m = simtest::quietModem();
    converse(m, "ATS216=9S91=3+MS=V34,1,300,33600,300,33600\r");
    ASSERT_EQ(converse(m, std::string(GetParam()) + "\r"), kOk);
    EXPECT_EQ(m.storedReg(216), 9);
    EXPECT_EQ(m.storedMsValue(), "V34,1,300,33600,300,33600");

    converse(m, "ATS216=1S91=7+MS=V90,1,300,48000,300,56000\r");
    ASSERT_EQ(converse(m, "ATZ\r"), kOk);
    EXPECT_EQ(m.reg(216), 9);
    EXPECT_EQ(m.reg(91), 3);
    EXPECT_EQ(m.msValue(), "V34,1,300,33600,300,33600");
    EXPECT_EQ(converse(m, "ATS216?S91?\r"), "\r\n009\r\n\r\n003\r\n" + std::string(kOk));
}

INSTANTIATE_TEST_SUITE_P(Spellings, ProfileTest,
                         ::testing::Values("AT&W", "AT&W0", "AT&W1", "at&w&w0&w1", "AT&w1"));

TEST(Profile, ZWithoutStoreDiscardsChanges) {
    auto m = simtest::quietModem();
    converse(m, "ATS216=9S218=1+MS=V34,1,300,33600,300,33600\r");
    ASSERT_EQ(converse(m, "ATZ\r"), kOk);
    EXPECT_EQ(m.reg(216), 5);
    EXPECT_EQ(m.reg(218), 0);
    EXPECT_EQ(m.msValue(), "V92,1,300,48000,300,56000");
}

TEST(Profile, ZRestoresStoredEchoSetting) {
    sim::Modem m;                      // echo on, stored profile has echo on
    converse(m, "ATE0\r");
    EXPECT_EQ(converse(m, "ATZ\r"), kOk);  // reply itself still unechoed
    EXPECT_TRUE(m.echo());
    EXPECT_EQ(converse(m, "AT\r"), "AT\r" + std::string(kOk));

    converse(m, "ATE0&W\r");  // now store echo off
    converse(m, "ATE1\r");
    converse(m, "ATZ\r");
    EXPECT_FALSE(m.echo());
}

TEST(Profile, StoreTakesValuesFromEarlierInTheSameLine) {
    auto m = simtest::quietModem();
    ASSERT_EQ(converse(m, "ATS216=12&WS216=3\r"), kOk);
    EXPECT_EQ(m.storedReg(216), 12);
    EXPECT_EQ(m.reg(216), 3);
}

TEST(Profile, FailedLineBeforeStoreDoesNotStore) {
    auto m = simtest::quietModem();
    converse(m, "ATS216=12S300=1&W\r");
    EXPECT_EQ(m.storedReg(216), 5);
}

TEST(Profile, FactoryResetLeavesStoredProfileAlone) {
    auto m = simtest::quietModem();
    converse(m, "ATS216=12&W\r");
    converse(m, "AT&F\r");
    EXPECT_EQ(m.reg(216), 5);
    EXPECT_EQ(m.storedReg(216), 12);
    converse(m, "ATZ\r");
    EXPECT_EQ(m.reg(216), 12);
}

}  // namespace

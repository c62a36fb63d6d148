// Replies to single command lines, echo off, edition 65a.
#include <gtest/gtest.h>

#include "modem_session.h"

using simtest::converse;

namespace {

const std::string OK = "\r\nOK\r\n";
const std::string ERR = "\r\nERROR\r\n";
std::string info(const std::string& text) { return "\r\n" + text + "\r\n"; }

struct ReplyCase {
    const char* line;
    std::string reply;
};

const std::string kMsDefault = "+MS: V92,1,300,48000,300,56000";

const ReplyCase kReplies[] = {
    {"AT", OK},
    {"ATS203?", info("025") + OK},
    {"ats10?", info("014") + OK},
    {"ATS0?", info("000") + OK},
    {"ATS203?S204?S205?", info("025") + info("050") + info("010") + OK},
    {"AT S203 ?", info("025") + OK},
    {"ATS216=5S218=0", OK},
    {"ATS91=255", OK},
    {"ATS91=0", OK},
    {"ATS91=256", ERR},
    {"ATS91=99999999999999999999", ERR},
    {"ATS91=", ERR},
    {"ATS91=x", ERR},
    {"ATS91=-1", ERR},
    {"ATS91", ERR},
    {"ATS=5", ERR},
    {"ATS?", ERR},
    {"ATS300?", ERR},
    {"ATS99999999999999999999?", ERR},
    {"ATS13?", ERR},
    {"ATS203?X", info("025") + ERR},
    {"ATE0Q0V1", OK},
    {"ATE2", ERR},
    {"ATQ1", ERR},
    {"ATX4", ERR},
    {"ATD123", ERR},
    {"AT&W&W0&W1", OK},
    {"at&w&w0&w1", OK},
    {"AT&W2", ERR},
    {"AT&", ERR},
    {"AT&X", ERR},
    {"ATZ", OK},
    {"ATZ0", OK},
    {"ATZ2", ERR},
    {"AT&F", OK},
    {"ATI3", info("TRX7 beta ver. 65a--Q56_L64_WNE") + OK},
    {"ATI", info("56000") + OK},
    {"ATI0", info("56000") + OK},
    {"ATI4", info("Olvix ZOLT") + OK},
    {"ATI99", ERR},
    {"AT+MS?", info(kMsDefault) + OK},
    {"at+ms?", info(kMsDefault) + OK},
    {"AT+MS=V34,1,300,33600,300,33600", OK},
    {"AT+MS=v32b,0,300,14400,300,14400", OK},
    {"AT+MS=V21,1,300,48000,300,56000", ERR},
    {"AT+MS=V92,1,300,48000,300", ERR},
    {"AT+MS=V92,1,300,48000,300,56000,1", ERR},
    {"AT+MS=V92,,300,48000,300,56000", ERR},
    {"AT+MS=V92,1,300,48000,300,5x000", ERR},
    {"AT+MS=", ERR},
    {"AT+MS", ERR},
    {"AT+MS=V90,1,300,48000,300,56000;S203?", info("025") + OK},
    {"AT+MS?;S203?", info(kMsDefault) + info("025") + OK},
    {"AT+FOO?", ERR},
    {"AT+", ERR},
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.line; }

class ReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyTest, Reply) {
    auto m = simtest::quietModem();
    const auto& c = GetParam();
    const std::string got = converse(m, std::string(c.line) + "\r");
    EXPECT_EQ(got, c.reply) << c.line << "\n got: " << simtest::visible(got)
                            << "\nwant: " << simtest::visible(c.reply);
}

INSTANTIATE_TEST_SUITE_P(Lines, ReplyTest, ::testing::ValuesIn(kReplies));

struct EffectCase {
    const char* line;
    int reg;
    int value;  // expected afterwards
};

const EffectCase kEffects[] = {
    {"ATS216=7S218=1", 216, 7},
    {"ATS216=7S218=1", 218, 1},
    {"ats91=3", 91, 3},
    {"ATS203=50S204=20", 203, 50},
    {"ATS203=50S204=20", 204, 20},
    {"ATS210=007", 210, 7},
    {"ATS91=256", 91, 10},        // rejected: unchanged
    {"ATS91=3S300=1", 91, 3},     // earlier command keeps its effect
    {"ATS300=1S91=3", 91, 10},    // the rest of the line is skipped
    {"ATS91=3&FS10?", 91, 10},    // &F restores factory values
};

void PrintTo(const EffectCase& c, std::ostream* os) { *os << c.line << " -> S" << c.reg; }

class EffectTest : public ::testing::TestWithParam<EffectCase> {};

TEST_P(EffectTest, RegisterAfterLine) {
    auto m = simtest::quietModem();
    const auto& c = GetParam();
    converse(m, std::string(c.line) + "\r");
    EXPECT_EQ(m.reg(c.reg), c.value) << c.line;
}

INSTANTIATE_TEST_SUITE_P(Lines, EffectTest, ::testing::ValuesIn(kEffects));

TEST(Assignment, ValueReadBackByQueryWithThreeDigits) {
    const std::pair<int, const char*> cases[] = {{91, "003"}, {216, "042"}, {215, "255"}, {0, "000"}};
    for (auto [n, text] : cases) {
        auto m = simtest::quietModem();
        const std::string s = "S" + std::to_string(n);
        ASSERT_EQ(converse(m, "AT" + s + "=" + std::to_string(std::stoi(text)) + "\r"), OK);
        EXPECT_EQ(converse(m, "AT" + s + "?\r"), info(text) + OK) << s;
    }
}

TEST(Assignment, SetRegisterIsSeenByQueryAndRejectsBadInput) {
    auto m = simtest::quietModem();
    m.setRegister(216, 9);
    EXPECT_EQ(converse(m, "ATS216?\r"), info("009") + OK);
    EXPECT_THROW(m.setRegister(216, 256), std::out_of_range);
    EXPECT_THROW(m.setRegister(17, 1), std::out_of_range);  // not on 65a
    EXPECT_EQ(m.reg(216), 9);
}

TEST(PlusMs, AssignmentIsReportedBackNormalised) {
    auto m = simtest::quietModem();
    ASSERT_EQ(converse(m, "at+ms=v34,1,300,33600,300,33600\r"), OK);
    EXPECT_EQ(m.msValue(), "V34,1,300,33600,300,33600");
    EXPECT_EQ(converse(m, "AT+MS?\r"), info("+MS: V34,1,300,33600,300,33600") + OK);
}

TEST(PlusMs, RejectedAssignmentKeepsOldValue) {
    auto m = simtest::quietModem();
    ASSERT_EQ(converse(m, "AT+MS=V21,1,300,48000,300,56000\r"), ERR);
    EXPECT_EQ(m.msValue(), "V92,1,300,48000,300,56000");
}

TEST(PlusMs, SetMsValueIsWhatTheQueryPrints) {
    auto m = simtest::quietModem();
    m.setMsValue("V90,1,300,28800,300,33600");
    EXPECT_EQ(converse(m, "AT+MS?\r"), info("+MS: V90,1,300,28800,300,33600") + OK);
}

TEST(Identification, OverrideChangesOnlyI3) {
    auto m = simtest::quietModem();
    m.setIdentification("ZX-9 firmware 0.1");
    EXPECT_EQ(converse(m, "ATI3\r"), info("ZX-9 firmware 0.1") + OK);
    EXPECT_EQ(converse(m, "ATI0\r"), info("56000") + OK);
}

}  // namespace

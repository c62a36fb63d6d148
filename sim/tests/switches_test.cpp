// Misbehaviour switches and reply timing.
#include <gtest/gtest.h>

#include "modem_session.h"

using simtest::converse;
using simtest::kOk;

namespace {

TEST(Silent, NoEchoNoReplyButStillLogged) {
    sim::Modem m;
    m.setSilent(true);
    EXPECT_EQ(converse(m, "ATS203?\rATI3\r", 10), "");
    EXPECT_FALSE(m.hasOutput(100000));
    EXPECT_FALSE(m.nextOutputDueMs().has_value());
    EXPECT_EQ(m.receivedText(), "ATS203?\rATI3\r");
}

TEST(Silent, CommandsSentWhileSilentHaveNoEffect) {
    sim::Modem m;
    m.setSilent(true);
    converse(m, "ATS216=9\r");
    m.setSilent(false);
    EXPECT_EQ(m.reg(216), 5);
    EXPECT_EQ(converse(m, "AT\r"), "AT\r" + std::string(kOk));
}

TEST(ShortValues, QueriesDropLeadingZeros) {
    const std::pair<const char*, const char*> cases[] = {
        {"ATS216?", "5"}, {"ATS0?", "0"}, {"ATS204?", "50"}, {"ATS12?", "50"}};
    for (auto [query, value] : cases) {
        auto m = simtest::quietModem();
        m.setShortValues(true);
        EXPECT_EQ(converse(m, std::string(query) + "\r"),
                  "\r\n" + std::string(value) + "\r\n" + std::string(kOk))
            << query;
    }
}

TEST(ShortValues, ThreeDigitValuesUnchanged) {
    auto m = simtest::quietModem();
    m.setShortValues(true);
    m.setRegister(91, 200);
    EXPECT_EQ(converse(m, "ATS91?\r"), "\r\n200\r\n" + std::string(kOk));
}

// Each page's queries, with the factory values of the edition that has the register.
TEST(MalformedValues, EveryRegisterAPageReadsComesBroken) {
    const struct { sim::Edition edition; const char* query; const char* printed; } cases[] = {
        {sim::Edition::B65a, "ATS203?", "#2"}, {sim::Edition::B65a, "ATS204?", "#5"},
        {sim::Edition::B65a, "ATS205?", "#1"}, {sim::Edition::B65a, "ATS206?", "#4"},
        {sim::Edition::B65a, "ATS207?", "4"},  {sim::Edition::B65a, "ATS91?", "#1"},
        {sim::Edition::B65a, "ATS10?", "#1"},  {sim::Edition::B65a, "ATS215?", "#5"},
        {sim::Edition::B65a, "ATS216?", "5"},  {sim::Edition::B65a, "ATS218?", "0"},
        {sim::Edition::Gb1, "ATS17?", "6"},    {sim::Edition::B65a, "ATS210?", "5"},
    };
    for (const auto& c : cases) {
        auto m = simtest::quietModem(c.edition);
        m.setMalformedValues(true);
        EXPECT_EQ(converse(m, std::string(c.query) + "\r"), "\r\n" + std::string(c.printed) + "\r\n" + std::string(kOk))
            << c.query;
    }
}

TEST(MalformedValues, ThreeDigitValuesAndTheOtherReplies) {
    auto m = simtest::quietModem();
    m.setMalformedValues(true);
    m.setRegister(206, 255);
    EXPECT_EQ(converse(m, "ATS206?\r"), "\r\n#2\r\n" + std::string(kOk));
    EXPECT_EQ(converse(m, "AT+MS?\r"), "\r\n+MS: V92,1,#3,#4,#3,#5\r\n" + std::string(kOk)) << "the carrier stays";
    EXPECT_EQ(converse(m, "ATI3\r"), "\r\nTRX7 beta ver. #6a--Q#5_L#6_WNE\r\n" + std::string(kOk));
    EXPECT_EQ(converse(m, "ATS91=100\r"), kOk) << "assignments are not affected";
    EXPECT_EQ(m.reg(91), 100);
    m.setMalformedValues(false);
    EXPECT_EQ(converse(m, "ATS91?\r"), "\r\n100\r\n" + std::string(kOk));
}

TEST(MalformedValues, NoEditionIsRecognisedByItsIdentification) {
    for (auto e : sim::kAllEditions) {
        auto m = simtest::quietModem(e);
        m.setMalformedValues(true);
        const std::string reply = converse(m, "ATI3\r");
        for (auto known : sim::kAllEditions)
            EXPECT_EQ(reply.find(sim::identificationText(known)), std::string::npos) << simtest::visible(reply);
    }
}

TEST(EchoDropped, NoEchoEvenAfterE1ButRepliesCome) {
    sim::Modem m;
    m.setEchoDropped(true);
    EXPECT_EQ(converse(m, "ATE1\r"), kOk);
    EXPECT_TRUE(m.echo()) << "the setting itself is accepted";
    EXPECT_EQ(converse(m, "ATS203?\r"), "\r\n025\r\n" + std::string(kOk));
}

TEST(ReplyDelay, OutputBecomesDueExactlyDelayLater) {
    sim::Modem m;
    m.setReplyDelayMs(250);
    for (char c : std::string("AT\r")) m.receive(static_cast<unsigned char>(c), 1000);
    EXPECT_FALSE(m.hasOutput(1000));
    EXPECT_FALSE(m.hasOutput(1249));
    EXPECT_EQ(m.takeOutput(1249), "");
    ASSERT_TRUE(m.nextOutputDueMs().has_value());
    EXPECT_EQ(*m.nextOutputDueMs(), 1250u);
    EXPECT_TRUE(m.hasOutput(1250));
    EXPECT_EQ(m.takeOutput(1250), "AT\r" + std::string(kOk));
    EXPECT_FALSE(m.hasOutput(5000));
}

TEST(ReplyDelay, EachByteDueRelativeToItsOwnArrival) {
    sim::Modem m;
    m.setReplyDelayMs(100);
    m.receive('A', 0);
    m.receive('T', 50);
    m.receive('\r', 80);
    EXPECT_EQ(m.takeOutput(99), "");
    EXPECT_EQ(m.takeOutput(100), "A");
    EXPECT_EQ(m.takeOutput(150), "T");
    EXPECT_EQ(m.takeOutput(179), "");
    EXPECT_EQ(m.takeOutput(180), "\r" + std::string(kOk));
}

TEST(ReplyDelay, LoweringTheDelayNeverReordersOutput) {
    sim::Modem m;
    m.setReplyDelayMs(500);
    converse(m, "AT\r", 0);
    m.setReplyDelayMs(0);
    m.receive('X', 10);
    EXPECT_EQ(m.takeOutput(10), "") << "X must wait behind the delayed reply";
    EXPECT_EQ(m.takeOutput(500), "AT\r" + std::string(kOk) + "X");
}

TEST(Output, UndueOutputIsKeptNotLost) {
    sim::Modem m;
    m.setReplyDelayMs(10);
    converse(m, "AT\r", 0);
    converse(m, "AT\r", 5);
    EXPECT_EQ(m.takeOutput(10), "AT\r" + std::string(kOk));
    EXPECT_EQ(m.takeOutput(15), "AT\r" + std::string(kOk));
}

}  // namespace

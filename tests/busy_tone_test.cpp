#include "program_fixture.h"

namespace lt::testing {
namespace {

class BusyToneTest : public ProgramTest {
protected:
    void SetUp() override {
        seedSettings();
        start();
        hp.modem().setRegister(203, 50);
        hp.modem().setRegister(204, 7);
        hp.modem().setRegister(205, 120);
        hp.modem().setRegister(206, 255);
        hp.modem().setRegister(207, 0);
    }
    BusyToneGroup& group() { return form().busyTone; }
    std::vector<std::string> fieldTexts() {
        std::vector<std::string> texts;
        for (Edit* e : {&group().Edit2, &group().Edit3, &group().Edit4, &group().Edit5, &group().Edit6})
            texts.push_back(e->text());
        return texts;
    }
    void fill(const std::vector<std::string>& texts) {
        Edit* edits[] = {&group().Edit2, &group().Edit3, &group().Edit4, &group().Edit5, &group().Edit6};
        for (size_t i = 0; i < texts.size(); ++i) ASSERT_TRUE(user->type(*edits[i], texts[i]));
    }
};

TEST_F(BusyToneTest, ReadShowsTheFiveValuesAsThreeCharacters) {
    ASSERT_TRUE(user->click(group().SpeedButton4));
    EXPECT_EQ(fieldTexts(), (std::vector<std::string>{"050", "007", "120", "255", "000"}));
    EXPECT_TRUE(errors().empty());
    EXPECT_TRUE(link().RxText.empty());
    EXPECT_EQ(link().PendingRequest, rqWrite);

    const std::vector<std::string> sent = {"ATE1", "ATS203?", "ATS204?", "ATS205?", "ATS206?", "ATS207?"};
    EXPECT_EQ(hp.modem().commandLines(), sent);
    const auto& log = hp.modem().log();
    for (size_t i = 1; i < log.size(); ++i) EXPECT_GE(log[i].timeMs - log[i - 1].timeMs, 50u) << i;
}

TEST_F(BusyToneTest, ReadEnablesTheCadenceButtonEvenWithoutAnAnswer) {
    EXPECT_FALSE(group().LMD3DEffectButton1.enabled());
    hp.modem().setSilent(true);
    fill({"1", "2", "3", "4", "5"});
    user->click(group().SpeedButton4);
    EXPECT_TRUE(group().LMD3DEffectButton1.enabled());
    EXPECT_EQ(fieldTexts(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(link().PendingRequest, rqBusyRead);
    EXPECT_TRUE(hp.desktop.messageBoxes.empty());
}

TEST_F(BusyToneTest, UnparseableReplyChangesNoField) {
    fill({"1", "2", "3", "4", "5"});
    hp.modem().setShortValues(true);  // "7" then "OK": the cut takes "7OK"
    hp.modem().setRegister(203, 100);  // still three digits, so the failure is the second value
    user->click(group().SpeedButton4);
    EXPECT_EQ(errors(), std::vector<std::string>{"'7OK' is not a valid integer value."});
    EXPECT_EQ(fieldTexts(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(link().PendingRequest, rqBusyRead);
    EXPECT_FALSE(link().RxText.empty());
    // A later transmit-empty report does not parse the same text again.
    hp.serial.inject("x");
    hp.serial.raiseTxEmpty();
    hp.desktop.processMessages();
    EXPECT_EQ(errors().size(), 1u);
}

TEST_F(BusyToneTest, DispatchWaitsForMoreThanTwentyCharacters) {
    link().OpenModemLink(rqBusyRead);
    const std::string reply = "ATS203?001ATS204?002O";  // 21 characters, every value present
    link().VaCommRxBuf(reply.substr(0, 20));
    form().VaCommTxEmpty();
    EXPECT_EQ(link().PendingRequest, rqBusyRead) << "20 characters must not run the parse";
    link().VaCommRxBuf(reply.substr(20));
    // S205..S207 are absent: their texts come from fixed positions and do not convert.
    program->app.run([&] { form().VaCommTxEmpty(); });
    EXPECT_EQ(errors().size(), 1u);
}

TEST_F(BusyToneTest, CompletedParseIsNotRepeatedByTheNextReport) {
    user->click(group().SpeedButton4);
    ASSERT_EQ(link().PendingRequest, rqWrite);
    fill({"9", "9", "9", "9", "9"});
    link().VaCommRxBuf("ATS203?111ATS204?111ATS205?111ATS206?111ATS207?111");
    form().VaCommTxEmpty();
    EXPECT_EQ(group().Edit2.text(), "9");
}

TEST_F(BusyToneTest, WriteSendsFiveAssignmentsThenStoreAndReset) {
    fill({"050", "60", "x", "4 ", "3"});
    ASSERT_TRUE(user->click(group().SpeedButton5));
    const std::vector<std::string> sent = {"ATS203=050", "ATS204=60", "ATS205=x", "ATS206=4 ",
                                           "ATS207=3",   "AT&w&w0&w1", "ATZ"};
    EXPECT_EQ(hp.modem().commandLines(), sent);
    EXPECT_EQ(link().PendingRequest, rqBusyWrite);
    EXPECT_TRUE(hp.desktop.messageBoxes.empty());
}

TEST_F(BusyToneTest, WriteWithAnEmptyFieldSendsNothing) {
    fill({"1", "2", "", "4", "5"});
    user->click(group().SpeedButton5);
    EXPECT_TRUE(hp.modem().log().empty());
    EXPECT_EQ(link().PendingRequest, rqBusyWrite);
    EXPECT_TRUE(hp.serial.isOpen());
    EXPECT_TRUE(hp.desktop.messageBoxes.empty());
}

TEST_F(BusyToneTest, AppendJoinsTheAssignmentsToTheInitString) {
    user->type(form().initString.Edit1, "X");
    user->click(group().SpeedButton8);
    EXPECT_EQ(form().initString.Edit1.text(), "XS203=S204=S205=S206=S207=");
    user->click(group().SpeedButton4);
    user->click(group().SpeedButton8);
    EXPECT_EQ(form().initString.Edit1.text(), "XS203=S204=S205=S206=S207=S203=050S204=007S205=120S206=255S207=000");
    EXPECT_EQ(hp.modem().commandLines().size(), 6u) << "append sends nothing";
}

TEST_F(BusyToneTest, LateReplyStartsNoParseAndPrecedesTheNextReply) {
    hp.modem().setReplyDelayMs(5000);
    user->click(group().SpeedButton4);
    EXPECT_EQ(link().PendingRequest, rqBusyRead);
    hp.clock.advance(6000);
    hp.desktop.processMessages();
    EXPECT_EQ(link().PendingRequest, rqBusyRead) << "no transmit-empty, no parse";
    EXPECT_TRUE(group().Edit2.text().empty());
}

TEST_F(BusyToneTest, DisabledGroupDoesNotRespond) {
    group().GroupBox1.setEnabled(false);
    EXPECT_FALSE(user->click(group().SpeedButton4));
    EXPECT_TRUE(hp.modem().log().empty());
}

}  // namespace
}  // namespace lt::testing

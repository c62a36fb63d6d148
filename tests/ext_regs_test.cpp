#include "program_fixture.h"

namespace lt::testing {
namespace {

class ExtRegsTest : public ProgramTest {
protected:
    void SetUp() override {
        seedSettings();
        start();
    }
    ExtRegsPage& page() { return form().extRegs; }
    // The check marks of a list as a bit string, item 1 first.
    static std::string marks(const CheckListBox& list) {
        std::string bits;
        for (int i = 0; i < 8; ++i) bits += list.checked(i) ? '1' : '0';
        return bits;
    }
    void mark(CheckListBox& list, const std::string& bits) {
        for (int i = 0; i < 8; ++i)
            if (list.checked(i) != (bits[i] == '1')) {
                ASSERT_TRUE(user->toggle(list, i));
            }
    }
    // A reply captured for a read, dispatched as a transmit-empty report would.
    void dispatch(const std::string& reply) {
        link().OpenModemLink(rqExtRegsRead);
        link().VaCommRxBuf(reply);
        program->app.run([&] { form().VaCommTxEmpty(); });
    }
};

TEST_F(ExtRegsTest, ReadSetsBothListsFromTheRegisters) {
    const struct { int s216, s218; const char* first; const char* second; } cases[] = {
        {5, 0, "10100000", "00000000"},
        {255, 128, "11111111", "00000001"},
        {200, 1, "00010011", "10000000"},
        {0, 255, "00000000", "11111111"},
    };
    for (const auto& c : cases) {
        hp.modem().setRegister(216, c.s216);
        hp.modem().setRegister(218, c.s218);
        mark(page().CheckListBox1, "01011111");  // stale marks must go where a bit is 0
        mark(page().CheckListBox2, "01111110");
        hp.modem().clearLog();
        ASSERT_TRUE(user->click(page().Button1));
        EXPECT_EQ(marks(page().CheckListBox1), c.first) << c.s216;
        EXPECT_EQ(marks(page().CheckListBox2), c.second) << c.s218;
        EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{"ATE1", "ATS216?", "ATS218?"}));
        EXPECT_TRUE(link().RxText.empty());
        EXPECT_EQ(link().PendingRequest, rqWrite);
    }
    EXPECT_TRUE(errors().empty());
}

TEST_F(ExtRegsTest, SecondRegisterFollowsTheLabelForTheS17Edition) {
    hp.modem() = sim::Modem(sim::Edition::Gb1);  // S216 = 5, S17 = 6
    page().Label5.setText("S17");
    ASSERT_TRUE(user->click(page().Button1));
    EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{"ATE1", "ATS216?", "ATS17?"}));
    EXPECT_EQ(marks(page().CheckListBox1), "10100000");
    EXPECT_EQ(marks(page().CheckListBox2), "01100000");
    EXPECT_TRUE(errors().empty());
}

TEST_F(ExtRegsTest, ValueAboveAByteLeavesTheEighthItemUnmarked) {
    mark(page().CheckListBox1, "11111111");
    dispatch("ATE1OKATS216?300OKATS218?000OK");
    EXPECT_EQ(marks(page().CheckListBox1), "00110100");  // bits 0-6 of 44; the "2" marks nothing
    EXPECT_EQ(link().PendingRequest, rqWrite);
}

TEST_F(ExtRegsTest, UnreadableValueChangesNeitherList) {
    const struct { sim::Edition edition; bool shortValues; const char* message; } cases[] = {
        {sim::Edition::Gb1, false, "'ERR' is not a valid integer value."},  // no S218: "ERROR"
        {sim::Edition::B65a, true, "'5OK' is not a valid integer value."},  // S216 printed as "5"
    };
    for (const auto& c : cases) {
        hp.modem() = sim::Modem(c.edition);  // the stored edition keeps the page usable
        hp.modem().setShortValues(c.shortValues);
        hp.desktop.messageBoxes.clear();
        mark(page().CheckListBox1, "01010101");
        mark(page().CheckListBox2, "00110011");
        user->click(page().Button1);
        EXPECT_EQ(errors(), std::vector<std::string>{c.message});
        EXPECT_EQ(marks(page().CheckListBox1), "01010101");
        EXPECT_EQ(marks(page().CheckListBox2), "00110011");
        EXPECT_EQ(link().PendingRequest, rqExtRegsRead);
        EXPECT_FALSE(link().RxText.empty());
    }
}

TEST_F(ExtRegsTest, MissingEchoTakesTheValuesFromFixedPositions) {
    // Positions 7-9 hold "050", positions 6-8 "005".
    const struct { const char* name; const char* second; } cases[] = {
        {"S218", "01001100"},  // offset 7, like S216: 50
        {"S17", "10100000"},   // offset 6: 5
    };
    for (const auto& c : cases) {
        page().Label5.setText(c.name);
        dispatch("OKOK+0050OKOKOKOKOKOKOK");
        EXPECT_EQ(marks(page().CheckListBox1), "01001100") << c.name;
        EXPECT_EQ(marks(page().CheckListBox2), c.second) << c.name;
        EXPECT_EQ(link().PendingRequest, rqWrite);
    }
    EXPECT_TRUE(errors().empty());
}

TEST_F(ExtRegsTest, ParseWaitsForMoreThanTwentyCharacters) {
    link().OpenModemLink(rqExtRegsRead);
    link().VaCommRxBuf("ATS216?255ATS218?255");  // 20
    form().VaCommTxEmpty();
    EXPECT_EQ(link().PendingRequest, rqExtRegsRead);
    EXPECT_EQ(marks(page().CheckListBox1), "00000000");
    link().VaCommRxBuf("O");
    form().VaCommTxEmpty();
    EXPECT_EQ(link().PendingRequest, rqWrite);
    EXPECT_EQ(marks(page().CheckListBox1), "11111111");
    EXPECT_EQ(marks(page().CheckListBox2), "11111111");
}

TEST_F(ExtRegsTest, WriteSendsBothAssignmentsAndStoresTheProfile) {
    const struct { const char* first; const char* second; const char* command; int s216, s218; } cases[] = {
        {"10100000", "00000000", "ATS216=5S218=0", 5, 0},
        {"11111111", "11111111", "ATS216=255S218=255", 255, 255},
        {"00000000", "00000000", "ATS216=0S218=0", 0, 0},
        {"00010011", "00000001", "ATS216=200S218=128", 200, 128},
    };
    for (const auto& c : cases) {
        mark(page().CheckListBox1, c.first);
        mark(page().CheckListBox2, c.second);
        hp.modem().clearLog();
        ASSERT_TRUE(user->click(page().SpeedButton2));
        EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{c.command, "at&w&w0&w1"}));
        EXPECT_EQ(hp.modem().storedReg(216), c.s216) << c.command;
        EXPECT_EQ(hp.modem().storedReg(218), c.s218) << c.command;
        EXPECT_EQ(link().PendingRequest, rqWrite);
    }
    EXPECT_TRUE(errors().empty());
}

TEST_F(ExtRegsTest, AppendAddsTheAssignmentsWithoutSeparatorAndSendsNothing) {
    page().Label5.setText("S17");
    mark(page().CheckListBox1, "10100000");
    mark(page().CheckListBox2, "01000000");
    user->type(form().initString.Edit1, "S7=60");
    user->click(page().SpeedButton7);
    user->click(page().SpeedButton7);
    EXPECT_EQ(form().initString.Edit1.text(), "S7=60S216=5S17=2S216=5S17=2");
    EXPECT_TRUE(hp.modem().log().empty());
}

TEST_F(ExtRegsTest, LabelRenamedAfterAReadNamesTheRegisterOfWriteAndAppend) {
    user->click(page().Button1);  // S216 = 5, S218 = 0
    page().Label5.setText("S17");
    hp.modem().clearLog();
    user->click(page().SpeedButton2);
    user->click(page().SpeedButton7);
    EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{"ATS216=5S17=0", "at&w&w0&w1"}));
    EXPECT_EQ(form().initString.Edit1.text(), "S216=5S17=0");
}

}  // namespace
}  // namespace lt::testing

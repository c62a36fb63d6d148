#include "program_fixture.h"

namespace lt::testing {
namespace {

class LevelsTest : public ProgramTest {
protected:
    void SetUp() override {
        seedSettings();
        start();
        // The edition decides whether the group responds; that is not under test here.
        page().LMDGroupBox2.setEnabled(true);
    }
    LevelsPage& page() { return form().levels; }
    std::string initString() { return form().initString.Edit1.text(); }
    void dispatch(TRequestKind request, const std::string& reply) {
        link().OpenModemLink(request);
        link().VaCommRxBuf(reply);
        program->app.run([&] { form().VaCommTxEmpty(); });
    }
};

TEST_F(LevelsTest, ReadLevelMirrorsItOnTheSliderAndShowsTheValueRead) {
    const struct { int s91, position; const char* label; } cases[] = {
        {10, 13, "-10"}, {3, 20, "-3"}, {20, 3, "-20"},
        {2, 20, "-2"},     // below the range: slider clamps, label keeps the value
        {25, 3, "-25"},    // above the range
        {100, 3, "-100"},  // three digits
        {0, 20, "-0"},
    };
    for (const auto& c : cases) {
        hp.modem().setRegister(91, c.s91);
        hp.modem().clearLog();
        ASSERT_TRUE(user->click(page().SpeedButton12));
        EXPECT_EQ(page().RxSlider1.value(), c.position) << c.s91;
        EXPECT_EQ(page().RxLabel1.text(), c.label) << c.s91;
        EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{"ATE1", "ATS10?", "ATS91?"}));
        EXPECT_EQ(link().PendingRequest, rqWrite);
        EXPECT_TRUE(link().RxText.empty());
    }
    EXPECT_TRUE(errors().empty());
}

TEST_F(LevelsTest, ReadLineAdaptationSplitsTheRegisterIntoItsHalves) {
    const struct { int s215, aggressiveness, noiseDetector; } cases[] = {
        {55, 7, 3}, {0, 1, 1}, {255, 9, 9},
        {160, 1, 9},  // halves 0 and 10 both clamp
        {17, 1, 1},   {153, 9, 9}, {154, 9, 9},
    };
    for (const auto& c : cases) {
        hp.modem().setRegister(215, c.s215);
        hp.modem().clearLog();
        ASSERT_TRUE(user->click(page().SpeedButton15));
        EXPECT_EQ(page().RxSlider2.value(), c.aggressiveness) << c.s215;
        EXPECT_EQ(page().RxSlider3.value(), c.noiseDetector) << c.s215;
        EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{"ATE1", "ATS10?", "ATS215?"}));
        EXPECT_EQ(link().PendingRequest, rqWrite);
    }
    EXPECT_TRUE(errors().empty());
}

// Puts every control of the page away from its start state, to see what a read changes.
class LevelsUnchangedTest : public LevelsTest {
protected:
    void SetUp() override {
        LevelsTest::SetUp();
        user->slide(page().RxSlider1, 5);
        user->slide(page().RxSlider2, 4);
        user->slide(page().RxSlider3, 6);
    }
    void expectUnchanged() {
        EXPECT_EQ(page().RxSlider1.value(), 5);
        EXPECT_EQ(page().RxLabel1.text(), "-18");
        EXPECT_EQ(page().RxSlider2.value(), 4);
        EXPECT_EQ(page().RxSlider3.value(), 6);
    }
};

TEST_F(LevelsUnchangedTest, MissingEchoEndsTheParseSilently) {
    hp.modem().setEchoDropped(true);  // "OK014OK010OK": long enough, but no echo to cut after
    for (Button* read : {&page().SpeedButton12, &page().SpeedButton15}) {
        user->click(*read);
        expectUnchanged();
        EXPECT_FALSE(link().RxText.empty());
        EXPECT_GT(link().RxText.size(), 10u);
    }
    EXPECT_EQ(link().PendingRequest, rqLineAdaptRead);
    EXPECT_TRUE(hp.desktop.messageBoxes.empty());
}

TEST_F(LevelsUnchangedTest, UnreadableValueFailsBeforeAnyChange) {
    const struct { sim::Edition edition; bool shortValues; bool lineAdapt; const char* message; } cases[] = {
        {sim::Edition::R4610, false, true, "'ERR' is not a valid integer value."},  // no S215
        {sim::Edition::B65a, true, false, "'10O' is not a valid integer value."},   // S91 as "10"
        {sim::Edition::B65a, true, true, "'55O' is not a valid integer value."},
    };
    for (const auto& c : cases) {
        hp.modem() = sim::Modem(c.edition);  // the stored edition keeps the group usable
        hp.modem().setShortValues(c.shortValues);
        hp.desktop.messageBoxes.clear();
        user->click(c.lineAdapt ? page().SpeedButton15 : page().SpeedButton12);
        EXPECT_EQ(errors(), std::vector<std::string>{c.message});
        expectUnchanged();
        EXPECT_EQ(link().PendingRequest, c.lineAdapt ? rqLineAdaptRead : rqTxLevelRead);
        EXPECT_FALSE(link().RxText.empty());
    }
}

TEST_F(LevelsTest, ParseWaitsForMoreThanTenCharacters) {
    const struct { TRequestKind request; const char* reply; } cases[] = {
        {rqTxLevelRead, "ATS91?017OK"},
        {rqLineAdaptRead, "ATS215?055O"},
    };
    for (const auto& c : cases) {
        link().OpenModemLink(c.request);
        link().VaCommRxBuf(std::string(c.reply, 10));
        form().VaCommTxEmpty();
        EXPECT_EQ(link().PendingRequest, c.request) << "10 characters must not run the parse";
        link().VaCommRxBuf(c.reply + 10);
        form().VaCommTxEmpty();
        EXPECT_EQ(link().PendingRequest, rqWrite) << c.reply;
    }
    EXPECT_EQ(page().RxSlider1.value(), 6);
    EXPECT_EQ(page().RxSlider2.value(), 7);
    EXPECT_EQ(page().RxSlider3.value(), 3);
}

TEST_F(LevelsTest, LevelSliderMovedByTheUserShowsAndWritesTheMirroredValue) {
    const struct { int moveTo; const char* label; const char* command; } cases[] = {
        {3, "-20", "ATS91=20"}, {20, "-3", "ATS91=3"}, {13, "-10", "ATS91=10"},
        {25, "-3", "ATS91=3"},  // clamped to the right end
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(user->slide(page().RxSlider1, c.moveTo));
        EXPECT_EQ(page().RxLabel1.text(), c.label) << c.moveTo;
        hp.modem().clearLog();
        user->click(page().SpeedButton13);
        EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{c.command, "at&w&w0&w1"}));
        EXPECT_EQ(hp.modem().storedReg(91), 23 - page().RxSlider1.value());
    }
    EXPECT_TRUE(errors().empty());
}

TEST_F(LevelsTest, LineAdaptationWriteJoinsTheHalves) {
    const struct { int aggressiveness, noiseDetector; const char* command; } cases[] = {
        {1, 1, "ATS215=17"}, {5, 5, "ATS215=85"}, {9, 9, "ATS215=153"}, {7, 3, "ATS215=55"},
    };
    for (const auto& c : cases) {
        user->slide(page().RxSlider2, c.aggressiveness);
        user->slide(page().RxSlider3, c.noiseDetector);
        hp.modem().clearLog();
        ASSERT_TRUE(user->click(page().SpeedButton16));
        EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{c.command, "at&w&w0&w1"}));
        EXPECT_EQ(hp.modem().storedReg(215), c.aggressiveness + 16 * c.noiseDetector);
        EXPECT_EQ(link().PendingRequest, rqWrite);
    }
    EXPECT_TRUE(errors().empty());
}

TEST_F(LevelsTest, AppendAddsAssignmentsWithoutSeparatorAndSendsNothing) {
    user->click(page().SpeedButton14);
    user->click(page().SpeedButton14);
    EXPECT_EQ(initString(), "S91=10S91=10");
    user->slide(page().RxSlider2, 7);
    user->slide(page().RxSlider3, 3);
    user->slide(page().RxSlider1, 20);
    user->click(page().SpeedButton17);
    user->click(page().SpeedButton14);
    EXPECT_EQ(initString(), "S91=10S91=10S215=55S91=3");
    EXPECT_TRUE(hp.modem().log().empty());
}

TEST_F(LevelsTest, DisabledLineAdaptationGroupDoesNotRespond) {
    page().LMDGroupBox2.setEnabled(false);
    EXPECT_FALSE(user->click(page().SpeedButton15));
    EXPECT_FALSE(user->slide(page().RxSlider2, 5));
    EXPECT_TRUE(hp.modem().log().empty());
}

}  // namespace
}  // namespace lt::testing

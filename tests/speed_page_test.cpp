#include <array>

#include "program_fixture.h"

namespace lt::testing {
namespace {

constexpr char kUnrecognised[] = "Unrecognised reply to the speed query (AT+MS?, ATS210?)";
constexpr char kStore[] = "at&w&w0&w1";

// What a list shows: its items and which one is selected.
struct ListState {
    std::vector<std::string> items;
    int index;
    bool operator==(const ListState&) const = default;
};

class SpeedPageTest : public ProgramTest {
protected:
    void SetUp() override {
        seedSettings();
        start();
        hp.modem().setMsValue("V92,1,300,48000,300,56000");
        hp.modem().setRegister(210, 5);
    }
    SpeedPage& page() { return form().speed; }
    std::array<ComboBox*, 7> lists() {
        return {&page().ComboBox2, &page().ComboBox9, &page().ComboBox3, &page().ComboBox4,
                &page().ComboBox5, &page().ComboBox6, &page().ComboBox8};
    }
    std::vector<ListState> state() {
        std::vector<ListState> s;
        for (ComboBox* list : lists()) s.push_back({list->items(), list->itemIndex()});
        return s;
    }
    // The texts shown, in the order of the lists on the page.
    std::vector<std::string> shown() {
        std::vector<std::string> texts;
        for (ComboBox* list : lists()) texts.push_back(list->selectedText());
        return texts;
    }
    void read() {
        ASSERT_TRUE(user->click(page().SpeedButton9));
        hp.modem().clearLog();
    }
    // A capture handed to the dispatch as if the port had delivered it.
    void dispatch(const std::string& capture) {
        link().OpenModemLink(rqSpeedRead);
        link().VaCommRxBuf(capture);
        program->app.run([&] { form().VaCommTxEmpty(); });
    }
};

TEST_F(SpeedPageTest, StartsWithNothingSelectedAndTheFixedLists) {
    for (ComboBox* list : lists()) EXPECT_EQ(list->itemIndex(), -1) << list->name();
    EXPECT_EQ(page().ComboBox3.items().size(), 45u);
    EXPECT_EQ(page().ComboBox4.items(), page().ComboBox3.items());
    EXPECT_EQ(page().ComboBox5.items().back(), "33600");
    EXPECT_EQ(page().ComboBox5.items().size(), 22u);
    EXPECT_EQ(page().ComboBox6.items().back(), "48000");
    EXPECT_EQ(page().ComboBox6.items().size(), 37u);
    EXPECT_EQ(page().ComboBox8.style.dropDownCount, 5);
}

TEST_F(SpeedPageTest, ReadSendsTheScriptAndCompletes) {
    ASSERT_TRUE(user->click(page().SpeedButton9));
    EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{"ATE1", "AT+MS?", "ATS210?"}));
    const auto& log = hp.modem().log();
    for (size_t i = 1; i < log.size(); ++i) EXPECT_GE(log[i].timeMs - log[i - 1].timeMs, 50u) << i;
    EXPECT_TRUE(errors().empty());
    EXPECT_TRUE(link().RxText.empty());
    EXPECT_EQ(link().PendingRequest, rqWrite);
}

struct ReadCase {
    const char* ms;
    int s210;
    size_t receiveItems;
    // Protocol, automatic, receive min, receive max, transmit min, transmit max, symbol rate.
    std::vector<std::string> shown;
};

TEST_F(SpeedPageTest, ReadSelectsWhatTheModemReports) {
    const ReadCase cases[] = {
        {"V92,1,300,48000,300,56000", 5, 45, {"V92", "Да", "300", "56000", "300", "48000", "3429"}},
        {"V34,1,300,33600,300,28800", 4, 21, {"V34", "Да", "300", "28800", "300", "33600", "3200"}},
        // 28800 is only a receive rate: the transmit maximum falls back to its first item.
        {"V34,0,300,28800,300,33600", 1, 21, {"V34", "Нет", "300", "33600", "300", "75", "2400"}},
        // A carrier the page does not list, here in the other letter case: "V32" is shown
        // and the receive lists keep the V.34 rates of the read before.
        {"V32B,1,300,14400,300,28800", 5, 21, {"V32", "Да", "300", "28800", "300", "14400", "3429"}},
        // 14400 is not among the 8 V.32 receive rates.
        {"V32,1,4800,9600,2400,14400", 2, 8, {"V32", "Да", "2400", "75", "4800", "9600", "2800"}},
        {"V32b,1,300,14400,300,14400", 3, 10, {"V32b", "Да", "300", "14400", "300", "14400", "3000"}},
        {"V90,2,75,48000,75,56000", 5, 45, {"V90", "", "75", "56000", "75", "48000", "3429"}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.ms);
        hp.modem().setMsValue(c.ms);
        hp.modem().setRegister(210, c.s210);
        read();
        EXPECT_EQ(shown(), c.shown);
        EXPECT_EQ(page().ComboBox3.items().size(), c.receiveItems);
        EXPECT_EQ(page().ComboBox4.items(), page().ComboBox3.items());
        EXPECT_EQ(link().PendingRequest, rqWrite);
    }
    EXPECT_TRUE(errors().empty());
}

TEST_F(SpeedPageTest, ExampleIndicesOfTheTwoWorkedReplies) {
    read();
    EXPECT_EQ(page().ComboBox3.itemIndex(), 1);
    EXPECT_EQ(page().ComboBox4.itemIndex(), 44);
    EXPECT_EQ(page().ComboBox5.itemIndex(), 1);
    EXPECT_EQ(page().ComboBox6.itemIndex(), 36);
    EXPECT_EQ(page().ComboBox8.itemIndex(), 4);
    hp.modem().setMsValue("V34,1,300,33600,300,28800");
    hp.modem().setRegister(210, 4);
    read();
    EXPECT_EQ(page().ComboBox4.itemIndex(), 16);
    EXPECT_EQ(page().ComboBox8.itemIndex(), 3);
}

// The symbol rate is bits 0-2 of S210; the write assigns the code alone.
TEST_F(SpeedPageTest, SymbolRateCodeAndTheWriteThatFollows) {
    struct Case {
        int s210;
        std::string shown;
        std::vector<std::string> s210Lines;
    };
    const Case cases[] = {
        {5, "3429", {"ATS210=5", kStore}}, {13, "3429", {"ATS210=5", kStore}}, {250, "2800", {"ATS210=2", kStore}},
        {0, "", {}},                       {6, "", {}},                       {7, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.s210);
        hp.modem().setRegister(210, c.s210);
        read();
        EXPECT_EQ(page().ComboBox8.selectedText(), c.shown);
        ASSERT_TRUE(user->click(page().SpeedButton10));
        std::vector<std::string> sent = {"AT+MS=V92,1,300,48000,300,56000", kStore};
        sent.insert(sent.end(), c.s210Lines.begin(), c.s210Lines.end());
        EXPECT_EQ(hp.modem().commandLines(), sent);
        if (!c.s210Lines.empty()) {
            EXPECT_EQ(hp.modem().storedReg(210), c.s210 & 7);
        }
    }
    EXPECT_TRUE(errors().empty());
}

TEST_F(SpeedPageTest, WriteWithAutomaticSelectionOff) {
    const std::pair<ComboBox*, int> picks[] = {{&page().ComboBox2, 3}, {&page().ComboBox9, 0},
                                               {&page().ComboBox3, 1}, {&page().ComboBox4, 44},
                                               {&page().ComboBox5, 1}, {&page().ComboBox6, 21}};
    for (auto [list, index] : picks) ASSERT_TRUE(user->pick(*list, index));
    ASSERT_TRUE(user->click(page().SpeedButton10));
    EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{"AT+MS=V90,0,300,33600,300,56000", kStore}));
    EXPECT_EQ(hp.modem().storedMsValue(), "V90,0,300,33600,300,56000");
    EXPECT_EQ(link().PendingRequest, rqWrite);
    EXPECT_TRUE(errors().empty());
}

TEST_F(SpeedPageTest, WriteWithOnlyTheSymbolRateSendsS210Alone) {
    ASSERT_TRUE(user->pick(page().ComboBox8, 2));
    ASSERT_TRUE(user->click(page().SpeedButton10));
    EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{"ATS210=3", kStore}));
    EXPECT_EQ(hp.modem().storedReg(210), 3);
}

TEST_F(SpeedPageTest, IncompleteSelectionWritesAndAppendsNothing) {
    for (ComboBox* list : {&page().ComboBox2, &page().ComboBox3, &page().ComboBox4, &page().ComboBox5,
                           &page().ComboBox6})
        ASSERT_TRUE(user->pick(*list, 0));
    user->type(form().initString.Edit1, "X3");
    ASSERT_TRUE(user->click(page().SpeedButton10));
    ASSERT_TRUE(user->click(page().SpeedButton11));
    EXPECT_TRUE(hp.modem().log().empty());
    EXPECT_FALSE(hp.serial.isOpen());
    EXPECT_EQ(form().initString.Edit1.text(), "X3");
    EXPECT_TRUE(hp.desktop.messageBoxes.empty());
}

TEST_F(SpeedPageTest, AppendAddsTheMsAssignmentWithoutTheSymbolRate) {
    read();
    user->type(form().initString.Edit1, "X3");
    ASSERT_TRUE(user->click(page().SpeedButton11));
    EXPECT_EQ(form().initString.Edit1.text(), "X3+MS=V92,1,300,48000,300,56000");
    EXPECT_TRUE(hp.modem().log().empty()) << "append sends nothing";
}

// Captures that cannot be cut at the two echoes are refused before any list changes.
TEST_F(SpeedPageTest, UncuttableCaptureChangesNoListAndIsReported) {
    ASSERT_TRUE(user->pick(page().ComboBox2, 2));
    ASSERT_TRUE(user->pick(page().ComboBox8, 1));
    const std::string captures[] = {
        "ATE1OK+MS: V92,1,300,48000,300,56000OKATS210?005OK",          // no AT+MS? echo
        "ATE1OKAT+MS?+MS: V92,1,300,48000,300,56000OKATS210",          // no ATS210? echo
        "ATS210?005OKATE1OKAT+MS?+MS: V92,1,300,48000,300,56000OK",    // echoes in the other order
        "ATE1OKAT+MS?+MS: V92,1,300,48000,300OKATS210?005OK",          // four commas
        "AT+MS?+MS: OKATS210?005OK,,,,,,",                             // empty value list
        "ATE1OKAT+MS?+MSATS210?005OK",                                 // negative length
        "AT+MS?ATS210?,,,,,,,,,,,,,,,,,",                              // echoes touching
        "AT+MS?+MS: V92,1,300ATS210?,4,5,6,7,8",                       // commas only past the list
    };
    const auto before = state();
    for (const std::string& capture : captures) {
        SCOPED_TRACE(capture);
        hp.desktop.messageBoxes.clear();
        dispatch(capture);
        EXPECT_EQ(errors(), std::vector<std::string>{kUnrecognised});
        EXPECT_EQ(state(), before);
        EXPECT_EQ(link().RxText, capture);
        EXPECT_EQ(link().PendingRequest, rqSpeedRead);
    }
}

// Every cut of the worked reply: up to the end of the ATS210? echo it cannot be cut; with
// the echo whole but no value the conversion fails on the empty text; any digit after it
// converts (a value cut short is shorter, as everywhere).
TEST_F(SpeedPageTest, CaptureCutShortAnywhere) {
    const std::string reply = "ATE1OKAT+MS?+MS: V92,1,300,48000,300,56000OKATS210?005OK";
    const size_t echoEnd = reply.find("ATS210?") + 7;
    for (size_t n = 21; n <= reply.size(); ++n) {
        const std::string capture = reply.substr(0, n);
        SCOPED_TRACE(capture);
        for (ComboBox* list : lists()) list->setItemIndex(-1);
        const auto before = state();
        hp.desktop.messageBoxes.clear();
        dispatch(capture);
        if (n < echoEnd) {
            EXPECT_EQ(errors(), std::vector<std::string>{kUnrecognised});
            EXPECT_EQ(state(), before);
            EXPECT_EQ(link().PendingRequest, rqSpeedRead);
        } else if (n == echoEnd) {
            EXPECT_EQ(errors(), std::vector<std::string>{"'' is not a valid integer value."});
            EXPECT_EQ(page().ComboBox2.selectedText(), "V92") << "earlier steps keep what they did";
            EXPECT_EQ(link().PendingRequest, rqSpeedRead);
        } else {
            EXPECT_TRUE(errors().empty());
            EXPECT_EQ(page().ComboBox6.selectedText(), "48000");
            EXPECT_EQ(link().PendingRequest, rqWrite);
        }
    }
}

// A well-formed reply whose field does not convert stops at that step.
TEST_F(SpeedPageTest, FieldThatDoesNotConvertStopsTheParseAtItsStep) {
    struct Case {
        std::string capture;
        std::string error;
        std::vector<std::string> shown;  // in page order, as in shown()
    };
    const Case cases[] = {
        // A seventh value stays in the last field.
        {"AT+MS?+MS: V92,1,300,48000,300,56000,7OKATS210?005OK", "' 56000,7' is not a valid integer value.",
         {"V92", "", "300", "", "", "", ""}},
        {"AT+MS?+MS: V34,x,300,33600,300,28800OKATS210?005OK", "' x' is not a valid integer value.",
         {"V34", "", "300", "28800", "300", "33600", ""}},
        {"AT+MS?+MS: V92,1,300,48000,300,56000OKATS210?ERROR", "'ERR' is not a valid integer value.",
         {"V92", "Да", "300", "56000", "300", "48000", ""}},
        {"AT+MS?+MS: V92,1,300,48000,300,56000OKATS210?-05OK", "'-' is not a valid integer value.",
         {"V92", "Да", "300", "56000", "300", "48000", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.capture);
        for (ComboBox* list : lists()) list->setItemIndex(-1);
        hp.desktop.messageBoxes.clear();
        dispatch(c.capture);
        EXPECT_EQ(errors(), std::vector<std::string>{c.error});
        EXPECT_EQ(shown(), c.shown);
        EXPECT_EQ(link().RxText, c.capture);
        EXPECT_EQ(link().PendingRequest, rqSpeedRead);
    }
}

TEST_F(SpeedPageTest, ShortValueFromTheModemFailsAfterTheListsAreSet) {
    hp.modem().setShortValues(true);  // "5" then "OK": the cut takes "5OK"
    ASSERT_TRUE(user->click(page().SpeedButton9));
    EXPECT_EQ(errors(), std::vector<std::string>{"'5OK' is not a valid integer value."});
    EXPECT_EQ(page().ComboBox2.selectedText(), "V92");
    EXPECT_EQ(page().ComboBox8.itemIndex(), -1);
    EXPECT_EQ(link().PendingRequest, rqSpeedRead);
    hp.serial.inject("x");
    hp.serial.raiseTxEmpty();
    hp.desktop.processMessages();
    EXPECT_EQ(errors().size(), 1u) << "a failed parse is not repeated";
}

TEST_F(SpeedPageTest, DispatchWaitsForMoreThanTwentyCharacters) {
    link().OpenModemLink(rqSpeedRead);
    link().VaCommRxBuf("AT+MS?+MS: V92,1,300");  // 20 characters
    form().VaCommTxEmpty();
    EXPECT_TRUE(errors().empty()) << "20 characters must not run the parse";
    link().VaCommRxBuf(",");
    program->app.run([&] { form().VaCommTxEmpty(); });
    EXPECT_EQ(errors(), std::vector<std::string>{kUnrecognised});
}

}  // namespace
}  // namespace lt::testing

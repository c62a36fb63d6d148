#include "link/register_value.h"
#include "program_fixture.h"

namespace lt::testing {
namespace {

TEST(ExtractRegisterValue, CutsUpToThreeCharactersAfterTheFirstEcho) {
    const std::string reply = "ATE1OKATS216?005OKATS218?000OK";
    const struct { std::string snapshot, query; int offset; std::string value; } cases[] = {
        {reply, "ATS216?", 7, "005"},
        {reply, "ATS218?", 7, "000"},
        {"ATE1OKATS17?012OK", "ATS17?", 6, "012"},
        {"ATS203?001OKATS203?002OK", "ATS203?", 7, "001"},   // first occurrence counts
        {reply, "ATS999?", 7, "ATS"},                        // absent: 7th to 9th characters
        {"ATE1OKATS216?01", "ATS216?", 7, "01"},             // cut by the end
        {"ATE1OKATS216?", "ATS216?", 7, ""},                 // starts beyond the end
        {"ATS2", "ATS216?", 7, ""},
        {"", "ATS216?", 7, ""},
        {reply, "ats216?", 7, "ATS"},                        // case-sensitive
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtractRegisterValue(c.snapshot, c.query, c.offset), c.value) << c.snapshot << " " << c.query;
}

class LinkTest : public ProgramTest {
protected:
    void SetUp() override {
        seedSettings();
        start();
    }
    void sendAndProcess(const std::string& command) {
        link().OpenModemLink(rqBusyRead);
        link().Send(command);
        hp.desktop.processMessages();
    }
};

TEST_F(LinkTest, CaptureDropsCrAndLfAndLogsOneLinePerCr) {
    link().VaCommRxBuf("\r\nOK\r\n\n\rX");
    EXPECT_EQ(link().RxText, "OKX");
    EXPECT_EQ(form().Memo2.lines().size(), 3u);
}

TEST_F(LinkTest, ReceiveTextIsBoundedSoANoisyLineCannotGrowIt) {
    link().VaCommRxBuf(std::string(CommandExchange::kMaxRxText + 5000, 'x'));
    EXPECT_EQ(link().RxText.size(), CommandExchange::kMaxRxText);
}

TEST_F(LinkTest, PacingWaitsMoreThanFiftyMillisecondsAfterEveryCharacter) {
    // The tick count wraps after 49.7 days; a send across the wrap keeps its pace.
    for (const uint32_t origin : {1000u, 0xFFFFFFFFu - 120u}) {
        SCOPED_TRACE(origin);
        hp.modem().clearLog();
        hp.clock.set(origin);
        sendAndProcess("ATE1\r");
        const auto& log = hp.modem().log();
        ASSERT_EQ(log.size(), 5u);
        for (size_t i = 1; i < log.size(); ++i) EXPECT_EQ(log[i].timeMs - log[i - 1].timeMs, 51u);
        EXPECT_EQ(hp.clock.tickMs() - origin, 5u * 51u);
    }
}

TEST_F(LinkTest, ResultLinesReachTheStatusLog) {
    link().OpenModemLink(rqWrite);
    hp.serial.inject("\r\nNO CARRIER\r\nCONNECT 33600\r\nNO DIALTONE\r\nVOICE\r\nOK\r\nRING\r\n");
    link().Send("AT\r");
    hp.desktop.processMessages();
    const std::deque<std::string> expected = {"No Carrier.", "Connect: CONNECT 33600", "No dialtone", "Voice line"};
    EXPECT_EQ(form().Memo1.lines(), expected);
}

TEST_F(LinkTest, PortFaultsFailWithTheComponentMessages) {
    struct Case {
        const char* name;
        std::function<void(headless::FakeSerialDevice&, headless::MemoryRegistry&)> fault;
        std::string shown;
    };
    const Case cases[] = {
        {"no such port", [](auto&, auto& reg) { reg.setString(setting::kKey, setting::kPort, "3"); },
         "Invalid port number (COM3)"},
        {"held", [](auto& dev, auto&) { dev.heldDevices.insert("COM1"); }, "Can't open device COM1."},
        {"config", [](auto& dev, auto&) { dev.configFailure = "Error writing dcb (87), bad"; },
         "Error writing dcb (87), bad."},
        {"port not a number", [](auto&, auto& reg) { reg.setString(setting::kKey, setting::kPort, "COM1"); },
         "'COM1' is not a valid integer value."},
        {"empty port", [](auto&, auto& reg) { reg.setString(setting::kKey, setting::kPort, ""); },
         "'' is not a valid integer value."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedPlatform other;
        other.registry.setString(setting::kKey, setting::kPath, kDriverKey);
        other.registry.setString(setting::kKey, setting::kPort, "1");
        other.registry.setString(setting::kKey, setting::kVersion, "65a");
        Program p(other.platform());
        p.start();
        // After start: an empty port at start would leave the main window disabled under setup.
        c.fault(other.serial, other.registry);
        headless::User u(p.app, other.desktop);
        u.click(p.Form1->busyTone.SpeedButton4);
        ASSERT_EQ(other.desktop.messageBoxes.size(), 1u);
        EXPECT_EQ(other.desktop.messageBoxes[0].text, c.shown);
        EXPECT_EQ(other.desktop.messageBoxes[0].caption, "ZOLT tuner");
        EXPECT_TRUE(other.modem().log().empty());
        EXPECT_EQ(p.Form1->link.PendingRequest, rqWrite);
        EXPECT_TRUE(p.Form1->visible()) << "the main window must stay visible";
    }
}

TEST_F(LinkTest, PortNumberCannotChangeWhileOpen) {
    user->click(form().busyTone.SpeedButton4);
    hp.serial.presentDevices.insert("COM2");
    hp.registry.setString(setting::kKey, setting::kPort, "2");
    user->click(form().busyTone.SpeedButton4);
    EXPECT_EQ(errors(), std::vector<std::string>{"Can't perform this operation while port is open."});
}

TEST_F(LinkTest, CtsOffFailsTheFirstCharacterAfterTheWriteWait) {
    hp.serial.ctsOn = false;
    const uint32_t before = hp.clock.tickMs();
    user->click(form().busyTone.SpeedButton4);
    EXPECT_EQ(errors(), std::vector<std::string>{"TVaModem: error writing to comm."});
    EXPECT_EQ(hp.clock.tickMs() - before, 1000u);
    EXPECT_EQ(link().PendingRequest, rqBusyRead);
    EXPECT_TRUE(link().RxText.empty());
}

TEST_F(LinkTest, EmptyPathStillLetsTheRequestGoOnWithTheWindowVisible) {
    hp.registry.setString(setting::kKey, setting::kPath, "");
    user->click(form().busyTone.SpeedButton4);
    EXPECT_TRUE(errors().empty());
    EXPECT_TRUE(form().visible());
    EXPECT_EQ(form().busyTone.Edit2.text(), "025");
}

TEST_F(LinkTest, DsrOffReceivesNothingAndSaysNothing) {
    hp.serial.dsrOn = false;
    user->click(form().busyTone.SpeedButton4);
    EXPECT_TRUE(hp.desktop.messageBoxes.empty());
    EXPECT_EQ(link().PendingRequest, rqBusyRead);
    EXPECT_TRUE(form().busyTone.Edit2.text().empty());
}

TEST_F(LinkTest, LineErrorsAreClearedWithoutAMessage) {
    user->click(form().busyTone.SpeedButton4);
    hp.serial.raiseLineError();
    hp.desktop.processMessages();
    EXPECT_TRUE(hp.desktop.messageBoxes.empty());
    EXPECT_FALSE(hp.serial.lineErrorStanding());
}

TEST_F(LinkTest, LineErrorInTheSameHandOverAsTheReplyStillLetsItParse) {
    hp.modem().setRegister(203, 77);
    hp.serial.beforeWrite = [&] { hp.serial.raiseLineError(); };
    user->click(form().busyTone.SpeedButton4);
    EXPECT_TRUE(hp.desktop.messageBoxes.empty());
    EXPECT_EQ(form().busyTone.Edit2.text(), "077");
}

// Runs action before the byte at position `at` of the next script is offered.
void atCharacter(headless::FakeSerialDevice& serial, int at, std::function<void()> action) {
    serial.beforeWrite = [&serial, at, action, n = 0]() mutable {
        if (n++ != at) return;
        action();
        serial.beforeWrite = nullptr;
    };
}

TEST_F(LinkTest, CtsDroppingMidScriptStopsTheRestAndCapturesWhatWasAnswered) {
    user->click(form().busyTone.SpeedButton4);
    hp.modem().clearLog();
    atCharacter(hp.serial, 12, [&] { hp.serial.ctsOn = false; });  // after "ATE1\rATS10?\r"
    const uint32_t before = hp.clock.tickMs();
    user->click(form().levels.SpeedButton12);
    EXPECT_EQ(errors(), std::vector<std::string>{"TVaModem: error writing to comm."});
    EXPECT_EQ(hp.clock.tickMs() - before, 12u * 51u + 1000u) << "one write wait, not one per character";
    EXPECT_EQ(hp.modem().receivedText(), "ATE1\rATS10?\r");
    EXPECT_EQ(link().PendingRequest, rqTxLevelRead);
    EXPECT_EQ(link().RxText, "ATE1OKATS10?014OK") << "the answers to what was sent are captured";
}

TEST_F(LinkTest, DevicePulledMidScriptIsOpenedAgainOnceItIsBack) {
    user->click(form().busyTone.SpeedButton4);
    ASSERT_EQ(hp.serial.opens(), 1);
    atCharacter(hp.serial, 10, [&] { hp.serial.unplugged = true; });
    user->click(form().busyTone.SpeedButton4);
    EXPECT_EQ(errors(), std::vector<std::string>{"TVaModem: error writing to comm."});
    EXPECT_FALSE(link().VaComm.isOpen()) << "a port whose device has gone is closed";

    // Still absent: the open fails as for a port that does not exist.
    user->click(form().busyTone.SpeedButton4);
    EXPECT_EQ(errors().back(), "Invalid port number (COM1)");
    EXPECT_EQ(link().PendingRequest, rqBusyRead) << "the failed open left the code of the cut request";

    hp.serial.unplugged = false;
    hp.modem().setRegister(203, 99);
    user->click(form().busyTone.SpeedButton4);
    EXPECT_EQ(errors().size(), 2u);
    EXPECT_EQ(hp.serial.opens(), 2);
    EXPECT_EQ(form().busyTone.Edit2.text(), "099");
}

TEST_F(LinkTest, DevicePulledAndPluggedBackWhileIdleIsOpenedAfresh) {
    user->click(form().busyTone.SpeedButton4);
    hp.serial.unplugged = true;
    hp.desktop.processMessages();  // the old handle notices it has gone
    hp.serial.unplugged = false;
    hp.modem().setRegister(203, 98);
    user->click(form().busyTone.SpeedButton4);
    EXPECT_TRUE(errors().empty()) << "no request fails for a device that is back";
    EXPECT_EQ(hp.serial.opens(), 2);
    EXPECT_EQ(form().busyTone.Edit2.text(), "098");
}

}  // namespace
}  // namespace lt::testing

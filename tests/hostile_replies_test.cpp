// Every read through the whole program against replies a modem or a line can produce:
// each case either parses to the modem's values, or shows its exact error and changes
// nothing, or does nothing at all; and the next clean read works.
#include <functional>

#include "program_fixture.h"
#include "read_kinds.h"
#include "sim/editions.h"

namespace lt::testing {
namespace {

// One command as the modem answers it: its echo (the command and CR) and the answer.
struct Exchange {
    std::string echo, answer;
};

// The factory modem's answers to a script, as the real exchange would bring them.
std::vector<Exchange> exchangesOf(const std::vector<std::string>& script) {
    sim::Modem modem;
    std::vector<Exchange> out;
    for (const std::string& command : script) {
        for (unsigned char c : command + "\r") modem.receive(c, 0);
        const std::string text = modem.takeOutput(0);
        out.push_back({command + "\r", text.substr(command.size() + 1)});
    }
    return out;
}

std::string joined(const std::vector<Exchange>& exchanges) {
    std::string text;
    for (const Exchange& e : exchanges) text += e.echo + e.answer;
    return text;
}

const std::string kParsed = "parsed";
const std::string kNothing = "nothing";
const std::string kSpeedRefused = "Unrecognised reply to the speed query (AT+MS?, ATS210?)";
std::string notInteger(const std::string& text) { return "'" + text + "' is not a valid integer value."; }

struct HostileCase {
    const char* name;
    std::function<void(sim::Modem&)> fault;                          // the modem misbehaves, or
    std::function<std::string(std::vector<Exchange>)> craft;         // the line brings this text
    bool byteByByte;                                                 // one byte per hand-over
    bool noCarrier;                                                  // "No Carrier." is logged
    // Per read, in the order of readKinds(): busy, ext, ident, speed, txlevel, lineadapt.
    std::array<std::string, 6> outcomes;
};

const std::vector<HostileCase>& hostileCases() {
    static const std::vector<HostileCase> cases = {
        {"ShortValues", [](sim::Modem& m) { m.setShortValues(true); }, nullptr, false, false,
         {notInteger("25O"), notInteger("5OK"), kParsed, notInteger("5OK"), notInteger("10O"), notInteger("55O")}},
        {"ErrorForEveryQuery", nullptr,
         [](std::vector<Exchange> ex) {
             for (size_t i = 1; i < ex.size(); ++i) ex[i].answer = "\r\nERROR\r\n";
             return joined(ex);
         },
         false, false,
         {notInteger("ERR"), notInteger("ERR"), kNothing, kSpeedRefused, notInteger("ERR"), notInteger("ERR")}},
        {"EchoMissing", [](sim::Modem& m) { m.setEchoDropped(true); }, nullptr, false, false,
         {notInteger("K05"), kNothing, kParsed, kSpeedRefused, kNothing, kNothing}},
        {"EchoesInTheWrongOrder", nullptr,
         [](std::vector<Exchange> ex) {
             std::reverse(ex.begin(), ex.end());
             return joined(ex);
         },
         false, false, {kParsed, kParsed, kParsed, kSpeedRefused, kParsed, kParsed}},
        {"NulInsideEveryAnswer", nullptr,
         [](std::vector<Exchange> ex) {
             for (Exchange& e : ex) {
                 std::string spread;
                 for (char c : e.answer) spread += std::string(1, c) + '\0';
                 e.answer = spread;
             }
             return joined(ex);
         },
         false, false, {kParsed, kParsed, kParsed, kParsed, kParsed, kParsed}},
        {"FfAfterEveryEcho", nullptr,
         [](std::vector<Exchange> ex) {
             for (Exchange& e : ex) e.answer = "\xFF" + e.answer;
             return joined(ex);
         },
         false, false,
         {notInteger("\xFF" "02"), notInteger("\xFF" "00"), kParsed, notInteger("\xFF" "00"),
          notInteger("\xFF" "01"), notInteger("\xFF" "05")}},
        {"OneBytePerHandOver", nullptr, [](std::vector<Exchange> ex) { return joined(ex); }, true, false,
         {kParsed, kParsed, kParsed, kParsed, kParsed, kParsed}},
        {"RingAndNoCarrierBetweenAnswers", nullptr,
         [](std::vector<Exchange> ex) {
             ex[0].echo = "\r\nRING\r\n" + ex[0].echo;
             ex[0].answer += "\r\nNO CARRIER\r\n";
             return joined(ex);
         },
         false, true, {kParsed, kParsed, kParsed, kParsed, kParsed, kParsed}},
        {"NoCarrierBeforeTheLastEcho", nullptr,
         [](std::vector<Exchange> ex) {
             ex[ex.size() - 2].answer += "\r\nNO CARRIER\r\n";
             return joined(ex);
         },
         false, true, {kParsed, kParsed, kParsed, notInteger(" 56000OKNO CARRI"), kParsed, kParsed}},
    };
    return cases;
}

class HostileReply : public ProgramTest, public ::testing::WithParamInterface<std::tuple<size_t, size_t>> {
protected:
    const HostileCase& hostile() { return hostileCases()[std::get<0>(GetParam())]; }
    const ReadKind& kind() { return readKinds()[std::get<1>(GetParam())]; }
    const std::string& outcome() { return hostile().outcomes[std::get<1>(GetParam())]; }
    std::string shown() { return kind().shown(form(), hp.registry); }
    std::string expected() { return kind().expected(hp.modem(), sim::Edition::B65a); }
    void read() { ASSERT_TRUE(user->click(kind().button(form()))); }
};

TEST_P(HostileReply, ParsesOrFailsAsTheCaseSaysAndTheNextReadWorks) {
    seedSettings();
    start();
    read();  // opens the port; what is injected from now on lands after the next prologue
    ASSERT_EQ(shown(), expected());
    kind().disturb(*user, form(), hp.registry);
    const std::string before = shown();
    ASSERT_NE(before, expected());

    if (hostile().fault) {
        hostile().fault(hp.modem());
        read();
    } else {
        hp.modem().setSilent(true);  // the test plays the modem
        const std::string reply = hostile().craft(exchangesOf(kind().script));
        if (!hostile().byteByByte) {
            hp.serial.inject(reply);
            read();
        } else {
            read();
            for (char c : reply) {
                hp.serial.inject(std::string(1, c));
                hp.desktop.processMessages();
            }
            hp.serial.raiseTxEmpty();
            hp.desktop.processMessages();
        }
    }

    if (outcome() == kParsed) {
        EXPECT_TRUE(errors().empty());
        EXPECT_EQ(shown(), expected());
        EXPECT_EQ(link().PendingRequest, rqWrite);
        EXPECT_TRUE(link().RxText.empty());
    } else if (outcome() == kNothing) {
        EXPECT_TRUE(hp.desktop.messageBoxes.empty());
        EXPECT_EQ(shown(), before);
        EXPECT_EQ(link().PendingRequest, kind().code);
    } else {
        EXPECT_EQ(errors(), std::vector<std::string>{outcome()});
        const bool conversion = outcome().front() == '\'';
        if (!(kind().partialOnFailure && conversion)) {
            EXPECT_EQ(shown(), before);
        }
        EXPECT_EQ(link().PendingRequest, kind().code) << "a failed parse leaves its request";
        EXPECT_FALSE(link().RxText.empty());
    }
    EXPECT_EQ(link().RxText.find('\0'), std::string::npos) << "NUL is dropped by the port";
    const auto& status = form().Memo1.lines();
    EXPECT_EQ(std::count(status.begin(), status.end(), "No Carrier."), hostile().noCarrier ? 1 : 0);

    // The program is as usable as before.
    hp.modem() = sim::Modem();
    const size_t shownErrors = errors().size();
    read();
    EXPECT_EQ(errors().size(), shownErrors);
    EXPECT_EQ(shown(), expected());
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileReply,
    ::testing::Combine(::testing::Range<size_t>(0, hostileCases().size()), ::testing::Range<size_t>(0, 6)),
    [](const auto& info) {
        return std::string(hostileCases()[std::get<0>(info.param)].name) + "_" +
               readKinds()[std::get<1>(info.param)].name;
    });

// The modem's changes between the two reads, and what a read of them then shows.
struct Change {
    std::function<void(sim::Modem&)> apply;
    sim::Edition ident;
};

const std::array<Change, 6> kChanges = {{
    {[](sim::Modem& m) { m.setRegister(203, 99); }, sim::Edition::B65a},
    {[](sim::Modem& m) { m.setRegister(216, 200); }, sim::Edition::B65a},
    // Row 1 of the table: the late reply's row 7 is the later match and stays.
    {[](sim::Modem& m) { m.setIdentification(sim::identificationText(sim::Edition::R47ab)); },
     sim::Edition::R47ab},
    {[](sim::Modem& m) { m.setMsValue("V34,0,300,33600,300,28800"); }, sim::Edition::B65a},
    {[](sim::Modem& m) { m.setRegister(91, 15); }, sim::Edition::B65a},
    {[](sim::Modem& m) { m.setRegister(215, 0x39); }, sim::Edition::B65a},
}};

class LateReply : public ProgramTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(LateReply, ArrivesAheadOfTheNextRequestsReplyAndItsValuesComeFirst) {
    const ReadKind& kind = readKinds()[GetParam()];
    seedSettings();
    start();
    const std::string factory = kind.expected(hp.modem(), sim::Edition::B65a);
    kind.disturb(*user, form(), hp.registry);
    const std::string before = kind.shown(form(), hp.registry);

    hp.modem().setReplyDelayMs(3000);  // longer than any read script takes
    ASSERT_TRUE(user->click(kind.button(form())));
    EXPECT_EQ(kind.shown(form(), hp.registry), before) << "nothing has come back yet";
    EXPECT_EQ(link().PendingRequest, kind.code);

    hp.clock.advance(3000);  // the late reply is on the line when the next read starts
    hp.modem().setReplyDelayMs(0);
    kChanges[GetParam()].apply(hp.modem());
    ASSERT_TRUE(user->click(kind.button(form())));
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(kind.shown(form(), hp.registry), factory) << "the first echo in the text is the late one";

    ASSERT_TRUE(user->click(kind.button(form())));
    EXPECT_EQ(kind.shown(form(), hp.registry), kind.expected(hp.modem(), kChanges[GetParam()].ident));
    EXPECT_TRUE(errors().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryRead, LateReply, ::testing::Range<size_t>(0, 6),
                         [](const auto& info) { return std::string(readKinds()[info.param].name); });

}  // namespace
}  // namespace lt::testing

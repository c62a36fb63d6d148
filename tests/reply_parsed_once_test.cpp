// One reply, one parse. The port may report transmit-empty more than once after a script
// (characters that left during the send leave reports behind), so a reply whose parse
// failed meets further reports, some with late bytes; none may parse it again.
#include <functional>
#include <iterator>

#include "program_fixture.h"
#include "read_kinds.h"

namespace lt::testing {
namespace {

struct FailingRead {
    size_t kind;  // index into readKinds()
    const char* how;
    std::function<void(sim::Modem&, headless::MemoryRegistry&)> fault;
    std::string message;
};

void shortValues(sim::Modem& modem, headless::MemoryRegistry&) { modem.setShortValues(true); }
void malformedValues(sim::Modem& modem, headless::MemoryRegistry&) { modem.setMalformedValues(true); }

// Kinds: 0 busy, 1 ext, 2 ident, 3 speed, 4 txlevel, 5 lineadapt.
const FailingRead kFailingReads[] = {
    {0, "ShortValues", shortValues, "'25O' is not a valid integer value."},
    {0, "MalformedValues", malformedValues, "'#2O' is not a valid integer value."},  // S203 = 25 as "#2"
    {1, "ShortValues", shortValues, "'5OK' is not a valid integer value."},
    {1, "MalformedValues", malformedValues, "'5OK' is not a valid integer value."},
    // The identification finishes its request even when it fails.
    {2, "RefusedWrite", [](sim::Modem&, headless::MemoryRegistry& r) { r.failWritesOf = {setting::kModem}; },
     "Failed to set data for 'modem'"},
    {3, "ShortValues", shortValues, "'5OK' is not a valid integer value."},  // S210, after the lists are set
    {3, "MalformedValues", malformedValues, "' #3' is not a valid integer value."},  // the minimum receive rate
    {4, "ShortValues", shortValues, "'10O' is not a valid integer value."},
    {4, "MalformedValues", malformedValues, "'#1O' is not a valid integer value."},
    {5, "ShortValues", shortValues, "'55O' is not a valid integer value."},
    {5, "MalformedValues", malformedValues, "'#5O' is not a valid integer value."},
};

class ReplyReports : public ProgramTest {
protected:
    void SetUp() override {
        seedSettings();
        start();
    }
    // One more transmit-empty report from the port, with the bytes that came since.
    void reportTxEmpty(const std::string& bytes = "") {
        if (!bytes.empty()) hp.serial.inject(bytes);
        hp.serial.raiseTxEmpty();
        hp.desktop.processMessages();
    }
};

class ReplyParsedOnce : public ReplyReports, public ::testing::WithParamInterface<size_t> {
protected:
    const FailingRead& failing() { return kFailingReads[GetParam()]; }
    const ReadKind& kind() { return readKinds()[failing().kind]; }
    std::string shown() { return kind().shown(form(), hp.registry); }
};

TEST_P(ReplyParsedOnce, FailedParseShowsOneBoxUntilTheNextRequest) {
    failing().fault(hp.modem(), hp.registry);
    ASSERT_TRUE(user->click(kind().button(form())));
    ASSERT_EQ(errors(), std::vector<std::string>{failing().message});
    const std::string afterFailure = shown();
    const std::string text = link().RxText;
    const TRequestKind pending = link().PendingRequest;

    for (int i = 0; i < 3; ++i) reportTxEmpty();
    reportTxEmpty("\r\nOK\r\n");  // the reply grew since
    EXPECT_EQ(errors().size(), 1u) << "the failed reply was parsed again";
    EXPECT_EQ(shown(), afterFailure);
    EXPECT_EQ(link().PendingRequest, pending);
    EXPECT_EQ(link().RxText, pending == rqWrite ? "OK" : text + "OK");

    hp.modem() = sim::Modem();
    hp.registry.failWritesOf.clear();
    ASSERT_TRUE(user->click(kind().button(form())));
    EXPECT_EQ(errors().size(), 1u);
    EXPECT_EQ(shown(), kind().expected(hp.modem(), sim::Edition::B65a)) << "the next request parses";
    EXPECT_EQ(link().PendingRequest, rqWrite);
}

INSTANTIATE_TEST_SUITE_P(EveryBranch, ReplyParsedOnce, ::testing::Range<size_t>(0, std::size(kFailingReads)),
                         [](const auto& info) {
                             const FailingRead& f = kFailingReads[info.param];
                             return std::string(readKinds()[f.kind].name) + "_" + f.how;
                         });

// A level branch that finds no echo of its query takes nothing: the reply may still be
// coming, and the report that brings the echo parses it.
TEST_F(ReplyReports, LevelReplyWhoseEchoComesLaterIsParsedThen) {
    const struct { size_t kind; const char* start; const char* rest; const char* shown; } cases[] = {
        {4, "ATE1\r\r\nOK\r\nATS10?\r\r\n014\r\nOK\r\n", "ATS91?\r\r\n012\r\nOK\r\n", "-12@11"},
        {5, "ATE1\r\r\nOK\r\nATS10?\r\r\n014\r\nOK\r\n", "ATS215?\r\r\n057\r\nOK\r\n", "9,3"},
    };
    hp.modem().setSilent(true);  // the test plays the modem
    for (const auto& c : cases) {
        const ReadKind& kind = readKinds()[c.kind];
        ASSERT_TRUE(user->click(kind.button(form())));
        reportTxEmpty(c.start);
        ASSERT_GT(link().RxText.size(), 10u) << kind.name;
        EXPECT_EQ(link().PendingRequest, kind.code) << kind.name;
        reportTxEmpty(c.rest);
        EXPECT_EQ(kind.shown(form(), hp.registry), c.shown) << kind.name;
        EXPECT_EQ(link().PendingRequest, rqWrite) << kind.name;
    }
    EXPECT_TRUE(hp.desktop.messageBoxes.empty());
}

}  // namespace
}  // namespace lt::testing

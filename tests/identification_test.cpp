#include "program_fixture.h"

namespace lt::testing {
namespace {

using sim::Edition;

struct IdentifiedCase {
    Edition edition;
    const char* series;
    const char* code;
    const char* seriesLine;
    const char* editionLine;
};

void PrintTo(const IdentifiedCase& c, std::ostream* os) { *os << c.series << " " << c.code; }

// "\u0430" is the Cyrillic a that ends the lines of the ZOLT2 betas.
const IdentifiedCase kIdentified[] = {
    {Edition::R47ab, "ZOLT1", "47ab", "серия ZOLT1", "русская версия beta 47a"},
    {Edition::R48ab, "ZOLT1", "48ab", "серия ZOLT1", "русская версия beta 48a"},
    {Edition::R47b, "ZOLT1", "47b", "серия ZOLT1", "русская версия beta 47"},
    {Edition::R4610, "ZOLT1", "4610", "серия ZOLT1", "базовая версия 4.610"},
    {Edition::Gb1, "ZOLT2", "gb1", "серия ZOLT2", "первый официальный релиз"},
    {Edition::B64a, "ZOLT2", "64a", "серия ZOLT2", "русская версия beta 64\u0430"},
    {Edition::B65a, "ZOLT2", "65a", "серия ZOLT2", "русская версия beta 65\u0430"},
    {Edition::B66a, "ZOLT2", "66a", "серия ZOLT2", "русская версия beta 66\u0430"},
    {Edition::B67, "ZOLT2", "67", "серия ZOLT2", "русская версия beta 67"},
};

class IdentificationTest : public ProgramTest {
protected:
    IdentificationTest() = default;
    explicit IdentificationTest(Edition edition) : ProgramTest(edition) {}

    InformationPage& ident() { return form().information; }
    std::vector<std::string> lines() {
        return {ident().Label15.text(), ident().Label16.text(), ident().Label17.text()};
    }
    std::optional<std::string> stored(const char* name) { return hp.registry.text(setting::kKey, name); }
    void identifyAs(const std::string& reply) {
        hp.modem().setIdentification(reply);
        ASSERT_TRUE(user->click(ident().SpeedButton6));
    }
};

const std::vector<std::string> kDefaultLines = {"стандартный модем", "стандартная, Conexant", "стандартная"};

class IdentifyEachEdition : public IdentificationTest, public ::testing::WithParamInterface<IdentifiedCase> {
protected:
    IdentifyEachEdition() : IdentificationTest(GetParam().edition) {}
};

TEST_P(IdentifyEachEdition, StoresSeriesAndEditionAndDescribesThem) {
    const IdentifiedCase& c = GetParam();
    seedSettings("1", "");
    start();
    EXPECT_EQ(lines(), kDefaultLines);
    ASSERT_TRUE(user->click(ident().SpeedButton6));

    EXPECT_EQ(hp.modem().commandLines(), (std::vector<std::string>{"ATE1", "ATI3"}));
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(stored(setting::kModem), c.series);
    EXPECT_EQ(stored(setting::kVersion), c.code);
    const std::vector<std::string> described = {"производства компании Olvix", c.seriesLine, c.editionLine};
    EXPECT_EQ(lines(), described);
    EXPECT_TRUE(link().RxText.empty());
    EXPECT_EQ(link().PendingRequest, rqWrite);
    EXPECT_EQ(form().TabSheet2.enabled(), std::string(c.code) != "4610") << "gating follows the identification";

    // The next start describes the stored modem without asking it.
    start();
    EXPECT_EQ(lines(), described);
    EXPECT_EQ(hp.modem().commandLines().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Editions, IdentifyEachEdition, ::testing::ValuesIn(kIdentified),
                         [](const auto& info) { return std::string("v") + info.param.code; });

TEST_F(IdentificationTest, UnknownFirmwareRemovesTheValuesButKeepsTheLines) {
    seedSettings();
    start();
    identifyAs(sim::identificationText(Edition::B66a));
    const auto described = lines();
    ASSERT_EQ(described[2], "русская версия beta 66\u0430");

    identifyAs(sim::identificationText(Edition::Unknown));
    EXPECT_EQ(stored(setting::kModem), std::nullopt);
    EXPECT_EQ(stored(setting::kVersion), std::nullopt);
    EXPECT_EQ(lines(), described);
    EXPECT_FALSE(form().extRegs.GroupBox3.enabled()) << "gated as an unknown edition";
    EXPECT_TRUE(errors().empty());
}

TEST_F(IdentificationTest, RepliesHoldingTwoTextsStoreTheLaterTableRow) {
    const std::string row2 = sim::identificationText(Edition::R48ab);
    const std::string row6 = sim::identificationText(Edition::B64a);
    seedSettings();
    start();
    for (const std::string& reply : {row2 + row6, row6 + " " + row2}) {
        SCOPED_TRACE(reply);
        identifyAs(reply);
        EXPECT_EQ(stored(setting::kModem), "ZOLT2");
        EXPECT_EQ(stored(setting::kVersion), "64a");
    }
}

TEST_F(IdentificationTest, LetterCaseMismatchMatchesNothing) {
    seedSettings();
    start();
    for (const char* reply : {"trx7 beta ver. 65a--q56_l64_wne", "TRX7 BETA VER. 65A--Q56_L64_WNE",
                              "TRX7_R5.318.gb1-Q57_L64_WNE", "r6.120K47a-Q56_3X_MBT"}) {
        SCOPED_TRACE(reply);
        identifyAs(reply);
        EXPECT_EQ(stored(setting::kVersion), std::nullopt);
        EXPECT_EQ(stored(setting::kModem), std::nullopt);
    }
    EXPECT_EQ(lines()[2], "русская версия beta 65\u0430") << "the stored 65a described at start stays shown";
}

TEST_F(IdentificationTest, FailedWriteStillFinishesTheRequestThenReportsIt) {
    seedSettings();
    start();
    hp.registry.failWrites = true;
    identifyAs(sim::identificationText(Edition::B67));
    EXPECT_EQ(errors(), std::vector<std::string>{"Failed to set data for 'modem'"});
    EXPECT_TRUE(link().RxText.empty());
    EXPECT_EQ(link().PendingRequest, rqWrite);
    EXPECT_EQ(stored(setting::kVersion), std::nullopt) << "removed before the write failed";
    EXPECT_FALSE(form().busyTone.GroupBox1.enabled()) << "gating ran on what is stored";
    EXPECT_EQ(lines()[2], "русская версия beta 65\u0430");
}

// A standard user: the found edition cannot be stored. The page keeps describing and
// gating by what is stored, and the error box says why.
TEST_F(IdentificationTest, SettingsThatCannotBeWrittenKeepTheStoredEditionAndSayWhy) {
    struct Case {
        const char* what;
        bool refuseFullAccess;
        bool refuseRemovals;
    };
    for (const Case& c : {Case{"settings key not writable", true, false}, Case{"removal refused", false, true}}) {
        SCOPED_TRACE(c.what);
        seedSettings("1", "gb1");
        start();
        hp.desktop.messageBoxes.clear();
        if (c.refuseFullAccess) hp.registry.allowOpen = refuseWritingBelow("LTRM");
        hp.registry.failRemovals = c.refuseRemovals;
        identifyAs(sim::identificationText(Edition::B64a));
        EXPECT_EQ(stored(setting::kVersion), "gb1");
        EXPECT_EQ(stored(setting::kModem), "ZOLT2");
        EXPECT_EQ(lines()[2], "первый официальный релиз");
        EXPECT_TRUE(form().levels.LMDGroupBox2.enabled()) << "gated by the stored gb1, not the found 64a";
        EXPECT_EQ(errors(), std::vector<std::string>{kSettingsRefused});
        EXPECT_EQ(link().PendingRequest, rqWrite) << "the request is finished";
        hp.registry.allowOpen = nullptr;
        hp.registry.failRemovals = false;
    }
}

TEST_F(IdentificationTest, ParseWaitsForMoreThanTwentyCharacters) {
    seedSettings();
    start();
    link().OpenModemLink(rqIdentify);
    const std::string reply = sim::identificationText(Edition::R4610) + "OKX";  // 17 + 3 characters
    link().VaCommRxBuf(reply);
    form().VaCommTxEmpty();
    EXPECT_EQ(link().PendingRequest, rqIdentify);
    link().VaCommRxBuf("X");
    form().VaCommTxEmpty();
    EXPECT_EQ(link().PendingRequest, rqWrite);
    EXPECT_EQ(stored(setting::kVersion), "4610");
}

TEST_F(IdentificationTest, SilentModemLeavesTheRequestPending) {
    seedSettings();
    start();
    hp.modem().setSilent(true);
    ASSERT_TRUE(user->click(ident().SpeedButton6));
    EXPECT_EQ(link().PendingRequest, rqIdentify);
    EXPECT_EQ(stored(setting::kVersion), "65a");
    EXPECT_TRUE(hp.desktop.messageBoxes.empty());
}

TEST_F(IdentificationTest, InformationPageControls) {
    seedSettings();
    start();
    for (Label* caption : {&ident().Label7, &ident().Label8, &ident().Label9})
        EXPECT_EQ(caption->style.fontColor, colors::kRed) << caption->name();
    EXPECT_EQ(ident().Label9.text(), "Версия микропрограммы:");
    EXPECT_EQ(ident().Label17.left(), 144);
    EXPECT_EQ(ident().Label17.top(), 88);
    const Button& b = ident().SpeedButton6;
    EXPECT_EQ(b.text(), "Определить модель модема");
    EXPECT_EQ(b.parent(), &form().TabSheet3);
    EXPECT_TRUE(b.style.flat);
    EXPECT_EQ((std::vector<int>{b.left(), b.top(), b.width(), b.height()}), (std::vector<int>{120, 112, 161, 25}));
}

}  // namespace
}  // namespace lt::testing

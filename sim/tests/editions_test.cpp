#include <gtest/gtest.h>

#include "editions.h"
#include "modem_session.h"

using sim::Edition;
using simtest::converse;

namespace {

struct EditionCase {
    Edition edition;
    const char* code;
    const char* identification;
    bool s215, s216, s218, s17;
};

const EditionCase kEditionTable[] = {
    {Edition::R47ab, "47ab", "R6.120K47a-Q56_3X_MBT", true, true, true, false},
    {Edition::R48ab, "48ab", "QK_beta48a-Q56_3X_MBT", true, true, true, false},
    {Edition::R47b, "47b", "R6.120K47-Q56_3X_MBT", true, true, true, false},
    {Edition::R4610, "4610", "R4.610-Q56_3X_MBT", false, false, false, false},
    {Edition::Gb1, "gb1", "TRX7_R5.318.GB1-Q57_L64_WNE", true, true, false, true},
    {Edition::B64a, "64a", "TRX7 beta ver. 64a--Q56_L64_WNE", false, true, true, false},
    {Edition::B65a, "65a", "TRX7 beta ver. 65a--Q56_L64_WNE", true, true, true, false},
    {Edition::B66a, "66a", "TRX7 beta ver. 66a--Q56_L64_WNE", true, true, true, false},
    {Edition::B67, "67", "TRX7 beta ver. 67 --Q56_L64_WNE", true, true, true, false},
    {Edition::Unknown, "unknown", "Generic V.92 Data/Fax Modem Rev 1.0", true, true, true, false},
};

void PrintTo(const EditionCase& c, std::ostream* os) { *os << c.code; }

class EditionTest : public ::testing::TestWithParam<EditionCase> {};

TEST_P(EditionTest, CodeMapsBothWays) {
    const auto& c = GetParam();
    EXPECT_EQ(sim::editionCode(c.edition), c.code);
    EXPECT_EQ(sim::editionFromCode(c.code), c.edition);
}

TEST_P(EditionTest, I3PrintsIdentificationExactly) {
    const auto& c = GetParam();
    EXPECT_EQ(sim::identificationText(c.edition), c.identification);
    auto m = simtest::quietModem(c.edition);
    EXPECT_EQ(converse(m, "ATI3\r"), std::string("\r\n") + c.identification + "\r\n\r\nOK\r\n");
}

TEST_P(EditionTest, VendorRegistersPresentOrAnswerError) {
    const auto& c = GetParam();
    const std::pair<int, bool> vendor[] = {{215, c.s215}, {216, c.s216}, {218, c.s218}, {17, c.s17}};
    for (auto [n, present] : vendor) {
        SCOPED_TRACE("S" + std::to_string(n));
        auto m = simtest::quietModem(c.edition);
        const std::string s = "S" + std::to_string(n);
        EXPECT_EQ(m.hasRegister(n), present);
        const std::string query = converse(m, "AT" + s + "?\r");
        const std::string assign = converse(m, "AT" + s + "=1\r");
        if (present) {
            EXPECT_EQ(query.substr(query.size() - 6), simtest::kOk) << simtest::visible(query);
            EXPECT_EQ(assign, simtest::kOk);
            EXPECT_EQ(m.reg(n), 1);
        } else {
            EXPECT_EQ(query, simtest::kError);
            EXPECT_EQ(assign, simtest::kError);
            EXPECT_EQ(m.reg(n), -1);
        }
    }
}

TEST_P(EditionTest, CommonRegistersHaveTheirDefaults) {
    const std::pair<int, int> common[] = {{0, 0},    {3, 13},   {10, 14},  {12, 50},
                                          {91, 10},  {203, 25}, {204, 50}, {205, 10},
                                          {206, 40}, {207, 4},  {210, 5}};
    sim::Modem m(GetParam().edition);
    for (auto [n, value] : common) EXPECT_EQ(m.reg(n), value) << "S" << n;
}

INSTANTIATE_TEST_SUITE_P(AllEditions, EditionTest, ::testing::ValuesIn(kEditionTable),
                         [](const auto& info) { return std::string("e") + info.param.code; });

TEST(EditionCodes, LetterCaseIgnoredAndStrangersUnknown) {
    EXPECT_EQ(sim::editionFromCode("GB1"), Edition::Gb1);
    EXPECT_EQ(sim::editionFromCode("65A"), Edition::B65a);
    for (const char* odd : {"", "65", "65ab", " 65a", "68", "gb2", "unknown"})
        EXPECT_EQ(sim::editionFromCode(odd), Edition::Unknown) << '"' << odd << '"';
}

TEST(EditionDefaults, VendorRegisterDefaults) {
    sim::Modem b65(Edition::B65a);
    EXPECT_EQ(b65.reg(215), 55);
    EXPECT_EQ(b65.reg(216), 5);
    EXPECT_EQ(b65.reg(218), 0);
    sim::Modem gb1(Edition::Gb1);
    EXPECT_EQ(gb1.reg(17), 6);
}

TEST(EditionDefaults, DefaultConstructedModemIs65a) {
    sim::Modem m;
    EXPECT_EQ(m.edition(), Edition::B65a);
    EXPECT_EQ(converse(m, "ATE0I3\r"), "ATE0I3\r\r\nTRX7 beta ver. 65a--Q56_L64_WNE\r\n\r\nOK\r\n");
}

}  // namespace

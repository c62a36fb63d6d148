#include "program_fixture.h"

namespace lt::testing {
namespace {

using sim::Edition;

const std::vector<std::string> kS218Bits = {"listen renegs", "show renegs", "disabled", "disabled",
                                            "disabled",      "disabled",    "disabled", "disabled"};
const std::vector<std::string> kS17Bits = {"Mute All", "Listen renegs", "Show renegs", "Not used",
                                           "Not used", "Not used",      "Not used",    "Not used"};

class GatingTest : public ProgramTest {
protected:
    // GroupBox1, TabSheet2, GroupBox3, Button1, SpeedButton2, SpeedButton7, LMDGroupBox2.
    std::vector<bool> gated() {
        return {form().busyTone.GroupBox1.enabled(), form().TabSheet2.enabled(),
                form().extRegs.GroupBox3.enabled(),  form().extRegs.Button1.enabled(),
                form().extRegs.SpeedButton2.enabled(), form().extRegs.SpeedButton7.enabled(),
                form().levels.LMDGroupBox2.enabled()};
    }
    void identifyAs(Edition edition) {
        hp.modem().setIdentification(sim::identificationText(edition));
        ASSERT_TRUE(user->click(form().information.SpeedButton6));
        ASSERT_TRUE(errors().empty());
    }
};

const std::vector<bool> kAllOn(7, true);
const std::vector<bool> kAllOff(7, false);
const std::vector<bool> kNoLineAdaptation = {true, true, true, true, true, true, false};

struct GatingCase {
    const char* version;
    std::vector<bool> state;
    bool s17;
};

TEST_F(GatingTest, StoredEditionDecidesTheEditorsAtStart) {
    const GatingCase cases[] = {
        {"4610", kAllOff, false}, {"47ab", kAllOn, false}, {"48ab", kAllOn, false},
        {"47b", kAllOn, false},   {"gb1", kAllOn, true},   {"64a", kNoLineAdaptation, false},
        {"65a", kAllOn, false},   {"66a", kAllOn, false},  {"67", kAllOn, false},
        {"GB1", kAllOff, false},  {"65A", kAllOff, false}, {"65a ", kAllOff, false},
        {"5318", kAllOff, false},
    };
    for (const GatingCase& c : cases) {
        SCOPED_TRACE(c.version);
        seedSettings("1", c.version);
        start();
        EXPECT_EQ(gated(), c.state);
        EXPECT_EQ(form().extRegs.Label5.text(), c.s17 ? "S17" : "S218");
        EXPECT_EQ(form().extRegs.CheckListBox2.items(), c.s17 ? kS17Bits : kS218Bits);
        EXPECT_TRUE(errors().empty());
    }
}

TEST_F(GatingTest, Edition64aLeavesOnlyLineAdaptationUnusable) {
    seedSettings("1", "64a");
    start();
    EXPECT_TRUE(form().extRegs.SpeedButton7.responds());
    EXPECT_TRUE(form().busyTone.SpeedButton4.responds());
    EXPECT_FALSE(form().levels.SpeedButton15.responds());
    EXPECT_TRUE(form().levels.SpeedButton12.responds()) << "the output level is never gated";
}

TEST_F(GatingTest, Gb1RelabellingClearsTheMarksAndOutlivesLaterEditions) {
    seedSettings();
    start();
    ASSERT_TRUE(user->toggle(form().extRegs.CheckListBox2, 0));
    ASSERT_TRUE(user->toggle(form().extRegs.CheckListBox2, 3));
    identifyAs(Edition::Gb1);
    EXPECT_EQ(form().extRegs.Label5.text(), "S17");
    EXPECT_EQ(form().extRegs.CheckListBox2.items(), kS17Bits);
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(form().extRegs.CheckListBox2.checked(i)) << i;

    for (Edition later : {Edition::B65a, Edition::B64a, Edition::Unknown}) {
        identifyAs(later);
        EXPECT_EQ(form().extRegs.Label5.text(), "S17") << sim::editionCode(later);
        EXPECT_EQ(form().extRegs.CheckListBox2.items(), kS17Bits);
    }
    EXPECT_EQ(gated(), kAllOff) << "the unknown edition came last";
}

TEST_F(GatingTest, IdentificationRegatesWithinTheRun) {
    seedSettings("1", "");
    start();
    // Without an edition at start the group and the button inside the disabled page
    // keep their own state; an identification that finds nothing disables them too.
    EXPECT_EQ(gated(), (std::vector<bool>{false, false, true, false, false, true, false}));
    identifyAs(Edition::B64a);
    EXPECT_EQ(gated(), kNoLineAdaptation);
    identifyAs(Edition::B67);
    EXPECT_EQ(gated(), kAllOn);
    identifyAs(Edition::R4610);
    EXPECT_EQ(gated(), kAllOff);
    identifyAs(Edition::R47b);
    EXPECT_EQ(gated(), kAllOn);
    identifyAs(Edition::Unknown);
    EXPECT_EQ(gated(), kAllOff);
}

TEST_F(GatingTest, VersionOfAnotherTypeChangesNoControl) {
    seedSettings("1", "65a");
    start();
    hp.registry.setDword(setting::kKey, setting::kVersion, 0x613536);
    program->app.run([&] { form().ApplyFirmwareFeatures(); });
    EXPECT_EQ(errors(), std::vector<std::string>{"Invalid data type for 'version'"});
    EXPECT_EQ(gated(), kAllOn);
}

}  // namespace
}  // namespace lt::testing

#include "program_fixture.h"

namespace lt::testing {
namespace {

class InitStringTest : public ProgramTest {
protected:
    void SetUp() override {
        seedSettings();
        start();
    }
    InitStringPanel& panel() { return form().initString; }
};

TEST_F(InitStringTest, ReadWriteClearRoundTrip) {
    hp.registry.setString(kDriverKey, "USERINIT", "ATM0");
    user->click(panel().SpeedButton18);
    EXPECT_EQ(panel().Edit1.text(), "ATM0");
    user->click(panel().SpeedButton20);
    EXPECT_EQ(panel().Edit1.text(), "");
    EXPECT_EQ(hp.registry.text(kDriverKey, "USERINIT"), "ATM0") << "clear does not touch the store";
    user->click(panel().SpeedButton18);
    EXPECT_EQ(panel().Edit1.text(), "ATM0");
    user->type(panel().Edit1, "S91=10S215=55");
    user->click(panel().SpeedButton19);
    EXPECT_EQ(hp.registry.text(kDriverKey, "USERINIT"), "S91=10S215=55");
}

TEST_F(InitStringTest, ClearThenWriteStoresAnEmptyValueNotAMissingOne) {
    hp.registry.setString(kDriverKey, "USERINIT", "ATM0");
    user->click(panel().SpeedButton20);
    user->click(panel().SpeedButton19);
    EXPECT_EQ(hp.registry.text(kDriverKey, "USERINIT"), "");
}

TEST_F(InitStringTest, ReadWithoutAValueEmptiesTheField) {
    user->type(panel().Edit1, "old");
    user->click(panel().SpeedButton18);
    EXPECT_EQ(panel().Edit1.text(), "");
    EXPECT_TRUE(errors().empty());
}

TEST_F(InitStringTest, MissingDriverKeyIsNeverCreated) {
    const std::string missing = std::string(kModemClassNt) + "\\00FFFFFFFF";
    hp.registry.setString(setting::kKey, setting::kPath, missing);
    user->type(panel().Edit1, "old");
    user->click(panel().SpeedButton18);
    EXPECT_EQ(panel().Edit1.text(), "");
    user->type(panel().Edit1, "ATX");
    user->click(panel().SpeedButton19);
    EXPECT_EQ(errors(), std::vector<std::string>{"Failed to set data for 'USERINIT'"});
    EXPECT_FALSE(hp.registry.keyExists(missing));
}

TEST_F(InitStringTest, EmptyPathNamesNoKey) {
    hp.registry.setString(setting::kKey, setting::kPath, "");
    user->type(panel().Edit1, "ATX");
    user->click(panel().SpeedButton19);
    EXPECT_EQ(errors(), std::vector<std::string>{"Failed to set data for 'USERINIT'"});
    EXPECT_TRUE(hp.registry.valueNames("").empty());
}

TEST_F(InitStringTest, RefusedAccessEmptiesOnReadAndFailsOnWriteSayingWhy) {
    hp.registry.setString(kDriverKey, "USERINIT", "ATM0");
    hp.registry.allowOpen = refuseWritingBelow("4D36E96D");
    user->type(panel().Edit1, "x");
    user->click(panel().SpeedButton18);
    EXPECT_EQ(panel().Edit1.text(), "");
    user->click(panel().SpeedButton19);
    EXPECT_EQ(errors(), std::vector<std::string>{kInitStringRefused});
    EXPECT_EQ(hp.registry.text(kDriverKey, "USERINIT"), "ATM0");
}

TEST_F(InitStringTest, ValueOfAnotherTypeFailsTheReadAndKeepsTheField) {
    hp.registry.setDword(kDriverKey, "USERINIT", 1);
    user->type(panel().Edit1, "keep");
    user->click(panel().SpeedButton18);
    EXPECT_EQ(errors(), std::vector<std::string>{"Invalid data type for 'USERINIT'"});
    EXPECT_EQ(panel().Edit1.text(), "keep");
}

}  // namespace
}  // namespace lt::testing

// Settings and driver values the program did not write itself: of another type, far
// too long, or below a modem class key with gaps among its instance keys.
#include "program_fixture.h"
#include "sim/editions.h"

namespace lt::testing {
namespace {

struct WrongTypeCase {
    const char* name;
    std::vector<std::string> atStart;  // error boxes of the start
    std::string busyRead;              // the read's error box, "" when it works
    std::string initStringRead;        // the init string read's error box, "" when it works
};

void PrintTo(const WrongTypeCase& c, std::ostream* os) { *os << "setting \"" << c.name << "\" stored as a DWORD"; }

std::string invalidType(const char* name) { return std::string("Invalid data type for '") + name + "'"; }

const WrongTypeCase kWrongTypes[] = {
    {setting::kPath, {invalidType("path")}, invalidType("path"), invalidType("path")},
    {setting::kPort, {invalidType("port")}, invalidType("port"), ""},
    {setting::kKlas, {}, "", ""},
    {setting::kModem, {invalidType("modem")}, "", ""},
    {setting::kVersion, {invalidType("version")}, "", ""},
};

class SettingOfAnotherType : public ProgramTest, public ::testing::WithParamInterface<WrongTypeCase> {};

TEST_P(SettingOfAnotherType, FailsWhereItIsReadAndTheProgramGoesOn) {
    const WrongTypeCase& c = GetParam();
    seedSettings();
    hp.registry.setDword(setting::kKey, c.name, 1);
    hp.registry.setString(kDriverKey, "USERINIT", "ATM0");
    start();
    EXPECT_EQ(errors(), c.atStart);
    EXPECT_TRUE(form().visible());
    EXPECT_TRUE(form().enabled());
    ASSERT_NE(program->Form4, nullptr) << "the start goes on after the failed read";

    hp.desktop.messageBoxes.clear();
    user->type(form().busyTone.Edit2, "kept");
    user->click(form().busyTone.SpeedButton4);
    if (c.busyRead.empty()) {
        EXPECT_TRUE(errors().empty());
        EXPECT_EQ(form().busyTone.Edit2.text(), "025");
    } else {
        EXPECT_EQ(errors(), std::vector<std::string>{c.busyRead});
        EXPECT_TRUE(hp.modem().log().empty()) << "nothing is sent";
        EXPECT_EQ(form().busyTone.Edit2.text(), "kept");
    }

    hp.desktop.messageBoxes.clear();
    user->type(form().initString.Edit1, "kept");
    user->click(form().initString.SpeedButton18);
    if (c.initStringRead.empty()) {
        EXPECT_TRUE(errors().empty());
        EXPECT_EQ(form().initString.Edit1.text(), "ATM0");
    } else {
        EXPECT_EQ(errors(), std::vector<std::string>{c.initStringRead});
        EXPECT_EQ(form().initString.Edit1.text(), "kept");
    }
}

INSTANTIATE_TEST_SUITE_P(EverySetting, SettingOfAnotherType, ::testing::ValuesIn(kWrongTypes),
                         [](const auto& info) { return std::string(info.param.name); });

class RegistryFault : public ProgramTest {};

TEST_F(RegistryFault, IdentificationReplacesAnEditionOfAnotherType) {
    seedSettings();
    hp.registry.setDword(setting::kKey, setting::kVersion, 65);
    start();
    ASSERT_EQ(errors(), std::vector<std::string>{invalidType("version")});
    user->click(form().information.SpeedButton6);
    EXPECT_EQ(errors().size(), 1u);
    EXPECT_EQ(hp.registry.text(setting::kKey, setting::kVersion), "65a");
    EXPECT_EQ(form().information.Label17.text(), "русская версия beta 65\u0430");
}

TEST_F(RegistryFault, SetupReplacesAPathOfAnotherType) {
    seedSettings();
    hp.registry.setDword(setting::kKey, setting::kPath, 7);
    start();
    ASSERT_EQ(errors(), std::vector<std::string>{invalidType("path")});
    ASSERT_TRUE(user->click(form().information.SpeedButton21));
    user->pick(program->Form2->ComboBox2, 0);
    ASSERT_TRUE(user->click(program->Form2->Button1));
    EXPECT_TRUE(hp.registry.text(setting::kKey, setting::kPath).has_value());
    EXPECT_EQ(errors().size(), 1u);
}

constexpr size_t kLong = 100 * 1024;

TEST_F(RegistryFault, HundredKilobyteInitStringRoundTripsWhole) {
    seedSettings();
    std::string stored(kLong, 'S');
    for (size_t i = 0; i < stored.size(); i += 7) stored[i] = '=';
    hp.registry.setString(kDriverKey, "USERINIT", stored);
    start();
    user->click(form().initString.SpeedButton18);
    ASSERT_EQ(form().initString.Edit1.text(), stored);
    user->click(form().levels.SpeedButton14);
    user->click(form().initString.SpeedButton19);
    EXPECT_EQ(hp.registry.text(kDriverKey, "USERINIT"), stored + "S91=10");
    EXPECT_TRUE(errors().empty());
}

TEST_F(RegistryFault, HundredKilobytePortIsConvertedOrRefusedWhole) {
    seedSettings();
    start();
    hp.registry.setString(setting::kKey, setting::kPort, std::string(kLong, '0') + "1");
    user->click(form().busyTone.SpeedButton4);
    EXPECT_TRUE(errors().empty()) << "leading zeros are allowed";
    EXPECT_EQ(form().busyTone.Edit2.text(), "025");

    const std::string nines(kLong, '9');
    hp.registry.setString(setting::kKey, setting::kPort, nines);
    hp.modem().clearLog();
    user->click(form().busyTone.SpeedButton4);
    EXPECT_EQ(errors(), std::vector<std::string>{"'" + nines + "' is not a valid integer value."});
    EXPECT_TRUE(hp.modem().log().empty());
    EXPECT_TRUE(form().visible());
}

TEST_F(RegistryFault, GapAmongInstanceKeysStoresThePathOfTheMissingKeyAndCreatesNothing) {
    seedSettings();
    hp.registry.setString(std::string(kModemClassNt) + "\\0002", "Model", "beyond the gap");
    start();
    TForm2& dialog = *program->Form2;
    // "0000" and "0002": two subkeys, so positions 0 and 1; "0001" is missing.
    EXPECT_EQ(dialog.ComboBox1.items(), (std::vector<std::string>{"Olvix ZOLT2 V.92", ""}));
    user->click(form().information.SpeedButton21);
    user->pick(dialog.ComboBox1, 1);
    user->pick(dialog.ComboBox2, 0);
    user->click(dialog.Button1);
    const std::string missing = std::string(kModemClassNt) + "\\0001";
    ASSERT_EQ(hp.registry.text(setting::kKey, setting::kPath), missing);

    start();
    user->type(form().initString.Edit1, "ATX");
    user->click(form().initString.SpeedButton18);
    EXPECT_EQ(form().initString.Edit1.text(), "");
    EXPECT_TRUE(errors().empty());
    user->type(form().initString.Edit1, "ATX");
    user->click(form().initString.SpeedButton19);
    EXPECT_EQ(errors(), std::vector<std::string>{"Failed to set data for 'USERINIT'"});
    EXPECT_FALSE(hp.registry.keyExists(missing));
}

}  // namespace
}  // namespace lt::testing

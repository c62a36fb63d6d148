#include <cstdio>

#include "program_fixture.h"

namespace lt::testing {
namespace {

constexpr char kClass95[] = "\\System\\CurrentControlSet\\Services\\Class\\Modem";

std::string instance(const std::string& classKey, const char* name) { return classKey + "\\" + name; }

class SetupDialogTest : public ProgramTest {
protected:
    TForm2& dialog() { return *program->Form2; }
    std::vector<std::string> entries() { return dialog().ComboBox1.items(); }
    std::optional<std::string> stored(const char* name) { return hp.registry.text(setting::kKey, name); }
    void addModem(const std::string& classKey, const char* key, const std::string& model) {
        hp.registry.setString(instance(classKey, key), "Model", model);
    }
};

TEST_F(SetupDialogTest, WindowAndControls) {
    seedSettings();
    start();
    TForm2& d = dialog();
    EXPECT_EQ(d.text(), "Установка");
    EXPECT_TRUE(d.formStyle.toolWindow);
    EXPECT_TRUE(d.formStyle.stayOnTop);
    EXPECT_FALSE(d.formStyle.sizeable);
    EXPECT_TRUE(d.formStyle.clientSize);
    EXPECT_EQ(d.width(), 435);
    EXPECT_EQ(d.height(), 144);
    EXPECT_EQ(hp.desktop.realized, (std::vector<Form*>{&form(), &d, program->Form4.get()}));

    EXPECT_EQ(d.Label1.text(), "Выберите пожалуйста установленный модем:");
    EXPECT_EQ(d.Label2.text(), "Выберите порт к которому подключен модем");
    EXPECT_EQ(d.Label3.text(), "Выберите серию модема ");
    EXPECT_EQ(d.Button1.text(), "Сделать выбранный модем - текущим");
    std::vector<std::string> ports;
    for (int n = 1; n <= 18; ++n) ports.push_back("COM" + std::to_string(n));
    EXPECT_EQ(d.ComboBox2.items(), ports);
    EXPECT_EQ(d.ComboBox3.items(), (std::vector<std::string>{"ZOLT1", "ZOLT2"}));
    EXPECT_EQ(d.ComboBox2.itemIndex(), -1);
    EXPECT_EQ(d.ComboBox3.itemIndex(), -1);
    EXPECT_EQ(d.ComboBox1.width(), 401);
    EXPECT_EQ((std::vector<int>{d.Button1.left(), d.Button1.top(), d.Button1.width(), d.Button1.height()}),
              (std::vector<int>{112, 112, 225, 25}));

    // Creation order is the keyboard order.
    std::vector<std::string> focusable;
    for (Control* c : d.children())
        if (c->kind() != ControlKind::Label) focusable.push_back(c->name());
    EXPECT_EQ(focusable, (std::vector<std::string>{"ComboBox1", "Button1", "ComboBox2", "ComboBox3"}));
}

TEST_F(SetupDialogTest, MissingPathOrPortShowsTheDialogOverTheDisabledMainWindow) {
    struct Case {
        const char* path;
        const char* port;
        bool setupNeeded;
    };
    for (const Case& c : {Case{"\\X\\0000", "1", false}, Case{"", "1", true}, Case{"\\X\\0000", "", true},
                          Case{"", "", true}}) {
        SCOPED_TRACE(std::string(c.path) + "|" + c.port);
        hp.registry.setString(setting::kKey, setting::kPath, c.path);
        hp.registry.setString(setting::kKey, setting::kPort, c.port);
        start();
        EXPECT_EQ(dialog().visible(), c.setupNeeded);
        EXPECT_EQ(form().enabled(), !c.setupNeeded);
        EXPECT_TRUE(form().visible()) << "the main window is always shown";
    }
}

TEST_F(SetupDialogTest, FirstStartWithoutAnySettings) {
    start();
    EXPECT_TRUE(dialog().visible());
    EXPECT_FALSE(form().enabled());
    EXPECT_EQ(form().PageControl1.activePage(), 2);
    EXPECT_FALSE(user->click(form().SpeedButton3)) << "the disabled main window does not respond";
    // The close box only hides; nothing enables the main window again.
    EXPECT_TRUE(user->closeWindow(dialog()));
    EXPECT_FALSE(dialog().visible());
    EXPECT_FALSE(form().enabled());
    EXPECT_FALSE(program->app.terminated());
    EXPECT_TRUE(hp.registry.writeLog.empty());
    EXPECT_TRUE(user->trayMenu(*hp.desktop.tray, "Выход"));
    EXPECT_TRUE(program->app.terminated());
}

TEST_F(SetupDialogTest, ListComesFromTheClassKeyOfTheRunningFamily) {
    addModem(kModemClassNt, "0000", "NT modem A");
    addModem(kModemClassNt, "0001", "NT modem B");
    addModem(kClass95, "0000", "95 modem");
    struct Case {
        const char* platform;
        std::string classKey;
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {"Windows 95", kClass95, {"95 modem"}},
        {"Windows NT", kModemClassNt, {"NT modem A", "NT modem B"}},
        {"Win32s", kModemClassNt, {"NT modem A", "NT modem B"}},
        {"windows 95", kModemClassNt, {"NT modem A", "NT modem B"}},
    };
    hp.registry.setString(setting::kKey, setting::kPath, "\\X\\0000");
    hp.registry.setString(setting::kKey, setting::kPort, "1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.platform);
        hp.systemInfo.name = c.platform;
        start();
        ASSERT_EQ(entries(), c.entries);
        EXPECT_EQ(dialog().ComboBox1.itemIndex(), 0);
        ASSERT_TRUE(user->click(form().information.SpeedButton21));
        ASSERT_TRUE(user->pick(dialog().ComboBox1, static_cast<int>(c.entries.size()) - 1));
        ASSERT_TRUE(user->click(dialog().Button1));
        EXPECT_EQ(stored(setting::kPath), modemInstanceKey(c.classKey, static_cast<int>(c.entries.size()) - 1));
    }
}

TEST_F(SetupDialogTest, EntryPositionsAreInstancePositions) {
    // Twelve instance keys 0000 .. 0009, 0010, 0011: positions 10 and 11 probe 000A and
    // 000B, which do not exist.
    seedSettings();
    for (int i = 0; i < 12; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "%04d", i);
        addModem(kModemClassNt, name, "M" + std::to_string(i));
    }
    start();
    std::vector<std::string> expected;
    for (int i = 0; i < 10; ++i) expected.push_back("M" + std::to_string(i));
    expected.insert(expected.end(), {"", ""});
    EXPECT_EQ(entries(), expected);
    EXPECT_FALSE(hp.registry.keyExists(instance(kModemClassNt, "000A"))) << "instance keys are never created";

    // The path stored is the key the chosen entry was read from.
    user->click(form().information.SpeedButton21);
    user->pick(dialog().ComboBox1, 10);
    user->click(dialog().Button1);
    EXPECT_EQ(stored(setting::kPath), std::string(kModemClassNt) + "\\000A");
}

TEST_F(SetupDialogTest, MissingKeysAndValuesGiveEmptyEntries) {
    addModem(kModemClassNt, "0000", "A");
    hp.registry.addKey(instance(kModemClassNt, "0001"));          // no "Model"
    hp.registry.addKey(instance(kModemClassNt, "Properties"));    // another name: 0002 is probed
    addModem(kModemClassNt, "0003", "refused");
    hp.registry.allowOpen = [](const std::string& path, uint32_t) { return path.find("0003") == std::string::npos; };
    start();
    EXPECT_EQ(entries(), (std::vector<std::string>{"A", "", "", ""}));
    EXPECT_FALSE(hp.registry.keyExists(instance(kModemClassNt, "0002")));
    EXPECT_TRUE(errors().empty());
}

TEST_F(SetupDialogTest, ModelOfAnotherTypeStopsTheListButNotTheStart) {
    seedSettings();
    addModem(kModemClassNt, "0000", "A");
    hp.registry.setDword(instance(kModemClassNt, "0001"), "Model", 7);
    addModem(kModemClassNt, "0002", "C");
    start();
    EXPECT_EQ(errors(), std::vector<std::string>{"Invalid data type for 'Model'"});
    EXPECT_EQ(entries(), std::vector<std::string>{"A"});
    EXPECT_EQ(dialog().ComboBox1.itemIndex(), -1);
    EXPECT_TRUE(form().visible());
    EXPECT_TRUE(user->click(form().information.SpeedButton6)) << "the program goes on";
}

TEST_F(SetupDialogTest, ConfirmStoresTheChoiceAndEndsTheProgram) {
    seedSettings();
    addModem(kModemClassNt, "0000", "A");
    addModem(kModemClassNt, "0001", "B");
    start();
    user->click(form().information.SpeedButton6);  // opens the port
    ASSERT_TRUE(hp.serial.isOpen());
    hp.registry.writeLog.clear();

    ASSERT_TRUE(user->click(form().information.SpeedButton21));
    EXPECT_TRUE(dialog().visible());
    EXPECT_TRUE(form().enabled()) << "not modal";
    user->pick(dialog().ComboBox1, 1);
    user->pick(dialog().ComboBox2, 2);
    user->pick(dialog().ComboBox3, 1);
    ASSERT_TRUE(user->click(dialog().Button1));

    const std::string key = std::string(setting::kKey).substr(1);
    EXPECT_EQ(hp.registry.writeLog, (std::vector<std::string>{key + "\\path=" + kModemClassNt + "\\0001",
                                                              key + "\\port=3", key + "\\klas=2"}));
    EXPECT_EQ(stored(setting::kModem), std::nullopt);
    EXPECT_EQ(stored(setting::kVersion), std::nullopt);
    ASSERT_EQ(hp.desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(hp.desktop.messageBoxes[0].text, "Пожалуйста перезапустите программу");
    EXPECT_EQ(hp.desktop.messageBoxes[0].caption, "ZOLT tuner");
    EXPECT_EQ(hp.desktop.messageBoxes[0].kind, MessageKind::Notice);
    EXPECT_FALSE(hp.serial.isOpen()) << "the port is released";
    EXPECT_TRUE(program->app.terminated());
    EXPECT_FALSE(dialog().visible());
}

TEST_F(SetupDialogTest, ConfirmWithNothingChosen) {
    start();  // no class key: the list is empty
    ASSERT_TRUE(entries().empty());
    EXPECT_EQ(dialog().ComboBox1.itemIndex(), -1);
    user->click(dialog().Button1);
    EXPECT_EQ(stored(setting::kPath), std::string(kModemClassNt) + "\\00FFFFFFFF");
    EXPECT_EQ(stored(setting::kPort), "0");
    EXPECT_EQ(stored(setting::kKlas), "0");
    EXPECT_TRUE(program->app.terminated());
}

// A standard user: the setup cannot be stored. The dialog still ends the program as it
// does, and then says why, instead of passing for a stored setup.
TEST_F(SetupDialogTest, SettingsThatCannotBeStoredAreReportedAndTheProgramStillEnds) {
    struct Case {
        const char* what;
        bool refuseFullAccess;
        bool refuseRemovals;
        std::optional<std::string> storedPort;
    };
    const Case cases[] = {
        {"settings key not writable", true, false, "7"},
        {"removal refused after the writes", false, true, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        seedSettings("7", "65a");
        start();
        hp.desktop.messageBoxes.clear();
        user->click(form().information.SpeedButton6);  // opens the port
        hp.desktop.messageBoxes.clear();
        if (c.refuseFullAccess) hp.registry.allowOpen = refuseWritingBelow("LTRM");
        hp.registry.failRemovals = c.refuseRemovals;
        user->click(form().information.SpeedButton21);
        user->pick(dialog().ComboBox2, 0);
        user->click(dialog().Button1);  // fails, after ending the program

        EXPECT_EQ(stored(setting::kPort), c.storedPort);
        EXPECT_EQ(stored(setting::kVersion), "65a");
        ASSERT_EQ(hp.desktop.messageBoxes.size(), 2u);
        EXPECT_EQ(hp.desktop.messageBoxes[0].text, "Пожалуйста перезапустите программу");
        EXPECT_EQ(hp.desktop.messageBoxes[1].text, kSettingsRefused);
        EXPECT_EQ(hp.desktop.messageBoxes[1].caption, "ZOLT tuner");
        EXPECT_EQ(hp.desktop.messageBoxes[1].kind, MessageKind::Error);
        EXPECT_FALSE(hp.serial.isOpen()) << "the port is released";
        EXPECT_TRUE(program->app.terminated());
        EXPECT_FALSE(dialog().visible());
        hp.registry.allowOpen = nullptr;
        hp.registry.failRemovals = false;
    }
}

TEST_F(SetupDialogTest, SettingsKeyIsNotCreatedWhenItCannotBeWritten) {
    start();
    hp.registry.allowOpen = refuseWritingBelow("LTRM");
    user->click(dialog().Button1);
    EXPECT_TRUE(hp.registry.writeLog.empty());
    EXPECT_FALSE(hp.registry.keyExists(setting::kKey));
    EXPECT_EQ(errors(), std::vector<std::string>{kSettingsRefused});
    EXPECT_TRUE(program->app.terminated());
}

TEST_F(SetupDialogTest, WriteFailingMidwayIsReportedAfterTheNotice) {
    seedSettings("7", "65a");
    hp.registry.setString(setting::kKey, setting::kPath, "\\old");
    start();
    user->click(form().information.SpeedButton21);
    user->pick(dialog().ComboBox2, 0);
    user->pick(dialog().ComboBox3, 0);
    hp.registry.failWritesOf = {setting::kKlas};
    user->click(dialog().Button1);
    EXPECT_EQ(stored(setting::kPath), kDriverKey);
    EXPECT_EQ(stored(setting::kPort), "1");
    EXPECT_EQ(stored(setting::kKlas), "2") << "the failed write left the old value";
    EXPECT_EQ(stored(setting::kVersion), "65a") << "the deletes come after the failed write";
    ASSERT_EQ(hp.desktop.messageBoxes.size(), 2u);
    EXPECT_EQ(hp.desktop.messageBoxes[0].text, "Пожалуйста перезапустите программу");
    EXPECT_EQ(hp.desktop.messageBoxes[1].text, "Failed to set data for 'klas'");
    EXPECT_EQ(hp.desktop.messageBoxes[1].kind, MessageKind::Error);
    EXPECT_TRUE(program->app.terminated());
}

TEST_F(SetupDialogTest, ModemButtonShowsTheListAndChoicesAsTheyWere) {
    seedSettings();
    addModem(kModemClassNt, "0000", "A");
    start();
    EXPECT_FALSE(dialog().visible());
    user->click(form().information.SpeedButton21);
    user->pick(dialog().ComboBox2, 4);
    EXPECT_TRUE(user->closeWindow(dialog()));
    EXPECT_FALSE(dialog().visible());
    EXPECT_TRUE(form().enabled());

    addModem(kModemClassNt, "0001", "installed during the run");
    user->click(form().information.SpeedButton21);
    EXPECT_TRUE(dialog().visible());
    EXPECT_EQ(entries(), std::vector<std::string>{"A"});
    EXPECT_EQ(dialog().ComboBox2.itemIndex(), 4);
    EXPECT_EQ(stored(setting::kPort), "1") << "closing stores nothing";
}

}  // namespace
}  // namespace lt::testing

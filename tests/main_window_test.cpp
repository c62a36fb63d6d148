#include "program_fixture.h"

namespace lt::testing {
namespace {

class MainWindowTest : public ProgramTest {};

TEST_F(MainWindowTest, FrameHasItsCaptionPagesAndButtons) {
    seedSettings();
    start();
    EXPECT_EQ(program->app.title, "ZOLT tuner");
    EXPECT_EQ(form().text(), "Olvix Linetrim v 5.09");
    EXPECT_TRUE(form().visible());
    EXPECT_TRUE(form().enabled());
    std::vector<std::string> tabs;
    for (TabSheet* page : form().PageControl1.pages()) tabs.push_back(page->text());
    EXPECT_EQ(tabs, (std::vector<std::string>{"Главная", "Уровни сигналов", "Регистры +", "Скорость", "Информация"}));
    EXPECT_EQ(form().PageControl1.activePage(), 2);
    EXPECT_FALSE(user->click(form().SpeedButton1)) << "help never responds";
    EXPECT_EQ(form().information.Label1.text(), "Olvix Linetrim  v.5.09");
    EXPECT_FALSE(hp.serial.isOpen()) << "start does not open the port";
}

TEST_F(MainWindowTest, StartWithoutEditionDisablesTheGatedControls) {
    seedSettings("1", "");
    start();
    const Control* disabled[] = {&form().busyTone.GroupBox1, &form().extRegs.SpeedButton2, &form().extRegs.Button1,
                                 &form().TabSheet2, &form().levels.LMDGroupBox2};
    for (const Control* c : disabled) EXPECT_FALSE(c->enabled()) << c->name();
    // Inside the disabled page, but keeping their own look.
    EXPECT_TRUE(form().extRegs.GroupBox3.enabled());
    EXPECT_TRUE(form().extRegs.SpeedButton7.enabled());
    EXPECT_FALSE(form().extRegs.SpeedButton7.responds());
    EXPECT_TRUE(user->selectPage(form().PageControl1, 0)) << "other pages still work";
    EXPECT_TRUE(user->selectPage(form().PageControl1, 2)) << "a disabled page can come to the front";
}

TEST_F(MainWindowTest, MinimiseHidesIntoTheTrayAndRestoreKeepsEverything) {
    seedSettings();
    start();
    user->selectPage(form().PageControl1, 0);
    user->type(form().initString.Edit1, "S91=10");
    ASSERT_NE(hp.desktop.tray, nullptr);
    EXPECT_TRUE(hp.desktop.tray->active);
    user->minimize();
    EXPECT_FALSE(hp.desktop.applicationWindowShown);
    EXPECT_TRUE(user->trayMenu(*hp.desktop.tray, "Развернуть"));
    EXPECT_TRUE(hp.desktop.applicationWindowShown);
    EXPECT_EQ(form().PageControl1.activePage(), 0);
    EXPECT_EQ(form().initString.Edit1.text(), "S91=10");
}

TEST_F(MainWindowTest, ExitFromButtonOrTrayEndsTheProgram) {
    for (bool fromTray : {false, true}) {
        SimulatedPlatform other;
        other.registry.setString(setting::kKey, setting::kPath, kDriverKey);
        other.registry.setString(setting::kKey, setting::kPort, "1");
        Program p(other.platform());
        p.start();
        headless::User u(p.app, other.desktop);
        if (fromTray) u.trayMenu(p.Form1->RxTrayIcon1, "Выход");
        else u.click(p.Form1->SpeedButton3);
        EXPECT_TRUE(p.app.terminated());
        EXPECT_TRUE(other.desktop.quitRequested);
    }
}

TEST_F(MainWindowTest, LinkLabelsOpenTheirAddresses) {
    seedSettings();
    start();
    user->click(form().information.Label20);
    user->click(form().information.Label22);
    EXPECT_EQ(hp.shell.opened, (std::vector<std::string>{form().information.Label20.text(), form().information.Label22.text()}));
    EXPECT_EQ(hp.shell.opened, (std::vector<std::string>{"http://olvix.example/", "http://olvix.example/zolt/"}))
        << "the maker's site, then the product's page";
    EXPECT_EQ(form().information.Label20.style.fontColor, colors::kNavy);
}

TEST_F(MainWindowTest, VersionOfAnotherTypeIsReportedAndStartGoesOn) {
    seedSettings();
    hp.registry.setDword(setting::kKey, setting::kVersion, 65);
    start();
    EXPECT_EQ(errors(), std::vector<std::string>{"Invalid data type for 'version'"});
    EXPECT_TRUE(form().visible());
}

}  // namespace
}  // namespace lt::testing

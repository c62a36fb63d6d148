// The main window: the frame with its five pages, the two buttons below them, the
// hidden logs, the tray icon, and the dispatch of captured replies to the pages.
#pragma once
#include <functional>
#include <string>

#include "link/command_exchange.h"
#include "link/identification.h"
#include "pages/busy_tone_group.h"
#include "pages/ext_regs_page.h"
#include "pages/init_string_panel.h"
#include "pages/levels_page.h"
#include "pages/speed_page.h"
#include "settings/settings_store.h"
#include "system/platform.h"
#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/tray_icon.h"
#include "toolkit/widgets.h"

namespace lt {

// The maker's pages opened by the two link labels.
inline constexpr char kCompanySite[] = "http://olvix.example/";
inline constexpr char kProductSite[] = "http://olvix.example/zolt/";

class TForm1 : public Form {
public:
    TForm1(Application& app, const Platform& platform, SettingsStore& settings);

    PageControl PageControl1;
    TabSheet TabSheet1;  // "Главная"
    TabSheet TabSheet5;  // "Уровни сигналов"
    TabSheet TabSheet2;  // "Регистры +"
    TabSheet TabSheet4;  // "Скорость"
    TabSheet TabSheet3;  // "Информация"
    Button SpeedButton1, SpeedButton3;
    Memo Memo1, Memo2;

    // Static parts of the information page.
    Label Label1;
    Button SpeedButton21;
    GroupBox GroupBox2;
    Label Label19, Label18, Label21, Label20, Label22;

    TrayIcon RxTrayIcon1;

    CommandExchange link;
    BusyToneGroup busyTone;  // created first: it comes first in the page's tab order
    InitStringPanel initString;
    LevelsPage levels;
    ExtRegsPage extRegs;
    SpeedPage speed;
    ModemIdentification identification;  // after the static parts of the information page

    void FormCreate();
    // Enables the editors the stored edition supports (src/app/firmware_features.cpp).
    void ApplyFirmwareFeatures();
    void VaCommTxEmpty();

    void SpeedButton3Click();
    void N1Click();
    void N2Click();
    void AppEvents1Minimize();
    void SpeedButton21Click();
    void Label20Click();
    void Label22Click();

    // Shows the setup dialog; bound by whoever owns that window.
    std::function<void()> showSetupDialog;

private:
    void buildFrame();
    void buildInformationPage();

    Application& app_;
    Platform platform_;
    SettingsStore& settings_;
};

}  // namespace lt

// The page "Информация": the program's name, the button of the setup dialog, the maker's
// links, and the modem's identification: asks the modem for ATI3, finds the reply's
// identification text among the known firmware editions, stores series and edition in
// the settings, and describes the stored modem.
#pragma once
#include <functional>
#include <string>

#include "base/event_guard.h"
#include "link/command_exchange.h"
#include "settings/settings_store.h"
#include "system/desktop.h"
#include "toolkit/form.h"
#include "toolkit/widgets.h"

namespace lt {

// The maker's pages opened by the two link labels.
inline constexpr char kCompanySite[] = "http://olvix.example/";
inline constexpr char kProductSite[] = "http://olvix.example/zolt/";

class InformationPage {
public:
    // The links open in the shell over the owner form.
    InformationPage(Control& page, Form& owner, Shell& shell, CommandExchange& link, SettingsStore& settings,
                    EventGuard& guard);

    Label Label1;           // the program's name and version
    Button SpeedButton21;   // "Модем": the setup dialog
    GroupBox GroupBox2;     // the maker's addresses
    Label Label19, Label18, Label21, Label20, Label22;
    Label Label7, Label15;   // "Обнаружен модем:", maker line
    Label Label8, Label16;   // "Серия :", series line
    Label Label9, Label17;   // "Версия микропрограммы:", edition line
    Button SpeedButton6;     // "Определить модель модема"

    void SpeedButton21Click();
    void Label20Click();
    void Label22Click();
    void SpeedButton6Click();
    // The reply of rqIdentify.
    void ParseIdentifyReply();
    // Fills the three lines from the stored series and edition; an unknown pair leaves
    // them as they are.
    void DescribeModem();

    // Enables the editors by the stored edition; bound by the main window.
    std::function<void()> ApplyFirmwareFeatures;
    // Shows the setup dialog; bound by whoever owns that window.
    std::function<void()> showSetupDialog;

private:
    void buildAbout();
    void storeEdition(const std::string& reply);
    void refresh();

    Form& owner_;
    Shell& shell_;
    CommandExchange& link_;
    SettingsStore& settings_;
    EventGuard& guard_;
};

}  // namespace lt

// Identification of the firmware edition: asks the modem for ATI3, finds the reply's
// identification text in the table of known editions, stores series and edition in
// the settings, and describes the stored modem on the page "Информация".
#pragma once
#include <functional>
#include <string>

#include "base/event_guard.h"
#include "link/command_exchange.h"
#include "settings/settings_store.h"
#include "toolkit/widgets.h"

namespace lt {

class ModemIdentification {
public:
    ModemIdentification(Control& page, CommandExchange& link, SettingsStore& settings, EventGuard& guard);

    Label Label7, Label15;   // "Обнаружен модем:", maker line
    Label Label8, Label16;   // "Серия :", series line
    Label Label9, Label17;   // "Версия микропрограммы:", edition line
    Button SpeedButton6;     // "Определить модель модема"

    void SpeedButton6Click();
    // The reply of rqIdentify.
    void ParseIdentifyReply();
    // Fills the three lines from the stored series and edition; an unknown pair leaves
    // them as they are.
    void DescribeModem();

    // Enables the editors by the stored edition; bound by the main window.
    std::function<void()> ApplyFirmwareFeatures;

private:
    void storeEdition(const std::string& reply);
    void refresh();

    CommandExchange& link_;
    SettingsStore& settings_;
    EventGuard& guard_;
};

}  // namespace lt

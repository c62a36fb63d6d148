// The page "Скорость": the modulation selection of "AT+MS" (carrier, automatic mode,
// transmit and receive rate limits) and the maximum symbol rate in bits 0-2 of S210,
// read from the modem, written with the profile store, or appended to the init string.
#pragma once
#include <optional>
#include <string>

#include "link/command_exchange.h"
#include "toolkit/widgets.h"

namespace lt {

class SpeedPage {
public:
    SpeedPage(Control& page, CommandExchange& link, Edit& initString);

    GroupBox GroupBox4;
    Label Label6, Label25, Label26, Label27, Label28, Label29, Label30;
    ComboBox ComboBox2;  // carrier, +MS value 1
    ComboBox ComboBox9;  // automatic mode "Нет"/"Да" by index, value 2
    ComboBox ComboBox3;  // minimum receive rate, value 5
    ComboBox ComboBox4;  // maximum receive rate, value 6
    ComboBox ComboBox5;  // minimum transmit rate, value 3
    ComboBox ComboBox6;  // maximum transmit rate, value 4
    ComboBox ComboBox8;  // symbol rate, S210 code - 1
    Button SpeedButton9, SpeedButton10, SpeedButton11;

    void SpeedButton9Click();   // read
    void SpeedButton10Click();  // write +MS and S210, each followed by the profile store
    void SpeedButton11Click();  // append "+MS=..." to the init string
    void ParseSpeedReply();     // the reply of rqSpeedRead
    // Refills both receive lists with the rates of a known carrier; others change nothing.
    void FillReceiveRateLists(const std::string& carrier);

private:
    // The six +MS values in command order, or nothing while a list has no selection.
    std::optional<std::string> msValues() const;

    CommandExchange& link_;
    Edit& initString_;
};

}  // namespace lt

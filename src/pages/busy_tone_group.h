// The busy-tone detection group on the main page: S203 to S207 as five edit fields,
// read from the modem, written back with the profile store and a reset, or appended
// to the init string.
#pragma once
#include <array>
#include <functional>

#include "link/command_exchange.h"
#include "toolkit/widgets.h"

namespace lt {

class BusyToneGroup {
public:
    BusyToneGroup(Control& page, CommandExchange& link, Edit& initString);

    GroupBox GroupBox1;
    Label Label10, Label11, Label12, Label13, Label14;
    Edit Edit2, Edit3, Edit4, Edit5, Edit6;  // S203 .. S207, free text
    Button SpeedButton4, SpeedButton5, SpeedButton8;
    Button LMD3DEffectButton1;  // opens the cadence editor; enabled by the first read

    void SpeedButton4Click();  // read
    void SpeedButton5Click();  // write, store, reset
    void SpeedButton8Click();  // append to the init string
    void ParseBusyReply();     // the reply of rqBusyRead

    // Opens the cadence editor; bound by whoever owns that window.
    std::function<void()> LMD3DEffectButton1Click;

private:
    std::array<Edit*, 5> fields() { return {&Edit2, &Edit3, &Edit4, &Edit5, &Edit6}; }
    CommandExchange& link_;
    Edit& initString_;
};

}  // namespace lt

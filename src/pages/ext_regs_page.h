// The page "Регистры +": the vendor bit registers S216 and S218 (S17 for one edition)
// as two lists of eight check marks, bit 0 first. The second register's name is
// whatever Label5 reads at the moment an action runs.
#pragma once
#include <string>

#include "link/command_exchange.h"
#include "toolkit/widgets.h"

namespace lt {

class ExtRegsPage {
public:
    ExtRegsPage(Control& page, CommandExchange& link, Edit& initString);

    GroupBox GroupBox3;
    CheckListBox CheckListBox1;  // S216
    Label Label23;               // "S216"
    Label Label5;                // the second register's name: "S218", or "S17"
    Button Button1, SpeedButton2, SpeedButton7;
    CheckListBox CheckListBox2;  // the second register, drawn over the group's lower part
    Label RxLabel5, RxLabel4;

    void Button1Click();        // read both registers
    void SpeedButton2Click();   // write both and store the profiles
    void SpeedButton7Click();   // append both assignments to the init string
    void ParseExtRegsReply();   // the reply of rqExtRegsRead

private:
    // "S216=<A><N>=<B>" from the check marks as they stand.
    std::string assignments() const;
    CommandExchange& link_;
    Edit& initString_;
};

}  // namespace lt

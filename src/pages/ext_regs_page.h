// The page "Регистры +": the vendor bit registers S216 and S218 (S17 for one edition)
// as two lists of eight check marks, bit 0 first.
#pragma once
#include "platform/widgets.h"

namespace lt {

class ExtRegsPage {
public:
    explicit ExtRegsPage(Control& page);

    GroupBox GroupBox3;
    CheckListBox CheckListBox1;  // S216
    Label Label23;               // "S216"
    Label Label5;                // the second register's name: "S218", or "S17"
    Button Button1, SpeedButton2, SpeedButton7;
    CheckListBox CheckListBox2;  // the second register, drawn over the group's lower part
    Label RxLabel5, RxLabel4;
};

}  // namespace lt

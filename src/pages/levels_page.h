// The page "Уровни сигналов": the transmit level S91 on one slider, and the two
// line-adaptation halves of S215 on two sliders in the group "Дополнительно".
#pragma once
#include "platform/widgets.h"

namespace lt {

class LevelsPage {
public:
    explicit LevelsPage(Control& page);

    GroupBox LMDGroupBox1;  // "Уровень выходного сигнала модема"
    Label RxLabel1;         // the level read or set, "-n"
    Label Label2, Label24;  // scale ends "-20" and "-3"
    Slider RxSlider1;       // position p stands for S91 = 23 - p
    Button SpeedButton12, SpeedButton13, SpeedButton14;

    GroupBox LMDGroupBox2;  // "Дополнительно", disabled until the edition allows it
    Label RxLabel2, RxLabel6, RxLabel8, RxLabel7;
    Slider RxSlider2;       // S215 bits 0-3, aggressiveness
    Label RxLabel3, RxLabel9, RxLabel11, RxLabel10;
    Slider RxSlider3;       // S215 bits 4-7, line noise detector
    Button SpeedButton15, SpeedButton16, SpeedButton17;
};

}  // namespace lt

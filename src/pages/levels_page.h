// The page "Уровни сигналов": the transmit level S91 on one slider, and the two
// line-adaptation halves of S215 on two sliders in the group "Дополнительно".
#pragma once
#include <cstdint>
#include <string>

#include "link/command_exchange.h"
#include "toolkit/widgets.h"

namespace lt {

class LevelsPage {
public:
    LevelsPage(Control& page, CommandExchange& link, Edit& initString);

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

    void SpeedButton12Click();  // read S91
    void SpeedButton13Click();  // write S91 and store the profiles
    void SpeedButton14Click();  // append the S91 assignment to the init string
    void SpeedButton15Click();  // read S215
    void SpeedButton16Click();  // write S215 and store the profiles
    void SpeedButton17Click();  // append the S215 assignment to the init string
    void RxSlider1Changed();    // the user finished moving the level slider
    // The replies of rqTxLevelRead and rqLineAdaptRead. False when the query's echo is not
    // in the reply (yet): nothing was taken from it and nothing changed.
    bool ParseTxLevelReply();
    bool ParseLineAdaptReply();

private:
    // Register assignments without "AT", from the sliders as they stand.
    std::string levelAssignment() const;
    std::string lineAdaptAssignment() const;
    CommandExchange& link_;
    Edit& initString_;
};

}  // namespace lt

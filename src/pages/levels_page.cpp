#include "levels_page.h"

#include <array>

#include "base/int_text.h"
#include "link/bit_codec.h"
#include "link/register_value.h"
#include "pages/button_row.h"

namespace lt {
namespace {

// Slider position p stands for the level S91 = 23 - p, in both directions.
constexpr int kLevelMirror = 23;

// Built by appending: GCC 12 for i686 warns falsely (-Wrestrict) on "-" + a string.
std::string levelText(int32_t level) {
    std::string text = "-";
    text += IntToStr(level);
    return text;
}

// Half of a bit string ("0000" padding the other half) converted back to its value.
int32_t halfValue(const std::string& fourBits) { return BitsToByte(fourBits + "0000"); }

void placeGroupButtons(const std::array<Button*, 3>& buttons, int top) {
    placeButtons(buttons, kReadWriteAppend, {16, top, 104, 0, 81, 22, true});
}

// The caption of a line-adaptation slider and its scale from "-4" to "4".
void placeScale(Label& caption, const char* text, const std::array<Label*, 3>& scale, int top) {
    caption.setText(text);
    caption.setBounds(8, top, 200, 13);
    const std::array<const char*, 3> marks = {"-4", "0", "4"};
    const std::array<int, 3> lefts = {8, 156, 300};
    for (int i = 0; i < 3; ++i) {
        scale[i]->setText(marks[i]);
        scale[i]->setBounds(lefts[i], top + 16, 14, 13);
    }
}

}  // namespace

LevelsPage::LevelsPage(Control& page, CommandExchange& link, Edit& initString)
    : LMDGroupBox1(&page, "LMDGroupBox1"), RxLabel1(&LMDGroupBox1, "RxLabel1"), Label2(&LMDGroupBox1, "Label2"),
      Label24(&LMDGroupBox1, "Label24"), RxSlider1(&LMDGroupBox1, "RxSlider1"),
      SpeedButton12(&LMDGroupBox1, "SpeedButton12"), SpeedButton13(&LMDGroupBox1, "SpeedButton13"),
      SpeedButton14(&LMDGroupBox1, "SpeedButton14"), LMDGroupBox2(&page, "LMDGroupBox2"),
      RxLabel2(&LMDGroupBox2, "RxLabel2"), RxLabel6(&LMDGroupBox2, "RxLabel6"), RxLabel8(&LMDGroupBox2, "RxLabel8"),
      RxLabel7(&LMDGroupBox2, "RxLabel7"), RxSlider2(&LMDGroupBox2, "RxSlider2"), RxLabel3(&LMDGroupBox2, "RxLabel3"),
      RxLabel9(&LMDGroupBox2, "RxLabel9"), RxLabel11(&LMDGroupBox2, "RxLabel11"),
      RxLabel10(&LMDGroupBox2, "RxLabel10"), RxSlider3(&LMDGroupBox2, "RxSlider3"),
      SpeedButton15(&LMDGroupBox2, "SpeedButton15"), SpeedButton16(&LMDGroupBox2, "SpeedButton16"),
      SpeedButton17(&LMDGroupBox2, "SpeedButton17"), link_(link), initString_(initString) {
    LMDGroupBox1.setText("Уровень выходного сигнала модема");
    LMDGroupBox1.setBounds(8, 8, 321, 113);
    RxLabel1.setBounds(8, 20, 305, 13);
    RxLabel1.style.centred = true;
    Label2.setText("-20");
    Label2.setBounds(8, 36, 20, 13);
    Label24.setText("-3");
    Label24.setBounds(296, 36, 14, 13);
    RxSlider1.setBounds(8, 50, 305, 28);
    RxSlider1.setRange(3, 20);
    RxSlider1.setValue(13);
    // Only the group's caption says what this slider sets: the labels beside it are its
    // scale and the level it shows.
    RxSlider1.labelledBy = &LMDGroupBox1;
    placeGroupButtons({&SpeedButton12, &SpeedButton13, &SpeedButton14}, 84);

    LMDGroupBox2.setText("Дополнительно");
    LMDGroupBox2.setBounds(8, 128, 321, 165);
    placeScale(RxLabel2, "Уровень агрессивности", {&RxLabel6, &RxLabel8, &RxLabel7}, 16);
    RxSlider2.setBounds(8, 46, 305, 24);
    placeScale(RxLabel3, "Детектор помех в линии", {&RxLabel9, &RxLabel11, &RxLabel10}, 72);
    RxSlider3.setBounds(8, 102, 305, 24);
    RxSlider2.labelledBy = &RxLabel2;
    RxSlider3.labelledBy = &RxLabel3;
    for (Slider* slider : {&RxSlider2, &RxSlider3}) {
        slider->setRange(1, 9);
        slider->setValue(1);
    }
    placeGroupButtons({&SpeedButton15, &SpeedButton16, &SpeedButton17}, 134);
    LMDGroupBox2.setEnabled(false);

    RxSlider1.onChanged = [this] { RxSlider1Changed(); };
    SpeedButton12.onClick = [this] { SpeedButton12Click(); };
    SpeedButton13.onClick = [this] { SpeedButton13Click(); };
    SpeedButton14.onClick = [this] { SpeedButton14Click(); };
    SpeedButton15.onClick = [this] { SpeedButton15Click(); };
    SpeedButton16.onClick = [this] { SpeedButton16Click(); };
    SpeedButton17.onClick = [this] { SpeedButton17Click(); };
}

void LevelsPage::SpeedButton12Click() {
    link_.SendQueries(rqTxLevelRead, {"ATS10?", "ATS91?"});
}

bool LevelsPage::ParseTxLevelReply() {
    const std::string snapshot = link_.RxText;
    // Without the echo there is nothing to cut.
    if (snapshot.find("ATS91?") == std::string::npos) return false;
    const int32_t level = StrToInt(ExtractRegisterValue(snapshot, "ATS91?", 6));
    RxSlider1.setValue(kLevelMirror - level);  // clamps; the label keeps the value read
    RxLabel1.setText(levelText(level));
    link_.CompleteParse();
    return true;
}

void LevelsPage::RxSlider1Changed() { RxLabel1.setText(levelText(kLevelMirror - RxSlider1.value())); }

std::string LevelsPage::levelAssignment() const { return "S91=" + IntToStr(kLevelMirror - RxSlider1.value()); }

void LevelsPage::SpeedButton13Click() { link_.SendAndSaveProfile(rqWrite, "AT" + levelAssignment()); }

void LevelsPage::SpeedButton14Click() { initString_.setText(initString_.text() + levelAssignment()); }

void LevelsPage::SpeedButton15Click() {
    link_.SendQueries(rqLineAdaptRead, {"ATS10?", "ATS215?"});
}

bool LevelsPage::ParseLineAdaptReply() {
    const std::string snapshot = link_.RxText;
    if (snapshot.find("ATS215?") == std::string::npos) return false;
    const std::string bits = ByteToBits(StrToInt(ExtractRegisterValue(snapshot, "ATS215?", 7)));
    const int32_t aggressiveness = halfValue(bits.substr(0, 4));
    const int32_t noiseDetector = halfValue(bits.substr(4, 4));
    RxSlider2.setValue(aggressiveness);  // both clamp to 1..9
    RxSlider3.setValue(noiseDetector);
    link_.CompleteParse();
    return true;
}

std::string LevelsPage::lineAdaptAssignment() const {
    const std::string bits = ByteToBits(RxSlider2.value()).substr(0, 4) + ByteToBits(RxSlider3.value()).substr(0, 4);
    return "S215=" + IntToStr(BitsToByte(bits));
}

void LevelsPage::SpeedButton16Click() { link_.SendAndSaveProfile(rqWrite, "AT" + lineAdaptAssignment()); }

void LevelsPage::SpeedButton17Click() { initString_.setText(initString_.text() + lineAdaptAssignment()); }

}  // namespace lt

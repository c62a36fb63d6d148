#include "levels_page.h"

#include <array>

namespace lt {
namespace {

void placeButtons(const std::array<Button*, 3>& buttons, int top) {
    const std::array<const char*, 3> captions = {"Считать", "Записать", "В строку"};
    for (int i = 0; i < 3; ++i) {
        buttons[i]->setText(captions[i]);
        buttons[i]->setBounds(16 + 104 * i, top, 81, 22);
        buttons[i]->style.flat = true;
    }
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

LevelsPage::LevelsPage(Control& page)
    : LMDGroupBox1(&page, "LMDGroupBox1"), RxLabel1(&LMDGroupBox1, "RxLabel1"), Label2(&LMDGroupBox1, "Label2"),
      Label24(&LMDGroupBox1, "Label24"), RxSlider1(&LMDGroupBox1, "RxSlider1"),
      SpeedButton12(&LMDGroupBox1, "SpeedButton12"), SpeedButton13(&LMDGroupBox1, "SpeedButton13"),
      SpeedButton14(&LMDGroupBox1, "SpeedButton14"), LMDGroupBox2(&page, "LMDGroupBox2"),
      RxLabel2(&LMDGroupBox2, "RxLabel2"), RxLabel6(&LMDGroupBox2, "RxLabel6"), RxLabel8(&LMDGroupBox2, "RxLabel8"),
      RxLabel7(&LMDGroupBox2, "RxLabel7"), RxSlider2(&LMDGroupBox2, "RxSlider2"), RxLabel3(&LMDGroupBox2, "RxLabel3"),
      RxLabel9(&LMDGroupBox2, "RxLabel9"), RxLabel11(&LMDGroupBox2, "RxLabel11"),
      RxLabel10(&LMDGroupBox2, "RxLabel10"), RxSlider3(&LMDGroupBox2, "RxSlider3"),
      SpeedButton15(&LMDGroupBox2, "SpeedButton15"), SpeedButton16(&LMDGroupBox2, "SpeedButton16"),
      SpeedButton17(&LMDGroupBox2, "SpeedButton17") {
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
    placeButtons({&SpeedButton12, &SpeedButton13, &SpeedButton14}, 84);

    LMDGroupBox2.setText("Дополнительно");
    LMDGroupBox2.setBounds(8, 128, 321, 165);
    placeScale(RxLabel2, "Уровень агрессивности", {&RxLabel6, &RxLabel8, &RxLabel7}, 16);
    RxSlider2.setBounds(8, 46, 305, 24);
    placeScale(RxLabel3, "Детектор помех в линии", {&RxLabel9, &RxLabel11, &RxLabel10}, 72);
    RxSlider3.setBounds(8, 102, 305, 24);
    for (Slider* slider : {&RxSlider2, &RxSlider3}) {
        slider->setRange(1, 9);
        slider->setValue(1);
    }
    placeButtons({&SpeedButton15, &SpeedButton16, &SpeedButton17}, 134);
    LMDGroupBox2.setEnabled(false);
}

}  // namespace lt

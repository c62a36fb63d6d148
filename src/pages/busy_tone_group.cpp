#include "busy_tone_group.h"

#include <array>
#include <string>

#include "base/int_text.h"
#include "link/register_value.h"
#include "pages/button_row.h"

namespace lt {
namespace {

constexpr std::array<const char*, 5> kRegisters = {"S203", "S204", "S205", "S206", "S207"};

// The face of the button that opens the cadence editor: a busy-tone cycle as the editor
// draws it, a tone bar shaded to blue and a white pause bar on sky blue, over a time axis.
void drawCadence(Canvas& canvas, int w, int h) {
    canvas.fill({0, 0, w, h}, colors::kSkyBlue);
    const int top = h / 5, bottom = h - h / 5, split = w * 3 / 5;
    canvas.bar({1, top, split, bottom}, colors::kSkyBlue, colors::kBlue);
    canvas.bar({split - 1, top + (bottom - top) / 2, w - 1, bottom}, colors::kWhite, colors::kWhite);
    canvas.fill({0, bottom, w, bottom + 1}, colors::kBlack);
}

}  // namespace

BusyToneGroup::BusyToneGroup(Control& page, CommandExchange& link, Edit& initString)
    : GroupBox1(&page, "GroupBox1"),
      Label10(&GroupBox1, "Label10"), Label11(&GroupBox1, "Label11"), Label12(&GroupBox1, "Label12"),
      Label13(&GroupBox1, "Label13"), Label14(&GroupBox1, "Label14"),
      Edit2(&GroupBox1, "Edit2"), Edit3(&GroupBox1, "Edit3"), Edit4(&GroupBox1, "Edit4"),
      Edit5(&GroupBox1, "Edit5"), Edit6(&GroupBox1, "Edit6"),
      SpeedButton4(&GroupBox1, "SpeedButton4"), SpeedButton5(&GroupBox1, "SpeedButton5"),
      SpeedButton8(&GroupBox1, "SpeedButton8"), LMD3DEffectButton1(&GroupBox1, "LMD3DEffectButton1"),
      link_(link), initString_(initString) {
    GroupBox1.setText("Сигнал \"Линия занята\"");
    GroupBox1.setBounds(24, 8, 297, 185);
    const std::array<Label*, 5> labels = {&Label10, &Label11, &Label12, &Label13, &Label14};
    const std::array<const char*, 5> captions = {
        "Минимальное время сигнала", "Максимальное время сигнала", "Минимальное время паузы",
        "Максимальное время паузы", "Количество циклов сигнала"};
    const auto edits = fields();
    for (int i = 0; i < 5; ++i) {
        labels[i]->setText(captions[i]);
        labels[i]->setBounds(8, 32 + 24 * i, 160, 13);
        edits[i]->setBounds(176, 24 + 24 * i, 97, 21);
        edits[i]->labelledBy = labels[i];
    }
    placeButtons<3>({&SpeedButton4, &SpeedButton5, &SpeedButton8}, kReadWriteAppend, {8, 152, 80, 0, 81, 22, true});
    LMD3DEffectButton1.setBounds(256, 152, 26, 26);
    LMD3DEffectButton1.setEnabled(false);
    LMD3DEffectButton1.picture = drawCadence;

    SpeedButton4.onClick = [this] { SpeedButton4Click(); };
    SpeedButton5.onClick = [this] { SpeedButton5Click(); };
    SpeedButton8.onClick = [this] { SpeedButton8Click(); };
    LMD3DEffectButton1.onClick = [this] {
        if (LMD3DEffectButton1Click) LMD3DEffectButton1Click();
    };
}

void BusyToneGroup::SpeedButton4Click() {
    link_.SendQueries(rqBusyRead, {"ATS203?", "ATS204?", "ATS205?", "ATS206?", "ATS207?"});
    LMD3DEffectButton1.setEnabled(true);
}

void BusyToneGroup::ParseBusyReply() {
    const std::string snapshot = link_.RxText;
    std::array<std::string, 5> values;
    for (size_t i = 0; i < kRegisters.size(); ++i)
        values[i] = ExtractRegisterValue(snapshot, std::string("AT") + kRegisters[i] + "?", 7);
    // Every value must be a number before any field changes.
    for (const std::string& value : values) StrToInt(value);
    const auto edits = fields();
    for (size_t i = 0; i < edits.size(); ++i) edits[i]->setText(values[i]);
    link_.CompleteParse();
}

void BusyToneGroup::SpeedButton5Click() {
    link_.OpenModemLink(rqBusyWrite);
    const auto edits = fields();
    for (Edit* edit : edits)
        if (edit->text().empty()) return;
    for (size_t i = 0; i < edits.size(); ++i)
        link_.Send(std::string("AT") + kRegisters[i] + "=" + edits[i]->text() + "\r");
    link_.Send("AT&w&w0&w1\r");
    link_.Send("ATZ\r");
    link_.PendingRequest = rqBusyWrite;
}

void BusyToneGroup::SpeedButton8Click() {
    const auto edits = fields();
    std::string assignments;
    for (size_t i = 0; i < edits.size(); ++i) assignments += std::string(kRegisters[i]) + "=" + edits[i]->text();
    initString_.setText(initString_.text() + assignments);
}

}  // namespace lt

#include "cadence_editor.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <utility>

#include "base/int_text.h"

namespace lt {
namespace {

// The geometry is 32-bit: sums and differences of extreme field values wrap as the
// native coordinates would instead of overflowing.
int wrap(long long value) { return static_cast<int32_t>(value); }

void place(Control& bar, long long left, long long width) {
    bar.setBounds(wrap(left), bar.top(), wrap(width), bar.height());
}

long long rightEdge(const Control& bar) { return static_cast<long long>(bar.left()) + bar.width(); }

// The labels show ten times a position.
void showPosition(Label& label, long long position) { label.setText(IntToStr(10 * position)); }

// A press picks up the left edge in the first five columns, the right edge from two
// columns inside it to four beyond; a press while an edge is held puts it down,
// except that the right-edge zone exchanges a held left edge for the right one.
void pressBar(const Control& bar, bool& grabMin, bool& grabMax, int x) {
    grabMin = x <= 4 && !grabMin && !grabMax;
    const long long w = bar.width();
    grabMax = x >= w - 2 && x <= w + 4 && !grabMin && !grabMax;
}

// Over its own bar a held edge follows the pointer inward.
void dragOverBar(Control& bar, bool grabMin, bool grabMax, Label& minLabel, Label& maxLabel, int x) {
    if (grabMin && x > 0) {
        place(bar, static_cast<long long>(bar.left()) + x, static_cast<long long>(bar.width()) - x);
        showPosition(minLabel, bar.left());
    }
    if (grabMax && x < bar.width()) {
        place(bar, bar.left(), x);
        showPosition(maxLabel, rightEdge(bar));
    }
}

// Over the background a held edge follows the pointer outward; x is in client
// coordinates, where the drawing begins.
void dragOverBackground(Control& bar, bool grabMin, bool grabMax, Label& minLabel, Label& maxLabel, int x) {
    if (grabMin && x < bar.left()) {
        place(bar, x, static_cast<long long>(bar.width()) + (static_cast<long long>(bar.left()) - x));
        showPosition(minLabel, bar.left());
    }
    if (grabMax && x > rightEdge(bar)) {
        place(bar, bar.left(), static_cast<long long>(x) - bar.left());
        showPosition(maxLabel, rightEdge(bar));
    }
}

// Left from the minimum field, width from the maximum field less the minimum; a field
// that does not convert stops the opening with what was set before it kept.
void openBar(Control& bar, const Edit& minField, const Edit& maxField) {
    bar.setLeft(StrToInt(minField.text()));
    place(bar, bar.left(), static_cast<long long>(StrToInt(maxField.text())) - StrToInt(minField.text()));
}

// General format with at most 15 significant digits: "25", "-5", "25.5".
std::string general(double value) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general, 15);
    return std::string(text.data(), end.ptr);
}

}  // namespace

TForm4::TForm4(BusyToneGroup& busyTone)
    : Form("Form4"),
      Shape1(this, "Shape1"), LMDTechnicalLine1(this, "LMDTechnicalLine1"),
      LMDShapeControl1(this, "LMDShapeControl1"), LMDShapeControl2(this, "LMDShapeControl2"),
      RxLabel1(this, "RxLabel1"), RxLabel2(this, "RxLabel2"), RxLabel3(this, "RxLabel3"),
      RxLabel4(this, "RxLabel4"), RxLabel5(this, "RxLabel5"), RxLabel6(this, "RxLabel6"),
      RxLabel7(this, "RxLabel7"), RxLabel8(this, "RxLabel8"), RxLabel9(this, "RxLabel9"),
      RxLabel10(this, "RxLabel10"), SpeedButton1(this, "SpeedButton1"),
      busyTone_(busyTone) {
    setText("Сигнал \"Занято\"");
    formStyle.toolWindow = true;
    formStyle.sizeable = true;
    formStyle.clientSize = false;
    setBounds(0, 0, 379, 351);

    Shape1.setBounds(0, 0, 369, 201);
    Shape1.style.brushColor = colors::kSkyBlue;
    LMDTechnicalLine1.setBounds(0, 74, 369, 45);
    LMDTechnicalLine1.style.arrowAtEnd = true;

    // Both bars are drawn as rectangles, the first in its default fast mode, the second
    // filled; the second's gradient is of the single colour white.
    LMDShapeControl1.setBounds(40, 24, 120, 73);
    LMDShapeControl1.style.brushColor = colors::kSkyBlue;
    LMDShapeControl1.style.gradientTo = colors::kBlue;
    LMDShapeControl2.setBounds(40, 96, 121, 73);
    LMDShapeControl2.style.brushColor = colors::kWhite;
    LMDShapeControl2.style.gradientTo = colors::kWhite;
    for (Shape* bar : {&LMDShapeControl1, &LMDShapeControl2}) bar->style.splitCursor = true;

    const std::array<Label*, 4> captions = {&RxLabel1, &RxLabel2, &RxLabel3, &RxLabel4};
    const std::array<Label*, 4> values = {&RxLabel5, &RxLabel6, &RxLabel7, &RxLabel8};
    const std::array<const char*, 4> texts = {"Минимальное время сигнала:", "Максимальное время сигнала:",
                                              "Минимальное время паузы", "Максимальное время паузы"};
    const std::array<int, 4> captionWidths = {141, 147, 127, 133};
    for (int i = 0; i < 4; ++i) {
        captions[i]->setText(texts[i]);
        captions[i]->setBounds(8, 208 + 24 * i, captionWidths[i], 13);
        values[i]->setText("0");
        values[i]->setBounds(176, 208 + 24 * i, 60, 13);
    }
    RxLabel9.setText("Длительность гудка в сигнале \"Линия занята\"");
    RxLabel9.setBounds(80, 8, 233, 13);
    RxLabel10.setText("Длительность паузы в сигнале \"Линия занята\"");
    RxLabel10.setBounds(56, 176, 236, 13);
    for (Label* title : {&RxLabel9, &RxLabel10}) title->style.transparent = true;
    LMDShapeControl1.labelledBy = &RxLabel9;
    LMDShapeControl2.labelledBy = &RxLabel10;
    // The picture button that opens this window shows no caption: it is named by this
    // window's, which a screen reader's user then hears again when it opens.
    busyTone.LMD3DEffectButton1.labelledBy = this;

    SpeedButton1.setText("Внести значения");
    SpeedButton1.setBounds(8, 296, 161, 22);

    Shape1.onMouseDown = [this](int x, int y) { Shape1MouseDown(x, y); };
    Shape1.onMouseMove = [this](int x, int y) { Shape1MouseMove(x, y); };
    LMDShapeControl1.onMouseDown = [this](int x, int y) { LMDShapeControl1MouseDown(x, y); };
    LMDShapeControl1.onMouseMove = [this](int x, int y) { LMDShapeControl1MouseMove(x, y); };
    LMDShapeControl2.onMouseDown = [this](int x, int y) { LMDShapeControl2MouseDown(x, y); };
    LMDShapeControl2.onMouseMove = [this](int x, int y) { LMDShapeControl2MouseMove(x, y); };
    SpeedButton1.onClick = [this] { SpeedButton1Click(); };
}

TForm4::~TForm4() { busyTone_.LMD3DEffectButton1.labelledBy = nullptr; }

std::array<std::pair<Label*, Edit*>, 4> TForm4::labelFields() {
    return {{{&RxLabel5, &busyTone_.Edit2},
             {&RxLabel6, &busyTone_.Edit3},
             {&RxLabel7, &busyTone_.Edit4},
             {&RxLabel8, &busyTone_.Edit5}}};
}

void TForm4::Open() {
    openBar(LMDShapeControl1, busyTone_.Edit2, busyTone_.Edit3);
    openBar(LMDShapeControl2, busyTone_.Edit4, busyTone_.Edit5);
    const auto pairs = labelFields();
    for (auto [label, field] : pairs) showPosition(*label, StrToInt(field->text()));
    show();
}

void TForm4::LMDShapeControl1MouseDown(int x, int) { pressBar(LMDShapeControl1, GrabToneMin, GrabToneMax, x); }

void TForm4::LMDShapeControl2MouseDown(int x, int) { pressBar(LMDShapeControl2, GrabPauseMin, GrabPauseMax, x); }

void TForm4::Shape1MouseDown(int, int) { GrabToneMin = GrabToneMax = GrabPauseMin = GrabPauseMax = false; }

void TForm4::LMDShapeControl1MouseMove(int x, int) {
    dragOverBar(LMDShapeControl1, GrabToneMin, GrabToneMax, RxLabel5, RxLabel6, x);
}

void TForm4::LMDShapeControl2MouseMove(int x, int) {
    dragOverBar(LMDShapeControl2, GrabPauseMin, GrabPauseMax, RxLabel7, RxLabel8, x);
}

void TForm4::Shape1MouseMove(int x, int) {
    dragOverBackground(LMDShapeControl1, GrabToneMin, GrabToneMax, RxLabel5, RxLabel6, x);
    dragOverBackground(LMDShapeControl2, GrabPauseMin, GrabPauseMax, RxLabel7, RxLabel8, x);
}

void TForm4::SpeedButton1Click() {
    const auto pairs = labelFields();
    // All four convert before any field changes, so that nothing is carried back by halves.
    std::array<int32_t, 4> tenfold{};
    for (size_t i = 0; i < pairs.size(); ++i) tenfold[i] = StrToInt(pairs[i].first->text());
    for (size_t i = 0; i < pairs.size(); ++i) pairs[i].second->setText(general(tenfold[i] * 0.1));
    hide();
}

}  // namespace lt

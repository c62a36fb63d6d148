// Places a row (or column) of buttons with their captions; every register group has one.
#pragma once
#include <array>
#include <cstddef>

#include "toolkit/widgets.h"

namespace lt {

struct ButtonRowLayout {
    int left, top;    // the first button
    int stepX, stepY;  // from one button to the next
    int width, height;
    bool flat;
};

template <size_t N>
void placeButtons(const std::array<Button*, N>& buttons, const std::array<const char*, N>& captions,
                  const ButtonRowLayout& layout) {
    for (size_t i = 0; i < N; ++i) {
        const int n = static_cast<int>(i);
        buttons[i]->setText(captions[i]);
        buttons[i]->setBounds(layout.left + layout.stepX * n, layout.top + layout.stepY * n, layout.width,
                              layout.height);
        buttons[i]->style.flat = layout.flat;
    }
}

// The captions of a register group's read, write and append buttons.
inline constexpr std::array<const char*, 3> kReadWriteAppend = {"Считать", "Записать", "В строку"};

}  // namespace lt

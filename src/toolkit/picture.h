// A picture the program draws on a control's face, in pixels from its top-left corner.
#pragma once
#include <cstdint>
#include <functional>

namespace lt {

struct Rect {
    int left, top, right, bottom;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void fill(const Rect& r, uint32_t color) = 0;
    // A bar with a black frame, shaded from one colour at the left to another at the right.
    virtual void bar(const Rect& r, uint32_t from, uint32_t to) = 0;
};

// Draws the whole face, width by height pixels.
using Picture = std::function<void(Canvas& canvas, int width, int height)>;

}  // namespace lt

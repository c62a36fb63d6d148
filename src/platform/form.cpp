#include "form.h"

namespace lt {
namespace {

// The topmost descendant of parent under (x, y), given relative to parent; later
// children lie on top of earlier ones.
Control* hit(Control& parent, int x, int y, int& originX, int& originY) {
    const auto& children = parent.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Control& c = **it;
        if (!c.visible() || x < c.left() || y < c.top() || x >= c.left() + c.width() ||
            y >= c.top() + c.height())
            continue;
        originX += c.left();
        originY += c.top();
        Control* inner = hit(c, x - c.left(), y - c.top(), originX, originY);
        return inner ? inner : &c;
    }
    return nullptr;
}

}  // namespace

void Form::close() {
    if (onClose) onClose();
    else hide();
}

bool Form::userClose() {
    if (!enabled()) return false;
    close();
    return true;
}

Control* Form::controlAt(int x, int y, int* relX, int* relY) {
    int originX = 0, originY = 0;
    Control* target = hit(*this, x, y, originX, originY);
    *relX = x - originX;
    *relY = y - originY;
    capturedOriginX_ = originX;
    capturedOriginY_ = originY;
    return target;
}

void Form::userMouseDown(int x, int y) {
    if (!responds()) return;
    int rx = 0, ry = 0;
    captured_ = controlAt(x, y, &rx, &ry);
    if (captured_ && captured_->responds() && captured_->onMouseDown) captured_->onMouseDown(rx, ry);
}

void Form::userMouseMove(int x, int y) {
    if (!responds()) return;
    Control* target = captured_;
    int rx = x - capturedOriginX_, ry = y - capturedOriginY_;
    if (!target) target = controlAt(x, y, &rx, &ry);
    if (target && target->responds() && target->onMouseMove) target->onMouseMove(rx, ry);
}

void Form::userMouseUp(int, int) { captured_ = nullptr; }

}  // namespace lt

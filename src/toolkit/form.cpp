#include "form.h"

namespace lt {
namespace {

// The topmost descendant of parent under (x, y), given relative to parent; later
// children lie on top of earlier ones. A control of no width or height covers no point.
Control* hit(Control& parent, int x, int y) {
    const auto& children = parent.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Control& c = **it;
        const long long right = static_cast<long long>(c.left()) + c.width();
        const long long bottom = static_cast<long long>(c.top()) + c.height();
        if (!c.visible() || x < c.left() || y < c.top() || x >= right || y >= bottom) continue;
        Control* inner = hit(c, x - c.left(), y - c.top());
        return inner ? inner : &c;
    }
    return nullptr;
}

// Where a control's top-left corner lies now in its form's client area. Taken at every
// event, so that a control moved while it holds the mouse gets positions relative to
// its new place, as the native window would.
void clientOrigin(const Control& control, long long& x, long long& y) {
    x = y = 0;
    for (const Control* c = &control; c->parent(); c = c->parent()) {
        x += c->left();
        y += c->top();
    }
}

void deliver(const Control& target, const std::function<void(int, int)>& handler, int x, int y) {
    if (!target.responds() || !handler) return;
    long long originX = 0, originY = 0;
    clientOrigin(target, originX, originY);
    handler(static_cast<int>(x - originX), static_cast<int>(y - originY));
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

Control* Form::controlAt(int x, int y) {
    Control* target = hit(*this, x, y);
    return target ? target : this;
}

void Form::userMouseDown(int x, int y) {
    if (!responds()) return;
    captured_ = controlAt(x, y);
    deliver(*captured_, captured_->onMouseDown, x, y);
}

void Form::userMouseMove(int x, int y) {
    if (!responds()) return;
    Control& target = captured_ ? *captured_ : *controlAt(x, y);
    deliver(target, target.onMouseMove, x, y);
}

void Form::userMouseUp(int, int) { captured_ = nullptr; }

}  // namespace lt

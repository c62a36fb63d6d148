#include "control.h"

#include <algorithm>

namespace lt {

Control::Control(ControlKind kind, Control* parent, std::string name)
    : kind_(kind), parent_(parent), name_(std::move(name)) {
    if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (Control* child : children_) child->parent_ = nullptr;
}

Control* Control::find(const std::string& name) {
    if (name_ == name) return this;
    for (Control* child : children_)
        if (Control* hit = child->find(name)) return hit;
    return nullptr;
}

void Control::setText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    changed(Aspect::Text);
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    changed(Aspect::Enabled);
}

void Control::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    changed(Aspect::Visible);
}

bool Control::responds() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->enabled_ || !c->visible_) return false;
    return true;
}

void Control::setBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed(Aspect::Bounds);
}

void Control::changed(Aspect aspect) {
    if (peer_) peer_->sync(aspect);
}

}  // namespace lt

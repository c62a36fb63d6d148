#include "widgets.h"

#include <algorithm>

namespace lt {
namespace {

bool fire(const Control& control, const std::function<void()>& event) {
    if (!control.responds()) return false;
    if (event) event();
    return true;
}

}  // namespace

bool Label::userClick() { return fire(*this, onClick); }

bool Edit::userType(const std::string& text) {
    if (!responds()) return false;
    setText(text);
    return true;
}

bool Button::userClick() { return fire(*this, onClick); }

void ComboBox::setItems(std::vector<std::string> items) {
    items_ = std::move(items);
    itemIndex_ = -1;
    changed(Aspect::Items);
}

void ComboBox::addItem(const std::string& item) {
    items_.push_back(item);
    changed(Aspect::Items);
}

void ComboBox::setItemIndex(int index) {
    const int next = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
    if (next == itemIndex_) return;
    itemIndex_ = next;
    changed(Aspect::ItemIndex);
}

std::string ComboBox::selectedText() const { return itemIndex_ >= 0 ? items_[itemIndex_] : std::string(); }

bool ComboBox::userPick(int index) {
    if (!responds() || index < 0 || index >= static_cast<int>(items_.size())) return false;
    setItemIndex(index);
    return true;
}

void CheckListBox::setItems(std::vector<std::string> items) {
    items_ = std::move(items);
    checked_.assign(items_.size(), false);
    changed(Aspect::Items);
}

void CheckListBox::addItem(const std::string& item) {
    items_.push_back(item);
    checked_.push_back(false);
    changed(Aspect::Items);
}

bool CheckListBox::checked(int index) const {
    return index >= 0 && index < static_cast<int>(checked_.size()) && checked_[index];
}

void CheckListBox::setChecked(int index, bool checked) {
    if (index < 0 || index >= static_cast<int>(checked_.size()) || checked_[index] == checked) return;
    checked_[index] = checked;
    changed(Aspect::Checks);
}

bool CheckListBox::userToggle(int index) {
    if (!responds() || index < 0 || index >= static_cast<int>(items_.size())) return false;
    setChecked(index, !checked_[index]);
    return true;
}

void Slider::setRange(int minValue, int maxValue) {
    min_ = minValue;
    max_ = maxValue;
    changed(Aspect::Value);
    setValue(value_);
}

void Slider::setValue(int value) {
    const int clamped = std::clamp(value, min_, max_);
    if (clamped == value_) return;
    value_ = clamped;
    changed(Aspect::Value);
}

bool Slider::userChange(int value) {
    if (!responds()) return false;
    setValue(value);
    if (onChanged) onChanged();
    return true;
}

std::vector<TabSheet*> PageControl::pages() const {
    std::vector<TabSheet*> result;
    for (Control* child : children())
        if (child->kind() == ControlKind::TabSheet) result.push_back(static_cast<TabSheet*>(child));
    return result;
}

void PageControl::setActivePage(int index) {
    if (index == active_ || index < 0 || index >= static_cast<int>(pages().size())) return;
    active_ = index;
    changed(Aspect::ActivePage);
}

bool PageControl::userSelectPage(int index) {
    if (!responds() || index < 0 || index >= static_cast<int>(pages().size())) return false;
    setActivePage(index);
    return true;
}

void Memo::addLine(const std::string& line) {
    lines_.push_back(line);
    while (lines_.size() > maxLines) lines_.pop_front();
    changed(Aspect::Items);
}

}  // namespace lt

// The control kinds the windows are built from.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "control.h"
#include "picture.h"

namespace lt {

class Label : public Control {
public:
    Label(Control* parent, std::string name) : Control(ControlKind::Label, parent, std::move(name)) {}
    std::function<void()> onClick;
    bool userClick();
    // A label that acts when clicked (a web link) is a control of its own to the keyboard
    // and to assistive tools.
    bool isLink() const { return static_cast<bool>(onClick); }
};

class Edit : public Control {
public:
    Edit(Control* parent, std::string name) : Control(ControlKind::Edit, parent, std::move(name)) {}
    // The user replaces the field's contents (typing, pasting).
    bool userType(const std::string& text);
};

class Button : public Control {
public:
    Button(Control* parent, std::string name) : Control(ControlKind::Button, parent, std::move(name)) {}
    // Drawn on the face in place of the caption when set; fixed once the window is built.
    Picture picture;
    std::function<void()> onClick;
    bool userClick();
};

class GroupBox : public Control {
public:
    GroupBox(Control* parent, std::string name) : Control(ControlKind::GroupBox, parent, std::move(name)) {}
};

// A drop-down list the user can only pick from; with no item selected its text is empty.
class ComboBox : public Control {
public:
    ComboBox(Control* parent, std::string name) : Control(ControlKind::ComboBox, parent, std::move(name)) {}
    const std::vector<std::string>& items() const { return items_; }
    void setItems(std::vector<std::string> items);  // clears the selection
    void clear() { setItems({}); }
    void addItem(const std::string& item);
    int itemIndex() const { return itemIndex_; }
    // An index outside the items leaves no item selected.
    void setItemIndex(int index);
    // The selected item's text, or "".
    std::string selectedText() const;
    bool userPick(int index);

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

// A list with a check mark per item.
class CheckListBox : public Control {
public:
    CheckListBox(Control* parent, std::string name)
        : Control(ControlKind::CheckListBox, parent, std::move(name)) {}
    const std::vector<std::string>& items() const { return items_; }
    void setItems(std::vector<std::string> items);  // all unchecked
    void clear() { setItems({}); }
    void addItem(const std::string& item);
    bool checked(int index) const;
    void setChecked(int index, bool checked);
    bool userToggle(int index);

private:
    std::vector<std::string> items_;
    std::vector<bool> checked_;
};

// A horizontal slider. A value set in code is clamped silently; onChanged runs only when
// the user has finished a change (thumb released, a keyboard step, a press on the track).
class Slider : public Control {
public:
    Slider(Control* parent, std::string name) : Control(ControlKind::Slider, parent, std::move(name)) {}
    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    void setRange(int minValue, int maxValue);
    int value() const { return value_; }
    void setValue(int value);
    std::function<void()> onChanged;
    bool userChange(int value);

private:
    int min_ = 0, max_ = 10, value_ = 0;
};

class TabSheet : public Control {
public:
    TabSheet(Control* parent, std::string name) : Control(ControlKind::TabSheet, parent, std::move(name)) {}
};

// Pages are the TabSheet children, in tab order. A disabled page can still be brought
// to the front by its tab; only the control itself must respond.
class PageControl : public Control {
public:
    PageControl(Control* parent, std::string name)
        : Control(ControlKind::PageControl, parent, std::move(name)) {}
    std::vector<TabSheet*> pages() const;
    int activePage() const { return active_; }
    void setActivePage(int index);
    bool userSelectPage(int index);

private:
    int active_ = 0;
};

// An invisible log: lines are written and never read by the program. The oldest lines
// go once it holds maxLines, so that a line that never stops talking cannot grow it.
class Memo : public Control {
public:
    Memo(Control* parent, std::string name) : Control(ControlKind::Memo, parent, std::move(name)) {
        setVisible(false);
    }
    size_t maxLines = 1000;
    void addLine(const std::string& line);
    const std::deque<std::string>& lines() const { return lines_; }

private:
    std::deque<std::string> lines_;
};

class Shape : public Control {
public:
    Shape(Control* parent, std::string name) : Control(ControlKind::Shape, parent, std::move(name)) {}
};

class Line : public Control {
public:
    Line(Control* parent, std::string name) : Control(ControlKind::Line, parent, std::move(name)) {}
};

}  // namespace lt

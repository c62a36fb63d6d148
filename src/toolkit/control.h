// Windows and controls as objects that hold their own state. A backend may attach a
// peer to a control to keep a native window in step with that state; without a peer
// (headless) the object is the whole control. The user's actions come in through the
// user*() members, which ignore a control that does not respond, as a disabled window
// ignores the mouse and the keyboard.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lt {

enum class ControlKind {
    Form, PageControl, TabSheet, GroupBox, Label, Edit, Button, ComboBox, CheckListBox,
    Slider, Memo, Shape, Line
};

// What changed, so that a peer updates only that.
enum class Aspect { Text, Enabled, Visible, Bounds, Items, ItemIndex, Checks, Value, ActivePage };

class Control;

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void sync(Aspect aspect) = 0;
};

// Colours as 0x00BBGGRR, the layout Windows uses.
namespace colors {
constexpr uint32_t kDefault = 0xFFFFFFFF;
constexpr uint32_t kNavy = 0x800000;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kSkyBlue = 0xF0CAA6;
constexpr uint32_t kBlack = 0x000000;
}  // namespace colors

// Fixed presentation settings, made when a window is built and never changed after.
struct ControlStyle {
    bool flat = false;                   // buttons
    uint32_t fontColor = colors::kDefault;
    bool underline = false;
    bool handCursor = false;
    bool splitCursor = false;            // horizontal-split cursor
    bool transparent = false;
    bool centred = false;                // label text centred in its box
    bool multiLine = false;              // label text broken at "\r\n"
    int itemHeight = 0;                  // lists; 0 for the default
    int dropDownCount = 8;
    uint32_t brushColor = colors::kDefault;
    uint32_t gradientTo = colors::kDefault;  // horizontal gradient from brushColor
    bool arrowAtEnd = false;             // lines
};

class Control {
public:
    Control(ControlKind kind, Control* parent, std::string name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }
    Control* find(const std::string& name);  // this control or a descendant

    // Caption of a window, label, button or group; the contents of an edit field.
    const std::string& text() const { return text_; }
    void setText(const std::string& text);

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    // Enabled and visible, and so is every parent: only then does it react to the user.
    bool responds() const;

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setBounds(int left, int top, int width, int height);
    void setLeft(int left) { setBounds(left, top_, width_, height_); }
    void setWidth(int width) { setBounds(left_, top_, width, height_); }

    ControlStyle style;

    // The control whose text names this one for assistive tools where its own text does
    // not (toolkit/accessibility.h): the label beside a field, the group of a slider
    // without a caption, the window a picture button opens. Set once by the window's
    // builder; it must outlive this control or be cleared first.
    const Control* labelledBy = nullptr;

    // Mouse events with coordinates relative to this control (see Form's routing).
    std::function<void(int x, int y)> onMouseDown, onMouseMove;

    void attachPeer(ControlPeer* peer) { peer_ = peer; }
    ControlPeer* peer() const { return peer_; }

protected:
    void changed(Aspect aspect);

private:
    ControlKind kind_;
    Control* parent_;
    std::string name_;
    std::vector<Control*> children_;
    std::string text_;
    bool enabled_ = true;
    bool visible_ = true;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    ControlPeer* peer_ = nullptr;
};

}  // namespace lt

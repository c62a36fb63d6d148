#include "accessibility.h"

#include "base/int_text.h"
#include "widgets.h"

namespace lt {

std::string accessibleName(const Control& control) {
    if (control.labelledBy) return control.labelledBy->text();
    switch (control.kind()) {
        case ControlKind::Form:
        case ControlKind::TabSheet:
        case ControlKind::GroupBox:
        case ControlKind::Label:
        case ControlKind::Button: return control.text();
        default: return {};
    }
}

std::optional<std::string> accessibleValue(const Control& control) {
    switch (control.kind()) {
        case ControlKind::Edit: return control.text();
        case ControlKind::ComboBox: return static_cast<const ComboBox&>(control).selectedText();
        case ControlKind::Slider: return IntToStr(static_cast<const Slider&>(control).value());
        default: return std::nullopt;
    }
}

}  // namespace lt

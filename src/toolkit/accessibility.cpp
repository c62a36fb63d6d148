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

std::vector<const Control*> namedBy(const Control& control) {
    const Control* root = &control;
    while (root->parent()) root = root->parent();
    std::vector<const Control*> named;
    const auto walk = [&](const Control& c, const auto& self) -> void {
        if (c.labelledBy == &control) named.push_back(&c);
        for (const Control* child : c.children()) self(*child, self);
    };
    walk(*root, walk);
    return named;
}

}  // namespace lt

// What assistive tools (screen readers) are told of a control besides its kind: its name
// and its value. One rule for every backend, so that each only hands it on.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "control.h"

namespace lt {

// The text that names the control: that of the control it is labelled by, else its own
// caption (windows, pages, groups, labels, buttons); "" for a field, list or slider
// nothing labels, whose own text is its contents or nothing.
std::string accessibleName(const Control& control);

// What the control holds for the user: an edit field's text, the selected item of a
// drop-down list ("" with none), a slider's position. Nothing for the other kinds, whose
// state is told otherwise (a check list's marks as its items' states).
std::optional<std::string> accessibleValue(const Control& control);

// The controls of the same window that the control's text names: their names change with it.
std::vector<const Control*> namedBy(const Control& control);

}  // namespace lt

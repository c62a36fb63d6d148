// The order in which the keyboard reaches the controls of a window: reading order, top to
// bottom and left to right as the user sees them, whatever order the controls were built in.
#pragma once
#include <vector>

#include "control.h"

namespace lt {

// Siblings in reading order: in lines, each line left to right. Two controls share a line
// when the middle of each lies within the other's height (a label beside its taller field);
// a line comes before the lines below it.
std::vector<Control*> readingOrder(const std::vector<Control*>& siblings);

// The controls Tab visits in root, in reading order: fields, lists, sliders, buttons, links and
// page controls that respond to the user. A group is read as a whole where it lies; a page
// control is its tabs followed by the page in front, never the pages behind it. A form that
// states its order (Form::statedKeyboardOrder) is taken in that order instead.
std::vector<Control*> keyboardOrder(Control& root);

}  // namespace lt

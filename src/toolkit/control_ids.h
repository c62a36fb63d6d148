// Stable window ids for the native controls, derived from the control's name (a kind
// prefix and a number, "SpeedButton21", "ComboBox8"), so that assistive and test tools
// can find a control without knowing how the window was built. The table of bases is
// documented in docs/CONTROL_IDS.md.
#pragma once
#include <string>

namespace lt {

// Numbers below this fit in one prefix's range.
inline constexpr int kControlIdStride = 100;

// base + number, or 0 when the name has no known prefix or its number does not fit.
int controlId(const std::string& name);

// The name whose id this is ("Edit2" for 702), or "" for an id outside the table.
std::string controlName(int id);

}  // namespace lt

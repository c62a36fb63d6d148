// The texts of a window's controls that do not fit them: captions of buttons, labels and
// group frames, and the items of lists and drop-down lists, each measured in the font its
// control draws with. A tab control sizes each tab to its text, so its tabs cannot cut one.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace lt::win32::testing {

struct TextFit {
    int measured = 0;
    std::vector<std::string> clipped;  // what did not fit, where, and by how much
};

// Every descendant of TOP, also those of pages and forms not shown; FONT_OF gives the font a
// control draws with. Works on another process's windows too.
TextFit fitTexts(HWND top, const std::function<HFONT(HWND)>& fontOf);

}  // namespace lt::win32::testing

// Everything the backend draws itself, apart from message handling: the drawn shapes and
// lines, owner-drawn list items, the pictures on button faces, and the colour a
// transparent control shows.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "toolkit/control.h"
#include "toolkit/picture.h"

namespace lt::win32 {

class Win32Desktop;

// The control's colour, or the system colour where it has none of its own.
COLORREF colourOr(uint32_t colour, int systemColour);
// What shows beneath a control that draws no background of its own: the colour of the
// drawn shape it lies on, else the dialog face.
COLORREF backdrop(const Control& control);
// A shape (a framed rectangle filled with its brush colour or a horizontal gradient) or a
// line (horizontal, with a closed arrow at its end) over the client area r, at the screen
// density dpi.
void paintDrawn(HDC dc, const RECT& r, const Control& control, Win32Desktop& desktop, int dpi);
// One owner-drawn list item: the text on the selection or window colour, indented.
void drawItemText(const DRAWITEMSTRUCT& item, const std::wstring& text, int indent);
// The check box before an item of a check list.
void drawCheckBox(HDC dc, const RECT& r, bool checked, bool enabled);
// A bitmap of the picture, width by height pixels; the caller deletes it.
HBITMAP paintPicture(const Picture& picture, int width, int height, Win32Desktop& desktop);

}  // namespace lt::win32

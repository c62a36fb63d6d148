// The keys a form takes before its focused control, as the system's dialogs and property
// sheets take them. Tab and Shift+Tab move the focus in the form's keyboard order (reading
// order, toolkit/keyboard_order.h) rather than in the order of the windows, which painting
// decides: a control that covers an earlier sibling must lie above it, and the system's
// dialog manager would take it first. Ctrl+Tab and Ctrl+PageDown bring the next page of the
// form's page control to the front, Ctrl+Shift+Tab and Ctrl+PageUp the previous one,
// wrapping around, as a click on its tab does, and put the focus on the tabs; a control that
// wants every key (DLGC_WANTMESSAGE) keeps them, and a slider's own PageUp/PageDown and an
// edit's Ctrl+arrows never see Ctrl+PageUp/PageDown. Enter presses the focused button.
#pragma once
#include <windows.h>

namespace lt {
class Form;
}

namespace lt::win32 {

// True when the message was one of those keys for form (whose window is formWindow) and
// has been handled.
bool navigateByKeyboard(const MSG& msg, HWND formWindow, Form& form);

// Gives the focus back to a control that had it, if it can still take it (shown and
// enabled); false otherwise. A dialog does so when it is activated again (after another
// program, or a message box it owned); a plain window would take the focus itself and a
// keyboard user would start again from the first control.
bool giveFocusBack(HWND control);

}  // namespace lt::win32

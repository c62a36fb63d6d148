// The Win32 desktop's own behaviour, in a console program run under Wine: which messages
// an elevated program lets through, the controls' font, the owner of a message box, the
// registry's reasons for a failed open, the guard of the window procedures, what the controls
// tell assistive tools, a form's layout on a screen of another density, the texts of the
// program's windows at each density, and the focus rectangles Tab asks for and the page keys.
#include "checks.h"

int main() {
    lt::win32::testing::Checks checks;
    lt::win32::testing::testMessageFilter(checks);
    lt::win32::testing::testFont(checks);
    lt::win32::testing::testMessageBoxOwner(checks);
    lt::win32::testing::testRegistry(checks);
    lt::win32::testing::testWindowGuard(checks);
    lt::win32::testing::testScreenDensity(checks);
    lt::win32::testing::testProgramTexts(checks);
    lt::win32::testing::testAccessibleObject(checks);
    lt::win32::testing::testKeyboardCues(checks);
    lt::win32::testing::testPageKeys(checks);
    lt::win32::testing::testLinkKeys(checks);
    return checks.summary();
}

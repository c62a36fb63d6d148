// Every control draws with the TrueType "Microsoft Sans Serif", 8 points, in the Cyrillic
// character set, so that Russian draws right whatever the system's code page.
#include <windows.h>

#include <string>

#include "checks.h"
#include "platform/win32/win32_desktop.h"
#include "toolkit/form.h"
#include "toolkit/widgets.h"

namespace lt::win32::testing {

void testFont(Checks& checks) {
    Win32Desktop desktop(GetModuleHandleW(nullptr));
    Form form("Form1");
    Label label(&form, "Label1");
    Label link(&form, "Label20");
    Button button(&form, "Button1");
    Edit edit(&form, "Edit1");
    ComboBox list(&form, "ComboBox1");
    form.setBounds(0, 0, 300, 200);
    label.setText("Выберите серию модема ");
    label.setBounds(8, 8, 150, 13);
    link.style.underline = true;
    link.setBounds(8, 30, 150, 13);
    button.setBounds(8, 50, 100, 25);
    edit.setBounds(8, 80, 100, 21);
    list.setBounds(8, 110, 100, 21);
    form.show();
    desktop.realize(form);

    HDC screen = GetDC(nullptr);
    const LONG height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    for (Control* control : {static_cast<Control*>(&label), static_cast<Control*>(&link),
                             static_cast<Control*>(&button), static_cast<Control*>(&edit),
                             static_cast<Control*>(&list)}) {
        const std::string name = control->name();
        HWND window = windowOf(*control);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        LOGFONTW asked{};
        if (!font || !GetObjectW(font, sizeof asked, &asked)) {
            checks.expect(false, name + ": has a font");
            continue;
        }
        checks.expect(lstrcmpW(asked.lfFaceName, L"Microsoft Sans Serif") == 0, name + ": face Microsoft Sans Serif");
        checks.expect(asked.lfCharSet == RUSSIAN_CHARSET, name + ": Cyrillic character set");
        checks.expect(asked.lfHeight == height, name + ": 8 points");
        checks.expect((asked.lfUnderline != 0) == control->style.underline, name + ": underlined as a link is");
        // What the font mapper made of it: a face that has the Cyrillic letters.
        HDC dc = GetDC(window);
        HGDIOBJ old = SelectObject(dc, font);
        checks.expect(GetTextCharset(dc) == RUSSIAN_CHARSET, name + ": the face chosen has Cyrillic");
        SelectObject(dc, old);
        ReleaseDC(window, dc);
    }
    desktop.destroyWindows();
}

}  // namespace lt::win32::testing

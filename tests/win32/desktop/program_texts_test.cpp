// Every text of the program's windows fits its control, measured in the control's own font,
// at 96 dpi and on screens of 120 and 144 dpi (the windows carried there as Windows carries
// a program aware of each screen's density).
#include <windows.h>

#include <string>

#include "app/program.h"
#include "checks.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/screen_density.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_serial_device.h"
#include "platform/win32/win32_shell.h"
#include "text_fit.h"

namespace lt::win32::testing {

void testProgramTexts(Checks& checks) {
    Win32Desktop desktop(GetModuleHandleW(nullptr));
    Win32Registry registry;
    Win32SerialDevice serial;
    Win32Clock clock;
    Win32Shell shell;
    Win32SystemInfo systemInfo;
    const Platform platform{registry, serial, clock, desktop, shell, systemInfo};
    {
        Program program(platform);
        desktop.attach(&program.app);
        program.start();
        // Every page and form gets its windows.
        for (int page = 0; page < static_cast<int>(program.Form1->PageControl1.pages().size()); ++page)
            program.Form1->PageControl1.setActivePage(page);
        program.Form2->show();
        program.Form4->show();
        const struct {
            const char* name;
            HWND window;
        } forms[] = {{"main window", windowOf(*program.Form1)},
                     {"setup dialog", windowOf(*program.Form2)},
                     {"cadence editor", windowOf(*program.Form4)}};
        const auto ownFont = [](HWND w) { return reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)); };
        for (const int dpi : {96, 120, 144, 96}) {
            for (const auto& form : forms) {
                const std::string where = std::string(form.name) + " at " + std::to_string(dpi) + " dpi";
                RECT proposed{0, 0, 0, 0};
                SendMessageW(form.window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&proposed));
                const TextFit fit = fitTexts(form.window, ownFont);
                checks.expect(fit.measured >= 10, where + ": " + std::to_string(fit.measured) + " texts measured");
                for (const std::string& cut : fit.clipped) checks.expect(false, where + ": " + cut);
            }
        }
        desktop.destroyWindows();
        desktop.attach(nullptr);
    }
}

}  // namespace lt::win32::testing

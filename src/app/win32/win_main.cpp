// The program on Windows: the Win32 platform around the portable program.
#include <windows.h>

#include "app/program.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_serial_device.h"
#include "platform/win32/win32_shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    lt::win32::Win32Desktop desktop(instance);
    lt::win32::Win32Registry registry;
    lt::win32::Win32SerialDevice serial;
    lt::win32::Win32Clock clock;
    lt::win32::Win32Shell shell;
    lt::win32::Win32SystemInfo systemInfo;
    const lt::Platform platform{registry, serial, clock, desktop, shell, systemInfo};
    {
        lt::Program program(platform);
        desktop.attach(&program.app);
        program.start();
        program.run();
        desktop.destroyWindows();
        desktop.attach(nullptr);
    }
    return 0;
}

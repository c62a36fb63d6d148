// The program on Windows: the Win32 platform around the portable program.
#include <windows.h>
#include <objbase.h>

#include "app/program.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_serial_device.h"
#include "platform/win32/win32_shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Screen readers call the controls' accessibility objects from their own processes
    // through COM, served by this thread's message loop. Without COM they get none, and the
    // program works on.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
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
    if (com) CoUninitialize();
    return 0;
}

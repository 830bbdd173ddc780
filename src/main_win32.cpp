// The Windows program: real system calls, real windows.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Toolkit.h"
#include "shell/App.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::CoInitialize(nullptr);

    platform::win32::Win32System system;
    platform::win32::Win32Shell shell;
    platform::win32::Win32FileSystem files;
    platform::win32::Win32Toolkit toolkit(instance);

    int exitCode = 0;
    {
        olvex::App app(olvex::Services{system, shell, files, toolkit});
        app.Start();
        exitCode = toolkit.Run();
    }
    ::CoUninitialize();
    return exitCode;
}

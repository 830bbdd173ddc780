// The Windows program: real system calls, real windows.
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Memory.h"
#include "platform/win32/Win32Profiles.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Toolkit.h"
#include "platform/win32/Win32UrlCache.h"
#include "shell/App.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::CoInitialize(nullptr);

    platform::win32::Win32System system;
    platform::win32::Win32Shell shell;
    platform::win32::Win32FileSystem files;
    platform::win32::Win32Toolkit toolkit(instance);
    platform::win32::Win32ProfileReader profiles;
    platform::win32::Win32UrlCache urlCache;
    platform::win32::Win32Memory memory;

    int exitCode = 0;
    {
        olvex::App app(olvex::Services{system, shell, files, toolkit, profiles, urlCache, memory});
        app.Start();
        exitCode = toolkit.Run();
    }
    ::CoUninitialize();
    return exitCode;
}

// The Windows program: real system calls, real windows.
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/ComOwners.h"
#include "platform/win32/SystemCalls.h"
#include "platform/win32/Win32Databases.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Memory.h"
#include "platform/win32/Win32Profiles.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Toolkit.h"
#include "platform/win32/Win32UrlCache.h"
#include "shell/App.h"

namespace {

// The common controls of the version this Windows has; the extended call came with a later
// version than the first systems the program runs on carry.
void InitialiseCommonControls() {
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto initEx =
        platform::win32::BoundOrNull<InitFn>("comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    if (!initEx || !initEx(&controls)) ::InitCommonControls();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitialiseCommonControls();
    const platform::win32::ComScope com;

    platform::win32::Win32System system;
    platform::win32::Win32Shell shell;
    platform::win32::Win32FileSystem files;
    platform::win32::Win32Toolkit toolkit(instance);
    platform::win32::Win32ProfileReader profiles;
    platform::win32::Win32UrlCache urlCache;
    platform::win32::Win32Memory memory;
    platform::win32::Win32Databases databases;

    olvex::App app(
        olvex::Services{system, shell, files, toolkit, profiles, urlCache, memory, &databases});
    app.Start();
    return toolkit.Run();
}

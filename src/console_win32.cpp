// The console program: real system calls, no window.
#include <windows.h>

#include "console/CommandLine.h"
#include "console/ConsoleProgram.h"
#include "console/ConsoleToolkit.h"
#include "platform/win32/ComOwners.h"
#include "platform/win32/SystemCalls.h"
#include "platform/win32/Win32Console.h"
#include "platform/win32/Win32Databases.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Memory.h"
#include "platform/win32/Win32Profiles.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32UrlCache.h"

int main() {
    // A drive without a disk or a file the system cannot read fails the step that touched
    // it; no box of the system's may wait for an answer nobody at a script can give.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const platform::win32::ComScope com;

    platform::win32::Win32System system;
    platform::win32::Win32Shell shell;
    platform::win32::Win32FileSystem files;
    platform::win32::Win32ProfileReader profiles;
    platform::win32::Win32UrlCache urlCache;
    platform::win32::Win32Memory memory;
    platform::win32::Win32Console console;
    olvex::ConsoleToolkit toolkit(console);

    platform::win32::Win32Databases databases;
    olvex::Services services{system, shell, files, toolkit, profiles, urlCache, memory, &databases};
    // The command line as the system keeps it, in UTF-8: the runtime's own arguments come in
    // the ANSI code page, where a name outside it is already lost.
    return olvex::RunConsoleProgram(services, console,
                                    olvex::SplitCommandLine(platform::win32::CommandLineU()));
}

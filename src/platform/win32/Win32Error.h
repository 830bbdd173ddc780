#pragma once
#include <windows.h>

#include "platform/Errors.h"

namespace platform::win32 {

// The run-time error a failed system call means to the program's routines.
RuntimeError ErrorFromWin32(DWORD code);

}  // namespace platform::win32

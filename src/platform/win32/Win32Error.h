#pragma once
// A failed system call as the program's routines see it: the system's own code and message.
#include <windows.h>

#include <string>

#include "platform/Errors.h"

namespace platform::win32 {

// The system's text for its code, in UTF-8 without a trailing line end; "" where it has none.
std::string SystemMessage(const SystemCode& code);

RuntimeError ErrorFromWin32(DWORD code);
// A native call's status (ntdll's own messages).
RuntimeError ErrorFromNtStatus(LONG status);
// A COM call's result; what is the reason, the system's message following it.
RuntimeError ErrorFromHResult(HRESULT result, const std::string& what);

}  // namespace platform::win32

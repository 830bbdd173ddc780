#include "platform/Errors.h"

#include <cstdio>

namespace platform {

std::string ErrorDescription(int number) {
    switch (number) {
        case 5:
            return "Invalid procedure call or argument";
        case 6:
            return "Overflow";
        case 7:
            return "Out of memory";
        case 9:
            return "Subscript out of range";
        case 48:
            return "Error in loading DLL";
        case 52:
            return "Bad file name or number";
        case 53:
            return "File not found";
        case 55:
            return "File already open";
        case 57:
            return "Device I/O error";
        case 58:
            return "File already exists";
        case 61:
            return "Disk full";
        case 67:
            return "Too many files";
        case 68:
            return "Device unavailable";
        case 70:
            return "Permission denied";
        case 71:
            return "Disk not ready";
        case 75:
            return "Path/File access error";
        case 76:
            return "Path not found";
        case 424:
            return "Object required";
        case 429:
            return "ActiveX component can't create object";
        case 440:
            return "Automation error";
        case 453:
            return "Specified DLL function not found";
        default:
            return "Application-defined or object-defined error";
    }
}

std::string DescribeCode(const SystemCode& code) {
    const char* kind = "";
    switch (code.kind) {
        case SystemCode::Kind::None:
            return "";
        case SystemCode::Kind::Win32:
            kind = "Win32 error";
            break;
        case SystemCode::Kind::NtStatus:
            kind = "NTSTATUS";
            break;
        case SystemCode::Kind::HResult:
            kind = "HRESULT";
            break;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%s 0x%08X", kind, static_cast<unsigned>(code.value));
    return text;
}

}  // namespace platform

#include "platform/Errors.h"

#include <cstdio>
#include <string>

namespace platform {

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
        case SystemCode::Kind::Sqlite:
            // SQLite's result codes are small numbers, read in decimal in its documentation.
            return "SQLite result code " + std::to_string(code.value);
    }
    char text[40];
    std::snprintf(text, sizeof text, "%s 0x%08X", kind, static_cast<unsigned>(code.value));
    return text;
}

}  // namespace platform

#include "system/LibraryErrorBox.h"

#include <cstdint>

namespace olvex {

namespace {

// The Win32 codes (winerror.h) the box tells apart.
enum Win32Code : uint32_t {
    kFileNotFound = 2,
    kPathNotFound = 3,
    kAccessDenied = 5,
    kNotEnoughMemory = 8,
    kOutOfMemory = 14,
    kInvalidDrive = 15,
    kWriteProtect = 19,
    kNotReady = 21,
    kSharingViolation = 32,
    kLockViolation = 33,
    kBadNetPath = 53,
    kDevNotExist = 55,
    kBadNetName = 67,
    kDiskFull = 112,
    kInvalidName = 123,
    kModNotFound = 126,
    kProcNotFound = 127,
    kBadPathname = 161,
    kFilenameExcedRange = 206,
};

int NumberOfWin32(uint32_t code) {
    switch (code) {
        case kFileNotFound:
            return 53;
        case kPathNotFound:
            return 76;
        case kAccessDenied:
        case kSharingViolation:
        case kLockViolation:
        case kWriteProtect:
            return 70;
        case kInvalidDrive:
        case kDevNotExist:
            return 68;
        case kNotReady:
            return 71;
        case kInvalidName:
        case kBadPathname:
        case kBadNetPath:
        case kBadNetName:
        case kFilenameExcedRange:
            return 52;
        case kNotEnoughMemory:
        case kOutOfMemory:
            return kErrOutOfMemory;
        case kDiskFull:
            return 61;
        case kModNotFound:
            return 48;
        case kProcNotFound:
            return 453;
        default:
            return 75;
    }
}

}  // namespace

int LibraryErrorNumberOf(const platform::SystemCode& code) {
    switch (code.kind) {
        case platform::SystemCode::Kind::Win32:
            return NumberOfWin32(code.value);
        case platform::SystemCode::Kind::HResult:
            return 440;
        case platform::SystemCode::Kind::NtStatus:
        case platform::SystemCode::Kind::Sqlite:
        case platform::SystemCode::Kind::None:
            break;
    }
    return 75;
}

std::string LibraryErrorDescription(int number) {
    switch (number) {
        case kErrOverflow:
            return "Overflow";
        case kErrOutOfMemory:
            return "Out of memory";
        case 48:
            return "Error in loading DLL";
        case 52:
            return "Bad file name or number";
        case 53:
            return "File not found";
        case 61:
            return "Disk full";
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
        case 440:
            return "Automation error";
        case 453:
            return "Specified DLL function not found";
        default:
            return "Application-defined or object-defined error";
    }
}

void ShowLibraryError(ui::Toolkit& toolkit, const std::string& routine, int number) {
    toolkit.MsgBox("Error: " + std::to_string(number) + ". " + LibraryErrorDescription(number),
                   ui::kOkOnly, routine);
}

void ShowLibraryError(ui::Toolkit& toolkit, const std::string& routine,
                      const platform::RuntimeError& error) {
    ShowLibraryError(toolkit, routine, LibraryErrorNumberOf(error.code()));
}

}  // namespace olvex

#include "platform/win32/Win32Error.h"

namespace platform::win32 {

RuntimeError ErrorFromWin32(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
            return RuntimeError(kErrFileNotFound);
        case ERROR_PATH_NOT_FOUND:
            return RuntimeError(kErrPathNotFound);
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return RuntimeError(kErrPermissionDenied);
        case ERROR_INVALID_DRIVE:
        case ERROR_DEV_NOT_EXIST:
            return RuntimeError(kErrDeviceUnavailable);
        case ERROR_NOT_READY:
            return RuntimeError(kErrDiskNotReady);
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return RuntimeError(kErrBadFileName);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return RuntimeError(kErrOutOfMemory);
        case ERROR_DISK_FULL:
            return RuntimeError(kErrDiskFull);
        default:
            return RuntimeError(kErrPathFileAccess);
    }
}

}  // namespace platform::win32

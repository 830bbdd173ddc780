#include "platform/win32/Win32System.h"

#include <windows.h>

#include <cstring>

#include "platform/Errors.h"

namespace platform::win32 {

bool Win32System::QueryVersion(VersionRecord& record) {
    OSVERSIONINFOEXA info;
    std::memset(&info, 0, sizeof info);
    const bool extended = record.size == kExtendedVersionRecordSize;
    info.dwOSVersionInfoSize = extended ? sizeof(OSVERSIONINFOEXA) : sizeof(OSVERSIONINFOA);
    if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
    record.major = info.dwMajorVersion;
    record.minor = info.dwMinorVersion;
    record.build = static_cast<int32_t>(info.dwBuildNumber);
    record.platformId = info.dwPlatformId;
    std::memcpy(record.csdVersion, info.szCSDVersion, sizeof record.csdVersion);
    if (extended) {
        record.servicePackMajor = static_cast<int16_t>(info.wServicePackMajor);
        record.servicePackMinor = static_cast<int16_t>(info.wServicePackMinor);
        record.suiteMask = info.wSuiteMask;
        record.productType = info.wProductType;
        record.reserved = info.wReserved;
    }
    return true;
}

uint32_t Win32System::WindowsDirectory(char* buffer, uint32_t size) {
    return ::GetWindowsDirectoryA(buffer, size);
}

bool Win32System::UserName(char* buffer, uint32_t* size) {
    DWORD n = *size;
    const bool ok = ::GetUserNameA(buffer, &n) != 0;
    *size = n;
    return ok;
}

int Win32System::IsNTAdmin() {
    using IsNTAdminFn = BOOL(WINAPI*)(DWORD, DWORD*);
    HMODULE advpack = ::LoadLibraryA("advpack.dll");
    if (!advpack) throw RuntimeError(48);
    auto fn = reinterpret_cast<IsNTAdminFn>(
        reinterpret_cast<void*>(::GetProcAddress(advpack, "IsNTAdmin")));
    if (!fn) {
        ::FreeLibrary(advpack);
        throw RuntimeError(453);
    }
    const int result = fn(0, nullptr);
    ::FreeLibrary(advpack);
    return result;
}

}  // namespace platform::win32

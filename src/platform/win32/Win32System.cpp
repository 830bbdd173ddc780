#include "platform/win32/Win32System.h"
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/Errors.h"
#include "platform/win32/Text.h"

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

// The folder and user names are handed over as UTF-8, like every string of the logic;
// the buffer rules (size in characters, NUL included) are the system's own.
uint32_t Win32System::WindowsDirectory(char* buffer, uint32_t size) {
    std::vector<wchar_t> wide(size + 1, L'\0');
    const UINT n = ::GetWindowsDirectoryW(wide.data(), size);
    if (n == 0 || n >= size) return n;
    const std::string utf8 = Utf8(wide.data(), static_cast<int>(n));
    if (utf8.size() >= size) return static_cast<uint32_t>(utf8.size() + 1);
    std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
    return static_cast<uint32_t>(utf8.size());
}

bool Win32System::UserName(char* buffer, uint32_t* size) {
    std::vector<wchar_t> wide(*size + 1, L'\0');
    DWORD n = *size;
    if (!::GetUserNameW(wide.data(), &n)) {
        *size = n;
        return false;
    }
    const std::string utf8 = Utf8(wide.data());
    if (utf8.size() + 1 > *size) {
        *size = static_cast<uint32_t>(utf8.size() + 1);
        return false;
    }
    std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
    *size = static_cast<uint32_t>(utf8.size() + 1);
    return true;
}

bool Win32System::DiskFreeSpace(const std::string& root, uint64_t& freeToCaller) {
    ULARGE_INTEGER available, total, totalFree;
    if (!::GetDiskFreeSpaceExW(Wide(root).c_str(), &available, &total, &totalFree)) return false;
    freeToCaller = available.QuadPart;
    return true;
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

#include "platform/win32/Win32System.h"
#include <windows.h>

#include <cstring>
#include <optional>

#include "platform/Errors.h"
#include "platform/win32/SystemCalls.h"

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
    const std::optional<std::string> folder = WindowsDirectoryU();
    if (!folder) return 0;
    if (folder->size() >= size) return static_cast<uint32_t>(folder->size() + 1);
    std::memcpy(buffer, folder->c_str(), folder->size() + 1);
    return static_cast<uint32_t>(folder->size());
}

bool Win32System::UserName(char* buffer, uint32_t* size) {
    const std::optional<std::string> name = UserNameU();
    if (!name) return false;
    const uint32_t needed = static_cast<uint32_t>(name->size() + 1);
    if (needed > *size) {
        *size = needed;
        return false;
    }
    std::memcpy(buffer, name->c_str(), needed);
    *size = needed;
    return true;
}

bool Win32System::DiskFreeSpace(const std::string& root, uint64_t& freeToCaller) {
    return DiskFreeSpaceU(root, freeToCaller);
}

std::optional<std::string> Win32System::EnvironmentVariable(const std::string& name) {
    return EnvironmentVariableU(name);
}

std::optional<std::string> Win32System::MachineSetting(const std::string& key,
                                                       const std::string& value) {
    return MachineSettingU(key, value);
}

std::optional<std::string> Win32System::ProfilesDirectory() {
    return ProfilesDirectoryU();
}

std::string Win32System::ComputerName() {
    return ComputerNameU();
}

std::string Win32System::ProgramFolder() {
    return ProgramFolderU();
}

uint64_t Win32System::CurrentTime() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

int Win32System::IsNTAdmin() {
    using IsNTAdminFn = BOOL(WINAPI*)(DWORD, DWORD*);
    static const auto isNTAdmin = Bound<IsNTAdminFn>("advpack.dll", "IsNTAdmin");
    return isNTAdmin(0, nullptr);
}

}  // namespace platform::win32

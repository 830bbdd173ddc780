#include "platform/win32/Drives.h"
#include <windows.h>

#include "platform/win32/SystemCalls.h"

namespace platform::win32 {

namespace {

UINT DriveType(const std::string& root) {
    if (IsNtFamily()) {
        using Fn = UINT(WINAPI*)(LPCWSTR);
        static const auto fn = BoundOrNull<Fn>("kernel32.dll", "GetDriveTypeW");
        return fn ? fn(Wide(root).c_str()) : DRIVE_UNKNOWN;
    }
    using Fn = UINT(WINAPI*)(LPCSTR);
    static const auto fn = BoundOrNull<Fn>("kernel32.dll", "GetDriveTypeA");
    return fn ? fn(root.c_str()) : DRIVE_UNKNOWN;
}

// What the letter ("C:") names in the object manager: a SUBST letter names a folder of another
// drive (\??\C:\folder), a disk's letter its device (\Device\HarddiskVolume1). NT family only.
std::string DosDeviceTarget(const std::string& letter) {
    using Fn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
    static const auto fn = BoundOrNull<Fn>("kernel32.dll", "QueryDosDeviceW");
    wchar_t target[1024] = {};
    if (!fn || fn(Wide(letter).c_str(), target, 1024) == 0) return "";
    return Utf8(target);
}

}  // namespace

DriveKind KindOfDriveU(const std::string& root) {
    if (root.compare(0, 2, "\\\\") == 0) return DriveKind::Remote;
    if (root.size() != 2 || root[1] != ':') return DriveKind::Other;
    switch (DriveType(root + "\\")) {
        case DRIVE_FIXED:
            break;
        case DRIVE_REMOTE:
            return DriveKind::Remote;
        default:
            return DriveKind::Other;
    }
    if (!IsNtFamily()) return DriveKind::LocalFixed;
    const std::string target = DosDeviceTarget(root);
    if (target.empty()) return DriveKind::Other;
    return target.compare(0, 4, "\\??\\") == 0 ? DriveKind::Substituted : DriveKind::LocalFixed;
}

std::vector<std::string> FixedDriveRootsU() {
    using Fn = DWORD(WINAPI*)();
    static const auto letters = BoundOrNull<Fn>("kernel32.dll", "GetLogicalDrives");
    std::vector<std::string> roots;
    const DWORD mask = letters ? letters() : 0;
    for (int n = 0; n < 26; ++n) {
        if (!(mask & (1u << n))) continue;
        const std::string root = std::string(1, static_cast<char>('A' + n)) + ":\\";
        // A SUBST letter's Recycle Bin is its drive's: counted once, under the drive's letter.
        if (KindOfDriveU(root.substr(0, 2)) == DriveKind::LocalFixed) roots.push_back(root);
    }
    return roots;
}

}  // namespace platform::win32

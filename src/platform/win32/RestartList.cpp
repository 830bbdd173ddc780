#include "platform/win32/RestartList.h"
#include <windows.h>

#include <vector>

#include "platform/win32/Owned.h"
#include "platform/win32/SystemCalls.h"

namespace platform::win32 {

namespace {

constexpr const wchar_t* kSessionManager = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const wchar_t* kPending = L"PendingFileRenameOperations";

// Whether the list already holds the deletion of path. The system keeps pairs of native
// names, the file's (\??\C:\...) and its new name, empty for a deletion.
bool IsListed(const std::wstring& path) {
    using OpenFn = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY);
    using QueryFn = LONG(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
    static const auto open = BoundOrNull<OpenFn>("advapi32.dll", "RegOpenKeyExW");
    static const auto query = BoundOrNull<QueryFn>("advapi32.dll", "RegQueryValueExW");
    RegKey key;
    DWORD type = 0, bytes = 0;
    if (!open || !query ||
        open(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS ||
        query(key.get(), kPending, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ)
        return false;
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 2, L'\0');
    if (query(key.get(), kPending, nullptr, &type, reinterpret_cast<LPBYTE>(data.data()), &bytes) !=
        ERROR_SUCCESS)
        return false;
    const std::wstring wanted = L"\\??\\" + path;
    std::vector<std::wstring> names;
    for (size_t at = 0; at < bytes / sizeof(wchar_t);) {
        const std::wstring name(data.data() + at);
        names.push_back(name);
        at += name.size() + 1;
    }
    for (size_t i = 0; i + 1 < names.size(); i += 2)
        if (names[i + 1].empty() && SameNameIgnoringCase(names[i], wanted)) return true;
    return false;
}

}  // namespace

bool DeleteAtRestartU(const std::string& path) {
    // Only the NT family keeps a list of files to delete at the next start.
    if (!IsNtFamily()) return false;
    std::wstring wide = Wide(path);
    for (wchar_t& c : wide)
        if (c == L'/') c = L'\\';
    if (IsListed(wide)) return true;
    return ::MoveFileExW(WidePath(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

}  // namespace platform::win32

#include "platform/win32/SystemCalls.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <vector>

#include "platform/win32/Owned.h"

namespace platform::win32 {

// --- system ----------------------------------------------------------------------------

std::optional<std::string> WindowsDirectoryU() {
    if (IsNtFamily()) {
        wchar_t folder[MAX_PATH + 1] = {};
        const UINT n = ::GetWindowsDirectoryW(folder, MAX_PATH + 1);
        if (n == 0 || n > MAX_PATH) return std::nullopt;
        return Utf8(folder, static_cast<int>(n));
    }
    char folder[MAX_PATH + 1] = {};
    const UINT n = ::GetWindowsDirectoryA(folder, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH) return std::nullopt;
    return Utf8FromAnsi(std::string(folder, n));
}

std::optional<std::string> UserNameU() {
    constexpr DWORD kLongestName = 256 + 1;  // the system's own limit and the NUL
    if (IsNtFamily()) {
        // Bound by name: no export table of 95 or 98 at hand shows that their advapi32 has
        // even a stub of it, and the loader refuses a program for one missing import.
        using Fn = BOOL(WINAPI*)(LPWSTR, LPDWORD);
        static const auto fn = BoundOrNull<Fn>("advapi32.dll", "GetUserNameW");
        wchar_t name[kLongestName] = {};
        DWORD n = kLongestName;
        if (!fn || !fn(name, &n)) return std::nullopt;
        return Utf8(name);
    }
    char name[kLongestName] = {};
    DWORD n = kLongestName;
    if (!::GetUserNameA(name, &n)) return std::nullopt;
    return Utf8FromAnsi(name);
}

std::string ComputerNameU() {
    constexpr DWORD kLongestName = MAX_COMPUTERNAME_LENGTH + 1;
    if (IsNtFamily()) {
        using Fn = BOOL(WINAPI*)(LPWSTR, LPDWORD);
        static const auto fn = BoundOrNull<Fn>("kernel32.dll", "GetComputerNameW");
        wchar_t name[kLongestName] = {};
        DWORD n = kLongestName;
        return fn && fn(name, &n) ? Utf8(name) : "";
    }
    char name[kLongestName] = {};
    DWORD n = kLongestName;
    return ::GetComputerNameA(name, &n) ? Utf8FromAnsi(name) : "";
}

std::string ProgramFolderU() {
    if (IsNtFamily()) {
        // Bound by name: not every 95 exports the wide one, even as a stub.
        using ModuleName = DWORD(WINAPI*)(HMODULE, LPWSTR, DWORD);
        static const auto moduleName = Bound<ModuleName>("kernel32.dll", "GetModuleFileNameW");
        wchar_t name[MAX_PATH];
        const DWORD length = moduleName(nullptr, name, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return "";
        std::string path = Utf8(name, static_cast<int>(length));
        return path.substr(0, path.find_last_of('\\') + 1);
    }
    char name[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, name, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    std::string path(name, length);
    return path.substr(0, path.find_last_of('\\') + 1);
}

bool DiskFreeSpaceU(const std::string& root, uint64_t& freeToCaller) {
    ULARGE_INTEGER available, total, totalFree;
    if (IsNtFamily()) {
        using Fn = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
        static const auto fn = Bound<Fn>("kernel32.dll", "GetDiskFreeSpaceExW");
        if (!fn(Wide(root).c_str(), &available, &total, &totalFree)) return false;
    } else {
        using Fn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
        static const auto fn = Bound<Fn>("kernel32.dll", "GetDiskFreeSpaceExA");
        const auto ansi = AnsiArgument(root);
        if (!ansi || !fn(ansi->c_str(), &available, &total, &totalFree)) return false;
    }
    freeToCaller = available.QuadPart;
    return true;
}

std::optional<std::string> EnvironmentVariableU(const std::string& name) {
    // Asked for its size first: a value may be as long as the environment allows.
    if (IsNtFamily()) {
        using Fn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
        static const auto fn = Bound<Fn>("kernel32.dll", "GetEnvironmentVariableW");
        const std::wstring wide = Wide(name);
        const DWORD size = fn(wide.c_str(), nullptr, 0);
        if (size == 0) return std::nullopt;
        std::vector<wchar_t> value(size, L'\0');
        const DWORD n = fn(wide.c_str(), value.data(), size);
        if (n == 0 || n >= size) return std::nullopt;  // gone, or grown, meanwhile
        return Utf8(value.data(), static_cast<int>(n));
    }
    const auto ansi = AnsiArgument(name);
    if (!ansi) return std::nullopt;
    const DWORD size = ::GetEnvironmentVariableA(ansi->c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::vector<char> value(size, '\0');
    const DWORD n = ::GetEnvironmentVariableA(ansi->c_str(), value.data(), size);
    if (n == 0 || n >= size) return std::nullopt;
    return Utf8FromAnsi(std::string(value.data(), n));
}

namespace {
bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

// A value's text with the variables of the environment it names filled in.
std::wstring Expanded(const std::wstring& text) {
    using Fn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
    static const auto fn = BoundOrNull<Fn>("kernel32.dll", "ExpandEnvironmentStringsW");
    const DWORD size = fn ? fn(text.c_str(), nullptr, 0) : 0;
    if (size == 0) return text;
    std::vector<wchar_t> expanded(size, L'\0');
    const DWORD n = fn(text.c_str(), expanded.data(), size);
    return n == 0 || n > size ? text : std::wstring(expanded.data());
}

std::string Expanded(const std::string& text) {
    using Fn = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
    static const auto fn = BoundOrNull<Fn>("kernel32.dll", "ExpandEnvironmentStringsA");
    const DWORD size = fn ? fn(text.c_str(), nullptr, 0) : 0;
    if (size == 0) return text;
    std::vector<char> expanded(size, '\0');
    const DWORD n = fn(text.c_str(), expanded.data(), size);
    return n == 0 || n > size ? text : std::string(expanded.data());
}

// The text of a REG_SZ value of data bytes, which need not end with its NUL.
template <class Char>
std::basic_string<Char> RegistryText(const std::vector<BYTE>& data, DWORD bytes) {
    std::basic_string<Char> text(reinterpret_cast<const Char*>(data.data()), bytes / sizeof(Char));
    const size_t nul = text.find(Char(0));
    if (nul != std::basic_string<Char>::npos) text.resize(nul);
    return text;
}
}  // namespace

std::optional<std::string> MachineSettingU(const std::string& key, const std::string& value) {
    RegKey opened;
    DWORD type = 0;
    DWORD bytes = 0;
    std::vector<BYTE> data;
    if (IsNtFamily()) {
        using OpenFn = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY);
        using QueryFn = LONG(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
        static const auto open = Bound<OpenFn>("advapi32.dll", "RegOpenKeyExW");
        static const auto query = Bound<QueryFn>("advapi32.dll", "RegQueryValueExW");
        const std::wstring name = Wide(value);
        if (open(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, KEY_QUERY_VALUE, opened.out()) !=
                ERROR_SUCCESS ||
            query(opened.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
            !IsText(type))
            return std::nullopt;
        data.resize(bytes);
        if (query(opened.get(), name.c_str(), nullptr, &type, data.data(), &bytes) !=
                ERROR_SUCCESS ||
            !IsText(type) || bytes > data.size())
            return std::nullopt;
        std::wstring text = RegistryText<wchar_t>(data, bytes);
        if (type == REG_EXPAND_SZ) text = Expanded(text);
        return Utf8(text.c_str(), static_cast<int>(text.size()));
    }
    const auto ansiKey = AnsiArgument(key);
    const auto name = AnsiArgument(value);
    if (!ansiKey || !name ||
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ansiKey->c_str(), 0, KEY_QUERY_VALUE, opened.out()) !=
            ERROR_SUCCESS ||
        ::RegQueryValueExA(opened.get(), name->c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        !IsText(type))
        return std::nullopt;
    data.resize(bytes);
    if (::RegQueryValueExA(opened.get(), name->c_str(), nullptr, &type, data.data(), &bytes) !=
            ERROR_SUCCESS ||
        !IsText(type) || bytes > data.size())
        return std::nullopt;
    std::string text = RegistryText<char>(data, bytes);
    if (type == REG_EXPAND_SZ) text = Expanded(text);
    return Utf8FromAnsi(text);
}

std::optional<std::string> ProfilesDirectoryU() {
    // The profile library comes with 2000; NT 4.0 and the 9x family have none.
    if (!IsNtFamily()) return std::nullopt;
    using Fn = BOOL(WINAPI*)(LPWSTR, LPDWORD);
    static const auto fn = BoundOrNull<Fn>("userenv.dll", "GetProfilesDirectoryW");
    if (!fn) return std::nullopt;
    DWORD size = 0;
    fn(nullptr, &size);
    if (size == 0 || size > 32768) return std::nullopt;
    std::vector<wchar_t> folder(size + 1, L'\0');
    if (!fn(folder.data(), &size)) return std::nullopt;
    return Utf8(folder.data());
}

std::string CommandLineU() {
    if (IsNtFamily()) {
        using Fn = LPWSTR(WINAPI*)();
        static const auto fn = Bound<Fn>("kernel32.dll", "GetCommandLineW");
        return Utf8(fn());
    }
    return Utf8FromAnsi(::GetCommandLineA());
}

}  // namespace platform::win32

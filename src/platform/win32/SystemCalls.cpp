#include "platform/win32/SystemCalls.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <vector>

#include "platform/TextEncoding.h"
#include "platform/win32/Owned.h"

namespace platform::win32 {

bool IsNtFamily() {
    // Asked once; a plain variable, not a guarded static: the runtime's own locks come here
    // through the semaphore call below, and a guard may need a lock itself.
    static int family = 0;  // 0 not asked yet, 1 NT, 2 the 9x family
    // The high bit of the version is set on Windows 95, 98 and ME.
    if (family == 0) family = (::GetVersion() & 0x80000000u) ? 2 : 1;
    return family == 1;
}

bool IsWine() {
    // Wine's ntdll exports its version under a name no Windows ntdll has.
    static const bool wine = FindSystemFunction("ntdll.dll", "wine_get_version") != nullptr;
    return wine;
}

// --- text ------------------------------------------------------------------------------

std::wstring Wide(const std::string& utf8) {
    const std::u16string wide = Utf16FromUtf8(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::string Utf8(const wchar_t* wide, int length) {
    if (length < 0) length = ::lstrlenW(wide);
    return Utf8FromUtf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(wide), static_cast<size_t>(length)));
}

std::string Utf8FromAnsi(const std::string& ansi) {
    if (ansi.empty()) return std::string();
    const int size = static_cast<int>(ansi.size());
    const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, &wide[0], n);
    return Utf8(wide.c_str(), n);
}

std::optional<std::string> AnsiFromUtf8(const std::string& utf8) {
    if (utf8.empty()) return std::string();
    const std::wstring wide = Wide(utf8);
    const int size = static_cast<int>(wide.size());
    const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, &ansi[0], n, nullptr, nullptr);
    // The way back tells a stand-in ("?", or a look-alike letter) from the real character.
    if (n == 0 || Utf8FromAnsi(ansi) != Utf8(wide.c_str(), size)) return std::nullopt;
    return ansi;
}

bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    auto upper = [](wchar_t c) {
        return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

std::wstring WidePath(const std::string& path) {
    std::wstring wide = Wide(path);
    for (wchar_t& c : wide)
        if (c == L'/') c = L'\\';
    const bool absolute = wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\';
    if (!absolute || wide.size() < MAX_PATH - 12) return wide;
    std::wstring tidy;
    for (wchar_t c : wide) {
        if (c == L'\\' && !tidy.empty() && tidy.back() == L'\\') continue;
        tidy += c;
    }
    return L"\\\\?\\" + tidy;
}

namespace {

// The ANSI text of a path or name for the 9x calls; nullopt (with the error a missing file
// gives) when it has a character the code page lacks, since no such file can exist there.
std::optional<std::string> AnsiArgument(const std::string& text) {
    std::optional<std::string> ansi = AnsiFromUtf8(text);
    if (!ansi) ::SetLastError(ERROR_FILE_NOT_FOUND);
    return ansi;
}

// ANSI text where a stand-in does no harm (window texts, titles).
std::string AnsiText(const std::string& utf8) {
    const std::wstring wide = Wide(utf8);
    const int size = static_cast<int>(wide.size());
    const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(n), '\0');
    if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, &ansi[0], n, nullptr, nullptr);
    return ansi;
}

void Take(const WIN32_FIND_DATAW& data, FoundFile& found) {
    found.name = Utf8(data.cFileName);
    found.attributes = data.dwFileAttributes;
    found.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void Take(const WIN32_FIND_DATAA& data, FoundFile& found) {
    found.name = Utf8FromAnsi(data.cFileName);
    found.attributes = data.dwFileAttributes;
    found.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A library of the system, from the system folder by its full path: loaded by its bare name,
// one planted in the program's own folder or the current folder would be loaded instead, and
// run with the rights of whoever runs the cleaner. One already loaded is taken as it is.
HMODULE LoadSystemLibrary(const char* library) {
    if (IsNtFamily()) {
        const std::wstring name = Wide(library);
        if (HMODULE loaded = ::GetModuleHandleW(name.c_str())) return loaded;
        wchar_t folder[MAX_PATH];
        const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return nullptr;
        return ::LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str());
    }
    if (HMODULE loaded = ::GetModuleHandleA(library)) return loaded;
    char folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return ::LoadLibraryA((std::string(folder, length) + "\\" + library).c_str());
}

}  // namespace

FARPROC FindSystemFunction(const char* library, const char* function) {
    HMODULE module = LoadSystemLibrary(library);
    return module ? ::GetProcAddress(module, function) : nullptr;
}

FARPROC RequireSystemFunction(const char* library, const char* function) {
    HMODULE module = LoadSystemLibrary(library);
    // The windows know these as "Error in loading DLL" (48) and "Specified DLL function not
    // found" (453); a report names the library and the function.
    if (!module)
        throw RuntimeError(48, std::string("this Windows has no ") + library,
                           SystemCode{SystemCode::Kind::Win32, ::GetLastError()});
    FARPROC found = ::GetProcAddress(module, function);
    if (!found)
        throw RuntimeError(453, std::string(library) + " of this Windows has no " + function,
                           SystemCode{SystemCode::Kind::Win32, ::GetLastError()});
    return found;
}

// --- files -----------------------------------------------------------------------------

HANDLE FindFirstFileU(const std::string& pattern, FoundFile& found) {
    if (IsNtFamily()) {
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW(WidePath(pattern).c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) Take(data, found);
        return find;
    }
    const auto ansi = AnsiArgument(pattern);
    if (!ansi) return INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(ansi->c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) Take(data, found);
    return find;
}

bool FindNextFileU(HANDLE find, FoundFile& found) {
    if (IsNtFamily()) {
        WIN32_FIND_DATAW data;
        if (!::FindNextFileW(find, &data)) return false;
        Take(data, found);
        return true;
    }
    WIN32_FIND_DATAA data;
    if (!::FindNextFileA(find, &data)) return false;
    Take(data, found);
    return true;
}

DWORD GetFileAttributesU(const std::string& path) {
    if (IsNtFamily()) return ::GetFileAttributesW(WidePath(path).c_str());
    const auto ansi = AnsiArgument(path);
    return ansi ? ::GetFileAttributesA(ansi->c_str()) : INVALID_FILE_ATTRIBUTES;
}

bool DeleteFileU(const std::string& path) {
    if (IsNtFamily()) return ::DeleteFileW(WidePath(path).c_str()) != 0;
    const auto ansi = AnsiArgument(path);
    return ansi && ::DeleteFileA(ansi->c_str()) != 0;
}

bool RemoveDirectoryU(const std::string& path) {
    if (IsNtFamily()) return ::RemoveDirectoryW(WidePath(path).c_str()) != 0;
    const auto ansi = AnsiArgument(path);
    return ansi && ::RemoveDirectoryA(ansi->c_str()) != 0;
}

HANDLE CreateFileU(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    if (IsNtFamily()) {
        // Bound by name, as every wide call this program alone needs: 95 is not known to
        // export even a stub of each, and the loader refuses a program for one missing import.
        using Fn =
            HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
        static const auto fn = Bound<Fn>("kernel32.dll", "CreateFileW");
        return fn(WidePath(path).c_str(), access, share, nullptr, disposition,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    const auto ansi = AnsiArgument(path);
    if (!ansi) return INVALID_HANDLE_VALUE;
    return ::CreateFileA(ansi->c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

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

std::string PrivateProfileBytesU(const std::string& section, const std::string& key,
                                 const std::string& def, const std::string& file, DWORD size) {
    if (size == 0) return std::string();
    if (IsNtFamily()) {
        // The wide lookup reads a file without a byte-order mark in the ANSI code page;
        // turning its answer back with the same code page gives the bytes as written. The
        // lookup has cut it at its own characters: the bytes are not cut again.
        std::vector<wchar_t> value(size, L'\0');
        const DWORD n =
            ::GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(def).c_str(),
                                       value.data(), size, WidePath(file).c_str());
        const int length = static_cast<int>(n < size ? n : size - 1);
        const int bytes =
            ::WideCharToMultiByte(CP_ACP, 0, value.data(), length, nullptr, 0, nullptr, nullptr);
        std::string raw(static_cast<size_t>(bytes), '\0');
        if (bytes > 0)
            ::WideCharToMultiByte(CP_ACP, 0, value.data(), length, &raw[0], bytes, nullptr,
                                  nullptr);
        return raw;
    }
    const auto path = AnsiArgument(file);
    if (!path) return AnsiText(def);
    std::vector<char> value(size, '\0');
    const DWORD n =
        ::GetPrivateProfileStringA(AnsiText(section).c_str(), AnsiText(key).c_str(),
                                   AnsiText(def).c_str(), value.data(), size, path->c_str());
    return std::string(value.data(), n < size ? n : size - 1);
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

// --- shell -----------------------------------------------------------------------------

std::optional<std::string> PathFromIdListU(LPCITEMIDLIST list) {
    if (IsNtFamily()) {
        using Fn = BOOL(WINAPI*)(LPCITEMIDLIST, LPWSTR);
        static const auto fn = Bound<Fn>("shell32.dll", "SHGetPathFromIDListW");
        wchar_t path[MAX_PATH + 1] = {};
        if (!fn(list, path)) return std::nullopt;
        return Utf8(path);
    }
    char path[MAX_PATH + 1] = {};
    if (!::SHGetPathFromIDListA(list, path)) return std::nullopt;
    return Utf8FromAnsi(path);
}

void ShellExecuteU(HWND owner, const std::string& operation, const std::string& file,
                   int showCommand) {
    if (IsNtFamily()) {
        using Fn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
        static const auto fn = Bound<Fn>("shell32.dll", "ShellExecuteW");
        fn(owner, Wide(operation).c_str(), Wide(file).c_str(), nullptr, L"", showCommand);
        return;
    }
    const auto target = AnsiArgument(file);
    if (!target)
        throw RuntimeError(kErrFileNotFound, "the address has characters of no code page here");
    ::ShellExecuteA(owner, AnsiText(operation).c_str(), target->c_str(), nullptr, "", showCommand);
}

namespace {
// The emptying calls, bound once for the emptying and for the count alike: both fail on a
// shell that lacks them (before shell32 4.71).
using EmptyWideFn = HRESULT(WINAPI*)(HWND, LPCWSTR, DWORD);
using EmptyAnsiFn = HRESULT(WINAPI*)(HWND, LPCSTR, DWORD);

EmptyWideFn EmptyRecycleBinWide() {
    static const auto fn = Bound<EmptyWideFn>("shell32.dll", "SHEmptyRecycleBinW");
    return fn;
}

EmptyAnsiFn EmptyRecycleBinAnsi() {
    static const auto fn = Bound<EmptyAnsiFn>("shell32.dll", "SHEmptyRecycleBinA");
    return fn;
}
}  // namespace

HRESULT EmptyRecycleBinU(HWND owner, DWORD flags) {
    if (IsNtFamily()) return EmptyRecycleBinWide()(owner, L"", flags);
    return EmptyRecycleBinAnsi()(owner, "", flags);
}

bool QueryRecycleBinU(const std::string& root, uint64_t& items, uint64_t& bytes) {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    // An empty root counts the Recycle Bins of every drive, as the emptying empties them all.
    if (IsNtFamily()) {
        EmptyRecycleBinWide();
        using Fn = HRESULT(WINAPI*)(LPCWSTR, LPSHQUERYRBINFO);
        static const auto fn = BoundOrNull<Fn>("shell32.dll", "SHQueryRecycleBinW");
        if (!fn || FAILED(fn(Wide(root).c_str(), &info))) return false;
    } else {
        EmptyRecycleBinAnsi();
        using Fn = HRESULT(WINAPI*)(LPCSTR, LPSHQUERYRBINFO);
        static const auto fn = BoundOrNull<Fn>("shell32.dll", "SHQueryRecycleBinA");
        if (!fn || FAILED(fn(root.c_str(), &info))) return false;
    }
    items = static_cast<uint64_t>(info.i64NumItems);
    bytes = static_cast<uint64_t>(info.i64Size);
    return true;
}

std::optional<std::string> LibraryFolderPathU(int csidl) {
    // The folder as it is now (SHGFP_TYPE_CURRENT), never created.
    constexpr DWORD kCurrent = 0;
    if (IsNtFamily()) {
        using Fn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
        static const auto fn = BoundOrNull<Fn>("shfolder.dll", "SHGetFolderPathW");
        wchar_t path[MAX_PATH + 1] = {};
        if (!fn || fn(nullptr, csidl, nullptr, kCurrent, path) != S_OK) return std::nullopt;
        return Utf8(path);
    }
    using Fn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    static const auto fn = BoundOrNull<Fn>("shfolder.dll", "SHGetFolderPathA");
    char path[MAX_PATH + 1] = {};
    if (!fn || fn(nullptr, csidl, nullptr, kCurrent, path) != S_OK) return std::nullopt;
    return Utf8FromAnsi(path);
}

// --- console ---------------------------------------------------------------------------

namespace {

// Consoles before Windows 8 refuse a single write larger than the 64 KB heap they share with
// the program, less what is in use there: text goes in pieces well below that.
constexpr size_t kConsolePiece = 4096;

bool WriteConsolePiece(HANDLE console, const wchar_t* text, size_t length) {
    if (IsNtFamily()) {
        using Fn = BOOL(WINAPI*)(HANDLE, const void*, DWORD, LPDWORD, LPVOID);
        static const auto fn = Bound<Fn>("kernel32.dll", "WriteConsoleW");
        while (length > 0) {
            DWORD written = 0;
            if (!fn(console, text, static_cast<DWORD>(length), &written, nullptr) || written == 0 ||
                written > length)
                return false;
            text += written;
            length -= written;
        }
        return true;
    }
    // A character the OEM code page lacks shows as its stand-in.
    const int size = static_cast<int>(length);
    const int n = ::WideCharToMultiByte(CP_OEMCP, 0, text, size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return false;
    std::string oem(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_OEMCP, 0, text, size, &oem[0], n, nullptr, nullptr);
    for (size_t at = 0; at < oem.size();) {
        DWORD written = 0;
        if (!::WriteConsoleA(console, oem.data() + at, static_cast<DWORD>(oem.size() - at),
                             &written, nullptr) ||
            written == 0 || written > oem.size() - at)
            return false;
        at += written;
    }
    return true;
}

}  // namespace

bool WriteConsoleU(HANDLE console, const std::string& text) {
    const std::wstring wide = Wide(text);
    for (size_t at = 0; at < wide.size();) {
        size_t n = std::min(kConsolePiece, wide.size() - at);
        // A piece never ends between the two halves of a character beyond the first plane.
        if (at + n < wide.size() && IS_HIGH_SURROGATE(wide[at + n - 1])) --n;
        if (!WriteConsolePiece(console, wide.data() + at, n)) return false;
        at += n;
    }
    return true;
}

// --- windows ---------------------------------------------------------------------------

namespace {
// The class record is the same in both families but for the text of its name.
template <class ClassRecord, class Char, class GetInfo, class Register>
void RegisterClassOnce(const std::basic_string<Char>& name, WNDPROC procedure, HINSTANCE instance,
                       HICON icon, GetInfo getInfo, Register registerClass) {
    ClassRecord wc{};
    wc.cbSize = sizeof wc;
    if (getInfo(instance, name.c_str(), &wc)) return;
    wc = ClassRecord{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    registerClass(&wc);
}
}  // namespace

void RegisterWindowClassU(const std::string& name, WNDPROC procedure, HINSTANCE instance,
                          HICON icon) {
    if (IsNtFamily()) {
        RegisterClassOnce<WNDCLASSEXW>(Wide(name), procedure, instance, icon, ::GetClassInfoExW,
                                       ::RegisterClassExW);
    } else {
        RegisterClassOnce<WNDCLASSEXA>(AnsiText(name), procedure, instance, icon, ::GetClassInfoExA,
                                       ::RegisterClassExA);
    }
}

HWND CreateWindowU(DWORD exStyle, const std::string& className, const std::string& text,
                   DWORD style, int x, int y, int width, int height, HWND parent, UINT_PTR id,
                   HINSTANCE instance, void* param) {
    HMENU menu = reinterpret_cast<HMENU>(id);
    if (IsNtFamily())
        return ::CreateWindowExW(exStyle, Wide(className).c_str(), Wide(text).c_str(), style, x, y,
                                 width, height, parent, menu, instance, param);
    return ::CreateWindowExA(exStyle, AnsiText(className).c_str(), AnsiText(text).c_str(), style, x,
                             y, width, height, parent, menu, instance, param);
}

LRESULT DefWindowProcU(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsNtFamily()) return ::DefWindowProcW(window, message, wParam, lParam);
    return ::DefWindowProcA(window, message, wParam, lParam);
}

WNDPROC SubclassWindowU(HWND window, WNDPROC procedure) {
    const auto value = reinterpret_cast<LONG_PTR>(procedure);
    if (IsNtFamily())
        return reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(window, GWLP_WNDPROC, value));
    return reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(window, GWLP_WNDPROC, value));
}

LRESULT CallWindowProcU(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsNtFamily()) return ::CallWindowProcW(previous, window, message, wParam, lParam);
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

void SetWindowTextU(HWND window, const std::string& text) {
    if (IsNtFamily()) {
        ::SetWindowTextW(window, Wide(text).c_str());
    } else {
        ::SetWindowTextA(window, AnsiText(text).c_str());
    }
}

std::string WindowTextU(HWND window) {
    if (IsNtFamily()) {
        std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
        const int n = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
        return Utf8(text.data(), n);
    }
    std::vector<char> text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    const int n = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return Utf8FromAnsi(std::string(text.data(), static_cast<size_t>(n)));
}

void AppendMenuU(HMENU menu, UINT flags, UINT_PTR id, const std::string& text) {
    if (IsNtFamily()) {
        ::AppendMenuW(menu, flags, id, Wide(text).c_str());
    } else {
        ::AppendMenuA(menu, flags, id, AnsiText(text).c_str());
    }
}

void AddListBoxItemU(HWND listBox, const std::string& text) {
    if (IsNtFamily()) {
        ::SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    } else {
        ::SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AnsiText(text).c_str()));
    }
}

int MessageBoxU(HWND owner, const std::string& text, const std::string& title, UINT type) {
    // One of the few wide calls that Windows 95, 98 and ME carry out themselves.
    return ::MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), type);
}

BOOL GetMessageU(MSG& message) {
    if (IsNtFamily()) return ::GetMessageW(&message, nullptr, 0, 0);
    return ::GetMessageA(&message, nullptr, 0, 0);
}

bool IsDialogMessageU(HWND dialog, MSG& message) {
    if (IsNtFamily()) return ::IsDialogMessageW(dialog, &message) != 0;
    return ::IsDialogMessageA(dialog, &message) != 0;
}

void DispatchMessageU(const MSG& message) {
    if (IsNtFamily()) {
        ::DispatchMessageW(&message);
    } else {
        ::DispatchMessageA(&message);
    }
}

}  // namespace platform::win32

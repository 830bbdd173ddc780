#include "platform/win32/SystemCalls.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <vector>

#include "platform/TextEncoding.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/Owned.h"

// The family the C runtime's glue found (runtime/semaphore_of_family.c), asked once.
extern "C" int OlvexIsNtFamily(void);

namespace platform::win32 {

bool IsNtFamily() {
    return OlvexIsNtFamily() != 0;
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
    // As the file system compares names: by the system's upper-case table, so that a name
    // typed DONNÉES is the folder Données.
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && nt::Upcase(a[i]) != nt::Upcase(b[i])) return false;
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

namespace {

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

// The code the last failed call set, or fallback where it set none.
SystemCode LastErrorOr(DWORD fallback) {
    const DWORD code = ::GetLastError();
    return SystemCode{SystemCode::Kind::Win32, code ? code : fallback};
}

}  // namespace

FARPROC FindSystemFunction(const char* library, const char* function) {
    HMODULE module = LoadSystemLibrary(library);
    return module ? ::GetProcAddress(module, function) : nullptr;
}

FARPROC RequireSystemFunction(const char* library, const char* function) {
    HMODULE module = LoadSystemLibrary(library);
    // A report names the library and the function, and keeps the system's code.
    if (!module)
        throw RuntimeError(std::string("this Windows has no ") + library,
                           LastErrorOr(ERROR_MOD_NOT_FOUND));
    FARPROC found = ::GetProcAddress(module, function);
    if (!found)
        throw RuntimeError(std::string(library) + " of this Windows has no " + function,
                           LastErrorOr(ERROR_PROC_NOT_FOUND));
    return found;
}

}  // namespace platform::win32

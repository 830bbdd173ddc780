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
        throw RuntimeError("the address has characters of no code page here");
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

}  // namespace platform::win32

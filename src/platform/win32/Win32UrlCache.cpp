#include "platform/win32/Win32UrlCache.h"

#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

// clang-format off
#include <windows.h>
#include <wininet.h>
// clang-format on

#include "platform/win32/SystemCalls.h"

namespace platform::win32 {

// The cache index belongs to the browser's Internet library, which Windows 95 lacks until a
// browser brings it: its calls are bound at first use, and a purge without it fails as a
// step. Its addresses are plain text in both families; its file names are in the ANSI code
// page, in both families too.
namespace {
constexpr const char* kInternet = "wininet.dll";
// Fetches of an entry that grows between the size query and the copy before giving up.
constexpr int kInfoAttempts = 4;
}  // namespace

namespace {
// Wine's library takes a search pattern only as its container's prefix is written ("Cookie:"),
// case and all; the system's takes the documented "cookie:".
const char* WinePattern(const char* pattern) {
    if (!pattern || !IsWine()) return nullptr;
    if (std::strcmp(pattern, kCookieEntries) == 0) return "Cookie:";
    if (std::strcmp(pattern, kHistoryEntries) == 0) return "Visited:";
    return nullptr;
}
}  // namespace

uintptr_t Win32UrlCache::FindFirst(const char* pattern, uintptr_t buffer, uint32_t& size) {
    using Fn = HANDLE(WINAPI*)(LPCSTR, LPINTERNET_CACHE_ENTRY_INFOA, LPDWORD);
    static const auto findFirst = Bound<Fn>(kInternet, "FindFirstUrlCacheEntryA");
    auto attempt = [&](const char* asked) {
        DWORD n = size;
        HANDLE handle =
            findFirst(asked, reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(buffer), &n);
        // An empty index leaves the size as passed; report "no entry" as 0. The last error is
        // read only after a failure: a successful call may leave the size query's error behind.
        const bool none = !handle && ::GetLastError() == ERROR_NO_MORE_ITEMS;
        if (none) n = 0;
        return std::make_pair(handle, n);
    };
    auto [handle, n] = attempt(pattern);
    if (!handle && n == 0 && WinePattern(pattern))
        std::tie(handle, n) = attempt(WinePattern(pattern));
    size = n;
    return reinterpret_cast<uintptr_t>(handle);
}

bool Win32UrlCache::FindNext(uintptr_t handle, uintptr_t buffer, uint32_t& size) {
    using Fn = BOOL(WINAPI*)(HANDLE, LPINTERNET_CACHE_ENTRY_INFOA, LPDWORD);
    static const auto findNext = Bound<Fn>(kInternet, "FindNextUrlCacheEntryA");
    DWORD n = size;
    const BOOL ok = findNext(reinterpret_cast<HANDLE>(handle),
                             reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(buffer), &n);
    // At the end of the index the size stays as passed; report "nothing more" as 0.
    if (!ok && ::GetLastError() == ERROR_NO_MORE_ITEMS) n = 0;
    size = n;
    return ok != 0;
}

void Win32UrlCache::FindClose(uintptr_t handle) {
    using Fn = BOOL(WINAPI*)(HANDLE);
    static const auto findClose = BoundOrNull<Fn>(kInternet, "FindCloseUrlCache");
    if (handle && findClose) findClose(reinterpret_cast<HANDLE>(handle));
}

bool Win32UrlCache::DeleteEntry(const std::string& url, SystemCode* why) {
    using Fn = BOOL(WINAPI*)(LPCSTR);
    static const auto deleteEntry = Bound<Fn>(kInternet, "DeleteUrlCacheEntryA");
    if (deleteEntry(url.c_str())) return true;
    if (why) *why = {SystemCode::Kind::Win32, ::GetLastError()};
    return false;
}

std::optional<std::string> Win32UrlCache::LocalFile(const std::string& url) {
    using Fn = BOOL(WINAPI*)(LPCSTR, LPINTERNET_CACHE_ENTRY_INFOA, LPDWORD);
    static const auto getInfo = Bound<Fn>(kInternet, "GetUrlCacheEntryInfoA");
    for (int attempt = 0; attempt < kInfoAttempts; ++attempt) {
        // The size query: no buffer and a size of 0. The last error is read only after a
        // failure, as with the enumeration.
        DWORD size = 0;
        if (getInfo(url.c_str(), nullptr, &size) || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER ||
            size < sizeof(INTERNET_CACHE_ENTRY_INFOA))
            return std::nullopt;
        std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
        auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
        if (!getInfo(url.c_str(), entry, &size)) {
            if (::GetLastError() == ERROR_INSUFFICIENT_BUFFER) continue;  // it grew meanwhile
            return std::nullopt;
        }
        if (!entry->lpszLocalFileName) return std::string();
        // The name lies among the strings after the head and ends inside the block; anything
        // else is an entry that cannot be read.
        const uintptr_t first = reinterpret_cast<uintptr_t>(buffer.data());
        const uintptr_t end = first + buffer.size() * sizeof(DWORD);
        const uintptr_t name = reinterpret_cast<uintptr_t>(entry->lpszLocalFileName);
        if (name < first || name >= end ||
            !std::memchr(entry->lpszLocalFileName, 0, static_cast<size_t>(end - name)))
            return std::nullopt;
        return Utf8FromAnsi(entry->lpszLocalFileName);
    }
    return std::nullopt;
}

}  // namespace platform::win32

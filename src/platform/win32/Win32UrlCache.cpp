#include "platform/win32/Win32UrlCache.h"

// clang-format off
#include <windows.h>
#include <wininet.h>
// clang-format on

namespace platform::win32 {

uintptr_t Win32UrlCache::FindFirst(uintptr_t buffer, uint32_t& size) {
    DWORD n = size;
    HANDLE handle = ::FindFirstUrlCacheEntryA(
        nullptr, reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(buffer), &n);
    // An empty index leaves the size as passed; report "no entry" as 0. The last error is
    // read only after a failure: a successful call may leave the size query's error behind.
    if (!handle && ::GetLastError() == ERROR_NO_MORE_ITEMS) n = 0;
    size = n;
    return reinterpret_cast<uintptr_t>(handle);
}

bool Win32UrlCache::FindNext(uintptr_t handle, uintptr_t buffer, uint32_t& size) {
    DWORD n = size;
    const BOOL ok =
        ::FindNextUrlCacheEntryA(reinterpret_cast<HANDLE>(handle),
                                 reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(buffer), &n);
    // At the end of the index the size stays as passed; report "nothing more" as 0.
    if (!ok && ::GetLastError() == ERROR_NO_MORE_ITEMS) n = 0;
    size = n;
    return ok != 0;
}

void Win32UrlCache::FindClose(uintptr_t handle) {
    if (handle) ::FindCloseUrlCache(reinterpret_cast<HANDLE>(handle));
}

bool Win32UrlCache::DeleteEntry(const std::string& url) {
    return ::DeleteUrlCacheEntryA(url.c_str()) != 0;
}

}  // namespace platform::win32

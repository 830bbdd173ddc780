#include "platform/win32/Win32Memory.h"
#include <windows.h>

#include <cstring>

namespace platform::win32 {

namespace {

constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                            PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
constexpr DWORD kWritable =
    PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

// Whether every page of [address, address + length) is committed with one of the wanted
// protections and without a guard.
bool RangeHas(uintptr_t address, uint32_t length, DWORD wanted) {
    if (length == 0) return true;
    if (address == 0 || address + length < address) return false;
    const uintptr_t end = address + length;
    uintptr_t at = address;
    while (at < end) {
        MEMORY_BASIC_INFORMATION info;
        if (::VirtualQuery(reinterpret_cast<void*>(at), &info, sizeof info) == 0) return false;
        if (info.State != MEM_COMMIT || (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) ||
            !(info.Protect & wanted))
            return false;
        at = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

}  // namespace

uintptr_t Win32Memory::Allocate(uint32_t size) {
    return reinterpret_cast<uintptr_t>(
        ::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

void Win32Memory::Lock(uintptr_t address, uint32_t size) {
    ::VirtualLock(reinterpret_cast<void*>(address), size);
}

void Win32Memory::Unlock(uintptr_t address, uint32_t size) {
    ::VirtualUnlock(reinterpret_cast<void*>(address), size);
}

void Win32Memory::Free(uintptr_t address, uint32_t size) {
    ::VirtualFree(reinterpret_cast<void*>(address), size, MEM_DECOMMIT);
    ::VirtualFree(reinterpret_cast<void*>(address), 0, MEM_RELEASE);
}

bool Win32Memory::CanRead(uintptr_t address, uint32_t length) {
    return RangeHas(address, length, kReadable);
}

bool Win32Memory::CanWrite(uintptr_t address, uint32_t length) {
    return RangeHas(address, length, kWritable);
}

bool Win32Memory::CanReadString(uintptr_t address, uint32_t max) {
    if (max == 0) return true;
    // Page by page up to the NUL or max characters.
    uintptr_t at = address;
    for (uint32_t left = max; left > 0;) {
        const uint32_t toPageEnd = static_cast<uint32_t>(0x1000 - (at & 0xFFF));
        const uint32_t chunk = left < toPageEnd ? left : toPageEnd;
        if (!RangeHas(at, chunk, kReadable)) return false;
        if (std::memchr(reinterpret_cast<const void*>(at), 0, chunk)) return true;
        at += chunk;
        left -= chunk;
    }
    return true;
}

std::string Win32Memory::ReadString(uintptr_t address, uint32_t max) {
    const char* text = reinterpret_cast<const char*>(address);
    const void* nul = std::memchr(text, 0, max);
    return std::string(text, nul ? static_cast<const char*>(nul) - text : max);
}

void Win32Memory::Copy(uintptr_t to, uintptr_t from, uint32_t length) {
    if (length == 0) return;  // either address may be 0 then
    std::memmove(reinterpret_cast<void*>(to), reinterpret_cast<const void*>(from), length);
}

}  // namespace platform::win32

/* The compiler's thread runtime creates its semaphores with the wide call, which Windows 95,
 * 98 and ME do not carry out. Its import slot is filled here instead, with the call of the
 * family: the runtime never names a semaphore, and a single-threaded program never waits on
 * one, but no wide stub is called on those systems all the same. */
#include <windows.h>

static HANDLE WINAPI CreateSemaphoreOfFamily(LPSECURITY_ATTRIBUTES security, LONG initial,
                                             LONG maximum, LPCWSTR name) {
    typedef HANDLE(WINAPI * WideFn)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR);
    /* Looked up on every call: the runtime's own locks come here, so nothing here may need a
     * lock. The high bit of the version is set on 95, 98 and ME. */
    if (!(GetVersion() & 0x80000000u)) {
        WideFn wide = (WideFn)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                                    "CreateSemaphoreW");
        return wide ? wide(security, initial, maximum, name) : NULL;
    }
    if (name) return NULL;
    return CreateSemaphoreA(security, initial, maximum, NULL);
}

HANDLE(WINAPI* const olvexCreateSemaphoreSlot)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR)
    __asm__("__imp__CreateSemaphoreW@16") = CreateSemaphoreOfFamily;

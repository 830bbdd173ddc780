/* The compiler's thread runtime creates its semaphores with the wide call, which Windows 95,
 * 98 and ME do not carry out. Its import slot is filled here instead, with the call of the
 * family: the runtime never names a semaphore, and a single-threaded program never waits on
 * one, but no wide stub is called on those systems all the same. */
#include <windows.h>

/* Whether this is the NT family, asked of the system once: the program's own calls ask here
 * too (platform::win32::IsNtFamily). A plain variable, not a guarded static: the runtime's own
 * locks come here through the semaphore call below, and a guard may need a lock itself. */
int OlvexIsNtFamily(void) {
    static int family = 0; /* 0 not asked yet, 1 NT, 2 the 9x family */
    /* The high bit of the version is set on Windows 95, 98 and ME. */
    if (family == 0) family = (GetVersion() & 0x80000000u) ? 2 : 1;
    return family == 1;
}

static HANDLE WINAPI CreateSemaphoreOfFamily(LPSECURITY_ATTRIBUTES security, LONG initial,
                                             LONG maximum, LPCWSTR name) {
    typedef HANDLE(WINAPI * WideFn)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR);
    /* Looked up on every call: the runtime's own locks come here, so nothing here may need a
     * lock. */
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (OlvexIsNtFamily()) {
        WideFn wide = (WideFn)(void*)GetProcAddress(kernel, "CreateSemaphoreW");
        return wide ? wide(security, initial, maximum, name) : NULL;
    }
    if (name) return NULL;
    return CreateSemaphoreA(security, initial, maximum, NULL);
}

HANDLE(WINAPI* const olvexCreateSemaphoreSlot)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR)
    __asm__("__imp__CreateSemaphoreW@16") = CreateSemaphoreOfFamily;

/* SQLite lists GetNativeSystemInfo among the system calls a caller may replace, and so imports
 * it, though it never calls it outside Windows Runtime builds. Windows 2000 has no such export,
 * and its loader would refuse OlvexSqlite.dll for that one name. SQLite takes the function's
 * address for its table, which links the import's thunk; the thunk is defined here instead: the
 * call is bound by name, and where the system lacks it, GetSystemInfo answers, as it does for a
 * 32-bit program on every 32-bit Windows. */
#include <windows.h>

VOID WINAPI NativeSystemInfoByName(LPSYSTEM_INFO info) __asm__("_GetNativeSystemInfo@4");

VOID WINAPI NativeSystemInfoByName(LPSYSTEM_INFO info) {
    typedef VOID(WINAPI * InfoFn)(LPSYSTEM_INFO);
    InfoFn native =
        (InfoFn)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo");
    if (native)
        native(info);
    else
        GetSystemInfo(info);
}

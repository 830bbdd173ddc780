#include "platform/win32/Win32Databases.h"
#include <windows.h>

#include "platform/Errors.h"
#include "platform/win32/SystemCalls.h"

namespace platform::win32 {

namespace {

constexpr const char* kLibrary = "OlvexSqlite.dll";

// Only the file beside the program is loaded: by a bare name, the loader would search the
// current folder and the path, where anyone may have put a library of that name.
HMODULE LoadOwnLibrary(const std::string& folder) {
    if (folder.empty()) return nullptr;
    if (IsNtFamily()) return ::LoadLibraryW(Wide(folder + kLibrary).c_str());
    const std::optional<std::string> ansi = AnsiFromUtf8(folder + kLibrary);
    return ansi ? ::LoadLibraryA(ansi->c_str()) : nullptr;
}

template <class Fn>
void Bind(HMODULE library, const char* name, Fn& slot) {
    slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    if (!slot)
        throw RuntimeError(std::string(kLibrary) + " has no " + name,
                           {SystemCode::Kind::Win32, ERROR_PROC_NOT_FOUND});
}

}  // namespace

const SqliteCalls& Win32Databases::Calls() {
    if (calls_) return *calls_;
    HMODULE library = LoadOwnLibrary(ProgramFolderU());
    if (!library) {
        const DWORD code = ::GetLastError();
        throw RuntimeError(std::string("cannot load ") + kLibrary + " from the program's folder",
                           {SystemCode::Kind::Win32, code ? code : ERROR_MOD_NOT_FOUND});
    }
    SqliteCalls calls{};
    Bind(library, "sqlite3_open_v2", calls.open);
    Bind(library, "sqlite3_close", calls.close);
    Bind(library, "sqlite3_exec", calls.exec);
    Bind(library, "sqlite3_prepare_v2", calls.prepare);
    Bind(library, "sqlite3_step", calls.step);
    Bind(library, "sqlite3_column_int64", calls.columnNumber);
    Bind(library, "sqlite3_column_text", calls.columnText);
    Bind(library, "sqlite3_finalize", calls.finalize);
    Bind(library, "sqlite3_errmsg", calls.message);
    Bind(library, "sqlite3_free", calls.free);
    Bind(library, "sqlite3_busy_timeout", calls.busyTimeout);
    Bind(library, "sqlite3_bind_text", calls.bindText);
    calls_ = calls;  // the library stays loaded while the program runs
    return *calls_;
}

std::unique_ptr<Database> Win32Databases::Open(const std::string& path, DatabaseAccess access) {
    return OpenSqlite(Calls(), path, access);
}

std::unique_ptr<Database> Win32Databases::OpenInMemory() {
    return OpenSqliteInMemory(Calls());
}

}  // namespace platform::win32

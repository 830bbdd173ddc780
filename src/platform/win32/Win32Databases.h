#pragma once
// Databases through OlvexSqlite.dll, which lies beside the program and is loaded, by its full
// path, the first time a database is opened.
#include <optional>

#include "platform/SqliteDatabase.h"

namespace platform::win32 {

class Win32Databases : public Databases {
  public:
    std::unique_ptr<Database> Open(const std::string& path, DatabaseAccess access) override;
    std::unique_ptr<Database> OpenInMemory() override;

  private:
    // The library's functions, bound at first use; throws RuntimeError when it cannot be.
    const SqliteCalls& Calls();
    std::optional<SqliteCalls> calls_;
};

}  // namespace platform::win32

#pragma once
// Database and Databases over SQLite's C interface, reached through a table of its functions:
// bound by name from OlvexSqlite.dll on Windows, linked in for the tests.
#include "platform/Databases.h"
#include "sqlite3.h"

namespace platform {

// The functions of SQLite the program calls.
struct SqliteCalls {
    decltype(&sqlite3_open_v2) open;
    decltype(&sqlite3_close) close;
    decltype(&sqlite3_exec) exec;
    decltype(&sqlite3_prepare_v2) prepare;
    decltype(&sqlite3_step) step;
    decltype(&sqlite3_column_int64) columnNumber;
    decltype(&sqlite3_column_text) columnText;
    decltype(&sqlite3_finalize) finalize;
    decltype(&sqlite3_errmsg) message;
    decltype(&sqlite3_free) free;
    decltype(&sqlite3_busy_timeout) busyTimeout;
    decltype(&sqlite3_bind_text) bindText;
};

// A database SQLite opened; closed when destroyed.
class SqliteDatabase : public Database {
  public:
    SqliteDatabase(const SqliteCalls& calls, sqlite3* handle) : calls_(calls), handle_(handle) {}
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    void Execute(const std::string& sql) override;
    int64_t Number(const std::string& sql) override;
    std::string Text(const std::string& sql) override;
    std::vector<std::string> Column(const std::string& sql,
                                    const std::vector<std::string>& texts) override;
    sqlite3* handle() const { return handle_; }

  private:
    // Steps the query to its first row; false when it has none.
    template <class Read>
    void FirstRow(const std::string& sql, Read&& read);
    // The statement, prepared; nullptr for a text with none.
    sqlite3_stmt* Prepared(const std::string& sql);
    [[noreturn]] void Fail(int code) const;

    const SqliteCalls& calls_;
    sqlite3* handle_;
};

// Opens the database file named by utf8Path: to read, as an immutable file (SQLite then takes
// no lock, writes nothing and reads no write-ahead log), or to change. Throws RuntimeError.
std::unique_ptr<SqliteDatabase> OpenSqlite(const SqliteCalls& calls, const std::string& utf8Path,
                                           DatabaseAccess access);

// An empty database in memory. Throws RuntimeError.
std::unique_ptr<SqliteDatabase> OpenSqliteInMemory(const SqliteCalls& calls);

// The "file:" address SQLite takes for a Windows path: forward slashes, and every character
// that an address gives a meaning to written as %XX.
std::string SqliteAddressOf(const std::string& path);

}  // namespace platform

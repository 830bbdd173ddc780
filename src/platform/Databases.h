#pragma once
// Databases in SQLite's format (a browser's history), read and changed through the SQLite
// library the program carries, never through a reader of our own.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Errors.h"

namespace platform {

// One open database; closed when destroyed. Calls throw RuntimeError with SQLite's message
// and result code.
class Database {
  public:
    virtual ~Database() = default;
    // Runs statements that return no rows, in order; the first that fails ends them.
    virtual void Execute(const std::string& sql) = 0;
    // The first column of the query's first row, as a number (0 when there is no row) or as
    // text ("" when there is none).
    virtual int64_t Number(const std::string& sql) = 0;
    virtual std::string Text(const std::string& sql) = 0;
    // Runs one statement, its ?1, ?2 ... bound to texts in order; returns the first column of
    // every row it gives, as text ("" for none).
    virtual std::vector<std::string> Column(const std::string& sql,
                                            const std::vector<std::string>& texts) = 0;
};

// Whether a failure's code is SQLite's for a file damaged, or no database at all.
bool TellsDamage(const SystemCode& code);

enum class DatabaseAccess {
    Read,    // nothing in any file changes: not even a write-ahead log is replayed
    Change,  // to change in transactions; SQLite waits a moment for another writer
};

class Databases {
  public:
    virtual ~Databases() = default;
    // Opens the database file at path. Throws RuntimeError when the library cannot be loaded
    // or the file cannot be opened as a database.
    virtual std::unique_ptr<Database> Open(const std::string& path, DatabaseAccess access) = 0;
    // An empty database in memory, for SQLite's own readers of text (JSON). Throws
    // RuntimeError when the library cannot be loaded.
    virtual std::unique_ptr<Database> OpenInMemory() = 0;
};

}  // namespace platform

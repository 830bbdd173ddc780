#pragma once
// Databases kept as the bytes of in-memory files: the real SQLite reads them from the fake file
// system and, when a database opened to change is closed, writes what it holds back into the
// file. So the tests run the program's own SQL on real databases. The file is always whole (a
// database here keeps no write-ahead log beside it).
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fakes/FakeFileSystem.h"
#include "platform/Databases.h"

namespace fakes {

// The bytes of the database file SQLite makes from statements. Throws std::runtime_error with
// SQLite's message when one fails.
std::string DatabaseFileOf(const std::string& sql);

// Reads a database's bytes back with SQLite: each row of the query as "a|b|c", "-" for null.
std::set<std::string> RowsOf(const std::string& file, const std::string& query);

class FakeDatabases : public platform::Databases {
  public:
    explicit FakeDatabases(FakeFileSystem& files) : files_(files) {}
    std::unique_ptr<platform::Database> Open(const std::string& path,
                                             platform::DatabaseAccess access) override;
    std::unique_ptr<platform::Database> OpenInMemory() override;

    // Each open, "read PATH" or "change PATH", in order.
    std::vector<std::string> opened;
    // Opens fail as where the library cannot be loaded.
    bool libraryMissing = false;
    // Runs as a database is opened, before SQLite reads it (another program swapping it).
    std::function<void(const std::string& path)> onOpen;

  private:
    FakeFileSystem& files_;
};

}  // namespace fakes

#pragma once
// Rows deleted inside a browser's database that must itself stay (places.sqlite holds the
// bookmarks beside the history). The file is checked by the guard's rules as any file it
// deletes, and checked again once SQLite holds it; it is changed only when SQLite finds it
// whole, in one transaction, then compacted and checked again. A preview opens it to read,
// changes no byte of any file, and counts the rows the clean would delete.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Databases.h"
#include "system/CleaningRules.h"

namespace olvex {

namespace reason {
constexpr const char* kDamaged = "SQLite's integrity check finds the database damaged";
constexpr const char* kNotItsDatabase = "not a database of the kind its name tells";
constexpr const char* kNoSqlite = "this build of the program carries no SQLite";
constexpr const char* kCookiesInOneFile =
    "every cookie is in this one file, which is not kept in part: it stays whole while cookies "
    "are kept";
}  // namespace reason

// What a category does inside one kind of database.
struct RowClearing {
    // Whether the database holds the tables the category knows.
    std::function<bool(platform::Database&)> knows;
    // Marks the rows that go, on a database opened to read or to change; returns how many.
    std::function<uint64_t(platform::Database&)> mark;
    // Deletes the marked rows, inside the transaction it is given.
    std::function<void(platform::Database&)> remove;
};

// Deletes the rows clearing names inside the database at path and tells the run's sink of it
// as one item: the rows deleted, and the bytes the file and its write-ahead log lost. True
// when the rows were deleted (in a preview, counted); false when the database stayed as it
// was, the sink told why, or was not there.
bool ClearDatabaseRows(RuleRun& run, const std::string& path, const RowClearing& clearing);

}  // namespace olvex

#include "fakes/FakeDatabases.h"

#include <cstring>
#include <stdexcept>

#include "platform/Errors.h"
#include "platform/SqliteDatabase.h"

namespace fakes {

namespace {

const platform::SqliteCalls kSqlite{sqlite3_open_v2,     sqlite3_close,       sqlite3_exec,
                                    sqlite3_prepare_v2,  sqlite3_step,        sqlite3_column_int64,
                                    sqlite3_column_text, sqlite3_finalize,    sqlite3_errmsg,
                                    sqlite3_free,        sqlite3_busy_timeout, sqlite3_bind_text};

// A database held in memory, its bytes those of a fake file; written back when closed if it
// was opened to change.
class FileBackedDatabase : public platform::SqliteDatabase {
  public:
    FileBackedDatabase(sqlite3* handle, FakeFileSystem& files, std::string path, bool change)
        : SqliteDatabase(kSqlite, handle), files_(files), path_(std::move(path)), change_(change) {}
    ~FileBackedDatabase() override {
        if (!change_) return;
        sqlite3_int64 size = 0;
        unsigned char* bytes = sqlite3_serialize(handle(), "main", &size, 0);
        if (!bytes) return;
        files_.SetContent(path_, std::string(reinterpret_cast<char*>(bytes), size));
        sqlite3_free(bytes);
    }

  private:
    FakeFileSystem& files_;
    std::string path_;
    bool change_;
};

}  // namespace

std::string DatabaseFileOf(const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "SQLite failed";
        sqlite3_free(error);
        sqlite3_close(db);
        throw std::runtime_error(message);
    }
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
    std::string file(reinterpret_cast<char*>(bytes), size);
    sqlite3_free(bytes);
    sqlite3_close(db);
    return file;
}

std::set<std::string> RowsOf(const std::string& file, const std::string& query) {
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    auto* bytes = static_cast<unsigned char*>(sqlite3_malloc64(file.size()));
    std::memcpy(bytes, file.data(), file.size());
    sqlite3_deserialize(db, "main", bytes, file.size(), file.size(),
                        SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY);
    std::set<std::string> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, query.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(message);
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const unsigned char* text = sqlite3_column_text(statement, i);
            row += (i ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "-");
        }
        rows.insert(row);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

std::unique_ptr<platform::Database> FakeDatabases::Open(const std::string& path,
                                                        platform::DatabaseAccess access) {
    const bool change = access == platform::DatabaseAccess::Change;
    opened.push_back((change ? "change " : "read ") + path);
    if (libraryMissing)
        throw platform::RuntimeError("The specified module could not be found.",
                                     {platform::SystemCode::Kind::Win32, 126});
    if (onOpen) onOpen(path);
    if (!files_.Exists(path))
        throw platform::RuntimeError("unable to open database file",
                                     {platform::SystemCode::Kind::Sqlite, SQLITE_CANTOPEN});
    sqlite3* handle = nullptr;
    sqlite3_open(":memory:", &handle);
    const std::string content = files_.Content(path);
    auto* bytes = static_cast<unsigned char*>(sqlite3_malloc64(content.size() + 1));
    std::memcpy(bytes, content.data(), content.size());
    const unsigned flags = SQLITE_DESERIALIZE_FREEONCLOSE |
                           (change ? SQLITE_DESERIALIZE_RESIZEABLE : SQLITE_DESERIALIZE_READONLY);
    auto database = std::make_unique<FileBackedDatabase>(handle, files_, path, change);
    const int code =
        sqlite3_deserialize(handle, "main", bytes, content.size(), content.size(), flags);
    if (code != SQLITE_OK)
        throw platform::RuntimeError(sqlite3_errmsg(handle), {platform::SystemCode::Kind::Sqlite,
                                                              static_cast<uint32_t>(code)});
    return database;
}

std::unique_ptr<platform::Database> FakeDatabases::OpenInMemory() {
    if (libraryMissing)
        throw platform::RuntimeError("The specified module could not be found.",
                                     {platform::SystemCode::Kind::Win32, 126});
    return platform::OpenSqliteInMemory(kSqlite);
}

}  // namespace fakes

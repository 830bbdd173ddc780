#include "platform/SqliteDatabase.h"

#include "platform/Errors.h"

namespace platform {

namespace {

// How long a change waits for another program's lock before it gives up, in milliseconds.
constexpr int kBusyWaitMs = 2000;

SystemCode SqliteCode(int code) {
    return {SystemCode::Kind::Sqlite, static_cast<uint32_t>(code)};
}

}  // namespace

bool TellsDamage(const SystemCode& code) {
    const uint32_t primary = code.value & 0xFF;
    return code.kind == SystemCode::Kind::Sqlite &&
           (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB);
}

SqliteDatabase::~SqliteDatabase() {
    calls_.close(handle_);
}

void SqliteDatabase::Fail(int code) const {
    throw RuntimeError(calls_.message(handle_), SqliteCode(code));
}

void SqliteDatabase::Execute(const std::string& sql) {
    char* message = nullptr;
    const int code = calls_.exec(handle_, sql.c_str(), nullptr, nullptr, &message);
    if (code == SQLITE_OK) return;
    std::string reason = message ? message : calls_.message(handle_);
    calls_.free(message);
    throw RuntimeError(reason, SqliteCode(code));
}

sqlite3_stmt* SqliteDatabase::Prepared(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    const int code = calls_.prepare(handle_, sql.c_str(), -1, &statement, nullptr);
    if (code != SQLITE_OK) Fail(code);
    return statement;
}

template <class Read>
void SqliteDatabase::FirstRow(const std::string& sql, Read&& read) {
    sqlite3_stmt* statement = Prepared(sql);
    const int code = calls_.step(statement);
    if (code == SQLITE_ROW) read(statement);
    calls_.finalize(statement);
    if (code != SQLITE_ROW && code != SQLITE_DONE) Fail(code);
}

int64_t SqliteDatabase::Number(const std::string& sql) {
    int64_t number = 0;
    FirstRow(sql, [&](sqlite3_stmt* row) { number = calls_.columnNumber(row, 0); });
    return number;
}

std::string SqliteDatabase::Text(const std::string& sql) {
    std::string text;
    FirstRow(sql, [&](sqlite3_stmt* row) {
        if (const unsigned char* value = calls_.columnText(row, 0))
            text = reinterpret_cast<const char*>(value);
    });
    return text;
}

std::vector<std::string> SqliteDatabase::Column(const std::string& sql,
                                                const std::vector<std::string>& texts) {
    sqlite3_stmt* statement = Prepared(sql);
    int code = SQLITE_OK;
    for (size_t i = 0; i < texts.size() && code == SQLITE_OK; ++i)
        code = calls_.bindText(statement, static_cast<int>(i + 1), texts[i].data(),
                               static_cast<int>(texts[i].size()), SQLITE_TRANSIENT);
    std::vector<std::string> column;
    while (code == SQLITE_OK || code == SQLITE_ROW) {
        code = calls_.step(statement);
        if (code != SQLITE_ROW) break;
        const unsigned char* value = calls_.columnText(statement, 0);
        column.emplace_back(value ? reinterpret_cast<const char*>(value) : "");
    }
    calls_.finalize(statement);
    if (code != SQLITE_DONE) Fail(code);
    return column;
}

std::string SqliteAddressOf(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string address = "file:";
    // A share (\\server\share) keeps its two leading slashes as part of the path.
    if (path.rfind("\\\\", 0) == 0) address += "//";
    for (unsigned char c : path) {
        if (c == '\\') c = '/';
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c >= 0x80 || c == '/' || c == ':' ||
                           c == '.' || c == '-' || c == '_' || c == '~';
        if (plain) {
            address += static_cast<char>(c);
        } else {
            address += '%';
            address += kHex[c >> 4];
            address += kHex[c & 15];
        }
    }
    return address;
}

std::unique_ptr<SqliteDatabase> OpenSqlite(const SqliteCalls& calls, const std::string& utf8Path,
                                           DatabaseAccess access) {
    const bool read = access == DatabaseAccess::Read;
    const std::string address = SqliteAddressOf(utf8Path) + (read ? "?immutable=1" : "");
    const int flags = SQLITE_OPEN_URI | (read ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
    sqlite3* handle = nullptr;
    const int code = calls.open(address.c_str(), &handle, flags, nullptr);
    if (!handle) throw std::bad_alloc();
    auto database = std::make_unique<SqliteDatabase>(calls, handle);
    if (code != SQLITE_OK) throw RuntimeError(calls.message(handle), SqliteCode(code));
    calls.busyTimeout(handle, kBusyWaitMs);
    return database;
}

std::unique_ptr<SqliteDatabase> OpenSqliteInMemory(const SqliteCalls& calls) {
    sqlite3* handle = nullptr;
    const int code = calls.open(":memory:", &handle, SQLITE_OPEN_READWRITE, nullptr);
    if (!handle) throw std::bad_alloc();
    auto database = std::make_unique<SqliteDatabase>(calls, handle);
    if (code != SQLITE_OK) throw RuntimeError(calls.message(handle), SqliteCode(code));
    return database;
}

}  // namespace platform

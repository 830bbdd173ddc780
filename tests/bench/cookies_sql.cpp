// What clearing a large Chrome Cookies database costs natively while cookies are kept: the
// cookies' SQL, run as the clean runs it (marked with the keep-list, deleted in a transaction,
// compacted, checked), through the real SQLite on a Cookies file of the disk with Chrome 49's
// table (tests/data/chrome): 10,000 cookies of 1,000 hosts, keeping 100 of the hosts. Not a
// test: it prints the figures and judges them against the aim of under a second.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "browsers/CookieRows.h"
#include "database_data.h"
#include "fakes/FakeDatabases.h"
#include "platform/SqliteDatabase.h"

namespace {

const platform::SqliteCalls kSqlite{sqlite3_open_v2,     sqlite3_close,       sqlite3_exec,
                                    sqlite3_prepare_v2,  sqlite3_step,        sqlite3_column_int64,
                                    sqlite3_column_text, sqlite3_finalize,    sqlite3_errmsg,
                                    sqlite3_free,        sqlite3_busy_timeout, sqlite3_bind_text};

// 10 cookies on each of 1,000 hosts, half of them domain cookies, over Chrome's own five.
const char* const kBulk =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000)"
    " INSERT INTO cookies (creation_utc, host_key, name, value, path, expires_utc, secure,"
    " httponly, last_access_utc) SELECT 100 + i, CASE i % 2 WHEN 0 THEN '.' ELSE 'www.' END"
    " || 'host' || (i % 1000) || '.example', 'c' || i, 'v', '/', 0, 0, 0, i FROM n;";

}  // namespace

int main() {
    const std::string path = "/tmp/olvex-cookies-bench.sqlite";
    std::ofstream(path, std::ios::binary)
        << fakes::DatabaseFileOf(std::string(kChromeCookies) + kBulk);
    olvex::CookieKeepList keep;
    for (int host = 0; host < 1000; host += 10) keep.Add("host" + std::to_string(host) + ".example");
    olvex::KeptCookieCounts kept;
    const olvex::RowClearing clearing = olvex::CookieRowClearing(olvex::kChromeCookies, &keep, kept);
    const auto started = std::chrono::steady_clock::now();
    uint64_t gone = 0;
    {
        auto db = platform::OpenSqlite(kSqlite, path, platform::DatabaseAccess::Change);
        db->Text("PRAGMA integrity_check");
        gone = clearing.mark(*db);
        db->Execute("BEGIN IMMEDIATE");
        clearing.remove(*db);
        db->Execute("COMMIT; VACUUM;");
        db->Text("PRAGMA integrity_check");
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::remove(path.c_str());
    uint64_t stayed = 0;
    for (const auto& [host, n] : kept) stayed += n;
    std::printf("10,005 cookies, 100 hosts kept: %llu gone, %llu kept in %.3f s; aim under 1 s: %s\n",
                static_cast<unsigned long long>(gone), static_cast<unsigned long long>(stayed),
                took.count(), took.count() < 1 ? "met" : "NOT met");
    return 0;
}

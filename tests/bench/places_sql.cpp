// What clearing a large Firefox history costs natively: the whole console program
// (olvex::RunConsoleProgram over the unit tests' in-memory system) runs `/clean
// firefox-history` on a places.sqlite of 5,000 bookmarked pages and 50,000 pages visited twice,
// and `/clean firefox-cookies` on a cookies.sqlite of 10,000 rows, through the real SQLite.
// Not a test: it prints figures and judges them against the aim (each under a second). Then
// the memory SQLite takes for the history's SQL on a real file of the disk, from 10,000 to
// 400,000 visits: once its caches are full, its high-water mark must not grow with the rows
// (aim: within 1 MB from 200,000 to 400,000). Under Wine, tests/bench/places_bench.py.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "console/ConsoleProgram.h"
#include "fakes/FakeConsole.h"
#include "fakes/FakeDatabases.h"
#include "fakes/TestRig.h"
#include "browsers/PlacesRows.h"
#include "platform/SqliteDatabase.h"
#include "places_data.h"

namespace {

const std::string kFirefox = "C:\\Documents and Settings\\Jo\\Application Data\\Mozilla\\Firefox\\";
const std::string kProfile = kFirefox + "Profiles\\b.bench\\";
constexpr int kBookmarks = 5000, kPages = 50000;
const platform::SqliteCalls kSqlite{sqlite3_open_v2,     sqlite3_close,       sqlite3_exec,
                                    sqlite3_prepare_v2,  sqlite3_step,        sqlite3_column_int64,
                                    sqlite3_column_text, sqlite3_finalize,    sqlite3_errmsg,
                                    sqlite3_free,        sqlite3_busy_timeout};

std::string Count(int n) {
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(n) + ") ";
}

// Firefox 45's places.sqlite with 5,000 bookmarked pages and pages visited twice each.
std::string History(int pages = kPages) {
    std::string bulk = kHistoryBulk;
    for (size_t at; (at = bulk.find("PAGES")) != std::string::npos;)
        bulk.replace(at, 5, std::to_string(pages));
    return fakes::DatabaseFileOf(std::string(kFirefox45Places) + bulk);
}

std::string Cookies() {
    return fakes::DatabaseFileOf(
        "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, name TEXT, value TEXT, host TEXT,"
        " path TEXT, expiry INTEGER);" +
        Count(10000) +
        "INSERT INTO moz_cookies (name, value, host, path, expiry) SELECT 'c' || i,"
        " hex(randomblob(16)), '.site' || (i % 700) || '.example', '/', 2000000000 FROM n;");
}

double SecondsOf(fakes::Rig& rig, const char* id) {
    fakes::FakeConsole console;
    const auto started = std::chrono::steady_clock::now();
    const int code = olvex::RunConsoleProgram(rig.services, console, {"/clean", id});
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    if (code != 0) {
        std::fprintf(stderr, "olvex /clean %s: exit %d\n%s", id, code, console.out.c_str());
        std::exit(2);
    }
    return took.count();
}

// SQLite's own peak, in bytes, for the history's clean of a file of that many pages, as the
// program runs it: marked, deleted in a transaction, compacted, checked.
int64_t SqlitePeakFor(int pages) {
    const std::string path = "/tmp/olvex-places-bench.sqlite";
    std::ofstream(path, std::ios::binary) << History(pages);
    sqlite3_memory_highwater(1);
    {
        auto db = platform::OpenSqlite(kSqlite, path, platform::DatabaseAccess::Change);
        db->Text("PRAGMA integrity_check");
        olvex::MarkPlacesRows(*db, olvex::PlacesPart::History);
        db->Execute("BEGIN IMMEDIATE");
        olvex::DeleteMarkedPlacesRows(*db, olvex::PlacesPart::History);
        db->Execute("COMMIT; VACUUM;");
        db->Text("PRAGMA integrity_check");
    }
    std::remove(path.c_str());
    return sqlite3_memory_highwater(0);
}

}  // namespace

int main() {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 1);
    fakes::Rig rig;
    rig.SetWindows("winxp");
    rig.files.AddFolder("C:\\Program Files\\Mozilla Firefox");
    rig.profiles.Write(kFirefox + "profiles.ini", "[Profile0]\nPath=Profiles/b.bench\n");
    rig.files.AddFile(kProfile + "places.sqlite", platform::kAttrArchive, History());
    rig.files.AddFile(kProfile + "cookies.sqlite", platform::kAttrArchive, Cookies());
    const double history = SecondsOf(rig, "firefox-history");
    const double cookies = SecondsOf(rig, "firefox-cookies");
    std::printf("history of %d visits, %d bookmarks: %.3f s, aim 1 s: %s\n", 2 * kPages, kBookmarks,
                history, history < 1 ? "met" : "NOT met");
    std::printf("cookies of 10,000 rows: %.3f s, aim 1 s: %s\n", cookies,
                cookies < 1 ? "met" : "NOT met");
    // SQLite's caches (2 MB each for the file and for the temporary tables) fill up first.
    int64_t peak = 0, previous = 0;
    for (int pages : {kPages / 10, kPages, 2 * kPages, 4 * kPages}) {
        previous = peak;
        peak = SqlitePeakFor(pages);
        std::printf("SQLite's peak for %d visits: %lld bytes\n", 2 * pages,
                    static_cast<long long>(peak));
    }
    std::printf("growth from %d to %d visits: %lld bytes, aim under 1 MB: %s\n", 4 * kPages,
                8 * kPages, static_cast<long long>(peak - previous),
                peak - previous < (1 << 20) ? "met" : "NOT met");
    return 0;
}

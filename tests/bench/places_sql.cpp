// What clearing a large Firefox history costs natively: the history's SQL, run as the clean
// runs it (marked, deleted in a transaction, compacted, checked), through the real SQLite on a
// places.sqlite of the disk: Firefox 45's of tests/data/places with the benchmarks' large
// history (5,000 bookmarked pages and pages visited twice). Not a test: it prints figures and
// judges them against the aims: 100,000 visits under a second, and SQLite's own high-water mark
// not growing with the rows once its caches are full (within 1 MB from 200,000 to 400,000
// visits). A cookies.sqlite goes whole, one file's deletion: there is nothing of it to time.
// Under Wine, tests/bench/places_bench.py.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "browsers/PlacesRows.h"
#include "fakes/FakeDatabases.h"
#include "database_data.h"
#include "platform/SqliteDatabase.h"

namespace {

const platform::SqliteCalls kSqlite{sqlite3_open_v2,     sqlite3_close,       sqlite3_exec,
                                    sqlite3_prepare_v2,  sqlite3_step,        sqlite3_column_int64,
                                    sqlite3_column_text, sqlite3_finalize,    sqlite3_errmsg,
                                    sqlite3_free,        sqlite3_busy_timeout, sqlite3_bind_text};

struct Figures {
    double seconds;
    int64_t peak;  // SQLite's high-water mark, in bytes
};

Figures ClearHistoryOf(int pages) {
    std::string bulk = kHistoryBulk;
    for (size_t at; (at = bulk.find("PAGES")) != std::string::npos;)
        bulk.replace(at, 5, std::to_string(pages));
    const std::string path = "/tmp/olvex-places-bench.sqlite";
    std::ofstream(path, std::ios::binary) << fakes::DatabaseFileOf(kFirefox45Places + bulk);
    sqlite3_memory_highwater(1);
    const auto started = std::chrono::steady_clock::now();
    {
        auto db = platform::OpenSqlite(kSqlite, path, platform::DatabaseAccess::Change);
        db->Text("PRAGMA integrity_check");
        olvex::MarkPlacesRows(*db, olvex::PlacesPart::History);
        db->Execute("BEGIN IMMEDIATE");
        olvex::DeleteMarkedPlacesRows(*db, olvex::PlacesPart::History);
        db->Execute("COMMIT; VACUUM;");
        db->Text("PRAGMA integrity_check");
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::remove(path.c_str());
    return {took.count(), sqlite3_memory_highwater(0)};
}

}  // namespace

int main() {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 1);
    Figures previous{}, figures{};
    for (int pages : {5000, 50000, 100000, 200000}) {
        previous = figures;
        figures = ClearHistoryOf(pages);
        std::printf("%d visits: %.3f s, SQLite's peak %lld bytes\n", 2 * pages, figures.seconds,
                    static_cast<long long>(figures.peak));
        if (pages == 50000)
            std::printf("  aim under 1 s: %s\n", figures.seconds < 1 ? "met" : "NOT met");
    }
    const int64_t growth = figures.peak - previous.peak;
    std::printf("peak growth from 200,000 to 400,000 visits: %lld bytes, aim under 1 MB: %s\n",
                static_cast<long long>(growth), growth < (1 << 20) ? "met" : "NOT met");
    return 0;
}

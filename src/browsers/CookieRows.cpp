#include "browsers/CookieRows.h"

#include <map>
#include <set>

#include "guard/DeletionGuard.h"

namespace olvex {

namespace {

bool Keeps(const CookieKeepList* keep) {
    return keep && !keep->Empty();
}

// Marks, in temp.kept_hosts, the hosts whose cookies stay, exactly as the table holds them,
// and counts the kept cookies by the host of the list; returns the cookies that go.
uint64_t MarkCookies(platform::Database& db, const CookieTable& cookies,
                     const CookieKeepList* keep, KeptCookieCounts& kept) {
    const std::string table = cookies.table;
    if (!Keeps(keep)) return static_cast<uint64_t>(db.Number("SELECT count(*) FROM " + table));
    uint64_t all = 0, stay = 0;
    std::set<std::string> keptHosts;
    for (const std::string& host :
         db.Column(std::string("SELECT ifnull(") + cookies.hostColumn + ", '') FROM " + table,
                   {})) {
        ++all;
        if (const std::string* keeper = keep->KeeperOf(host)) {
            ++kept[*keeper];
            ++stay;
            keptHosts.insert(host);
        }
    }
    db.Execute("DROP TABLE IF EXISTS temp.kept_hosts;"
               "CREATE TEMP TABLE kept_hosts (host TEXT PRIMARY KEY)");
    for (const std::string& host : keptHosts)
        db.Column("INSERT INTO temp.kept_hosts VALUES (?1)", {host});
    return all - stay;
}

void DeleteCookies(platform::Database& db, const CookieTable& cookies,
                   const CookieKeepList* keep) {
    std::string sql = std::string("DELETE FROM ") + cookies.table;
    if (Keeps(keep))
        sql += std::string(" WHERE ifnull(") + cookies.hostColumn +
               ", '') NOT IN (SELECT host FROM temp.kept_hosts)";
    db.Execute(sql);
}

}  // namespace

RowClearing CookieRowClearing(const CookieTable& cookies, const CookieKeepList* keep,
                              KeptCookieCounts& kept) {
    return {
        [cookies](platform::Database& db) {
            return db.Number(std::string("SELECT count(*) FROM pragma_table_info('") +
                             cookies.table + "') WHERE name = '" + cookies.hostColumn + "'") > 0;
        },
        [cookies, keep, &kept](platform::Database& db) {
            return MarkCookies(db, cookies, keep, kept);
        },
        [cookies, keep](platform::Database& db) { DeleteCookies(db, cookies, keep); },
    };
}

void ClearCookieRows(RuleRun& run, const std::string& path, const CookieTable& cookies) {
    KeptCookieCounts kept;
    if (!ClearDatabaseRows(run, path, CookieRowClearing(cookies, run.keepCookies, kept))) return;
    const std::string shown = run.sink.WantsPaths() ? TidyPath(path) : "";
    for (const auto& [host, n] : kept)
        run.sink.Item({ItemAction::Kept, shown, 0, "", false, n, host});
}

}  // namespace olvex

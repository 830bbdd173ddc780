#include "browsers/ChromeRows.h"

#include <string>
#include <vector>

namespace olvex {

namespace {

// A category's tables in its database, children before the rows they point to. The first is
// in every version that has the category: without it the file is not the database its name
// tells. The others are deleted where the version has them.
struct ChromeTables {
    ChromeDatabase part;
    std::vector<const char*> tables;
};

// clang-format off
const ChromeTables kChromeTables[] = {
    {ChromeDatabase::History,   {"visits", "urls", "visit_source", "keyword_search_terms",
                                 "segment_usage", "segments", "presentation"}},
    {ChromeDatabase::Downloads, {"downloads", "downloads_url_chains", "downloads_slices"}},
    {ChromeDatabase::Passwords, {"logins"}},
    {ChromeDatabase::Forms,     {"autofill", "autofill_dates"}},
};
// clang-format on

const std::vector<const char*>& TablesOf(ChromeDatabase part) {
    for (const ChromeTables& each : kChromeTables)
        if (each.part == part) return each.tables;
    static const std::vector<const char*> none;
    return none;
}

bool HasTable(platform::Database& db, const char* table) {
    return db.Number(std::string("SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                 "AND name = '") +
                     table + "'") > 0;
}

// The category's tables this database has.
std::vector<std::string> PresentTables(platform::Database& db, ChromeDatabase part) {
    std::vector<std::string> present;
    for (const char* table : TablesOf(part))
        if (HasTable(db, table)) present.emplace_back(table);
    return present;
}

}  // namespace

RowClearing ChromeRowClearing(ChromeDatabase part) {
    return {
        [part](platform::Database& db) { return HasTable(db, TablesOf(part).front()); },
        [part](platform::Database& db) {
            uint64_t rows = 0;
            for (const std::string& table : PresentTables(db, part))
                rows += static_cast<uint64_t>(db.Number("SELECT count(*) FROM " + table));
            return rows;
        },
        [part](platform::Database& db) {
            for (const std::string& table : PresentTables(db, part))
                db.Execute("DELETE FROM " + table);
        },
    };
}

}  // namespace olvex

#pragma once
// The cookies of a browser's database that stays: every row but those of the hosts the run's
// keep-list names, through the same guarded change as any database's rows.
#include <map>
#include <string>

#include "browsers/DatabaseRows.h"

namespace olvex {

// A table of cookies, and its column that holds each cookie's host.
struct CookieTable {
    const char* table;
    const char* hostColumn;
};
constexpr CookieTable kChromeCookies{"cookies", "host_key"};  // Chrome's Cookies
constexpr CookieTable kFirefoxCookies{"moz_cookies", "host"};  // Firefox's cookies.sqlite

// The cookies kept, by the host of the keep-list that keeps them.
using KeptCookieCounts = std::map<std::string, uint64_t>;

// What clearing the table's cookies but keep's (none when nullptr) does inside the database,
// for ClearDatabaseRows; kept learns the cookies kept as the rows are marked.
RowClearing CookieRowClearing(const CookieTable& cookies, const CookieKeepList* keep,
                              KeptCookieCounts& kept);

// Clears the cookies of the database at path, but those run.keepCookies keeps; once the rows
// are cleared (in a preview, counted), tells the run's sink how many each host of the list
// kept, as items of their own.
void ClearCookieRows(RuleRun& run, const std::string& path, const CookieTable& cookies);

}  // namespace olvex

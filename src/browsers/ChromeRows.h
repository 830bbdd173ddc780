#pragma once
// The rows each Chrome category deletes inside the databases of a profile, which stay: the
// history and the download list of "History", the saved passwords of "Login Data", and the
// form entries of "Web Data", whose search engines stay (the cookies of "Cookies" are
// CookieRows'). Each
// category deletes only its own tables' rows: the history leaves the downloads, and the
// downloads take the chains of addresses they came through.
#include "browsers/DatabaseRows.h"

namespace olvex {

enum class ChromeDatabase { History, Downloads, Passwords, Forms };

// What the category of that database clears, for ClearDatabaseRows.
RowClearing ChromeRowClearing(ChromeDatabase part);

}  // namespace olvex

#pragma once
// Removing entries from the browser's cache index. Both routines first list the address of
// every entry of their kind (the content entries, or the cookies) in the purge list, after
// the addresses of earlier purges, then delete
// each listed address that does not contain their word (exact, case-sensitive) and whose
// entry is still there and names no file, or a plain file inside the cache's folders (the
// Internet cache, Cookies, History) reached through plain folders only.
// An entry whose file the filter keeps (written lately, excluded) stays with it.
// The sink hears of every entry deleted, of every one kept for its file, and of every one the
// library would not delete.
#include "guard/CleaningSink.h"
#include "guard/CountedFolders.h"
#include "system/CookieKeepList.h"
#include "system/PurgeList.h"
#include "guard/RunFilter.h"
#include "system/Services.h"

namespace olvex {

// For "Temporary Internet Files": deletes every address without "Cookie", through changes.
// A preview's count (counted) learns of every file that would go with its entry.
void ClearUrlCache(Services& services, platform::Changes& changes, PurgeList& list,
                   CleaningSink& sink = SilentSink(), const RunFilter* filter = nullptr,
                   CountedFolders* counted = nullptr);
// For "Cookies": deletes every address without "http", through changes, but those of the hosts
// keep names, which the sink hears of as kept.
void ClearCookieCache(Services& services, platform::Changes& changes, PurgeList& list,
                      CleaningSink& sink = SilentSink(), const RunFilter* filter = nullptr,
                      CountedFolders* counted = nullptr, const CookieKeepList* keep = nullptr);
// The files of the cookie entries of the hosts keep names, as the index names them now.
std::vector<std::string> KeptCookieFiles(Services& services, const CookieKeepList& keep);

}  // namespace olvex

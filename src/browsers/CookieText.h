#pragma once
// Cookies.txt of Firefox 1.x and 2.x, which holds a cookie a line ("host, flag, path, secure,
// expiry, name, value", separated by tabs). While cookies are kept, the file is written anew
// with the kept hosts' lines and its comments, and takes the old one's place whole: it holds
// the old cookies or the new ones, never half of either. Without a cookie to keep it goes.
#include <cstdint>
#include <map>
#include <string>

#include "system/CleaningRules.h"

namespace olvex {

// A cookie file's text split by the keep-list: the text that stays (comments, blank lines and
// the kept cookies' lines, as written), the cookies that go, and the kept ones by the host of
// the list that keeps them.
struct CookieTextSplit {
    std::string kept;
    uint64_t gone = 0;
    std::map<std::string, uint64_t> keptBy;
};
CookieTextSplit SplitCookieText(const std::string& text, const CookieKeepList& keep);

// The row action of Cookies.txt: deleted whole, or, while cookies are kept, replaced by its
// kept lines.
void CleanCookieText(RuleRun& run, const std::string& path);

}  // namespace olvex

#pragma once
// What the Firefox and Opera categories delete: their rows, by category id, on each family.
// Each row deletes the files a pattern names, a database whole or a cache folder's contents,
// through the deletion guard, or the rows of a database that stays (places.sqlite); nothing of
// a Firefox profile is touched while Firefox runs. The categories themselves are in the one
// table (categories/CategoryTable).
#include <string>

#include "system/CleaningRules.h"

namespace olvex {

// The rows of the browser category id on family; none where the family has no such category.
// sweepTree empties a folder of the user's own at every depth (the caches of later versions).
CategoryRows BrowserRows(const std::string& id, Family family, RuleAction sweepTree);

}  // namespace olvex

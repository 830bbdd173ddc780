#pragma once
// What the Firefox and Opera categories delete: their rows, by category id, on each family.
// Each row deletes the files a pattern names, through the deletion guard. The categories
// themselves are in the one table (categories/CategoryTable).
#include <string>

#include "system/CleaningRules.h"

namespace olvex {

// The rows of the browser category id on family; none where the family has no such category.
CategoryRows BrowserRows(const std::string& id, Family family);

}  // namespace olvex

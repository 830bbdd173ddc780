#pragma once
// What the Windows categories of the main windows delete: their rows, by category id, on
// each family. The categories themselves, captions and availability, are in the one table
// (categories/CategoryTable).
#include <string>

#include "system/CleaningRules.h"

namespace olvex {

// The rows of the Windows category id on family; none where the family has no such category.
CategoryRows WindowsRows(const std::string& id, Family family);

// A folder tree of the user's own, emptied at every depth; on the NT family what stays is
// registered for deletion at restart.
void SweepUserTree(RuleRun& run, const std::string& path);

}  // namespace olvex

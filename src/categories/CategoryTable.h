#pragma once
// The one table of what the program cleans: every category of both families and both browsers,
// keyed by its id, with its captions, where it is available, whether it asks before it is
// ticked, and its rows, which the Windows and browser tables supply by id. The windows bind
// their boxes to these ids in their layouts, and the console program offers the same ids.
#include <string>
#include <vector>

#include "system/CleaningRules.h"

namespace olvex {

// Every category, in the order a run visits them: the Windows categories, then Firefox's,
// Opera's and Chrome's.
const std::vector<Category>& Categories();

// The category of id; nullptr for none.
const Category* CategoryById(const std::string& id);

// The categories a family has, in table order.
std::vector<const Category*> CategoriesOn(Family family);

}  // namespace olvex

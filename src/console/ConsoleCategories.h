#pragma once
// The categories the console program offers on a system: those of the one table its family
// has, with their captions and availability as the windows judge them.
#include <string>
#include <vector>

#include "categories/CategoryTable.h"
#include "system/Services.h"

namespace olvex {

struct ConsoleCategory {
    const Category* category = nullptr;
    std::string id;
    std::string caption;      // as the family's window shows it
    std::string unavailable;  // "" when it can be cleaned here; else why not
};

// The categories of a family in table order: the Windows categories, Firefox's, Opera's. None
// for the unsupported systems.
std::vector<ConsoleCategory> CategoriesOf(Services& services, Family family,
                                          const std::string& osName);

}  // namespace olvex

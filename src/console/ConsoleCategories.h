#pragma once
// The categories the console program offers: one per box of the windows this system shows,
// named by the rows' ids, with the same availability as the boxes and menu items.
#include <string>
#include <vector>

#include "system/CleaningRules.h"
#include "system/Services.h"

namespace olvex {

struct ConsoleCategory {
    std::string id;
    std::string caption;  // as the window shows it
    const CleaningRecipe* recipe = nullptr;
    std::string unavailable;      // "" when it can be cleaned here; else why not
    bool password = false;        // left out of "all": it must be named
    bool administrators = false;  // unavailable because only administrators may clean it
};

// The categories of a family in the order of its windows' tables: the main window, Firefox,
// Opera. None for the unsupported systems.
std::vector<ConsoleCategory> CategoriesOf(Services& services, Family family,
                                          const std::string& osName);

// Whether id names a category of either family.
bool IsKnownCategory(const std::string& id);

}  // namespace olvex

#pragma once
// olvex /list: the categories of this system, whether each can be cleaned here, and with
// /details the folders each one cleans, present or missing, as a preview finds them.
#include <string>
#include <vector>

#include "console/CommandLine.h"
#include "console/ConsoleCategories.h"
#include "platform/Console.h"
#include "system/Services.h"

namespace olvex {

void PrintCategoryList(Services& services, platform::Console& console,
                       const ConsoleRequest& request, Family family,
                       const std::vector<ConsoleCategory>& categories);

}  // namespace olvex

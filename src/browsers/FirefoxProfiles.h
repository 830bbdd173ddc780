#pragma once
// Where Firefox keeps the profiles of the user, as its profiles.ini lists them.
#include <array>
#include <string>

#include "browsers/BrowserRecipe.h"
#include "shell/CleaningContext.h"
#include "shell/Routing.h"
#include "system/Services.h"

namespace olvex {

// The "path" values of the sections Profile0 to Profile9, in slot order; "" for a slot
// without a profile. Values are kept as written (relative to the Firefox folder, forward
// slashes included).
using ProfilePaths = std::array<std::string, 10>;

// The folder that holds profiles.ini and, as a rule, the profiles: the application-data
// folder + "Mozilla\Firefox\" on the NT family, the Windows folder + "\Application
// Data\Mozilla\Firefox\" on the Windows 98 family.
Root FirefoxFolder(Family family);
// The NT family keeps a second cache under the local application-data folder.
Root LocalFirefoxFolder();

// Reads the ten slots, one lookup per slot in order, the file's path built afresh for
// each. When the Firefox folder is unknown the slot stays empty: a bare
// "Mozilla\Firefox\Profiles.ini" would make the lookup search the Windows folder instead.
ProfilePaths ReadFirefoxProfilePaths(Services& services, Family family,
                                     const CleaningContext& context);

}  // namespace olvex

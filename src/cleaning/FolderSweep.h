#pragma once
// The folder sweep: empties a folder tree.
#include <string>

#include "platform/Platform.h"
#include "guard/DeletionGuard.h"

namespace olvex {

// Deletes every file and subfolder that rules.pattern matches in the folder at path, through
// the deletion guard (SweepEntry), then walks into the subfolders that survive. Hidden,
// system, read-only and locked files stay; links and junctions are left in place and never
// entered or registered, and so is every name the system's path parsing would change. A
// subfolder that cannot be deleted whole ends the sweep at every level with its error. A
// start folder that is missing, a link, or has one on its path, is not swept at all, and the
// sink hears why. A file rules.keptFile names at the top stays where it is. Files that stay
// are registered for deletion at the next restart as rules.atRestart allows.
void SweepFolder(platform::FileSystem& files, const std::string& path, const SweepRules& rules);

}  // namespace olvex

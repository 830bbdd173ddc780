#pragma once
// The folder sweep: empties a folder tree.
#include <string>

#include "platform/Platform.h"
#include "system/DeletionGuard.h"

namespace olvex {

// The text up to its first NUL; the caller's string is shortened the same way.
std::string StripNulls(std::string& OriginalStr);

// Deletes every file and subfolder that SearchStr matches in path, then walks into the
// subfolders that survive. Hidden, system, read-only and locked files stay; links and
// junctions are left in place and never entered or registered, and so is every name the
// system's path parsing would change. A subfolder that cannot be deleted whole ends the
// sweep at every level with its run-time error. A start folder that is missing, a link, or
// has one on its path, is not swept at all, and sink hears why. A file named keptFile at the top
// stays where it is. Files that stay are registered for deletion at the next restart as atRestart
// allows. path gains a trailing backslash. What happens to each entry goes to sink.
void FindFilesAPI(platform::FileSystem& files, std::string& path, const std::string& SearchStr,
                  AtRestart atRestart, const std::string& keptFile = "",
                  CleaningSink& sink = SilentSink());

}  // namespace olvex

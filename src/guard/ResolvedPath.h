#pragma once
// What a path the user types names. Windows gives one file many names: short 8.3 ones, SUBST
// and mapped letters, "." and "..", trailing dots and blanks it strips, case its own table
// folds. A path is completed as the system completes it, then walked from its root, folder by
// folder, each looked up as the system looks a name up and opened as start folders are; what
// it reaches is then known by its identity, which the sweeps compare, never by its text.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace olvex {

struct ResolvedPath {
    platform::FileIdentity identity;  // what it names
    bool folder = false;
    // The folders it lies in, from its root down to the one that holds it; none for a root.
    std::vector<platform::FileIdentity> above;
    std::string path;  // its full path, in the long names the walk found
    std::string why;   // why it names no one existing file or folder; "" when it does
    explicit operator bool() const { return why.empty(); }
};

// The one existing file or folder typed names, or why not: a wildcard, a device, a name the
// system would not keep as typed, nothing there, a link or junction on the way or as itself,
// or anything that cannot be opened and told apart. A drive's root or a share's names itself.
ResolvedPath ResolvePath(platform::FileSystem& files, const std::string& typed);

}  // namespace olvex

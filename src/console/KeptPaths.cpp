#include "console/KeptPaths.h"

#include "system/ResolvedPath.h"

namespace olvex {

std::string KeepExcluded(platform::FileSystem& files, const ConsoleRequest& request,
                         RunFilter& filter) {
    for (const std::string& typed : request.excluded) {
        const ResolvedPath resolved = ResolvePath(files, typed);
        if (!resolved)
            return "/exclude:" + typed + " names no one existing file or folder (" + resolved.why +
                   "); nothing was deleted.";
        filter.Exclude(resolved);
    }
    return "";
}

std::string KeepOwnLog(platform::FileSystem& files, const std::string& path, RunFilter& filter) {
    const ResolvedPath resolved = ResolvePath(files, path);
    if (!resolved)
        return "the log " + path + " cannot be told apart from what is cleaned (" + resolved.why +
               "); nothing was deleted.";
    filter.KeepOwnFile(resolved);
    return "";
}

}  // namespace olvex

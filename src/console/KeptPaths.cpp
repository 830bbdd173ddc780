#include "console/KeptPaths.h"

#include "guard/ResolvedPath.h"

namespace olvex {

namespace {

// What typed names, handed to keep; "" when it names one existing file or folder, else the
// message: what it is (named), and why not.
template <class Keep>
std::string Kept(platform::FileSystem& files, const std::string& typed, const std::string& named,
                 const std::string& notSo, Keep keep) {
    const ResolvedPath resolved = ResolvePath(files, typed);
    if (!resolved) return named + " " + notSo + " (" + resolved.why + "); nothing was deleted.";
    keep(resolved);
    return "";
}

}  // namespace

std::string KeepExcluded(platform::FileSystem& files, const ConsoleRequest& request,
                         RunFilter& filter) {
    for (const std::string& typed : request.excluded) {
        const std::string why =
            Kept(files, typed, "/exclude:" + typed, "names no one existing file or folder",
                 [&](const ResolvedPath& path) { filter.Exclude(path); });
        if (!why.empty()) return why;
    }
    return "";
}

std::string KeepOwnLog(platform::FileSystem& files, const std::string& path, RunFilter& filter) {
    return Kept(files, path, "the log " + path, "cannot be told apart from what is cleaned",
                [&](const ResolvedPath& resolved) { filter.KeepOwnFile(resolved); });
}

}  // namespace olvex

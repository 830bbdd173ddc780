#include "guard/ResolvedPath.h"

#include "guard/PathRules.h"

namespace olvex {

using platform::FindEntry;
using platform::OpenedFolder;

namespace {

constexpr const char* kDevicePrefix = "\\\\.\\";
constexpr const char* kLiteralPrefix = "\\\\?\\";

// The full path typed names, as the system completes it; "" with why when it names no path.
// A \\?\ path is taken as it stands: the system strips and completes nothing in one.
std::string Completed(platform::FileSystem& files, const std::string& typed, std::string& why) {
    const bool literal = typed.compare(0, 4, kLiteralPrefix) == 0;
    const std::string rest = literal ? typed.substr(4) : typed;
    if (rest.find_first_of("*?") != std::string::npos) {
        why = "a wildcard names no one file or folder";
        return "";
    }
    if (literal) {
        if (rest.size() >= 4 &&
            (rest.compare(0, 4, "UNC\\") == 0 || rest.compare(0, 4, "unc\\") == 0))
            return "\\" + rest.substr(3);
        return rest;
    }
    const std::string full =
        typed.compare(0, 4, kDevicePrefix) == 0 ? typed : files.FullPath(typed);
    if (full.compare(0, 4, kDevicePrefix) == 0) {
        why = "it names a device, not a file or folder";
        return "";
    }
    if (full.empty()) why = "the system cannot complete it as a path";
    return full;
}

// Why a folder on the way did not open.
std::string Unopened(const platform::Opening& opening, const std::string& walked) {
    switch (opening.refusal) {
        case platform::OpenRefusal::Link:
            return walked + " is a link or junction";
        case platform::OpenRefusal::NotThere:
            return walked + " is not there";
        case platform::OpenRefusal::Changed:
            return walked + " changed while it was opened";
        default:
            return walked + " cannot be opened";
    }
}

}  // namespace

ResolvedPath ResolvePath(platform::FileSystem& files, const std::string& typed) {
    ResolvedPath resolved;
    const std::string full = Completed(files, typed, resolved.why);
    if (!resolved.why.empty()) return resolved;
    std::string root;
    std::vector<std::string> names;
    if (!SplitRootedPath(full, root, names)) {
        resolved.why =
            "it is no path below a drive or a share, or a name on it is not one "
            "Windows keeps as written (" +
            full + ")";
        return resolved;
    }
    platform::Opening opening = files.OpenRoot(root);
    if (!opening) {
        resolved.why = Unopened(opening, root);
        return resolved;
    }
    std::unique_ptr<OpenedFolder> folder = std::move(opening.folder);
    resolved.path = root;
    resolved.identity = folder->Identity();
    resolved.folder = true;
    for (size_t i = 0; i < names.size(); ++i) {
        // Looked up as the system looks names up: a short name finds its long one, and case
        // is folded by the system's own table.
        const std::optional<FindEntry> entry = folder->Lookup(names[i]);
        const std::string asked = resolved.path + "\\" + names[i];
        if (!entry) {
            resolved.why = asked + " is not there";
            return resolved;
        }
        resolved.path += "\\" + entry->name;
        if (entry->attributes & platform::kAttrReparsePoint) {
            resolved.why = resolved.path + " is a link or junction";
            return resolved;
        }
        resolved.above.push_back(resolved.identity);
        if (!(entry->attributes & platform::kAttrDirectory)) {
            if (i + 1 != names.size()) {
                resolved.why = resolved.path + " is a file, not a folder";
                return resolved;
            }
            resolved.folder = false;
            resolved.identity = folder->IsListedFile(*entry) ? folder->IdentityOf(*entry)
                                                             : platform::FileIdentity{};
            break;
        }
        platform::Opening below = folder->OpenListedFolder(*entry);
        if (!below) {
            resolved.why = Unopened(below, resolved.path);
            return resolved;
        }
        folder = std::move(below.folder);
        resolved.identity = folder->Identity();
    }
    if (!resolved.identity.Known()) resolved.why = resolved.path + " cannot be told apart";
    return resolved;
}

}  // namespace olvex

#include "platform/Errors.h"
#include "guard/DeletionGuard.h"
#include "guard/ResolvedPath.h"

// Where a deletion may start, and what may be handed on to be deleted elsewhere: the checks
// of the guard that look at paths rather than at the entries of a sweep.
namespace olvex {

using platform::FindEntry;
using platform::OpenedFolder;

namespace {
// The problem of a folder on a start path that did not open, path being that folder.
StepProblem OpeningProblem(const platform::Opening& opening, const std::string& path) {
    switch (opening.refusal) {
        case platform::OpenRefusal::None:
        case platform::OpenRefusal::NotThere:
            return {StepOutcome::NotThere, path, "", {}};
        case platform::OpenRefusal::Link:
            return {StepOutcome::Refused, path, reason::kLinkOnPath, {}};
        case platform::OpenRefusal::Changed:
            return {StepOutcome::Refused, path, reason::kChanged, {}};
        case platform::OpenRefusal::Failed:
            break;
    }
    return {StepOutcome::Failed, path, "the folder could not be opened", opening.code};
}
}  // namespace

StartFolder OpenStartFolder(platform::FileSystem& files, const std::string& path,
                            std::vector<platform::FileIdentity>* folders) {
    std::string root;
    std::vector<std::string> parts;
    if (!SplitSweepablePath(path, root, parts))
        return {nullptr, {StepOutcome::Refused, path, reason::kNotSweepable, {}}};
    // Folder by folder from the root, each opened through the one above it and checked on its
    // handle to be the plain folder of that name there: a link anywhere stops the walk, and
    // no whole path is ever compared with a name the system reports from below a volume.
    platform::Opening opening = files.OpenRoot(root);
    std::string walked = root;
    for (const std::string& part : parts) {
        if (!opening) break;
        if (folders) folders->push_back(opening.folder->Identity());
        walked += "\\" + part;
        opening = opening.folder->OpenListedFolder(FindEntry{part, platform::kAttrDirectory, 0, 0});
    }
    if (opening && folders) folders->push_back(opening.folder->Identity());
    // A folder that is not there is named as the category knows it; one that will not open,
    // where it stopped.
    if (!opening)
        return {nullptr, OpeningProblem(opening, opening.refusal == platform::OpenRefusal::NotThere
                                                     ? TidyPath(path)
                                                     : walked)};
    return {std::move(opening.folder), {}};
}

bool MayHandOnForDeletion(platform::FileSystem& files, const std::string& path,
                          const std::string& folder) {
    std::string root, folderRoot;
    std::vector<std::string> parts, folderParts;
    if (!LiesInside(path, folder) || !SplitSweepablePath(path, root, parts) ||
        !SplitSweepablePath(folder, folderRoot, folderParts))
        return false;
    // From the folder down, name by name, each opened through the one above it. The attributes
    // say what a name is (a folder, a flagged link); the folders check on handles that it is so.
    std::unique_ptr<OpenedFolder> current = OpenStartFolder(files, folder).folder;
    std::string walked = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        walked += "\\" + parts[i];
        if (i < folderParts.size()) continue;
        if (!current) return false;
        const FindEntry entry{parts[i], files.GetAttributes(walked), 0, 0};
        // Nothing there now (a cache folder swept meanwhile): nothing for the other to delete.
        if (entry.attributes == platform::kInvalidAttributes) return true;
        if (IsLeftAlone(entry)) return false;
        const bool last = i + 1 == parts.size();
        if (((entry.attributes & platform::kAttrDirectory) != 0) == last) return false;
        if (last) return current->IsListedFile(entry);
        current = current->OpenListedFolder(entry).folder;
    }
    return false;
}

bool MayDeleteCacheEntry(platform::FileSystem& files, const std::string& localFile,
                         const std::vector<std::string>& cacheFolders) {
    if (localFile.empty()) return true;
    for (const std::string& folder : cacheFolders)
        if (!folder.empty() && MayHandOnForDeletion(files, localFile, folder)) return true;
    return false;
}

const char* FilterKeepsHandedOn(platform::FileSystem& files, const RunFilter& filter,
                                const std::string& path, const FindEntry& listed) {
    if (filter.KeepsPaths()) {
        const ResolvedPath resolved = ResolvePath(files, path);
        if (!resolved) return reason::kNotOpened;
        if (const char* why = filter.KeepsItself(resolved.identity)) return why;
        if (const char* why = filter.KeepsAnyOf(resolved.above)) return why;
    }
    return filter.Keeps(listed.writeTime);
}

bool RestartReaches(platform::FileSystem& files, const std::string& root) {
    return root.compare(0, 2, "\\\\") != 0 &&
           files.KindOfDrive(root) == platform::DriveKind::LocalFixed;
}

}  // namespace olvex

#include "cleaning/FolderSweep.h"

#include <vector>

#include "system/FileSystemObject.h"

namespace olvex {

using platform::kAttrDirectory;
using platform::kAttrHidden;
using platform::kAttrReparsePoint;
using platform::kAttrSystem;

std::string StripNulls(std::string& OriginalStr) {
    const size_t nul = OriginalStr.find('\0');
    if (nul != std::string::npos) OriginalStr.erase(nul);
    return OriginalStr;
}

namespace {

std::vector<platform::FindEntry> Listing(platform::FileSystem& files, const std::string& pattern) {
    std::vector<platform::FindEntry> entries;
    if (auto finder = files.Find(pattern)) {
        platform::FindEntry entry;
        while (finder->Next(entry)) {
            StripNulls(entry.name);
            if (entry.name != "." && entry.name != "..") entries.push_back(entry);
        }
    }
    return entries;
}

bool MatchesEverything(const std::string& pattern) {
    return pattern == "*" || pattern == "*.*";
}

// One folder: delete what the pattern names, return the subfolders to visit afterwards.
// The listing's own attributes answer every question about an entry, so each entry
// costs no more than the one call that deletes it.
std::vector<std::string> SweepOne(platform::FileSystem& files, FileSystemObject& fso,
                                  const std::string& path, const std::string& pattern,
                                  SweepKind kind) {
    // First pass: the subfolders, listed before anything is deleted.
    const std::vector<platform::FindEntry> all = Listing(files, path + "*");
    std::vector<std::string> subfolders;
    for (const auto& entry : all) {
        if ((entry.attributes & kAttrDirectory) && !(entry.attributes & kAttrReparsePoint))
            subfolders.push_back(entry.name);
    }

    // Second pass: delete. With a pattern that names everything, the first listing serves.
    const std::vector<platform::FindEntry> targets =
        MatchesEverything(pattern) ? all : Listing(files, path + pattern);
    for (const auto& entry : targets) {
        const std::string full = path + entry.name;
        // A link or junction stays where it is, like a file that cannot be deleted.
        if (entry.attributes & kAttrReparsePoint) continue;
        if (entry.attributes & kAttrDirectory) {
            fso.DeleteFolder(full);  // a failure ends the whole sweep
            continue;
        }
        // Ordinary files only: hidden and system files are not touched.
        if (entry.attributes & (kAttrHidden | kAttrSystem)) continue;
        if (!files.Delete(full, entry.attributes) && kind == SweepKind::NT)
            files.DeleteAtRestart(full);
    }
    return subfolders;
}

}  // namespace

void FindFilesAPI(platform::FileSystem& files, std::string& path, const std::string& SearchStr,
                  SweepKind kind) {
    FileSystemObject fso(files);
    if (path.empty() || path.back() != '\\') path += "\\";

    // Depth first, in listing order, without recursion: trees of any depth are fine.
    std::vector<std::string> pending{path};
    while (!pending.empty()) {
        const std::string folder = pending.back();
        pending.pop_back();
        std::vector<std::string> subfolders = SweepOne(files, fso, folder, SearchStr, kind);
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            pending.push_back(folder + *it + "\\");
    }
}

}  // namespace olvex

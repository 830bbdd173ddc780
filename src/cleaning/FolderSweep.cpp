#include "cleaning/FolderSweep.h"

#include <memory>
#include <vector>

#include "system/DeletionGuard.h"

namespace olvex {

using platform::FindEntry;
using platform::OpenedFolder;

std::string StripNulls(std::string& OriginalStr) {
    const size_t nul = OriginalStr.find('\0');
    if (nul != std::string::npos) OriginalStr.erase(nul);
    return OriginalStr;
}

namespace {

// One folder: delete what the pattern names, return the subfolders to visit afterwards.
// The listing's own attributes answer every question about an entry, so each entry
// costs no more than the calls that delete it.
std::vector<FindEntry> SweepOne(OpenedFolder& folder, const std::string& pattern, SweepKind kind,
                                const std::string& keptFile) {
    const std::vector<FindEntry> all = folder.List();
    std::vector<FindEntry> subfolders;
    for (const FindEntry& entry : all)
        if ((entry.attributes & platform::kAttrDirectory) && !IsLeftAlone(entry))
            subfolders.push_back(entry);

    for (const FindEntry& entry : all) {
        if (IsLeftAlone(entry) || !MatchesPattern(entry.name, pattern)) continue;
        if (entry.attributes & platform::kAttrDirectory) {
            RemoveTree(folder, entry);  // a failure ends the whole sweep
            continue;
        }
        // Ordinary files only: hidden and system files are not touched.
        if (entry.attributes & (platform::kAttrHidden | platform::kAttrSystem)) continue;
        if (!keptFile.empty() && MatchesPattern(entry.name, keptFile)) continue;
        if (folder.DeleteListedFile(entry) == platform::Deletion::Refused && kind == SweepKind::NT)
            folder.DeleteAtRestart(entry);
    }
    return subfolders;
}

}  // namespace

void FindFilesAPI(platform::FileSystem& files, std::string& path, const std::string& SearchStr,
                  SweepKind kind, const std::string& keptFile) {
    if (path.empty() || path.back() != '\\') path += "\\";
    std::shared_ptr<OpenedFolder> start = OpenStartFolder(files, path);
    if (!start) return;

    // Depth first, in listing order, without recursion: trees of any depth are fine. Each
    // folder is opened through its parent, which stays open while its subfolders wait.
    struct Pending {
        std::shared_ptr<OpenedFolder> parent;
        FindEntry entry;
    };
    std::vector<Pending> pending;
    auto visit = [&](const std::shared_ptr<OpenedFolder>& folder, const std::string& kept) {
        std::vector<FindEntry> subfolders = SweepOne(*folder, SearchStr, kind, kept);
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            pending.push_back({folder, *it});
    };
    visit(start, keptFile);
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        // Subfolders deleted whole are gone by now.
        std::shared_ptr<OpenedFolder> folder = next.parent->OpenListedFolder(next.entry);
        if (folder) visit(folder, "");
    }
}

}  // namespace olvex

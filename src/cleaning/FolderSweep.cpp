#include "cleaning/FolderSweep.h"

#include <memory>
#include <vector>

#include "system/DeletionGuard.h"

namespace olvex {

using platform::FindEntry;

std::string StripNulls(std::string& OriginalStr) {
    const size_t nul = OriginalStr.find('\0');
    if (nul != std::string::npos) OriginalStr.erase(nul);
    return OriginalStr;
}

namespace {

// One folder, in two listings: the first keeps only the subfolders, to visit afterwards; the
// second hands every entry to the guard as it comes. Neither holds the whole folder, and the
// listing's own attributes answer every question about an entry, so each entry costs no more
// than the calls that delete it.
std::vector<FindEntry> SweepOne(SweptFolder& folder, const SweepRules& rules) {
    std::vector<FindEntry> subfolders;
    FindEntry entry;
    for (auto listing = folder.folder->Entries(); listing->Next(entry);)
        if (entry.attributes & platform::kAttrDirectory) subfolders.push_back(entry);
    for (auto listing = folder.folder->Entries(); listing->Next(entry);)
        SweepEntry(folder, entry, rules);
    return subfolders;
}

}  // namespace

void FindFilesAPI(platform::FileSystem& files, std::string& path, const std::string& SearchStr,
                  AtRestart atRestart, const std::string& keptFile) {
    if (path.empty() || path.back() != '\\') path += "\\";
    std::shared_ptr<SweptFolder> start = OpenSweep(files, path);
    if (!start) return;
    const SweepRules rules{SearchStr, keptFile, atRestart};

    // Depth first, in listing order, without recursion: trees of any depth are fine. Each
    // folder is opened through its parent, which stays open while its subfolders wait.
    struct Pending {
        std::shared_ptr<SweptFolder> parent;
        FindEntry entry;
    };
    std::vector<Pending> pending;
    auto visit = [&](const std::shared_ptr<SweptFolder>& folder) {
        std::vector<FindEntry> subfolders = SweepOne(*folder, rules);
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            pending.push_back({folder, *it});
    };
    visit(start);
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        // Subfolders deleted whole are gone by now, and the guard enters no link.
        std::shared_ptr<SweptFolder> folder = EnterListed(next.parent, next.entry);
        if (folder) visit(folder);
    }
}

}  // namespace olvex

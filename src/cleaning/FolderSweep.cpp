#include "cleaning/FolderSweep.h"

#include <memory>
#include <vector>

#include "guard/DeletionGuard.h"

namespace olvex {

using platform::FindEntry;

namespace {

// One folder, in one listing: every entry goes to the guard as it comes, and the subfolders
// it leaves in place are kept to visit afterwards. The listing's own attributes answer every
// question about an entry, so each entry costs no more than the calls that delete it, and a
// subfolder removed whole is never visited (a preview, which removes nothing, would otherwise
// walk it twice).
std::vector<FindEntry> SweepOne(SweptFolder& folder, const SweepRules& rules) {
    std::vector<FindEntry> subfolders;
    FindEntry entry;
    for (auto listing = folder.folder->Entries(); listing->Next(entry);)
        if (SweepEntry(folder, entry, rules) == Disposal::Left &&
            (entry.attributes & platform::kAttrDirectory))
            subfolders.push_back(entry);
    return subfolders;
}

}  // namespace

void SweepFolder(platform::FileSystem& files, const std::string& path, const SweepRules& rules) {
    std::shared_ptr<SweptFolder> start = OpenSweep(files, path, rules);
    if (!start) return;
    rules.sink->Looked(TidyPath(path));
    if (rules.sink->LooksOnly()) return;

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
        std::shared_ptr<SweptFolder> folder = EnterListed(next.parent, next.entry, rules);
        if (folder) visit(folder);
    }
}

}  // namespace olvex

#include "guard/TreeRemoval.h"

#include <cstring>
#include <unordered_set>
#include <vector>

#include "platform/Errors.h"

// The guard's removal of a listed subfolder with everything in it.
namespace olvex {

using platform::Changes;
using platform::Deletion;
using platform::FindEntry;
using platform::OpenedFolder;

namespace {

// Levels a folder may lie below the top of a tree being removed, and bytes of names
// between them, before it is moved up: every open below costs in proportion to them.
constexpr size_t kMoveUpDepth = 32;
constexpr size_t kMoveUpBytes = 1024;
constexpr int kMoveUpAttempts = 4;
constexpr const char* kMovedPrefix = "~olvex-deep-";

// One folder of a tree being removed: its listing, read as the removal goes, and where it
// came from if it was moved up.
struct Level {
    std::unique_ptr<OpenedFolder> folder;
    std::unique_ptr<platform::Finder> listing;
    std::string name;  // its name where it was listed
    size_t depth = 0;
    size_t bytes = 0;
    OpenedFolder* home = nullptr;
    std::string homeName;
    // Its path, ending with a separator, where a preview's count needs it.
    std::string path;
    bool holdsKept = false;           // a path the filter keeps lies in it
    bool holdsKeptFile = false;       // a file the filter keeps lies directly in it
    platform::FileIdentity identity;  // what it is, where the filter keeps paths
    bool keeps = false;               // the filter kept something in it: it stays
};

// Whether the folder holds what the filter keeps, anywhere in it and directly; a folder that
// cannot tell what it is might hold anything.
void AskWhatItHolds(const RunFilter* filter, OpenedFolder& folder, bool& holds, bool& holdsFile,
                    platform::FileIdentity& identity) {
    holds = holdsFile = false;
    if (!filter || !filter->KeepsPaths()) return;
    identity = folder.Identity();
    holds = !identity.Known() || filter->HoldsKept(identity);
    holdsFile = !identity.Known() || filter->HoldsKeptFile(identity);
}

}  // namespace

// Why the filter keeps the listed entry of folder (of identity where) itself; one that cannot
// be told apart stays too where it bears the name of what is kept.
const char* KeptItself(const RunFilter& filter, const platform::FileIdentity& where,
                       OpenedFolder& folder, const FindEntry& entry) {
    const platform::FileIdentity identity = folder.IdentityOf(entry);
    if (!identity.Known())
        return filter.MayBeNamed(where, entry.name) ? reason::kNotOpened : nullptr;
    return filter.KeepsItself(identity);
}

// Ends a removal at the entry that stays; its path and why were told to the sink already.
[[noreturn]] void Undeletable(const FindEntry& entry, const char* why) {
    throw platform::Refusal("the removal stopped at " + entry.name + " (" + why +
                            "), and what follows it was left");
}

// Why an entry that is left alone stays.
const char* LeftAloneReason(const FindEntry& entry) {
    return entry.attributes & platform::kAttrReparsePoint ? reason::kLink : reason::kOddName;
}

namespace {

// Why a listed subfolder that did not open stays.
const char* UnopenedReason(const platform::Opening& opening) {
    switch (opening.refusal) {
        case platform::OpenRefusal::Link:
            return reason::kLink;
        case platform::OpenRefusal::Failed:
            return reason::kNotOpened;
        default:
            return reason::kChanged;
    }
}

// The folders moved up into the top of one tree, and whether moving still may work there.
struct MovesUp {
    int count = 0;
    bool refused = false;  // the system refused one (it would refuse the next ones too), or
                           // the run moves no folders
    std::unordered_set<std::string> names;
};

// Moves a deep folder up into the top; where the move does not happen it stays where it is
// and is emptied there, at the cost of longer opens.
void MoveUp(Changes& changes, OpenedFolder& top, Level& level, OpenedFolder& parent,
            const std::string& name, MovesUp& moves) {
    for (int attempt = 0; attempt < kMoveUpAttempts && !moves.refused; ++attempt) {
        const std::string newName = kMovedPrefix + std::to_string(++moves.count);
        switch (changes.MoveInto(*level.folder, top, newName)) {
            case platform::Move::Moved:
                level.home = &parent;
                level.homeName = name;
                level.depth = 1;
                level.bytes = newName.size() + 1;
                moves.names.insert(newName);
                return;
            case platform::Move::NameTaken:
                continue;
            case platform::Move::Refused:
                moves.refused = true;
                return;
        }
    }
}

bool WasMovedUp(const MovesUp& moves, const std::string& name) {
    return name.compare(0, std::strlen(kMovedPrefix), kMovedPrefix) == 0 && moves.names.count(name);
}

// Tells the sink of one entry of a tree being removed; the path is composed only when the
// sink wants it, from the names of the folders on the stack.
void Tell(CleaningSink& sink, const std::string& parentPath, const std::vector<Level>& stack,
          size_t levels, const FindEntry& entry, ItemAction action, const char* why = "") {
    CleanedItem item{action, "", entry.size, why,
                     (entry.attributes & platform::kAttrDirectory) != 0};
    if (sink.WantsPaths()) {
        item.path = parentPath;
        for (size_t i = 0; i < levels; ++i) item.path += stack[i].name + "\\";
        item.path += entry.name;
    }
    if (item.folder) item.bytes = 0;
    sink.Item(item);
}

// What became of a file of a tree being removed: deleted, kept by its age (why), gone
// meanwhile (neither), or the removal stops at it (why).
struct FileOfTree {
    bool deleted = false;
    const char* kept = nullptr;
    const char* stopsAt = nullptr;
};

FileOfTree DeleteFileOfTree(Changes& changes, OpenedFolder& folder, const FindEntry& item,
                            const RunFilter* filter) {
    platform::AgeCheck age{filter ? filter->Age() : nullptr};
    // Young by its listing: it stays unopened (see SweepEntry).
    const char* young = age.test ? age.test->Keeps(item.writeTime) : nullptr;
    if (young && filter->IsItsReason(young)) return {false, young, nullptr};
    if (item.attributes & platform::kAttrReadOnly) return {false, nullptr, reason::kReadOnly};
    switch (changes.DeleteListedFile(folder, item, &age)) {
        case Deletion::Deleted:
            return {true, nullptr, nullptr};
        case Deletion::Kept:
            return {false, age.kept, nullptr};
        case Deletion::NotThere:
            return {};
        case Deletion::NotAFile:
            return {false, nullptr, reason::kNotAFile};
        case Deletion::Elsewhere:
            return {false, nullptr, reason::kElsewhere};
        case Deletion::Refused:
            break;
    }
    return {false, nullptr, reason::kInUse};
}

}  // namespace

bool RemoveTree(const SweepRules& rules, OpenedFolder& parent, const FindEntry& entry,
                const std::string& parentPath) {
    Changes& changes = *rules.changes;
    CleaningSink& sink = *rules.sink;
    const RunFilter* filter = rules.filter;
    CountedFolders* counted = rules.counted;
    const bool paths = counted != nullptr;
    std::vector<Level> stack;
    // The entry that stops the removal stays, and says why.
    auto stopAt = [&](const FindEntry& item, const char* why) {
        Tell(sink, parentPath, stack, stack.size(), item, ItemAction::Stayed, why);
        Undeletable(item, why);
    };
    // A level below the one on top of the stack (or below parentPath), its path known.
    auto levelFor = [&](const FindEntry& item) {
        Level level;
        level.name = item.name;
        if (paths) level.path = (stack.empty() ? parentPath : stack.back().path) + item.name + "\\";
        return level;
    };
    if (IsLeftAlone(entry)) stopAt(entry, LeftAloneReason(entry));
    {
        Level top = levelFor(entry);
        platform::Opening opening = parent.OpenListedFolder(entry);
        if (!opening) stopAt(entry, UnopenedReason(opening));
        top.folder = std::move(opening.folder);
        AskWhatItHolds(filter, *top.folder, top.holdsKept, top.holdsKeptFile, top.identity);
        top.listing = top.folder->Entries();
        if (counted) counted->Add(top.path);
        stack.push_back(std::move(top));
    }
    MovesUp moves;
    moves.refused = !changes.MovesFolders();
    try {
        while (!stack.empty()) {
            Level& level = stack.back();
            FindEntry item;
            if (!level.listing->Next(item)) {
                level.listing.reset();
                const FindEntry self{level.name, platform::kAttrDirectory, 0, 0};
                const size_t above = stack.size() - 1;
                if (level.keeps) {
                    // What the filter keeps keeps its folders, up to the top.
                    if (counted) counted->Keeps(level.path);
                    stack.pop_back();
                    if (stack.empty()) return false;
                    stack.back().keeps = true;
                    continue;
                }
                if (!changes.RemoveEmpty(*level.folder)) {
                    Tell(sink, parentPath, stack, above, self, ItemAction::Stayed,
                         reason::kNotRemovable);
                    Undeletable(self, reason::kNotRemovable);
                }
                Tell(sink, parentPath, stack, above, self, ItemAction::Removed);
                if (counted) counted->Removed(level.path);
                stack.pop_back();
                continue;
            }
            // A folder moved up may show up in the top's listing, which is still being read.
            if (stack.size() == 1 && WasMovedUp(moves, item.name)) continue;
            if (IsLeftAlone(item)) stopAt(item, LeftAloneReason(item));
            const bool isFolder = (item.attributes & platform::kAttrDirectory) != 0;
            if (isFolder ? level.holdsKept : level.holdsKeptFile) {
                if (const char* why = KeptItself(*filter, level.identity, *level.folder, item)) {
                    Tell(sink, parentPath, stack, stack.size(), item, ItemAction::Stayed, why);
                    level.keeps = true;
                    continue;
                }
            }
            if (!isFolder) {
                if (counted && counted->AnyFiles() && counted->HasFile(level.path + item.name))
                    continue;  // gone with its cache entry
                const FileOfTree fate = DeleteFileOfTree(changes, *level.folder, item, filter);
                if (fate.stopsAt) stopAt(item, fate.stopsAt);
                if (fate.kept) {
                    // Too young, or of no telling age: it stays, and so do its folders.
                    Tell(sink, parentPath, stack, stack.size(), item, ItemAction::Stayed,
                         fate.kept);
                    level.keeps = true;
                } else if (fate.deleted) {
                    Tell(sink, parentPath, stack, stack.size(), item, ItemAction::Deleted);
                }
                continue;
            }
            Level below = levelFor(item);
            if (counted) {
                // Counted by an earlier step: gone by now if it was removed, empty if all in
                // it went; what stays in it stops this removal as it will stop the clean's.
                if (const CountedFolders::Count* count = counted->Find(below.path)) {
                    if (count->removed) continue;
                    if (count->keeps) stopAt(item, reason::kHoldsWhatStays);
                    Tell(sink, parentPath, stack, stack.size(), item, ItemAction::Removed);
                    counted->Removed(below.path);
                    continue;
                }
                counted->Add(below.path);
            }
            below.depth = level.depth + 1;
            below.bytes = level.bytes + item.name.size() + 1;
            const bool deep = below.depth >= kMoveUpDepth || below.bytes >= kMoveUpBytes;
            platform::Opening opening = level.folder->OpenListedFolder(
                item, deep && !moves.refused ? platform::Hold::Moving : platform::Hold::Listing);
            if (!opening) stopAt(item, UnopenedReason(opening));
            below.folder = std::move(opening.folder);
            AskWhatItHolds(filter, *below.folder, below.holdsKept, below.holdsKeptFile,
                           below.identity);
            if (deep)
                MoveUp(changes, *stack.front().folder, below, *level.folder, item.name, moves);
            // On the stack before it is listed, so that a failing listing moves it back too.
            stack.push_back(std::move(below));
            stack.back().listing = stack.back().folder->Entries();
        }
    } catch (...) {
        // Whatever was moved up goes back where it was, the deepest first, each folder
        // closed before the one holding it moves (a folder with open entries may not).
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
            if (counted) counted->Keeps(it->path);
            it->listing.reset();
            if (it->home) changes.MoveInto(*it->folder, *it->home, it->homeName);
            it->folder.reset();
        }
        throw;
    }
    return true;
}

}  // namespace olvex

#include "system/DeletionGuard.h"

#include <cstring>
#include <unordered_set>
#include <vector>

#include "platform/Errors.h"

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

// What a swept folder is, asked once.
const platform::FileIdentity& Identified(SweptFolder& folder) {
    if (!folder.identified) {
        folder.identity = folder.folder->Identity();
        folder.identified = true;
    }
    return folder.identity;
}

// Whether a path the filter keeps lies in the swept folder (anywhere, or as a file directly).
bool HoldsKept(SweptFolder& folder, const RunFilter& filter) {
    if (!filter.KeepsPaths()) return false;
    const platform::FileIdentity& identity = Identified(folder);
    return !identity.Known() || filter.HoldsKept(identity);
}
bool HoldsKeptFile(SweptFolder& folder, const RunFilter& filter) {
    if (!filter.KeepsPaths()) return false;
    const platform::FileIdentity& identity = Identified(folder);
    return !identity.Known() || filter.HoldsKeptFile(identity);
}

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

// Why an entry that is left alone stays.
const char* LeftAloneReason(const FindEntry& entry) {
    return entry.attributes & platform::kAttrReparsePoint ? reason::kLink : reason::kOddName;
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

}  // namespace

bool IsLeftAlone(const FindEntry& entry) {
    return (entry.attributes & platform::kAttrReparsePoint) || !IsLiteralName(entry.name);
}

namespace {

// Removes a listed subfolder with everything in it, hidden and system files included; see
// SweepEntry. Any depth costs the same per entry: a folder far below the top is first moved
// up into the subfolder being removed, and moved back if it cannot be emptied. Each file
// deleted, each folder removed and the entry that stopped it go to sink, named below
// parentPath (which ends with a separator). What rules.filter keeps stays, and so do the
// folders above it; false when the subfolder stays for that.
bool RemoveTree(const SweepRules& rules, OpenedFolder& parent, const FindEntry& entry,
                const std::string& parentPath) {
    Changes& changes = *rules.changes;
    CleaningSink& sink = *rules.sink;
    const RunFilter* filter = rules.filter;
    CountedFolders* counted = rules.counted;
    const bool paths = counted != nullptr;
    platform::AgeCheck age{filter ? filter->Age() : nullptr};
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
                // Young by its listing: it stays unopened (see SweepEntry).
                const char* young = age.test ? age.test->Keeps(item.writeTime) : nullptr;
                if (young && filter->IsItsReason(young)) {
                    Tell(sink, parentPath, stack, stack.size(), item, ItemAction::Stayed, young);
                    level.keeps = true;
                    continue;
                }
                if (item.attributes & platform::kAttrReadOnly) stopAt(item, reason::kReadOnly);
                const Deletion deletion = changes.DeleteListedFile(*level.folder, item, &age);
                if (deletion == Deletion::Kept) {
                    // Too young, or of no telling age: it stays, and so do its folders.
                    Tell(sink, parentPath, stack, stack.size(), item, ItemAction::Stayed, age.kept);
                    level.keeps = true;
                    continue;
                }
                if (deletion == Deletion::NotThere) continue;  // gone meanwhile
                if (deletion == Deletion::NotAFile) stopAt(item, reason::kNotAFile);
                if (deletion == Deletion::Elsewhere) stopAt(item, reason::kElsewhere);
                if (deletion != Deletion::Deleted) stopAt(item, reason::kInUse);
                Tell(sink, parentPath, stack, stack.size(), item, ItemAction::Deleted);
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

}  // namespace

std::shared_ptr<SweptFolder> OpenSweep(platform::FileSystem& files, const std::string& path,
                                       const SweepRules& rules) {
    std::string named = TidyPath(path);
    if (named.empty() || named.back() != '\\') named += '\\';
    CleaningSink& sink = *rules.sink;
    if (rules.counted) {
        // Counted already: nothing new to count there, and nothing at all if it was removed.
        if (const CountedFolders::Count* count = rules.counted->Find(named)) {
            if (count->removed) sink.Problem({StepOutcome::NotThere, TidyPath(path), "", {}});
            return nullptr;
        }
    }
    const bool paths = rules.filter && rules.filter->KeepsPaths();
    std::vector<platform::FileIdentity> folders;
    StartFolder start = OpenStartFolder(files, path, paths ? &folders : nullptr);
    if (!start.folder) {
        sink.Problem(start.problem);
        return nullptr;
    }
    // A start folder that is, or lies in, a folder the user keeps stays whole, whatever name
    // either was given by.
    if (const char* why = paths ? rules.filter->KeepsAnyOf(folders) : nullptr) {
        sink.Item({ItemAction::Stayed, TidyPath(path), 0, why, true});
        return nullptr;
    }
    if (rules.counted) rules.counted->Add(named);
    auto swept = std::make_shared<SweptFolder>();
    swept->folder = std::move(start.folder);
    swept->path = std::move(named);
    swept->files = &files;
    if (paths) {
        swept->identity = folders.back();
        swept->identified = true;
    }
    std::vector<std::string> parts;
    SplitSweepablePath(path, swept->root, parts);
    return swept;
}

std::shared_ptr<SweptFolder> EnterListed(const std::shared_ptr<SweptFolder>& folder,
                                         const FindEntry& entry, const SweepRules& rules) {
    if (IsLeftAlone(entry) || !(entry.attributes & platform::kAttrDirectory)) return nullptr;
    const std::string path = folder->path + entry.name + "\\";
    if (rules.counted) {
        if (rules.counted->Find(path)) return nullptr;
        rules.counted->Add(path);
    }
    // A folder the user keeps is not entered at all.
    if (rules.filter && HoldsKept(*folder, *rules.filter) &&
        KeptItself(*rules.filter, Identified(*folder), *folder->folder, entry))
        return nullptr;
    std::shared_ptr<OpenedFolder> below = folder->folder->OpenListedFolder(entry).folder;
    if (!below) return nullptr;
    auto swept = std::make_shared<SweptFolder>();
    swept->folder = std::move(below);
    swept->path = path;
    swept->parent = folder;
    swept->depth = folder->depth + 1;
    return swept;
}

namespace {

// Whether the folder and every folder above it up to the start folder have owners that
// alone can change them; asked once for each folder, and only when a file is to be registered.
bool HeldByTrustedOwners(SweptFolder& folder) {
    if (folder.trusted < 0) {
        const bool own = folder.folder->Owner() != platform::FolderOwner::Other;
        folder.trusted = own && (!folder.parent || HeldByTrustedOwners(*folder.parent)) ? 1 : 0;
    }
    return folder.trusted == 1;
}

// Whether the restart reaches the drive the sweep started on; asked once a sweep.
bool BootReaches(SweptFolder& folder) {
    SweptFolder* start = &folder;
    while (start->parent) start = start->parent.get();
    if (start->bootReaches < 0)
        start->bootReaches = start->files && RestartReaches(*start->files, start->root) ? 1 : 0;
    return start->bootReaches == 1;
}

bool MayRegister(SweptFolder& folder, AtRestart atRestart) {
    switch (atRestart) {
        case AtRestart::Never:
            return false;
        case AtRestart::TopLevel:
            return folder.depth == 0 && HeldByTrustedOwners(folder);
        case AtRestart::AnyDepth:
            return HeldByTrustedOwners(folder);
    }
    return false;
}

// Tells a preview's count that something stays in the folder, and so in every folder above it.
void KeepsIn(const SweptFolder& folder, const SweepRules& rules) {
    if (!rules.counted) return;
    for (const SweptFolder* f = &folder; f; f = f->parent.get()) rules.counted->Keeps(f->path);
}

}  // namespace

Disposal SweepEntry(SweptFolder& folder, const FindEntry& entry, const SweepRules& rules) {
    const bool isFolder = (entry.attributes & platform::kAttrDirectory) != 0;
    if ((rules.filesOnly && isFolder) || !MatchesPattern(entry.name, rules.pattern)) {
        KeepsIn(folder, rules);
        return Disposal::Left;
    }
    Changes& changes = *rules.changes;
    CleaningSink& sink = *rules.sink;
    auto tell = [&](ItemAction action, const char* why) {
        sink.Item({action, sink.WantsPaths() ? folder.path + entry.name : std::string(),
                   isFolder ? 0 : entry.size, why, isFolder});
    };
    // What stays keeps its folders; the disposal is returned.
    auto stays = [&](const char* why, Disposal disposal) {
        tell(ItemAction::Stayed, why);
        KeepsIn(folder, rules);
        return disposal;
    };
    if (IsLeftAlone(entry)) return stays(LeftAloneReason(entry), Disposal::Left);
    if (isFolder) {
        if (rules.filter && HoldsKept(folder, *rules.filter))
            if (const char* why =
                    KeptItself(*rules.filter, Identified(folder), *folder.folder, entry))
                return stays(why, Disposal::Stayed);
        if (rules.counted) {
            // Counted by an earlier step: see RemoveTree.
            const std::string path = folder.path + entry.name + "\\";
            if (const CountedFolders::Count* count = rules.counted->Find(path)) {
                if (count->removed) return Disposal::Gone;
                if (count->keeps) {
                    stays(reason::kHoldsWhatStays, Disposal::Stayed);
                    Undeletable(entry, reason::kHoldsWhatStays);
                }
                tell(ItemAction::Removed, "");
                rules.counted->Removed(path);
                return Disposal::Removed;
            }
        }
        // A failure ends the whole sweep.
        try {
            if (RemoveTree(rules, *folder.folder, entry, folder.path)) return Disposal::Removed;
        } catch (...) {
            KeepsIn(folder, rules);
            throw;
        }
        KeepsIn(folder, rules);
        return Disposal::Stayed;
    }
    // Ordinary files only: hidden and system files are not touched.
    if (entry.attributes & (platform::kAttrHidden | platform::kAttrSystem))
        return stays(entry.attributes & platform::kAttrHidden ? reason::kHidden : reason::kSystem,
                     Disposal::Left);
    if (folder.depth == 0 && !rules.keptFile.empty() && MatchesPattern(entry.name, rules.keptFile))
        return stays(reason::kKept, Disposal::Left);
    // Gone with its cache entry, in a preview's count.
    if (rules.counted && rules.counted->AnyFiles() &&
        rules.counted->HasFile(folder.path + entry.name))
        return Disposal::Gone;
    platform::AgeCheck age{rules.filter ? rules.filter->Age() : nullptr};
    if (rules.filter) {
        if (HoldsKeptFile(folder, *rules.filter))
            if (const char* why =
                    KeptItself(*rules.filter, Identified(folder), *folder.folder, entry))
                return stays(why, Disposal::Stayed);
        // A file its listing calls young stays without being opened; one it calls old (or
        // of no time) is judged again on the handle it would go through.
        const char* young = age.test ? age.test->Keeps(entry.writeTime) : nullptr;
        if (young && rules.filter->IsItsReason(young)) return stays(young, Disposal::Stayed);
    }
    const char* why = reason::kReadOnly;
    if (!(entry.attributes & platform::kAttrReadOnly)) {
        const Deletion deletion = changes.DeleteListedFile(*folder.folder, entry, &age);
        if (deletion == Deletion::Deleted) {
            tell(ItemAction::Deleted, "");
            return Disposal::Deleted;
        }
        if (deletion == Deletion::NotThere) return Disposal::Gone;
        if (deletion == Deletion::Kept) return stays(age.kept, Disposal::Stayed);
        // Neither deleted nor registered: the system keeps no list for such a thing, and a
        // name that leads elsewhere would aim the restart's deletion there.
        if (deletion == Deletion::NotAFile) return stays(reason::kNotAFile, Disposal::Stayed);
        if (deletion == Deletion::Elsewhere) return stays(reason::kElsewhere, Disposal::Stayed);
        why = reason::kInUse;
    }
    KeepsIn(folder, rules);
    // A file whose age was not read on its own handle is not left to the restart, which
    // would delete it whatever its age: it might be one the user keeps.
    if (MayRegister(folder, rules.atRestart) && !age.test) {
        if (!BootReaches(folder)) {
            why = reason::kBootCannotReach;
        } else if (changes.DeleteAtRestart(*folder.folder, entry)) {
            tell(ItemAction::Registered, why);
            return Disposal::Registered;
        }
    }
    tell(ItemAction::Stayed, why);
    return Disposal::Stayed;
}

void DeleteFilesNamed(platform::FileSystem& files, Changes& changes, const std::string& pattern,
                      CleaningSink& sink, const RunFilter* filter) {
    try {
        if (sink.LooksOnly()) {
            const std::string folder = TidyPath(FolderOf(pattern));
            if (files.GetAttributes(folder) == platform::kInvalidAttributes)
                sink.Problem({StepOutcome::NotThere, folder, "", {}});
            else
                sink.Looked(folder);
            return;
        }
        // The system matches the pattern; what it finds goes to the guard through the folder,
        // opened once there is something to delete.
        std::unique_ptr<platform::Finder> found = files.Find(pattern);
        // The first file it names, if any (folders are not for deleting here).
        FindEntry entry;
        bool any = false;
        while (found && !any && found->Next(entry))
            any = !(entry.attributes & platform::kAttrDirectory);
        const std::string folderPath = FolderOf(pattern);
        if (!any) {
            // Nothing to delete; a folder that is not there at all is worth saying.
            if (!folderPath.empty() &&
                files.GetAttributes(folderPath) == platform::kInvalidAttributes)
                sink.Problem({StepOutcome::NotThere, TidyPath(folderPath), "", {}});
            return;
        }
        const bool paths = filter && filter->KeepsPaths();
        std::vector<platform::FileIdentity> folders;
        StartFolder start = OpenStartFolder(files, folderPath, paths ? &folders : nullptr);
        if (!start.folder) {
            sink.Problem(start.problem);
            return;
        }
        if (const char* why = paths ? filter->KeepsAnyOf(folders) : nullptr) {
            sink.Item({ItemAction::Stayed, TidyPath(folderPath), 0, why, true});
            return;
        }
        SweptFolder folder;
        folder.folder = std::move(start.folder);
        folder.path = TidyPath(folderPath) + "\\";
        // Every entry the system listed matched the pattern; registration is never asked for.
        const SweepRules rules{&changes, "*", "", AtRestart::Never, &sink, true, filter};
        do {
            SweepEntry(folder, entry, rules);
        } while (found->Next(entry));
        found.reset();  // the listing is given back as soon as it ends, before the folder
    } catch (const platform::RuntimeError& error) {
        sink.Problem(ProblemOf(error, TidyPath(pattern)));
    }
}

}  // namespace olvex

#include "guard/DeletionGuard.h"

#include <cstring>
#include <unordered_set>
#include <vector>

#include "guard/TreeRemoval.h"
#include "platform/Errors.h"

namespace olvex {

using platform::Changes;
using platform::Deletion;
using platform::FindEntry;
using platform::OpenedFolder;

namespace {

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

}  // namespace

bool IsLeftAlone(const FindEntry& entry) {
    return (entry.attributes & platform::kAttrReparsePoint) || !IsLiteralName(entry.name);
}

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

namespace {

// One listed entry of a sweep, and how its fate is told.
struct SweptEntry {
    SweptFolder& folder;
    const FindEntry& entry;
    const SweepRules& rules;
    bool isFolder;

    void Tell(ItemAction action, const char* why) const {
        CleaningSink& sink = *rules.sink;
        sink.Item({action, sink.WantsPaths() ? folder.path + entry.name : std::string(),
                   isFolder ? 0 : entry.size, why, isFolder});
    }
    // What stays keeps its folders; the disposal is returned.
    Disposal Stays(const char* why, Disposal disposal) const {
        Tell(ItemAction::Stayed, why);
        KeepsIn(folder, rules);
        return disposal;
    }
};

// A matching subfolder: removed whole, unless the filter keeps it or an earlier step of a
// preview counted it.
Disposal SweepSubfolder(const SweptEntry& swept) {
    SweptFolder& folder = swept.folder;
    const SweepRules& rules = swept.rules;
    const FindEntry& entry = swept.entry;
    if (rules.filter && HoldsKept(folder, *rules.filter))
        if (const char* why = KeptItself(*rules.filter, Identified(folder), *folder.folder, entry))
            return swept.Stays(why, Disposal::Stayed);
    if (rules.counted) {
        // Counted by an earlier step: see RemoveTree.
        const std::string path = folder.path + entry.name + "\\";
        if (const CountedFolders::Count* count = rules.counted->Find(path)) {
            if (count->removed) return Disposal::Gone;
            if (count->keeps) {
                swept.Stays(reason::kHoldsWhatStays, Disposal::Stayed);
                Undeletable(entry, reason::kHoldsWhatStays);
            }
            swept.Tell(ItemAction::Removed, "");
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

// Why the filter keeps a file before it is opened: it is what the user keeps, or its listing
// calls it young (one it calls old, or of no time, is judged again on the handle it would go
// through). nullptr when it is to be opened.
const char* KeptBeforeOpening(const SweptEntry& swept, const platform::AgeCheck& age) {
    const RunFilter& filter = *swept.rules.filter;
    if (HoldsKeptFile(swept.folder, filter))
        if (const char* why =
                KeptItself(filter, Identified(swept.folder), *swept.folder.folder, swept.entry))
            return why;
    const char* young = age.test ? age.test->Keeps(swept.entry.writeTime) : nullptr;
    return young && filter.IsItsReason(young) ? young : nullptr;
}

// A file that stays (read-only, in use): registered for deletion at restart where the rules
// and the folders' owners allow it and the restart reaches its drive. A file whose age was
// not read on its own handle is not left to the restart, which would delete it whatever its
// age: it might be one the user keeps.
Disposal LeaveOrRegister(const SweptEntry& swept, const char* why, const platform::AgeCheck& age) {
    KeepsIn(swept.folder, swept.rules);
    if (MayRegister(swept.folder, swept.rules.atRestart) && !age.test) {
        if (!BootReaches(swept.folder)) {
            why = reason::kBootCannotReach;
        } else if (swept.rules.changes->DeleteAtRestart(*swept.folder.folder, swept.entry)) {
            swept.Tell(ItemAction::Registered, why);
            return Disposal::Registered;
        }
    }
    swept.Tell(ItemAction::Stayed, why);
    return Disposal::Stayed;
}

// A matching file: deleted unless a rule or the filter keeps it.
Disposal SweepFile(const SweptEntry& swept) {
    SweptFolder& folder = swept.folder;
    const SweepRules& rules = swept.rules;
    const FindEntry& entry = swept.entry;
    // Ordinary files only: hidden and system files are not touched.
    if (entry.attributes & (platform::kAttrHidden | platform::kAttrSystem))
        return swept.Stays(
            entry.attributes & platform::kAttrHidden ? reason::kHidden : reason::kSystem,
            Disposal::Left);
    if (folder.depth == 0 && !rules.keptFile.empty() && MatchesPattern(entry.name, rules.keptFile))
        return swept.Stays(reason::kKept, Disposal::Left);
    // Gone with its cache entry, in a preview's count.
    if (rules.counted && rules.counted->AnyFiles() &&
        rules.counted->HasFile(folder.path + entry.name))
        return Disposal::Gone;
    platform::AgeCheck age{rules.filter ? rules.filter->Age() : nullptr};
    if (rules.filter)
        if (const char* why = KeptBeforeOpening(swept, age))
            return swept.Stays(why, Disposal::Stayed);
    if (entry.attributes & platform::kAttrReadOnly)
        return LeaveOrRegister(swept, reason::kReadOnly, age);
    switch (rules.changes->DeleteListedFile(*folder.folder, entry, &age)) {
        case Deletion::Deleted:
            swept.Tell(ItemAction::Deleted, "");
            return Disposal::Deleted;
        case Deletion::NotThere:
            return Disposal::Gone;
        case Deletion::Kept:
            return swept.Stays(age.kept, Disposal::Stayed);
        // Neither deleted nor registered: the system keeps no list for such a thing, and a
        // name that leads elsewhere would aim the restart's deletion there.
        case Deletion::NotAFile:
            return swept.Stays(reason::kNotAFile, Disposal::Stayed);
        case Deletion::Elsewhere:
            return swept.Stays(reason::kElsewhere, Disposal::Stayed);
        case Deletion::Refused:
            break;
    }
    return LeaveOrRegister(swept, reason::kInUse, age);
}

}  // namespace

Disposal SweepEntry(SweptFolder& folder, const FindEntry& entry, const SweepRules& rules) {
    const bool isFolder = (entry.attributes & platform::kAttrDirectory) != 0;
    if ((rules.filesOnly && isFolder) || !MatchesPattern(entry.name, rules.pattern)) {
        KeepsIn(folder, rules);
        return Disposal::Left;
    }
    const SweptEntry swept{folder, entry, rules, isFolder};
    if (IsLeftAlone(entry)) return swept.Stays(LeftAloneReason(entry), Disposal::Left);
    return isFolder ? SweepSubfolder(swept) : SweepFile(swept);
}

void DeleteFilesNamed(platform::FileSystem& files, Changes& changes, const std::string& pattern,
                      CleaningSink& sink, const RunFilter* filter, CountedFolders* counted) {
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
        // Named already, with all it holds, by a step before this one.
        if (counted && counted->Find(TidyPath(folderPath) + "\\")) return;
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

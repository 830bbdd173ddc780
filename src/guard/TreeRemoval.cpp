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

namespace {

// One removal of a tree, depth first: a stack of opened folders, the top of the tree at its
// bottom, the folder being listed on top.
class Removal {
  public:
    Removal(const SweepRules& rules, const std::string& parentPath)
        : changes_(*rules.changes),
          sink_(*rules.sink),
          filter_(rules.filter),
          counted_(rules.counted),
          parentPath_(parentPath) {
        moves_.refused = !changes_.MovesFolders();
    }

    // Removes the tree of the listed entry of parent; false when the filter kept something
    // in it, which keeps it. Throws where the removal stops.
    bool Run(OpenedFolder& parent, const FindEntry& entry) {
        OpenTop(parent, entry);
        try {
            while (!stack_.empty()) {
                FindEntry item;
                if (!stack_.back().listing->Next(item)) {
                    if (!CloseLevel()) return false;
                } else {
                    TakeEntry(item);
                }
            }
        } catch (...) {
            PutBack();
            throw;
        }
        return true;
    }

  private:
    // The entry that stops the removal stays, and says why.
    [[noreturn]] void StopAt(const FindEntry& item, const char* why) {
        Tell(stack_.size(), item, ItemAction::Stayed, why);
        Undeletable(item, why);
    }

    void Tell(size_t levels, const FindEntry& entry, ItemAction action, const char* why = "") {
        olvex::Tell(sink_, parentPath_, stack_, levels, entry, action, why);
    }

    // A level below the one on top of the stack (or below the parent), its path known where a
    // preview's count needs it.
    Level LevelFor(const FindEntry& item) const {
        Level level;
        level.name = item.name;
        if (counted_)
            level.path = (stack_.empty() ? parentPath_ : stack_.back().path) + item.name + "\\";
        return level;
    }

    void OpenTop(OpenedFolder& parent, const FindEntry& entry) {
        if (IsLeftAlone(entry)) StopAt(entry, LeftAloneReason(entry));
        Level top = LevelFor(entry);
        platform::Opening opening = parent.OpenListedFolder(entry);
        if (!opening) StopAt(entry, UnopenedReason(opening));
        top.folder = std::move(opening.folder);
        AskWhatItHolds(filter_, *top.folder, top.holdsKept, top.holdsKeptFile, top.identity);
        top.listing = top.folder->Entries();
        if (counted_) counted_->Add(top.path);
        stack_.push_back(std::move(top));
    }

    // The folder on top is listed to its end: it is removed, or it stays with what the filter
    // kept in it, and so do its folders up to the top. False once the top stays.
    bool CloseLevel() {
        Level& level = stack_.back();
        level.listing.reset();
        const FindEntry self{level.name, platform::kAttrDirectory, 0, 0};
        const size_t above = stack_.size() - 1;
        if (level.keeps) {
            if (counted_) counted_->Keeps(level.path);
            stack_.pop_back();
            if (stack_.empty()) return false;
            stack_.back().keeps = true;
            return true;
        }
        if (!changes_.RemoveEmpty(*level.folder)) {
            Tell(above, self, ItemAction::Stayed, reason::kNotRemovable);
            Undeletable(self, reason::kNotRemovable);
        }
        Tell(above, self, ItemAction::Removed);
        if (counted_) counted_->Removed(level.path);
        stack_.pop_back();
        return true;
    }

    void TakeEntry(const FindEntry& item) {
        Level& level = stack_.back();
        // A folder moved up may show up in the top's listing, which is still being read.
        if (stack_.size() == 1 && WasMovedUp(moves_, item.name)) return;
        if (IsLeftAlone(item)) StopAt(item, LeftAloneReason(item));
        const bool isFolder = (item.attributes & platform::kAttrDirectory) != 0;
        if (isFolder ? level.holdsKept : level.holdsKeptFile) {
            if (const char* why = KeptItself(*filter_, level.identity, *level.folder, item)) {
                Tell(stack_.size(), item, ItemAction::Stayed, why);
                level.keeps = true;
                return;
            }
        }
        if (isFolder) {
            EnterFolder(item);
        } else {
            TakeFile(level, item);
        }
    }

    void TakeFile(Level& level, const FindEntry& item) {
        if (counted_ && counted_->AnyFiles() && counted_->HasFile(level.path + item.name))
            return;  // gone with its cache entry
        const FileOfTree fate = DeleteFileOfTree(changes_, *level.folder, item, filter_);
        if (fate.stopsAt) StopAt(item, fate.stopsAt);
        if (fate.kept) {
            // Too young, or of no telling age: it stays, and so do its folders.
            Tell(stack_.size(), item, ItemAction::Stayed, fate.kept);
            level.keeps = true;
        } else if (fate.deleted) {
            Tell(stack_.size(), item, ItemAction::Deleted);
        }
    }

    // Counted by an earlier step of a preview: gone by now if it was removed, empty if all in
    // it went; what stays in it stops this removal as it will stop the clean's. True when the
    // count answered for it.
    bool CountedBefore(const FindEntry& item, const std::string& path) {
        const CountedFolders::Count* count = counted_->Find(path);
        if (!count) return false;
        if (count->removed) return true;
        if (count->keeps) StopAt(item, reason::kHoldsWhatStays);
        Tell(stack_.size(), item, ItemAction::Removed);
        counted_->Removed(path);
        return true;
    }

    // Opens a subfolder and puts it on the stack to be listed; a deep one is moved up first.
    void EnterFolder(const FindEntry& item) {
        Level& level = stack_.back();
        Level below = LevelFor(item);
        if (counted_) {
            if (CountedBefore(item, below.path)) return;
            counted_->Add(below.path);
        }
        below.depth = level.depth + 1;
        below.bytes = level.bytes + item.name.size() + 1;
        const bool deep = below.depth >= kMoveUpDepth || below.bytes >= kMoveUpBytes;
        platform::Opening opening = level.folder->OpenListedFolder(
            item, deep && !moves_.refused ? platform::Hold::Moving : platform::Hold::Listing);
        if (!opening) StopAt(item, UnopenedReason(opening));
        below.folder = std::move(opening.folder);
        AskWhatItHolds(filter_, *below.folder, below.holdsKept, below.holdsKeptFile,
                       below.identity);
        if (deep) MoveUp(changes_, *stack_.front().folder, below, *level.folder, item.name, moves_);
        // On the stack before it is listed, so that a failing listing moves it back too.
        stack_.push_back(std::move(below));
        stack_.back().listing = stack_.back().folder->Entries();
    }

    // Whatever was moved up goes back where it was, the deepest first, each folder closed
    // before the one holding it moves (a folder with open entries may not).
    void PutBack() {
        for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
            if (counted_) counted_->Keeps(it->path);
            it->listing.reset();
            if (it->home) changes_.MoveInto(*it->folder, *it->home, it->homeName);
            it->folder.reset();
        }
    }

    Changes& changes_;
    CleaningSink& sink_;
    const RunFilter* filter_;
    CountedFolders* counted_;
    const std::string& parentPath_;
    std::vector<Level> stack_;
    MovesUp moves_;
};

}  // namespace

bool RemoveTree(const SweepRules& rules, OpenedFolder& parent, const FindEntry& entry,
                const std::string& parentPath) {
    return Removal(rules, parentPath).Run(parent, entry);
}

}  // namespace olvex

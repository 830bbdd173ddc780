#pragma once
// Folders held open for deleting inside them: their entries, reached relative to the folder,
// and what is asked of each before it goes.
#include <memory>
#include <optional>
#include <string>

#include "platform/Errors.h"
#include "platform/FileEntries.h"
#include "platform/OpenFiles.h"

namespace platform {

class SystemChanges;

// What a folder is opened for.
enum class Hold { Listing, Moving };

// Why a folder was not opened.
enum class OpenRefusal {
    None,
    NotThere,  // nothing of that name, or not a folder
    Link,      // a link or junction, or a name that leads somewhere else
    Changed,   // not the folder listed: swapped, moved or replaced since
    Failed,    // the system refused the open: code says why
};

class OpenedFolder;

// A folder asked to be opened: the folder, or why not.
struct Opening {
    Opening(std::unique_ptr<OpenedFolder> opened) : folder(std::move(opened)) {}
    Opening(OpenRefusal why, SystemCode systemCode = {}) : refusal(why), code(systemCode) {}
    std::unique_ptr<OpenedFolder> folder;
    OpenRefusal refusal = OpenRefusal::None;
    SystemCode code;  // the system's own, when refusal is Failed
    explicit operator bool() const { return folder != nullptr; }
};

// What became of a folder asked to move.
enum class Move {
    Moved,
    NameTaken,  // the new name is in use: another one may do
    Refused,    // the system refuses it (a folder on the way held by someone, no right)
};

// What the name of a file that replaces another ends with while it is written.
constexpr const char* kReplacementTail = ".olvex-new";

// Who owns a folder, as far as the file system keeps owners.
enum class FolderOwner {
    Trusted,  // the user running the program, the administrators or the system
    Other,    // anybody else: another user may change what lies in it
    Unknown,  // the file system keeps no owners, or the system does not report them
};

// A folder held open for deleting inside it. It was opened without following a link, and
// every entry is reached relative to it by its listed name, taken literally: nothing is
// glued to a path and parsed again where the system allows that. Each entry is checked,
// on what it will be deleted through, to be the plain file or folder the listing showed
// at that place; a link or a swapped entry is never deleted, removed or entered.
class OpenedFolder {
  public:
    virtual ~OpenedFolder() = default;
    // The entries from the first, "." and ".." left out, in the system's order, read from
    // the system a batch at a time as they are asked for, so that a folder of any size costs
    // the same memory. One listing of a folder at a time: a new one starts over. Entries
    // deleted meanwhile may or may not still come. Throws RuntimeError (here or from Next)
    // when the folder cannot be read.
    virtual std::unique_ptr<Finder> Entries() = 0;
    // What DeleteListedFile would answer now: the same open for deletion and the same checks,
    // then the file is closed as it was. Nothing is changed. Where the system has no open for
    // deletion, an open that nobody else may share tells whether the file is in use.
    virtual Deletion ProbeDeletion(const FindEntry& entry, AgeCheck* age = nullptr) = 0;
    // The entry of this name as this folder lists it (its long name, where name is a short
    // 8.3 one), looked up by the system's own matching; nothing when there is none.
    virtual std::optional<FindEntry> Lookup(const std::string& name) = 0;
    // What this folder is, read on its handle.
    virtual FileIdentity Identity() = 0;
    // What the listed entry (a file or a folder) is, read on a handle opened for its
    // attributes only and checked to be where it was listed; unknown (Known() false) when it
    // cannot be opened so.
    virtual FileIdentity IdentityOf(const FindEntry& entry) = 0;
    // Whether the listed name reaches the plain file listed, checked on a handle opened
    // for its attributes only (so a file in use can be looked at). Nothing is changed.
    virtual bool IsListedFile(const FindEntry& entry) = 0;
    // Who owns this folder, as the system reports it on the folder's handle.
    virtual FolderOwner Owner() = 0;
    // The listed subfolder, opened and checked; no folder, and why, when it is missing or not
    // the plain folder listed. Held for listing, it is held without the right to delete or
    // move it: real NT refuses to move a folder into one that anybody holds with that right.
    // Held for moving, it can be moved (MoveInto), and nothing may be moved into it.
    virtual Opening OpenListedFolder(const FindEntry& entry, Hold hold = Hold::Listing) = 0;
    // The program's own file name in this folder (a log, a page), opened to read and to write
    // at its end with nobody else allowed to write meanwhile: created when missing, without
    // following a link of that name, and otherwise checked on its handle to be the plain file
    // of that name here. Writing the program's own output is not a change a preview holds back.
    virtual WriteOpening OpenOwnFile(const std::string& name) = 0;

  private:
    // What changes the system, reached through SystemChanges alone.
    friend class SystemChanges;
    // Deletes the listed file once it is checked to be the plain file listed, and, given an
    // age check, once its age read on that handle lets it go. The file system's own refusals
    // (a file in use, or read-only where it refuses those) answer Refused; the deletion
    // layer's rules are not applied here.
    virtual Deletion DeleteListedFile(const FindEntry& entry, AgeCheck* age = nullptr) = 0;
    // Asks the system to delete the listed file at the next restart, by the path that was
    // checked to reach the plain file listed; false when refused, or when the system keeps
    // no such list. A path the list holds already counts as registered and is not added again.
    virtual bool DeleteAtRestart(const FindEntry& entry) = 0;
    // Replaces the listed file, once checked to be the plain file listed, by a file holding
    // content: that is written whole to a new file beside it (its name and kReplacementTail),
    // handed to the disk, and only then given the listed file's name, so the name holds the
    // old file or the new one, each whole. Deleted answers a replacement; nothing changes on
    // any other answer. A new file's name already in use refuses it.
    virtual Deletion ReplaceListedFile(const FindEntry& entry, const std::string& content) = 0;
    // Removes this folder, which must be empty by now; false when it cannot go. The right to
    // delete it is taken for this call only.
    virtual bool RemoveEmpty() = 0;
    // Moves this folder, held for moving, into parent under name. The folder stays open and
    // usable.
    virtual Move MoveInto(OpenedFolder& parent, const std::string& name) = 0;
};

}  // namespace platform

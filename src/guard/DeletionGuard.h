#pragma once
// The one place the program deletes through. Every start folder is checked from the root
// of its drive or share down, every entry is reached through its opened folder by the
// listed name, and a name the system's path parsing would turn into another name, a link
// or junction, or an entry that is not what its listing showed is never deleted, removed,
// entered or registered for deletion at restart. Whatever the guard deletes it deletes
// through the run's platform::Changes: a preview's only checks.
#include <memory>
#include <string>
#include <vector>

#include "guard/CleaningSink.h"
#include "guard/CountedFolders.h"
#include "guard/PathRules.h"
#include "guard/RunFilter.h"
#include "platform/Platform.h"

namespace olvex {

// The start folder of a deletion, or what kept it from opening.
struct StartFolder {
    std::unique_ptr<platform::OpenedFolder> folder;
    StepProblem problem;  // when there is no folder: not there, refused or failed, and where
};

// The start folder of a deletion, opened once every folder on its path, itself included,
// is checked to be a plain folder and not a link or junction. No folder when the path is
// not sweepable, a folder on it is missing or is a link, or the opened folder is not
// where its path says; the problem names the folder on the path where it stopped.
// With folders, the identity of every folder on the way, root first, the start folder last.
StartFolder OpenStartFolder(platform::FileSystem& files, const std::string& path,
                            std::vector<platform::FileIdentity>* folders = nullptr);

// Whether the file at path may be handed to another component that deletes by path (the
// Internet library deletes the local file of a cache entry): it lies inside folder, every
// folder on its path is a plain folder, and the name reaches the plain file its folder lists,
// or nothing is there from some point of the path on (then there is nothing to delete).
// Whatever the other component does later with the path is beyond this check; it only tells
// that, now, the path leads nowhere else.
bool MayHandOnForDeletion(platform::FileSystem& files, const std::string& path,
                          const std::string& folder);

// Whether a cache entry whose local file is localFile ("" for none) may be deleted: the
// Internet library deletes that file with it, by its path, wherever it lies, and any program
// of the user can make an entry name any file. So only an entry that names no file, or a
// plain file inside one of the cache's own folders (MayHandOnForDeletion), may go. An
// unknown folder ("") holds nothing.
bool MayDeleteCacheEntry(platform::FileSystem& files, const std::string& localFile,
                         const std::vector<std::string>& cacheFolders);

// Why the filter keeps the file at path, listed as listed, that another component deletes by
// its path (the Internet library, a cache entry's file): by what the path resolves to, and by
// the age its listing tells, there being no handle it goes through. One that cannot be
// resolved stays. nullptr when nothing keeps it.
const char* FilterKeepsHandedOn(platform::FileSystem& files, const RunFilter& filter,
                                const std::string& path, const platform::FindEntry& listed);

// An entry that stays whatever it is: a link or junction, or a name that is not literal.
bool IsLeftAlone(const platform::FindEntry& entry);

// Where a file a sweep cannot delete (read-only, in use) may be registered for deletion at
// the next restart. The system carries the list out with its own rights, by path, before
// anyone logs on: whoever may turn a folder on that path into a link before then chooses
// what it deletes. So a file is registered only where nobody but the user running the
// program, the administrators and the system can change the folders on its path.
enum class AtRestart {
    Never,     // the 98 family keeps no such list; another user's folders
    TopLevel,  // a machine folder any user may add subfolders to: only the files directly in it
    AnyDepth,  // the user's own folders
};

// Whether the system's restart can carry out a deletion registered on a path below root
// ("C:", "\\\\server\\share"): only on a fixed disk of this machine under its own letter.
// Deletions registered at restart run at boot, before the network and before SUBST or mapped
// letters exist, and a letter that names another volume at boot would aim them elsewhere.
bool RestartReaches(platform::FileSystem& files, const std::string& root);

// What a sweep deletes of the entries it lists, and through what.
struct SweepRules {
    platform::Changes* changes;
    std::string pattern;   // the names that go, e.g. "*.*"
    std::string keptFile;  // a pattern of files that stay in the start folder; "" for none
    AtRestart atRestart = AtRestart::Never;
    CleaningSink* sink = &SilentSink();  // told of every entry the pattern matches
    bool filesOnly = false;              // folders the pattern names are left, unmentioned
    const RunFilter* filter = nullptr;   // what the user keeps besides; nullptr: nothing
    CountedFolders* counted = nullptr;   // a preview's: folders counted by earlier steps
};

// One folder of a sweep: the folder, its path (ending with a separator), the one it was
// entered from and how far below the start folder it lies.
struct SweptFolder {
    std::shared_ptr<platform::OpenedFolder> folder;
    std::string path;
    std::shared_ptr<SweptFolder> parent;  // nullptr for the start folder
    size_t depth = 0;
    int trusted = -1;  // whether only trusted owners hold the folders up to here; -1 unknown
    // The start folder's: the files and root it was opened from, and whether the system's
    // restart reaches that root (-1 not asked yet).
    platform::FileSystem* files = nullptr;
    std::string root;
    int bootReaches = -1;
    // What it is, asked once, and only where the filter keeps paths.
    platform::FileIdentity identity;
    bool identified = false;
};

// The start folder of a sweep (see OpenStartFolder); nullptr, after telling rules.sink why,
// when it may not be swept: also when the filter excludes it (told as staying), and in a
// preview when an earlier step counted it (told as not there if it was counted as removed).
std::shared_ptr<SweptFolder> OpenSweep(platform::FileSystem& files, const std::string& path,
                                       const SweepRules& rules);

// A listed subfolder entered for sweeping, or nullptr when it stays unentered: not a folder,
// left alone, gone, not the plain folder listed, or counted by an earlier step of a preview.
std::shared_ptr<SweptFolder> EnterListed(const std::shared_ptr<SweptFolder>& folder,
                                         const platform::FindEntry& entry, const SweepRules& rules);

// What became of a listed entry in a sweep.
enum class Disposal {
    Left,        // not for this sweep, or never touched: a link, a name that is not literal,
                 // a hidden or system file, the kept file
    Deleted,     // a file deleted
    Removed,     // a folder removed with everything in it
    Registered,  // a file that stayed, registered for deletion at the next restart
    Stayed,      // a file that could not go (read-only, in use, kept by the filter) and may
                 // not be registered, or a folder the filter keeps or keeps something in
    Gone,        // no longer there, or no longer what the listing showed
};

// Decides and does what happens to one listed entry of a swept folder: a matching folder is
// removed whole with everything in it, hidden and system files included, a matching ordinary
// file is deleted, and one that stays is registered for deletion at restart where
// rules.atRestart allows and the restart reaches its drive. Hidden and system files,
// read-only files, devices and pipes, links and names that are not literal are never
// deleted; links, devices and such names are never registered either. A removal stops at
// the first entry it cannot remove (a read-only or locked file, a link or junction, a name
// that is left alone, a swapped entry) with a platform::Refusal that ends the whole sweep;
// what it removed before stays removed. What rules.filter keeps stays without stopping
// anything, and so do the folders it lies in. What happens to an entry the pattern matches
// goes to rules.sink.
Disposal SweepEntry(SweptFolder& folder, const platform::FindEntry& entry, const SweepRules& rules);

// The ordinary files a pattern names in its folder (a browser's files, Firefox's cache), as
// the system's lookup finds them: each goes to the guard as SweepEntry's files do, and is
// deleted through changes unless a rule keeps it; folders the pattern names are left, and
// nothing is registered for restart. The sink hears of each file, and of the folder when it
// is not there or may not be opened. In a preview (counted), a folder an earlier step counted
// whole is not counted again.
void DeleteFilesNamed(platform::FileSystem& files, platform::Changes& changes,
                      const std::string& pattern, CleaningSink& sink,
                      const RunFilter* filter = nullptr, CountedFolders* counted = nullptr);

}  // namespace olvex

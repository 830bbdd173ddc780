#pragma once
// Looking at files by path: listings, attributes, drive roots and what they lead to, full
// paths, and files opened for reading.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileEntries.h"
#include "platform/OpenFiles.h"
#include "platform/OpenedFolder.h"

namespace platform {

// What a drive letter or share leads to, as far as deleting at the next restart goes: the
// system carries that list out at boot, before the network and before SUBST or mapped
// letters exist.
enum class DriveKind {
    LocalFixed,   // a fixed disk of this machine, under its own letter
    Substituted,  // a letter for a folder of another drive (SUBST)
    Remote,       // a share, or a letter mapped onto one
    Other,        // removable, optical, RAM disk, or what the system does not tell
};

// Whether a program holds a file open and shares it with nobody, as a running browser holds
// its profile's lock file.
enum class FileHold {
    Absent,   // no such file
    Free,     // the file is there and could be opened to read
    Held,     // another program holds it open and shares it with nobody
    Unknown,  // the system refused the open for another reason
};

// How a holder is found out. One that shares nothing refuses any open; one that lets others
// read (a running Chrome's lockfile, held for writing) refuses only an open to write.
enum class HoldProbe {
    Read,   // opened to read
    Write,  // opened to write; nothing is written, and the file is not made or cut
};

// Looking at files; what changes them goes through an OpenedFolder, by way of Changes.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Lists the entries a pattern (wildcards in its last component) names, "." and ".."
    // included as the system gives them. Returns nullptr when nothing matches or the
    // folder is missing; throws RuntimeError when the lookup itself fails (drive not
    // ready, malformed name).
    virtual std::unique_ptr<Finder> Find(const std::string& pattern) = 0;
    // The attributes of a path, or kInvalidAttributes.
    virtual uint32_t GetAttributes(const std::string& path) = 0;
    // The root folder of a drive ("C:") or of a share ("\\server\share"), opened to reach
    // the folders below it one by one; no folder, and why, when it cannot be opened. Nothing
    // in a root is ever deleted.
    virtual Opening OpenRoot(const std::string& root) = 0;
    // What the root of a path ("C:", "\\server\share") leads to.
    virtual DriveKind KindOfDrive(const std::string& root) = 0;
    // The roots of this machine's fixed drives ("C:\\", "D:\\"), in letter order.
    virtual std::vector<std::string> FixedDriveRoots() = 0;
    // The full path of a path relative to the current folder and drive, as the system
    // completes it; "" when it cannot.
    virtual std::string FullPath(const std::string& path) = 0;
    // A file opened for reading, shared with writers; nullptr when it cannot be opened.
    virtual std::unique_ptr<ReadFile> OpenForReading(const std::string& path) = 0;
    // Whether the file at path is held; it is opened a moment, as probe says, sharing
    // everything, and closed.
    virtual FileHold HoldOf(const std::string& path, HoldProbe probe) = 0;
};

}  // namespace platform

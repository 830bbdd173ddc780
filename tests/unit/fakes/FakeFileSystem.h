#pragma once
// An in-memory file system with the listing and deletion rules of the platform: names match
// without regard to case, both separators work, listings come sorted by name with "." and
// "..". Deleting goes through opened folders, which check on the "handle" that an entry is
// where it was listed, as the real ones do, and then delete what they are asked to: only a
// locked file refuses. Which entries may go is the deletion layer's to decide.
#include <climits>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace fakes {

class FakeFileSystem : public platform::FileSystem {
  public:
    FakeFileSystem();

    void AddFolder(const std::string& path, uint32_t attributes = 0);
    void AddFile(const std::string& path, uint32_t attributes = platform::kAttrArchive,
                 const std::string& content = "");
    // A symbolic link or junction to a folder: listed as a folder with the reparse flag.
    void AddFolderLink(const std::string& path);
    // An entry listed as a plain file or folder that, once opened, is not what was listed:
    // a file link where the system does not flag links, or a folder swapped for a link
    // after the listing.
    void AddFileLink(const std::string& path);
    void AddSwappedFolder(const std::string& path);
    // A pipe or device node of Wine's host, listed as an empty file: not deleted, not
    // registered, and told apart only once opened.
    void AddDevice(const std::string& path);
    // When the entry was last written (100 ns steps since 1601); 0 unless set. A listing may
    // tell another time than the file itself (a FAT entry's, a file being written): with
    // listed, the listing tells that one.
    void SetWriteTime(const std::string& path, uint64_t time) {
        nodes_.at(Key(path)).writeTime = time;
        nodes_.at(Key(path)).listedTime = time;
    }
    void SetListedTime(const std::string& path, uint64_t listed) {
        nodes_.at(Key(path)).listedTime = listed;
    }
    // The short (8.3) name the file system keeps beside the entry's long one: lookups by name
    // find the entry by either, as the system's matching does.
    void SetShortName(const std::string& path, const std::string& shortName) {
        nodes_.at(Key(path)).shortName = shortName;
    }
    // A drive letter ("S:") for a folder of another drive, as SUBST or a mapped letter makes
    // one: the same files by another name, and the same identities.
    void SetDriveFor(const std::string& drive, const std::string& folder);
    // Another program holds the file open for writing for opens of the program's opens, once
    // after of them went through; the file's disk is full once it holds size bytes; its
    // flushes fail once after of them succeeded.
    void HoldForWriting(const std::string& path, int opens, int after = 0) {
        ownFileTroubles_[Key(path)].freeOpens = after;
        ownFileTroubles_[Key(path)].heldOpens = opens;
    }
    void FillDiskAt(const std::string& path, size_t size) {
        ownFileTroubles_[Key(path)].fullAt = size;
    }
    void FailFlushes(const std::string& path, int after) {
        ownFileTroubles_[Key(path)].goodFlushes = after;
    }
    // Listing this folder fails, wherever it is moved.
    void MakeUnreadable(const std::string& path) { nodes_.at(Key(path)).unreadable = true; }
    // Moving folders fails from now on.
    void RefuseMoves() { refuseMoves_ = true; }
    // Another program holds the folder with the right to delete it: nothing can be moved into
    // it (as on real NT; Wine does not enforce this).
    void HoldForDeletion(const std::string& path) { heldForDeletion_.insert(Key(path)); }
    std::string Content(const std::string& path) const;
    // New bytes, and so a new size, for a file that is there (as a database library writes).
    void SetContent(const std::string& path, std::string content) {
        nodes_.at(Key(path)).content = std::move(content);
    }
    bool Exists(const std::string& path) const;
    // What another component that deletes by path does (the Internet library with the local
    // file of a cache entry): the file the path names goes, links on the way followed. The
    // fake keeps no link targets, so a link stands for what it leads to. Recorded in deleted.
    bool DeleteByPath(const std::string& path);
    void Lock(const std::string& path) { locked_.insert(Key(path)); }
    // Another program holds the file open and shares it with nobody (a running browser's
    // lock file): HoldOf says Held.
    void HoldShut(const std::string& path) { heldShut_.insert(Key(path)); }
    // Another program holds the file open to write and lets others only read it (a running
    // Chrome's lockfile): HoldOf says Held to a probe that writes, Free to one that reads.
    void HoldForWriting(const std::string& path) { heldForWriting_.insert(Key(path)); }
    // Who owns a folder, as the system would report it on its handle (Unknown by default,
    // as on a volume that keeps no owners).
    void SetOwner(const std::string& path, platform::FolderOwner owner) {
        owners_[Key(path)] = owner;
    }
    // Lookups on this drive (e.g. "A:") fail as on a drive without a disk.
    void SetNotReady(const std::string& drive) { notReady_.insert(Key(drive)); }
    // What a drive letter ("D:") leads to; a fixed disk of its own unless set.
    void SetDriveKind(const std::string& drive, platform::DriveKind kind) {
        driveKinds_[Key(drive)] = kind;
    }

    std::unique_ptr<platform::Finder> Find(const std::string& pattern) override;
    uint32_t GetAttributes(const std::string& path) override;
    platform::Opening OpenRoot(const std::string& root) override;
    platform::DriveKind KindOfDrive(const std::string& root) override;
    std::vector<std::string> FixedDriveRoots() override;
    std::string FullPath(const std::string& path) override;
    std::unique_ptr<platform::ReadFile> OpenForReading(const std::string& path) override;
    platform::FileHold HoldOf(const std::string& path, platform::HoldProbe probe) override;

    std::string currentFolder = "C:\\olvex";  // what relative paths start from

    std::vector<std::string> deleted;   // paths as passed
    std::vector<std::string> replaced;  // files replaced whole by new content
    std::vector<std::string> patterns;  // every Find pattern, in order
    std::vector<std::string> removedFolders;
    std::vector<std::string> atRestart;
    // Registrations asked for on a drive the restart never reaches: a share, a mapped or a
    // SUBST letter. Windows takes them and does nothing at boot, which runs before the network
    // and before such letters exist (the session manager carries the list out early in boot);
    // here they are refused, and kept to be counted.
    std::vector<std::string> unreachableAtRestart;
    std::vector<std::string> moves;  // "from -> to"
    int refusedMoves = 0;

    // Paths compare as the system folds their case: by its upper-case table, not ASCII alone
    // (é and É, ж and Ж are one).
    static std::string Key(const std::string& path);
    // The key a path of a drive letter set with SetDriveFor stands for.
    std::string Resolved(const std::string& path) const;
    static bool Matches(const std::string& name, const std::string& wildcard);

  private:
    friend class FakeFolder;
    friend class WrittenOwnFile;
    struct Node {
        std::string name;
        uint32_t attributes = 0;
        std::string content;
        bool unreadable = false;
        uint64_t writeTime = 0;
        uint64_t listedTime = 0;
        bool device = false;
        std::string shortName;
        uint64_t id = 0;  // the file system's id of it, which a move keeps
    };
    const Node* Lookup(const std::string& key) const;
    void AddEntry(const std::string& path, uint32_t attributes, const std::string& content = "");
    bool refuseMoves_ = false;
    std::set<std::string> elsewhere_;

    std::map<std::string, Node> nodes_;
    std::set<std::string> locked_;
    std::set<std::string> heldShut_;
    std::set<std::string> heldForWriting_;
    std::set<std::string> notReady_;
    std::multiset<std::string> heldForDeletion_;
    std::map<std::string, platform::FolderOwner> owners_;
    std::map<std::string, platform::DriveKind> driveKinds_;
    // What the program's own files meet: see HoldForWriting, FillDiskAt, FailFlushes.
    struct OwnFileTrouble {
        int freeOpens = 0, heldOpens = 0;
        size_t fullAt = SIZE_MAX;
        int goodFlushes = INT_MAX;
    };
    std::map<std::string, OwnFileTrouble> ownFileTroubles_;
    std::map<std::string, std::string> aliases_;  // drive letter -> the folder it stands for
    uint64_t nextId_ = 0;
};

}  // namespace fakes

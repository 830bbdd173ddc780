#pragma once
// The operating system as the program's logic sees it. The real implementation lives in
// win32/; unit tests use in-memory fakes. Strings are UTF-8.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Errors.h"

namespace platform {

class SystemChanges;

// File attribute bits.
enum Attribute : uint32_t {
    kAttrReadOnly = 0x1,
    kAttrHidden = 0x2,
    kAttrSystem = 0x4,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrReparsePoint = 0x400,
};
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFFu;

// The version record, basic (size 148) or extended (size 156).
struct VersionRecord {
    uint32_t size = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
    int32_t build = 0;
    uint32_t platformId = 0;
    char csdVersion[128] = {};
    int16_t servicePackMajor = 0;
    int16_t servicePackMinor = 0;
    uint16_t suiteMask = 0;
    uint8_t productType = 0;
    uint8_t reserved = 0;
};
constexpr uint32_t kBasicVersionRecordSize = 148;
constexpr uint32_t kExtendedVersionRecordSize = 156;

class System {
  public:
    virtual ~System() = default;
    // Fills the record whose size field is set; false when the query fails.
    virtual bool QueryVersion(VersionRecord& record) = 0;
    // Writes the Windows folder into buffer (size characters); returns the length the
    // system reports (larger than size when the buffer is too small, 0 on failure).
    virtual uint32_t WindowsDirectory(char* buffer, uint32_t size) = 0;
    // Writes the user name and its NUL into buffer; false when it does not fit.
    virtual bool UserName(char* buffer, uint32_t* size) = 0;
    // Whether the user is an administrator; throws RuntimeError when the test is not
    // available on this system.
    virtual int IsNTAdmin() = 0;
    // Free bytes available to the caller on the drive of root; false when it cannot be
    // measured.
    virtual bool DiskFreeSpace(const std::string& root, uint64_t& freeToCaller) = 0;
    // A variable of the program's environment; nullopt when it is not set.
    virtual std::optional<std::string> EnvironmentVariable(const std::string& name) = 0;
    // A text value of a key under HKEY_LOCAL_MACHINE, one that names variables of the
    // environment with them expanded; nullopt when the key or the value is missing or the
    // value is not text.
    virtual std::optional<std::string> MachineSetting(const std::string& key,
                                                      const std::string& value) = 0;
    // The folder that holds every user's profile, as the system's profile library tells it
    // (Windows 2000 and later); nullopt where the library or its answer is missing.
    virtual std::optional<std::string> ProfilesDirectory() = 0;
    // The machine's name as the network knows it; "" when the system does not tell.
    virtual std::string ComputerName() = 0;
    // Now, in 100 ns steps since 1601 (UTC), as file times are kept.
    virtual uint64_t CurrentTime() = 0;
};

// Bytes a character of the system's text (a UTF-16 unit on the NT family, a code-page byte
// on the 9x family) takes at most in UTF-8.
constexpr uint32_t kUtf8BytesPerCharacter = 3;

// Reading values of settings files in INI form.
class ProfileReader {
  public:
    virtual ~ProfileReader() = default;
    // As the private-profile lookup given a buffer of size characters: copies the value (or
    // def) into buffer in UTF-8, at most size - 1 characters as the system counts them and a
    // NUL, and returns the number of bytes copied. buffer holds size * kUtf8BytesPerCharacter
    // bytes. Section and key match without regard to case; a missing file is not an error.
    virtual uint32_t GetString(const std::string& section, const std::string& key,
                               const std::string& def, char* buffer, uint32_t size,
                               const std::string& file) = 0;
};

class Shell {
  public:
    virtual ~Shell() = default;
    // The path of a shell special folder, as the shell writes it (no trailing backslash
    // added); nullopt when the shell does not know the folder.
    virtual std::optional<std::string> SpecialFolderPath(int csidl) = 0;
    // The same folder as the folder library (shfolder.dll) writes it: later Internet Explorer
    // versions bring it to systems whose shell predates some folders. nullopt where the
    // library is missing or does not know the folder.
    virtual std::optional<std::string> LibraryFolderPath(int csidl) = 0;
    // Opens a document or address with the shell; owner is a window handle.
    virtual void Execute(uintptr_t owner, const std::string& operation, const std::string& file,
                         int showCommand) = 0;
    // The items and bytes the Recycle Bin of the drive root ("C:\\") holds, or those of every
    // drive for the root "", as the shell counts them; false when the shell cannot count
    // them so. Throws as EmptyRecycleBin does where that could not empty them, so that a
    // preview fails where the emptying would.
    virtual bool QueryRecycleBin(const std::string& root, uint64_t& items, uint64_t& bytes) = 0;

  private:
    // What changes the system, reached through SystemChanges alone.
    friend class SystemChanges;
    // Empties the Recycle Bin of every drive without asking and without progress; returns
    // the shell's result (0 on success). Throws RuntimeError when the system has no call
    // that empties it, or none that can be trusted to delete only what it holds.
    virtual long EmptyRecycleBin(uintptr_t owner) = 0;
    virtual void UpdateRecycleBinIcon() = 0;
    // Clears the browser's URL history; throws RuntimeError when the history object cannot
    // be created or the call fails.
    virtual void ClearUrlHistory() = 0;
};

// One entry of a directory listing.
struct FindEntry {
    std::string name;
    uint32_t attributes = 0;
    uint64_t size = 0;
    uint64_t id = 0;         // the system's file id where a listing gives one, else 0
    uint64_t writeTime = 0;  // last written, in 100 ns steps since 1601 (UTC); 0 if unknown
};

// An open directory listing; "no more entries" is the normal end, not an error.
class Finder {
  public:
    virtual ~Finder() = default;
    virtual bool Next(FindEntry& entry) = 0;
};

// What became of a listed file that a folder was asked to delete.
enum class Deletion {
    Deleted,
    Refused,    // it is there but cannot go (read-only, in use)
    NotThere,   // gone: the open itself said nothing of that name is there
    Elsewhere,  // the name reaches something else than the plain file listed (a link that
                // leads elsewhere, a file swapped since it was listed)
    NotAFile,   // a device, a pipe or a socket that a listing shows as a file (Wine lists
                // those of the host; the file system neither deletes nor registers them)
    Kept,       // its age, read on the handle it was opened through, keeps it (AgeCheck)
};

// What a file or folder is, whatever name reached it: Windows gives one file many names
// (short 8.3 names, SUBST and mapped letters, trailing dots it strips, case), and only this
// tells two of them apart.
struct FileIdentity {
    uint32_t volume = 0;  // the NT family: the volume's serial number
    uint64_t file = 0;    // the NT family: the file system's id of the file on that volume
    std::string path;     // the 98 family: the long full path, in the system's upper case
    bool Known() const { return file != 0 || !path.empty(); }
    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && file == other.file && path == other.path;
    }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
    bool operator<(const FileIdentity& other) const {
        if (volume != other.volume) return volume < other.volume;
        if (file != other.file) return file < other.file;
        return path < other.path;
    }
};

// Whether a file may go by when it was last written, asked on the handle the file is opened
// through for deleting: a listing's time may be stale, or made up by the file system.
class AgeTest {
  public:
    virtual ~AgeTest() = default;
    // Why a file last written at writeTime (100 ns steps since 1601, UTC) stays; nullptr
    // when its age lets it go.
    virtual const char* Keeps(uint64_t writeTime) const = 0;
};

// An age test for one deletion, and what it said: kept is why the file stayed, when the
// deletion answered Deletion::Kept.
struct AgeCheck {
    const AgeTest* test = nullptr;
    const char* kept = nullptr;
};

// A file held open for writing at its end; closed when destroyed.
class AppendFile {
  public:
    virtual ~AppendFile() = default;
    // Whether the file holds nothing yet.
    virtual bool IsEmpty() = 0;
    // Its first size bytes, fewer in a shorter file; what is written still goes to the end.
    virtual std::string Head(size_t size) = 0;
    // Writes the bytes at the end of the file; false when they could not all be written (on a
    // full disk the system writes what fits and fails, so part of them may be there).
    virtual bool Append(const std::string& bytes) = 0;
    // Cuts the file to nothing; false when it could not be cut.
    virtual bool Clear() = 0;
    // How many bytes it holds (nothing when the system cannot tell), and the last size of
    // them (fewer in a shorter file).
    virtual std::optional<uint64_t> Size() = 0;
    virtual std::string Tail(size_t size) = 0;
    // Hands what was written to the disk, or to the server that holds the file: until then a
    // cache or a redirector may still lose it. False when the system says it could not.
    virtual bool Flush() = 0;
    // Cuts the file back to its first size bytes; false when it could not be cut.
    virtual bool CutTo(uint64_t size) = 0;
};

// A file held open for reading from its start; closed when destroyed.
class ReadFile {
  public:
    virtual ~ReadFile() = default;
    // Up to size bytes into buffer; 0 at the end. Throws RuntimeError when reading fails.
    virtual size_t Read(char* buffer, size_t size) = 0;
};

// Why a file was not opened for writing.
enum class WriteRefusal {
    None,
    Busy,    // another program holds it open for writing: asking again later may do
    Link,    // a link, a folder or anything but the plain file of that name here
    Failed,  // the system refused the open: code says why
};

// A file asked to be opened for writing: the file, or why not.
struct WriteOpening {
    WriteOpening(std::unique_ptr<AppendFile> opened) : file(std::move(opened)) {}
    WriteOpening(WriteRefusal why, SystemCode systemCode = {}) : refusal(why), code(systemCode) {}
    std::unique_ptr<AppendFile> file;
    WriteRefusal refusal = WriteRefusal::None;
    SystemCode code;
    explicit operator bool() const { return file != nullptr; }
};

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

// What a drive letter or share leads to, as far as deleting at the next restart goes: the
// system carries that list out at boot, before the network and before SUBST or mapped
// letters exist.
enum class DriveKind {
    LocalFixed,   // a fixed disk of this machine, under its own letter
    Substituted,  // a letter for a folder of another drive (SUBST)
    Remote,       // a share, or a letter mapped onto one
    Other,        // removable, optical, RAM disk, or what the system does not tell
};

// What became of a folder asked to move.
enum class Move {
    Moved,
    NameTaken,  // the new name is in use: another one may do
    Refused,    // the system refuses it (a folder on the way held by someone, no right)
};

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
    // Removes this folder, which must be empty by now; false when it cannot go. The right to
    // delete it is taken for this call only.
    virtual bool RemoveEmpty() = 0;
    // Moves this folder, held for moving, into parent under name. The folder stays open and
    // usable.
    virtual Move MoveInto(OpenedFolder& parent, const std::string& name) = 0;
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
};

constexpr const char* kCookieEntries = "cookie:";
constexpr const char* kHistoryEntries = "visited:";

// The browser's URL cache index. The enumeration writes an entry as the system lays it out: a
// fixed head (80 bytes) followed by the strings it points to, whose addresses the head holds
// as 32-bit numbers.
class UrlCache {
  public:
    virtual ~UrlCache() = default;
    // The enumeration calls of the cache index. Each writes the entry into buffer when
    // size is large enough; otherwise fails and sets size to the size the entry needs (0
    // when there are no more entries). FindFirst returns a handle (0 on failure).
    // buffer is a block from Memory (0 for the size query). The pattern chooses what is
    // listed, as the library documents it: nullptr the content entries, kCookieEntries the
    // cookies, kHistoryEntries the visited addresses.
    virtual uintptr_t FindFirst(const char* pattern, uintptr_t buffer, uint32_t& size) = 0;
    virtual bool FindNext(uintptr_t handle, uintptr_t buffer, uint32_t& size) = 0;
    virtual void FindClose(uintptr_t handle) = 0;
    // The local file the entry of url names, as the cache reports it now: "" when it names
    // none; nullopt when the entry is not there or cannot be read.
    virtual std::optional<std::string> LocalFile(const std::string& url) = 0;

  private:
    // What changes the system, reached through SystemChanges alone.
    friend class SystemChanges;
    // Deletes the entry of url, and with it the local file the entry names, by that path,
    // wherever it lies. What the system said when it refused goes to why.
    virtual bool DeleteEntry(const std::string& url, SystemCode* why) = 0;
};

// Committed virtual memory and copies between addresses that cannot fault.
class Memory {
  public:
    virtual ~Memory() = default;
    // A committed block of size bytes, readable and writable but never executable; 0 when
    // refused (a size of 0 is).
    virtual uintptr_t Allocate(uint32_t size) = 0;
    virtual void Lock(uintptr_t address, uint32_t size) = 0;
    virtual void Unlock(uintptr_t address, uint32_t size) = 0;
    virtual void Free(uintptr_t address, uint32_t size) = 0;
    // Whether length bytes at address can be read (written); length 0 always can.
    virtual bool CanRead(uintptr_t address, uint32_t length) = 0;
    virtual bool CanWrite(uintptr_t address, uint32_t length) = 0;
    // Whether a NUL-terminated string can be read at address within max characters.
    virtual bool CanReadString(uintptr_t address, uint32_t max) = 0;
    // The bytes at address up to their NUL (at most max), when CanReadString holds.
    virtual std::string ReadString(uintptr_t address, uint32_t max) = 0;
    // Copies length bytes (ranges may overlap); the caller has checked both ranges.
    virtual void Copy(uintptr_t to, uintptr_t from, uint32_t length) = 0;
};

// Every change a cleaning run makes, and the only way to make one: the deletion layer and the
// rows change the system through it alone, since what changes a folder, the shell or the cache
// index is private to them. A preview is a run with a Changes that checks each change and makes
// none; whatever is added here must be answered by the preview too, or it does not compile.
class Changes {
  public:
    virtual ~Changes() = default;
    // The listed file of folder, once checked to be the plain file listed and, given an age
    // check, old enough by the time read on the handle it goes through.
    virtual Deletion DeleteListedFile(OpenedFolder& folder, const FindEntry& entry,
                                      AgeCheck* age = nullptr) = 0;
    // The listed file of folder, at the next restart.
    virtual bool DeleteAtRestart(OpenedFolder& folder, const FindEntry& entry) = 0;
    // The folder itself, empty by now.
    virtual bool RemoveEmpty(OpenedFolder& folder) = 0;
    // Whether folders are moved at all (MoveInto); a preview moves none.
    virtual bool MovesFolders() const = 0;
    virtual Move MoveInto(OpenedFolder& folder, OpenedFolder& parent, const std::string& name) = 0;
    // The shell's Recycle Bin and history, as Shell's calls of the same names.
    virtual long EmptyRecycleBin(uintptr_t owner) = 0;
    virtual void UpdateRecycleBinIcon() = 0;
    virtual void ClearUrlHistory() = 0;
    // The cache index's entry of url, and with it the file it names.
    virtual bool DeleteUrlCacheEntry(const std::string& url, SystemCode* why) = 0;
};

// The changes themselves, made by the system.
class SystemChanges final : public Changes {
  public:
    SystemChanges(Shell& shell, UrlCache& cache) : shell_(shell), cache_(cache) {}
    Deletion DeleteListedFile(OpenedFolder& folder, const FindEntry& entry,
                              AgeCheck* age = nullptr) override {
        return folder.DeleteListedFile(entry, age);
    }
    bool DeleteAtRestart(OpenedFolder& folder, const FindEntry& entry) override {
        return folder.DeleteAtRestart(entry);
    }
    bool RemoveEmpty(OpenedFolder& folder) override { return folder.RemoveEmpty(); }
    bool MovesFolders() const override { return true; }
    Move MoveInto(OpenedFolder& folder, OpenedFolder& parent, const std::string& name) override {
        return folder.MoveInto(parent, name);
    }
    long EmptyRecycleBin(uintptr_t owner) override { return shell_.EmptyRecycleBin(owner); }
    void UpdateRecycleBinIcon() override { shell_.UpdateRecycleBinIcon(); }
    void ClearUrlHistory() override { shell_.ClearUrlHistory(); }
    bool DeleteUrlCacheEntry(const std::string& url, SystemCode* why) override {
        return cache_.DeleteEntry(url, why);
    }

  private:
    Shell& shell_;
    UrlCache& cache_;
};

}  // namespace platform

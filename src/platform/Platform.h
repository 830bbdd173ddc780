#pragma once
// The operating system as the program's logic sees it. The real implementation lives in
// win32/; unit tests use in-memory fakes. Strings are narrow (ANSI code page) text.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

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
};

// Reading values of settings files in INI form.
class ProfileReader {
  public:
    virtual ~ProfileReader() = default;
    // As the private-profile lookup: copies the value (or def) into buffer, at most
    // size - 1 characters and a NUL, and returns the number of characters copied. Section
    // and key match without regard to case; a missing file is not an error.
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
    // Opens a document or address with the shell; owner is a window handle.
    virtual void Execute(uintptr_t owner, const std::string& operation, const std::string& file,
                         int showCommand) = 0;
    // Empties the Recycle Bin of every drive without asking and without progress; returns
    // the shell's result (0 on success).
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
};

// An open directory listing; "no more entries" is the normal end, not an error.
class Finder {
  public:
    virtual ~Finder() = default;
    virtual bool Next(FindEntry& entry) = 0;
};

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
    // Deletes one file; false when it cannot be deleted. A reparse point (link or junction)
    // is never deleted. knownAttributes are the entry's attributes from a listing, so the
    // check needs no second look; kInvalidAttributes when the caller has none.
    virtual bool Delete(const std::string& path, uint32_t knownAttributes) = 0;
    // Removes an empty folder; false when it cannot be removed (or is a reparse point).
    virtual bool RemoveFolder(const std::string& path) = 0;
    // Asks the system to delete the file at the next restart; false when refused.
    virtual bool DeleteAtRestart(const std::string& path) = 0;
    // Copies a file, replacing the target; false when it cannot be copied.
    virtual bool Copy(const std::string& from, const std::string& to) = 0;
    // A new, empty, uniquely named file in the user's temporary folder; "" on failure.
    virtual std::string CreateTempFile() = 0;
};

// The browser's URL cache index. The enumeration writes an entry as the system lays it out: a
// fixed head (80 bytes) followed by the strings it points to, whose addresses the head holds
// as 32-bit numbers.
class UrlCache {
  public:
    virtual ~UrlCache() = default;
    // The enumeration calls of the cache index. Each writes the entry into buffer when
    // size is large enough; otherwise fails and sets size to the size the entry needs (0
    // when there are no more entries). FindFirst returns a handle (0 on failure).
    // buffer is a block from Memory (0 for the size query).
    virtual uintptr_t FindFirst(uintptr_t buffer, uint32_t& size) = 0;
    virtual bool FindNext(uintptr_t handle, uintptr_t buffer, uint32_t& size) = 0;
    virtual void FindClose(uintptr_t handle) = 0;
    virtual bool DeleteEntry(const std::string& url) = 0;
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

}  // namespace platform

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
    // Deletes one file; false when it cannot be deleted.
    virtual bool Delete(const std::string& path) = 0;
};

// Everything the logic needs from the system, gathered once at start.
struct Platform {
    System& system;
    Shell& shell;
    FileSystem& files;
};

}  // namespace platform

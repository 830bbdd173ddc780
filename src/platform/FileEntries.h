#pragma once
// What a listing tells of a file or folder, and what is asked of one before it may go: its
// attributes, its identity whatever name reached it, and its age.
#include <cstdint>
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

}  // namespace platform

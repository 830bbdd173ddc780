#pragma once
// The system's version and facts: its folders, its user, its environment, its settings, its
// clock.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

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
    // The folder the program's file lies in, with its final "\\"; "" when the system does
    // not tell.
    virtual std::string ProgramFolder() = 0;
    // Now, in 100 ns steps since 1601 (UTC), as file times are kept.
    virtual uint64_t CurrentTime() = 0;
};

}  // namespace platform

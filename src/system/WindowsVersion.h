#pragma once
// Which Windows the program runs on. The windows only compare os_name with fixed names; the
// other six texts are kept so the class tells the whole story when someone asks for it.
//
// The work is split in two: the free functions below turn version records into texts and
// never touch the system, and WindowsVersion does the querying and feeds them. That way every
// branch of the naming rules can be exercised with hand-made records, including systems we cannot
// boot.
#include <string>

#include "platform/Platform.h"

namespace olvex {

// The seven texts, in the order the class publishes them.
struct OsIdentity {
    std::string os_name;
    std::string OS_Version;
    std::string OS_Build;
    std::string OS_Additional;
    std::string OS_ServicePack;
    std::string OS_Suite;
    std::string OS_ProductType;
};

// --- Read from the basic record -------------------------------------------------------------

// The system's name, such as "Windows XP" or "Unknown OS Version 6.0".
std::string OsNameFor(const platform::VersionRecord& basic);

// Whether the extended record is worth asking for: only the NT 4.0 (SP6 and later) and
// version 5 systems know it.
bool NeedsExtendedQuery(const platform::VersionRecord& basic);

// "major.minor", for example "4.10".
std::string OsVersionFor(const platform::VersionRecord& basic);

// The build field as signed decimal; on the 9x family it also carries the version.
std::string OsBuildFor(const platform::VersionRecord& basic);

// The whole service-pack field with its NUL characters taken out; blanks are kept.
std::string OsAdditionalFor(const platform::VersionRecord& basic);

// Sets os_name, OS_Version, OS_Build and OS_Additional; leaves the other three alone.
void ApplyBasicRecord(const platform::VersionRecord& basic, OsIdentity& identity);

// --- Read from the extended record ----------------------------------------------------------

// "Service Pack major.minor", or empty when neither number is above zero.
std::string ServicePackFor(const platform::VersionRecord& extended);

// The phrases of the installed suites run together, less the final comma.
std::string SuiteFor(const platform::VersionRecord& extended);

// "Professional", "Server" and so on, or empty when the version or type is not one we name.
std::string ProductTypeFor(const platform::VersionRecord& extended);

// Sets OS_ServicePack, OS_Suite and OS_ProductType; leaves the other four alone.
void ApplyExtendedRecord(const platform::VersionRecord& extended, OsIdentity& identity);

// Asks the system once on construction. Every user makes its own instance, so nothing is
// cached between instances.
class WindowsVersion : public OsIdentity {
  public:
    explicit WindowsVersion(platform::System& system);

  private:
    void IdentifyOS(platform::System& system);
};

// Which window family serves a system, by its name: NT for NT systems and for names the
// routing does not list (the empty name included), Windows98 for the 98 family, Unsupported
// for 95, .NET and unknown versions.
enum class Family { NT, Windows98, Unsupported };
Family FamilyFor(const std::string& osName);

}  // namespace olvex

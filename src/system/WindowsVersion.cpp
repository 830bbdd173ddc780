#include "system/WindowsVersion.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace olvex {
namespace {

constexpr uint32_t kPlatformWindows9x = 1;
constexpr uint32_t kPlatformNT = 2;

constexpr uint8_t kProductWorkstation = 1;
constexpr uint8_t kProductDomainController = 2;
constexpr uint8_t kProductServer = 3;

constexpr uint16_t kSuiteSmallBusiness = 0x0001;
constexpr uint16_t kSuiteEnterprise = 0x0002;
constexpr uint16_t kSuiteBackOffice = 0x0004;
constexpr uint16_t kSuiteCommunications = 0x0008;
constexpr uint16_t kSuiteTerminal = 0x0010;
constexpr uint16_t kSuiteSmallBusinessRestricted = 0x0020;
constexpr uint16_t kSuiteEmbeddedNT = 0x0040;
constexpr uint16_t kSuiteDatacenter = 0x0080;
constexpr uint16_t kSuiteSingleUserTS = 0x0100;
constexpr uint16_t kSuitePersonal = 0x0200;
constexpr uint16_t kSuiteBlade = 0x0400;

// The order users are used to reading them in, which is not bit order.
struct SuitePhrase {
    uint16_t bit;
    const char* phrase;
};
constexpr SuitePhrase kSuitePhrases[] = {
    {kSuiteBackOffice, "Microsoft BackOffice components are installed ,"},
    {kSuiteCommunications, "Communications Server installed ,"},
    {kSuiteDatacenter, "Datacenter Server is installed ,"},
    {kSuiteEmbeddedNT, "Embedded NT installed ,"},
    {kSuiteSingleUserTS, "Single User ,"},
    {kSuiteSmallBusiness, "Microsoft Small Business Server is installed ,"},
    {kSuiteSmallBusinessRestricted,
     "Microsoft Small Business Server is installed with the restrictive client license in "
     "force ,"},
    {kSuiteTerminal, "Terminal Services is installed ,"},
};

// The whole field, not just the part before the first NUL: the record is zero-filled before
// the query, so whatever sits after the terminator was put there by the system.
std::string FieldWithoutNuls(const platform::VersionRecord& record) {
    std::string text;
    for (char c : record.csdVersion) {
        if (c != '\0') text += c;
    }
    return text;
}

// ASCII only on purpose: the answers must not change with the user's locale.
char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperAscii(std::string text) {
    for (char& c : text) c = UpperAscii(c);
    return text;
}

bool FieldHasLetter(const platform::VersionRecord& record, char upperLetter) {
    for (char c : record.csdVersion) {
        if (UpperAscii(c) == upperLetter) return true;
    }
    return false;
}

// Only blanks count as surrounding space here; a tab is part of the text.
std::string TrimSpaces(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// NT 4.0 before SP6 does not understand the extended record. The test is a plain character
// comparison, so "Service Pack 6a" passes and "Service Pack 10" does not.
bool IsNT4ServicePack6OrLater(const platform::VersionRecord& basic) {
    const std::string text = UpperAscii(TrimSpaces(FieldWithoutNuls(basic)));
    // std::string compares as unsigned char, i.e. by character code.
    return text.compare("SERVICE PACK 6") >= 0;
}

std::string MajorMinor(const platform::VersionRecord& record) {
    return std::to_string(record.major) + "." + std::to_string(record.minor);
}

std::string Unknown(const platform::VersionRecord& record) {
    return "Unknown OS Version " + MajorMinor(record);
}

// The name and the extended-query decision come from the same table, so they are worked out
// together and the two public functions just pick their half.
struct NameDecision {
    std::string name;
    bool extended;
};

NameDecision DecideName(const platform::VersionRecord& basic) {
    switch (basic.major) {
        case 3:
            if (basic.platformId == kPlatformNT) return {"Windows NT " + MajorMinor(basic), false};
            return {Unknown(basic), false};
        case 4:
            switch (basic.minor) {
                case 0:
                    if (basic.platformId == kPlatformWindows9x) {
                        if (FieldHasLetter(basic, 'C') || FieldHasLetter(basic, 'B')) {
                            return {"Windows 95 OSR2", false};
                        }
                        return {"Windows 95", false};
                    }
                    if (basic.platformId == kPlatformNT) {
                        return {"Windows NT 4.0", IsNT4ServicePack6OrLater(basic)};
                    }
                    return {Unknown(basic) + " Platform " + std::to_string(basic.platformId),
                            false};
                case 10:
                    if (FieldHasLetter(basic, 'A')) return {"Windows 98 SE", false};
                    return {"Windows 98", false};
                case 90:
                    return {"Windows ME", false};
                default:
                    return {Unknown(basic), false};
            }
        case 5:
            switch (basic.minor) {
                case 0:
                    return {"Windows 2000", true};
                case 1:
                    return {"Windows XP", true};
                case 2:
                    return {"Windows .NET", true};
                default:
                    // A later version 5 is still of the NT 5 line and knows the extended record.
                    return {Unknown(basic), true};
            }
        default:
            return {Unknown(basic), false};
    }
}

bool Has(const platform::VersionRecord& record, uint16_t bit) {
    return (record.suiteMask & bit) != 0;
}

std::string ServerOrAdvanced(const platform::VersionRecord& extended) {
    return Has(extended, kSuiteEnterprise) ? "Advanced Server" : "Server";
}

std::string ProductTypeFor4(const platform::VersionRecord& extended) {
    switch (extended.productType) {
        case kProductWorkstation:
            return "Workstation";
        case kProductDomainController:
            return "Domain Controller";
        case kProductServer:
            return ServerOrAdvanced(extended);
        default:
            return std::string();
    }
}

std::string ProductTypeFor5(const platform::VersionRecord& extended) {
    switch (extended.minor) {
        case 0:
            switch (extended.productType) {
                case kProductWorkstation:
                    return "Professional";
                case kProductDomainController:
                    return "Domain Controller";
                case kProductServer:
                    return ServerOrAdvanced(extended);
                default:
                    return std::string();
            }
        case 1:
            switch (extended.productType) {
                case kProductWorkstation:
                    return Has(extended, kSuitePersonal) ? "Home Edition" : "Professional";
                case kProductDomainController:
                    return "Domain Controller";
                case kProductServer:
                    return "Server";
                default:
                    return std::string();
            }
        case 2:
            switch (extended.productType) {
                case kProductDomainController:
                    return "Domain Controller";
                case kProductServer:
                    if (Has(extended, kSuiteDatacenter)) return "DataCenter Server";
                    if (Has(extended, kSuiteEnterprise)) return "Enterprise Server";
                    if (Has(extended, kSuiteBlade)) return "Web Server";
                    return "Server";
                default:
                    // Workstations of this version are not named.
                    return std::string();
            }
        default:
            return std::string();
    }
}

}  // namespace

std::string OsNameFor(const platform::VersionRecord& basic) {
    return DecideName(basic).name;
}

bool NeedsExtendedQuery(const platform::VersionRecord& basic) {
    return DecideName(basic).extended;
}

std::string OsVersionFor(const platform::VersionRecord& basic) {
    return MajorMinor(basic);
}

std::string OsBuildFor(const platform::VersionRecord& basic) {
    return std::to_string(basic.build);
}

std::string OsAdditionalFor(const platform::VersionRecord& basic) {
    return FieldWithoutNuls(basic);
}

void ApplyBasicRecord(const platform::VersionRecord& basic, OsIdentity& identity) {
    identity.os_name = OsNameFor(basic);
    identity.OS_Version = OsVersionFor(basic);
    identity.OS_Build = OsBuildFor(basic);
    identity.OS_Additional = OsAdditionalFor(basic);
}

std::string ServicePackFor(const platform::VersionRecord& extended) {
    // Signed on purpose: a garbage negative number is not a service pack.
    if (extended.servicePackMajor > 0 || extended.servicePackMinor > 0) {
        return "Service Pack " + std::to_string(extended.servicePackMajor) + "." +
               std::to_string(extended.servicePackMinor);
    }
    return std::string();
}

std::string SuiteFor(const platform::VersionRecord& extended) {
    std::string suite;
    for (const SuitePhrase& entry : kSuitePhrases) {
        if (Has(extended, entry.bit)) suite += entry.phrase;
    }
    // Only the last comma goes; the blank before it stays, and so do the inner commas.
    if (suite.size() > 2) suite.pop_back();
    return suite;
}

std::string ProductTypeFor(const platform::VersionRecord& extended) {
    switch (extended.major) {
        case 4:
            return ProductTypeFor4(extended);
        case 5:
            return ProductTypeFor5(extended);
        default:
            return std::string();
    }
}

void ApplyExtendedRecord(const platform::VersionRecord& extended, OsIdentity& identity) {
    identity.OS_ServicePack = ServicePackFor(extended);
    identity.OS_Suite = SuiteFor(extended);
    identity.OS_ProductType = ProductTypeFor(extended);
}

WindowsVersion::WindowsVersion(platform::System& system) {
    IdentifyOS(system);
}

void WindowsVersion::IdentifyOS(platform::System& system) {
    OsIdentity identity;

    // A fresh record each time: the system must not see anything we did not put there.
    platform::VersionRecord basic;
    basic.size = platform::kBasicVersionRecordSize;
    if (!system.QueryVersion(basic)) return;  // Everything stays empty; the caller copes.

    ApplyBasicRecord(basic, identity);
    if (NeedsExtendedQuery(basic)) {
        platform::VersionRecord extended;
        extended.size = platform::kExtendedVersionRecordSize;
        if (system.QueryVersion(extended)) ApplyExtendedRecord(extended, identity);
    }

    static_cast<OsIdentity&>(*this) = identity;
}

Family FamilyFor(const std::string& osName) {
    if (osName == "Windows 98" || osName == "Windows 98 SE" || osName == "Windows ME")
        return Family::Windows98;
    if (osName == "Windows 95" || osName == "Windows 95 OSR2" || osName == "Windows .NET" ||
        osName.rfind("Unknown OS Version ", 0) == 0)
        return Family::Unsupported;
    return Family::NT;
}

}  // namespace olvex

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <ios>
#include <ostream>
#include <string>
#include <vector>

#include "system/WindowsVersion.h"

namespace {

// Parameterised cases are named after what PrintTo shows of them, letters and digits only,
// and their place in the list.
template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& info) {
    std::string name;
    for (char c : testing::PrintToString(info.param))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name + "_" + std::to_string(info.index);
}

using olvex::WindowsVersion;
using platform::kBasicVersionRecordSize;
using platform::kExtendedVersionRecordSize;
using platform::VersionRecord;

constexpr uint32_t kWin32s = 0;
constexpr uint32_t kWin9x = 1;
constexpr uint32_t kNT = 2;

// Copies the text into the 128-byte field; the text may hold NULs of its own.
void SetCsd(VersionRecord& record, const std::string& text) {
    std::memset(record.csdVersion, 0, sizeof record.csdVersion);
    std::memcpy(record.csdVersion, text.data(), std::min(text.size(), sizeof record.csdVersion));
}

VersionRecord Basic(uint32_t major, uint32_t minor, uint32_t platformId,
                    const std::string& csd = std::string()) {
    VersionRecord record;
    record.major = major;
    record.minor = minor;
    record.platformId = platformId;
    SetCsd(record, csd);
    return record;
}

VersionRecord Extended(uint32_t major, uint32_t minor, uint8_t productType, uint16_t suiteMask) {
    VersionRecord record;
    record.major = major;
    record.minor = minor;
    record.platformId = kNT;
    record.productType = productType;
    record.suiteMask = suiteMask;
    return record;
}

std::string WithNul(const std::string& before, const std::string& after) {
    return before + '\0' + after;
}

// Answers version queries from one scripted record and remembers how it was asked. Like the
// real call, a basic query only gets the first six fields. On failure it still scribbles the
// record, so code that ignores the result shows up in the texts.
class FakeSystem : public platform::System {
  public:
    // Only the version query matters here.
    uint32_t WindowsDirectory(char*, uint32_t) override { return 0; }
    bool UserName(char*, uint32_t*) override { return false; }
    int IsNTAdmin() override { return 0; }
    bool DiskFreeSpace(const std::string&, uint64_t&) override { return false; }
    std::optional<std::string> EnvironmentVariable(const std::string&) override { return {}; }
    std::optional<std::string> MachineSetting(const std::string&, const std::string&) override {
        return {};
    }
    std::optional<std::string> ProfilesDirectory() override { return {}; }
    std::string ComputerName() override { return ""; }
    std::string ProgramFolder() override { return ""; }
    uint64_t CurrentTime() override { return 0; }

    VersionRecord reported;
    bool basicSucceeds = true;
    bool extendedSucceeds = true;
    std::vector<uint32_t> requestedSizes;
    std::vector<VersionRecord> received;

    bool QueryVersion(VersionRecord& record) override {
        requestedSizes.push_back(record.size);
        received.push_back(record);
        const bool extended = record.size == kExtendedVersionRecordSize;
        if (!extended && record.size != kBasicVersionRecordSize) return false;
        record.major = reported.major;
        record.minor = reported.minor;
        record.build = reported.build;
        record.platformId = reported.platformId;
        std::memcpy(record.csdVersion, reported.csdVersion, sizeof record.csdVersion);
        if (extended) {
            record.servicePackMajor = reported.servicePackMajor;
            record.servicePackMinor = reported.servicePackMinor;
            record.suiteMask = reported.suiteMask;
            record.productType = reported.productType;
        }
        return extended ? extendedSucceeds : basicSucceeds;
    }
};

FakeSystem SystemReporting(uint32_t major, uint32_t minor, uint32_t platformId,
                           const std::string& csd, int16_t spMajor, int16_t spMinor,
                           uint8_t productType, uint16_t suiteMask = 0, int32_t build = 0) {
    FakeSystem system;
    system.reported = Basic(major, minor, platformId, csd);
    system.reported.build = build;
    system.reported.servicePackMajor = spMajor;
    system.reported.servicePackMinor = spMinor;
    system.reported.productType = productType;
    system.reported.suiteMask = suiteMask;
    return system;
}

const std::vector<uint32_t> kBasicOnly = {kBasicVersionRecordSize};
const std::vector<uint32_t> kBasicThenExtended = {kBasicVersionRecordSize,
                                                  kExtendedVersionRecordSize};

// --- os_name and the extended-query decision ------------------------------------------------

struct NameCase {
    const char* label;
    uint32_t major;
    uint32_t minor;
    uint32_t platformId;
    std::string csd;
    const char* name;
    bool extended;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.label;
}

class OsNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(OsNameTest, NameAndExtendedQueryFollowTheBasicRecord) {
    const NameCase& c = GetParam();
    const VersionRecord basic = Basic(c.major, c.minor, c.platformId, c.csd);
    EXPECT_EQ(olvex::OsNameFor(basic), c.name);
    EXPECT_EQ(olvex::NeedsExtendedQuery(basic), c.extended);
}

INSTANTIATE_TEST_SUITE_P(
    NameTable, OsNameTest,
    testing::Values(
        NameCase{"NT351", 3, 51, kNT, "", "Windows NT 3.51", false},
        NameCase{"V3On9x", 3, 10, kWin9x, "", "Unknown OS Version 3.10", false},
        NameCase{"V3OnWin32s", 3, 51, kWin32s, "", "Unknown OS Version 3.51", false},
        NameCase{"Win95OSR2C", 4, 0, kWin9x, " C ", "Windows 95 OSR2", false},
        NameCase{"Win95OSR2B", 4, 0, kWin9x, " B ", "Windows 95 OSR2", false},
        NameCase{"Win95OSR2LowerCase", 4, 0, kWin9x, "c", "Windows 95 OSR2", false},
        // The letter test looks at the whole field, past the terminator too.
        NameCase{"Win95LetterAfterNul", 4, 0, kWin9x, WithNul("", "B"), "Windows 95 OSR2", false},
        NameCase{"Win95", 4, 0, kWin9x, "", "Windows 95", false},
        NameCase{"Win95OtherLetters", 4, 0, kWin9x, " A ", "Windows 95", false},
        NameCase{"NT4SP6a", 4, 0, kNT, "Service Pack 6a", "Windows NT 4.0", true},
        NameCase{"NT4SP6", 4, 0, kNT, "Service Pack 6", "Windows NT 4.0", true},
        NameCase{"NT4SP7", 4, 0, kNT, "Service Pack 7", "Windows NT 4.0", true},
        NameCase{"NT4SP6Spaced", 4, 0, kNT, "  service pack 6  ", "Windows NT 4.0", true},
        NameCase{"NT4SP6SplitByNul", 4, 0, kNT, WithNul("Service Pack ", "6"), "Windows NT 4.0",
                 true},
        // Character comparison: a high code sorts after the digits.
        NameCase{"NT4HighCharacter", 4, 0, kNT, "Service Pack \xC0", "Windows NT 4.0", true},
        NameCase{"NT4SP5", 4, 0, kNT, "Service Pack 5", "Windows NT 4.0", false},
        NameCase{"NT4SP10", 4, 0, kNT, "Service Pack 10", "Windows NT 4.0", false},
        NameCase{"NT4NoServicePack", 4, 0, kNT, "", "Windows NT 4.0", false},
        NameCase{"NT4TabIsNotTrimmed", 4, 0, kNT, "\tService Pack 6", "Windows NT 4.0", false},
        NameCase{"V40Platform0", 4, 0, kWin32s, "", "Unknown OS Version 4.0 Platform 0", false},
        NameCase{"V40Platform3", 4, 0, 3, "Service Pack 6", "Unknown OS Version 4.0 Platform 3",
                 false},
        NameCase{"Win98SE", 4, 10, kWin9x, " A ", "Windows 98 SE", false},
        NameCase{"Win98SELowerCase", 4, 10, kWin9x, "a", "Windows 98 SE", false},
        NameCase{"Win98SEAnyPlatform", 4, 10, kNT, "A", "Windows 98 SE", false},
        NameCase{"Win98SELetterAfterNul", 4, 10, kWin9x, WithNul(" ", "A"), "Windows 98 SE", false},
        NameCase{"Win98", 4, 10, kWin9x, "", "Windows 98", false},
        NameCase{"WinME", 4, 90, kWin9x, " ", "Windows ME", false},
        NameCase{"WinMEWithA", 4, 90, kWin9x, "A", "Windows ME", false},
        NameCase{"V4Other", 4, 3, kNT, "Service Pack 6", "Unknown OS Version 4.3", false},
        NameCase{"Win2000", 5, 0, kNT, "", "Windows 2000", true},
        NameCase{"WinXP", 5, 1, kNT, "", "Windows XP", true},
        NameCase{"WinNET", 5, 2, kNT, "", "Windows .NET", true},
        NameCase{"V5Other", 5, 3, kNT, "", "Unknown OS Version 5.3", true},
        NameCase{"V60", 6, 0, kNT, "", "Unknown OS Version 6.0", false},
        NameCase{"V100", 10, 0, kNT, "", "Unknown OS Version 10.0", false},
        NameCase{"V2", 2, 11, kNT, "", "Unknown OS Version 2.11", false}),
    [](const testing::TestParamInfo<NameCase>& info) { return std::string(info.param.label); });

// --- Version, build and additional texts ----------------------------------------------------

TEST(OsBasicTextsTest, VersionIsPlainMajorDotMinor) {
    EXPECT_EQ(olvex::OsVersionFor(Basic(4, 10, kWin9x)), "4.10");
    EXPECT_EQ(olvex::OsVersionFor(Basic(6, 0, kNT)), "6.0");
    EXPECT_EQ(olvex::OsVersionFor(Basic(5, 2, kNT)), "5.2");
}

TEST(OsBasicTextsTest, BuildIsTheWholeFieldAsSignedDecimal) {
    VersionRecord record = Basic(4, 10, kWin9x);
    record.build = 67766446;  // version in the high word, not masked off
    EXPECT_EQ(olvex::OsBuildFor(record), "67766446");
    record.build = -1;
    EXPECT_EQ(olvex::OsBuildFor(record), "-1");
    record.build = INT32_MIN;
    EXPECT_EQ(olvex::OsBuildFor(record), "-2147483648");
    record.build = 0;
    EXPECT_EQ(olvex::OsBuildFor(record), "0");
}

TEST(OsBasicTextsTest, AdditionalDropsEveryNulAndKeepsBlanks) {
    EXPECT_EQ(olvex::OsAdditionalFor(Basic(4, 10, kWin9x, " A ")), " A ");
    EXPECT_EQ(olvex::OsAdditionalFor(Basic(4, 90, kWin9x, " ")), " ");
    EXPECT_EQ(olvex::OsAdditionalFor(Basic(4, 0, kWin9x, "")), "");
    EXPECT_EQ(olvex::OsAdditionalFor(Basic(5, 1, kNT, WithNul("Service Pack 3", "xy"))),
              "Service Pack 3xy");
}

TEST(OsBasicTextsTest, AdditionalReadsAFieldWithoutTerminator) {
    const std::string full(128, 'x');
    EXPECT_EQ(olvex::OsAdditionalFor(Basic(5, 1, kNT, full)), full);
}

// --- Service pack ---------------------------------------------------------------------------

struct ServicePackCase {
    int16_t major;
    int16_t minor;
    const char* text;
};

void PrintTo(const ServicePackCase& c, std::ostream* os) {
    *os << c.major << "." << c.minor;
}

class ServicePackTest : public testing::TestWithParam<ServicePackCase> {};

TEST_P(ServicePackTest, NumbersAboveZeroGiveTheText) {
    VersionRecord record = Extended(5, 1, 1, 0);
    record.servicePackMajor = GetParam().major;
    record.servicePackMinor = GetParam().minor;
    EXPECT_EQ(olvex::ServicePackFor(record), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Numbers, ServicePackTest,
                         testing::Values(ServicePackCase{2, 0, "Service Pack 2.0"},
                                         ServicePackCase{6, 0, "Service Pack 6.0"},
                                         ServicePackCase{0, 1, "Service Pack 0.1"},
                                         ServicePackCase{12, 34, "Service Pack 12.34"},
                                         ServicePackCase{0, 0, ""},
                                         // Signed: negative numbers are not above zero.
                                         ServicePackCase{-1, 0, ""}, ServicePackCase{0, -2, ""},
                                         ServicePackCase{-1, 2, "Service Pack -1.2"}),
                         CaseName<ServicePackCase>);

// --- Suites ---------------------------------------------------------------------------------

const char kBackOffice[] = "Microsoft BackOffice components are installed ,";
const char kCommunications[] = "Communications Server installed ,";
const char kDatacenter[] = "Datacenter Server is installed ,";
const char kEmbedded[] = "Embedded NT installed ,";
const char kSingleUser[] = "Single User ,";
const char kSmallBusiness[] = "Microsoft Small Business Server is installed ,";
const char kSmallBusinessRestricted[] =
    "Microsoft Small Business Server is installed with the restrictive client license in force ,";
const char kTerminal[] = "Terminal Services is installed ,";

std::string LessFinalComma(std::string text) {
    text.pop_back();
    return text;
}

std::string SuiteOf(uint16_t mask) {
    return olvex::SuiteFor(Extended(5, 1, 1, mask));
}

struct SuiteBitCase {
    uint16_t bit;
    const char* phrase;
};

void PrintTo(const SuiteBitCase& c, std::ostream* os) {
    *os << "0x" << std::hex << c.bit;
}

class SuiteBitTest : public testing::TestWithParam<SuiteBitCase> {};

TEST_P(SuiteBitTest, OneBitGivesItsPhraseLessTheComma) {
    const std::string suite = SuiteOf(GetParam().bit);
    EXPECT_EQ(suite, LessFinalComma(GetParam().phrase));
    EXPECT_EQ(suite.back(), ' ');
}

INSTANTIATE_TEST_SUITE_P(
    Phrases, SuiteBitTest,
    testing::Values(SuiteBitCase{0x0004, kBackOffice}, SuiteBitCase{0x0008, kCommunications},
                    SuiteBitCase{0x0080, kDatacenter}, SuiteBitCase{0x0040, kEmbedded},
                    SuiteBitCase{0x0100, kSingleUser}, SuiteBitCase{0x0001, kSmallBusiness},
                    SuiteBitCase{0x0020, kSmallBusinessRestricted},
                    SuiteBitCase{0x0010, kTerminal}),
    CaseName<SuiteBitCase>);

TEST(SuiteTest, PhrasesFollowTableOrderWithNothingBetweenThem) {
    // 0x0081 shows it: bit order would put Small Business (0x01) before Datacenter (0x80).
    EXPECT_EQ(SuiteOf(0x0014), LessFinalComma(std::string(kBackOffice) + kTerminal));
    EXPECT_EQ(SuiteOf(0x0081), LessFinalComma(std::string(kDatacenter) + kSmallBusiness));
}

TEST(SuiteTest, AllBitsGiveEveryPhraseInTableOrder) {
    const std::string all = std::string(kBackOffice) + kCommunications + kDatacenter + kEmbedded +
                            kSingleUser + kSmallBusiness + kSmallBusinessRestricted + kTerminal;
    EXPECT_EQ(SuiteOf(0xFFFF), LessFinalComma(all));
}

TEST(SuiteTest, BitsWithoutPhraseGiveNothing) {
    EXPECT_EQ(SuiteOf(0x0000), "");
    EXPECT_EQ(SuiteOf(0x0002), "");
    EXPECT_EQ(SuiteOf(0x0200), "");
    EXPECT_EQ(SuiteOf(0x0400), "");
    EXPECT_EQ(SuiteOf(0xF802), "");
    EXPECT_EQ(SuiteOf(0x0300), LessFinalComma(kSingleUser));
}

// --- Product type ---------------------------------------------------------------------------

struct ProductCase {
    uint32_t major;
    uint32_t minor;
    uint8_t productType;
    uint16_t suiteMask;
    const char* text;
};

void PrintTo(const ProductCase& c, std::ostream* os) {
    *os << c.major << "." << c.minor << " type " << int{c.productType} << " suite 0x" << std::hex
        << c.suiteMask;
}

class ProductTypeTest : public testing::TestWithParam<ProductCase> {};

TEST_P(ProductTypeTest, FollowsVersionTypeAndSuite) {
    const ProductCase& c = GetParam();
    EXPECT_EQ(olvex::ProductTypeFor(Extended(c.major, c.minor, c.productType, c.suiteMask)),
              c.text);
}

INSTANTIATE_TEST_SUITE_P(Version4, ProductTypeTest,
                         testing::Values(ProductCase{4, 0, 1, 0, "Workstation"},
                                         ProductCase{4, 0, 1, 0x0200, "Workstation"},
                                         ProductCase{4, 7, 1, 0, "Workstation"},  // any minor
                                         ProductCase{4, 0, 2, 0, "Domain Controller"},
                                         ProductCase{4, 0, 2, 0x0002, "Domain Controller"},
                                         ProductCase{4, 0, 3, 0, "Server"},
                                         ProductCase{4, 0, 3, 0x0002, "Advanced Server"},
                                         ProductCase{4, 10, 3, 0x0002, "Advanced Server"},
                                         ProductCase{4, 0, 0, 0, ""},
                                         ProductCase{4, 0, 4, 0x0002, ""}),
                         CaseName<ProductCase>);

INSTANTIATE_TEST_SUITE_P(
    Version50, ProductTypeTest,
    testing::Values(ProductCase{5, 0, 1, 0, "Professional"},
                    ProductCase{5, 0, 1, 0x0200, "Professional"},  // no Home Edition here
                    ProductCase{5, 0, 2, 0, "Domain Controller"}, ProductCase{5, 0, 3, 0, "Server"},
                    ProductCase{5, 0, 3, 0x0002, "Advanced Server"},
                    ProductCase{5, 0, 3, 0x0080, "Server"}, ProductCase{5, 0, 0, 0, ""},
                    ProductCase{5, 0, 4, 0, ""}),
    CaseName<ProductCase>);

INSTANTIATE_TEST_SUITE_P(Version51, ProductTypeTest,
                         testing::Values(ProductCase{5, 1, 1, 0, "Professional"},
                                         ProductCase{5, 1, 1, 0x0200, "Home Edition"},
                                         ProductCase{5, 1, 1, 0x0300, "Home Edition"},
                                         ProductCase{5, 1, 2, 0, "Domain Controller"},
                                         ProductCase{5, 1, 2, 0x0200, "Domain Controller"},
                                         ProductCase{5, 1, 3, 0, "Server"},
                                         ProductCase{5, 1, 3, 0x0002,
                                                     "Server"},  // no Advanced Server here
                                         ProductCase{5, 1, 0, 0x0200, ""}),
                         CaseName<ProductCase>);

INSTANTIATE_TEST_SUITE_P(
    Version52, ProductTypeTest,
    testing::Values(ProductCase{5, 2, 1, 0, ""}, ProductCase{5, 2, 1, 0x0200, ""},
                    ProductCase{5, 2, 2, 0, "Domain Controller"},
                    ProductCase{5, 2, 2, 0x0080, "Domain Controller"},
                    ProductCase{5, 2, 3, 0x0082, "DataCenter Server"},
                    ProductCase{5, 2, 3, 0x0080, "DataCenter Server"},
                    ProductCase{5, 2, 3, 0x0482, "DataCenter Server"},
                    ProductCase{5, 2, 3, 0x0002, "Enterprise Server"},
                    ProductCase{5, 2, 3, 0x0402, "Enterprise Server"},
                    ProductCase{5, 2, 3, 0x0400, "Web Server"}, ProductCase{5, 2, 3, 0, "Server"},
                    ProductCase{5, 2, 3, 0x0200, "Server"}, ProductCase{5, 2, 0, 0x0080, ""}),
    CaseName<ProductCase>);

INSTANTIATE_TEST_SUITE_P(OtherVersions, ProductTypeTest,
                         testing::Values(ProductCase{5, 3, 1, 0, ""}, ProductCase{5, 3, 2, 0, ""},
                                         ProductCase{5, 3, 3, 0x0002, ""},
                                         ProductCase{6, 0, 1, 0, ""}, ProductCase{6, 1, 3, 0, ""},
                                         ProductCase{3, 51, 1, 0, ""},
                                         ProductCase{3, 51, 2, 0, ""}),
                         CaseName<ProductCase>);

// --- WindowsVersion: the queries
// ---------------------------------------------------------------------

void ExpectZeroedExceptSize(const VersionRecord& record, uint32_t size) {
    EXPECT_EQ(record.size, size);
    EXPECT_EQ(record.major, 0u);
    EXPECT_EQ(record.minor, 0u);
    EXPECT_EQ(record.build, 0);
    EXPECT_EQ(record.platformId, 0u);
    for (char c : record.csdVersion) EXPECT_EQ(c, '\0');
    EXPECT_EQ(record.servicePackMajor, 0);
    EXPECT_EQ(record.servicePackMinor, 0);
    EXPECT_EQ(record.suiteMask, 0);
    EXPECT_EQ(record.productType, 0);
}

void ExpectAllEmpty(const WindowsVersion& os) {
    EXPECT_EQ(os.os_name, "");
    EXPECT_EQ(os.OS_Version, "");
    EXPECT_EQ(os.OS_Build, "");
    EXPECT_EQ(os.OS_Additional, "");
    EXPECT_EQ(os.OS_ServicePack, "");
    EXPECT_EQ(os.OS_Suite, "");
    EXPECT_EQ(os.OS_ProductType, "");
}

TEST(ClsOsTest, EachQueryGetsAFreshZeroedRecordOfItsSize) {
    FakeSystem system = SystemReporting(5, 1, kNT, "Service Pack 3", 3, 0, 1, 0x0300, 2600);
    WindowsVersion os(system);
    ASSERT_EQ(system.requestedSizes, kBasicThenExtended);
    ExpectZeroedExceptSize(system.received[0], kBasicVersionRecordSize);
    ExpectZeroedExceptSize(system.received[1], kExtendedVersionRecordSize);
}

TEST(ClsOsTest, FailingFirstQueryLeavesEverythingEmpty) {
    FakeSystem system = SystemReporting(5, 1, kNT, "Service Pack 3", 3, 0, 1, 0x0300, 2600);
    system.basicSucceeds = false;
    WindowsVersion os(system);
    EXPECT_EQ(system.requestedSizes, kBasicOnly);
    ExpectAllEmpty(os);
}

TEST(ClsOsTest, FailingExtendedQueryLeavesTheLastThreeEmpty) {
    FakeSystem system = SystemReporting(5, 1, kNT, "Service Pack 3", 3, 0, 1, 0x0300, 2600);
    system.extendedSucceeds = false;
    WindowsVersion os(system);
    EXPECT_EQ(system.requestedSizes, kBasicThenExtended);
    EXPECT_EQ(os.os_name, "Windows XP");
    EXPECT_EQ(os.OS_Version, "5.1");
    EXPECT_EQ(os.OS_Build, "2600");
    EXPECT_EQ(os.OS_Additional, "Service Pack 3");
    EXPECT_EQ(os.OS_ServicePack, "");
    EXPECT_EQ(os.OS_Suite, "");
    EXPECT_EQ(os.OS_ProductType, "");
}

TEST(ClsOsTest, Win98SEKeepsBlanksAndSkipsTheExtendedQuery) {
    // The system would report extended data; it must not be asked for it.
    FakeSystem system = SystemReporting(4, 10, kWin9x, " A ", 1, 0, 1, 0x0010, 67766446);
    WindowsVersion os(system);
    EXPECT_EQ(system.requestedSizes, kBasicOnly);
    EXPECT_EQ(os.os_name, "Windows 98 SE");
    EXPECT_EQ(os.OS_Version, "4.10");
    EXPECT_EQ(os.OS_Additional, " A ");
    EXPECT_EQ(os.OS_ServicePack, "");
    EXPECT_EQ(os.OS_Suite, "");
    EXPECT_EQ(os.OS_ProductType, "");
}

TEST(ClsOsTest, NT4AsksForTheExtendedRecordFromServicePack6) {
    FakeSystem sp6a = SystemReporting(4, 0, kNT, "Service Pack 6a", 6, 0, 1, 0, 1381);
    WindowsVersion withSp6a(sp6a);
    EXPECT_EQ(sp6a.requestedSizes, kBasicThenExtended);
    EXPECT_EQ(withSp6a.os_name, "Windows NT 4.0");
    EXPECT_EQ(withSp6a.OS_ServicePack, "Service Pack 6.0");
    EXPECT_EQ(withSp6a.OS_ProductType, "Workstation");

    FakeSystem sp5 = SystemReporting(4, 0, kNT, "Service Pack 5", 5, 0, 1, 0, 1381);
    WindowsVersion withSp5(sp5);
    EXPECT_EQ(sp5.requestedSizes, kBasicOnly);
    EXPECT_EQ(withSp5.os_name, "Windows NT 4.0");
    EXPECT_EQ(withSp5.OS_Additional, "Service Pack 5");
    EXPECT_EQ(withSp5.OS_ServicePack, "");
    EXPECT_EQ(withSp5.OS_ProductType, "");
}

TEST(ClsOsTest, XPHomeWithSingleUserSuite) {
    FakeSystem system = SystemReporting(5, 1, kNT, "Service Pack 2", 2, 0, 1, 0x0300, 2600);
    WindowsVersion os(system);
    EXPECT_EQ(os.os_name, "Windows XP");
    EXPECT_EQ(os.OS_ServicePack, "Service Pack 2.0");
    EXPECT_EQ(os.OS_Suite, "Single User ");
    EXPECT_EQ(os.OS_ProductType, "Home Edition");
}

TEST(ClsOsTest, Version6IsUnknownAndSkipsTheExtendedQuery) {
    FakeSystem system = SystemReporting(6, 0, kNT, "Service Pack 2", 2, 0, 1, 0, 6002);
    WindowsVersion os(system);
    EXPECT_EQ(system.requestedSizes, kBasicOnly);
    EXPECT_EQ(os.os_name, "Unknown OS Version 6.0");
    EXPECT_EQ(os.OS_Version, "6.0");
    EXPECT_EQ(os.OS_ServicePack, "");
}

TEST(ClsOsTest, ServicePackZeroOnVersion5IsEmpty) {
    FakeSystem system = SystemReporting(5, 0, kNT, "", 0, 0, 1, 0, 2195);
    WindowsVersion os(system);
    EXPECT_EQ(system.requestedSizes, kBasicThenExtended);
    EXPECT_EQ(os.os_name, "Windows 2000");
    EXPECT_EQ(os.OS_ServicePack, "");
    EXPECT_EQ(os.OS_ProductType, "Professional");
}

// --- WindowsVersion: what Wine reports for each version setting
// --------------------------------------

struct WineCase {
    const char* setting;
    uint32_t major;
    uint32_t minor;
    int32_t build;
    uint32_t platformId;
    const char* csd;
    int16_t spMajor;
    int16_t spMinor;
    uint8_t productType;
    bool extended;
    olvex::OsIdentity expected;
};

void PrintTo(const WineCase& c, std::ostream* os) {
    *os << c.setting;
}

class WineVersionTest : public testing::TestWithParam<WineCase> {};

TEST_P(WineVersionTest, ReportedVersionGivesTheExpectedTexts) {
    const WineCase& c = GetParam();
    FakeSystem system = SystemReporting(c.major, c.minor, c.platformId, c.csd, c.spMajor, c.spMinor,
                                        c.productType, 0, c.build);
    WindowsVersion os(system);
    EXPECT_EQ(system.requestedSizes, c.extended ? kBasicThenExtended : kBasicOnly);
    EXPECT_EQ(os.os_name, c.expected.os_name);
    EXPECT_EQ(os.OS_Version, c.expected.OS_Version);
    EXPECT_EQ(os.OS_Build, c.expected.OS_Build);
    EXPECT_EQ(os.OS_Additional, c.expected.OS_Additional);
    EXPECT_EQ(os.OS_ServicePack, c.expected.OS_ServicePack);
    EXPECT_EQ(os.OS_Suite, c.expected.OS_Suite);
    EXPECT_EQ(os.OS_ProductType, c.expected.OS_ProductType);
}

INSTANTIATE_TEST_SUITE_P(
    WineSettings, WineVersionTest,
    testing::Values(WineCase{"default",
                             6,
                             1,
                             7601,
                             kNT,
                             "Service Pack 1",
                             1,
                             0,
                             1,
                             false,
                             {"Unknown OS Version 6.1", "6.1", "7601", "Service Pack 1", "", "",
                              ""}},
                    WineCase{"winxp",
                             5,
                             1,
                             2600,
                             kNT,
                             "Service Pack 3",
                             3,
                             0,
                             1,
                             true,
                             {"Windows XP", "5.1", "2600", "Service Pack 3", "Service Pack 3.0", "",
                              "Professional"}},
                    WineCase{"win2k",
                             5,
                             0,
                             2195,
                             kNT,
                             "Service Pack 4",
                             4,
                             0,
                             1,
                             true,
                             {"Windows 2000", "5.0", "2195", "Service Pack 4", "Service Pack 4.0",
                              "", "Professional"}},
                    WineCase{"win98",
                             4,
                             10,
                             67766446,
                             kWin9x,
                             " A ",
                             0,
                             0,
                             0,
                             false,
                             {"Windows 98 SE", "4.10", "67766446", " A ", "", "", ""}},
                    WineCase{"winme",
                             4,
                             90,
                             73010104,
                             kWin9x,
                             " ",
                             0,
                             0,
                             0,
                             false,
                             {"Windows ME", "4.90", "73010104", " ", "", "", ""}},
                    WineCase{"win95",
                             4,
                             0,
                             67109814,
                             kWin9x,
                             "",
                             0,
                             0,
                             0,
                             false,
                             {"Windows 95", "4.0", "67109814", "", "", "", ""}},
                    WineCase{"nt40",
                             4,
                             0,
                             1381,
                             kNT,
                             "Service Pack 6a",
                             6,
                             0,
                             1,
                             true,
                             {"Windows NT 4.0", "4.0", "1381", "Service Pack 6a",
                              "Service Pack 6.0", "", "Workstation"}},
                    WineCase{"win2003",
                             5,
                             2,
                             3790,
                             kNT,
                             "Service Pack 2",
                             2,
                             0,
                             3,
                             true,
                             {"Windows .NET", "5.2", "3790", "Service Pack 2", "Service Pack 2.0",
                              "", "Server"}}),
    [](const testing::TestParamInfo<WineCase>& info) { return std::string(info.param.setting); });

}  // namespace

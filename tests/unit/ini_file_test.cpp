// Reading settings values over the private-profile lookup, and Firefox's profile list.
#include <gtest/gtest.h>

#include <cstring>

#include "browsers/BrowserItems.h"
#include "browsers/FirefoxProfiles.h"
#include "fakes/TestRig.h"
#include "system/IniFile.h"

namespace {

using olvex::INIGetSettingString;

// A lookup that answers from a script and remembers how it was asked.
class ScriptedReader : public platform::ProfileReader {
  public:
    uint32_t GetString(const std::string& section, const std::string& key, const std::string& def,
                       char* buffer, uint32_t size, const std::string& file) override {
        asked.push_back(section + "|" + key + "|" + def + "|" + file);
        sizes.push_back(size);
        if (failsWith) throw platform::RuntimeError("", {platform::SystemCode::Kind::Win32, failsWith});
        const size_t bytes = size_t{size} * platform::kUtf8BytesPerCharacter;
        std::memset(buffer, 'x', bytes);  // whatever the lookup leaves past the value
        std::memcpy(buffer, written.data(), std::min(written.size(), bytes));
        return count;
    }
    std::string written;
    uint32_t count = 0;
    uint32_t failsWith = 0;  // a Win32 error code
    std::vector<std::string> asked;
    std::vector<uint32_t> sizes;
};

class IniReader : public ::testing::Test {
  protected:
    fakes::Rig rig;
    ScriptedReader scripted;
    olvex::Services services{rig.system, rig.shell,    rig.files, rig.toolkit,
                             scripted,   rig.urlCache, rig.memory};
};

TEST_F(IniReader, PassesItsArgumentsAndA256CharacterBuffer) {
    scripted.written = std::string("Profiles/a.default\0", 19);
    scripted.count = 18;
    EXPECT_EQ(INIGetSettingString(services, "Profile0", "path", "C:\\p.ini", "dflt"),
              "Profiles/a.default");
    EXPECT_EQ(scripted.asked, std::vector<std::string>{"Profile0|path|dflt|C:\\p.ini"});
    EXPECT_EQ(scripted.sizes, std::vector<uint32_t>{256});
}

TEST_F(IniReader, TheCountEndsTheValueNotANul) {
    scripted.written = "abcdef";  // no NUL at all
    scripted.count = 3;
    EXPECT_EQ(INIGetSettingString(services, "s", "k", "f", ""), "abc");
    scripted.count = 0;
    EXPECT_EQ(INIGetSettingString(services, "s", "k", "f", ""), "");
    // A count past the buffer cannot take more than the buffer holds: 256 characters of
    // the system's text in UTF-8.
    scripted.count = 4000;
    EXPECT_EQ(INIGetSettingString(services, "s", "k", "f", "").size(), 768u);
}

TEST_F(IniReader, FailureShowsTheLibraryBoxAndGivesEmpty) {
    scripted.failsWith = 127;  // ERROR_PROC_NOT_FOUND
    EXPECT_EQ(INIGetSettingString(services, "s", "k", "f", "dflt"), "");
    ASSERT_EQ(rig.toolkit.boxes.size(), 1u);
    EXPECT_EQ(rig.toolkit.boxes[0].title, "INIGetSettingString");
    EXPECT_EQ(rig.toolkit.boxes[0].text, "Error: 453. Specified DLL function not found");
    EXPECT_EQ(rig.toolkit.boxes[0].buttons, ui::kOkOnly);
}

TEST(IniFile, ValuesAsThePrivateProfileLookupGivesThem) {
    fakes::Rig rig;
    const std::string file = "C:\\p\\profiles.ini";
    // Profiles/ée...é/ée...é: 140 characters, 270 bytes in UTF-8; and 300 accented letters.
    auto repeated = [](const char* text, int times) {
        std::string all;
        while (times-- > 0) all += text;
        return all;
    };
    const std::string accented =
        "Profiles/" + repeated("\xC3\xA9", 65) + "/" + repeated("\xC3\xA9", 65);
    const std::string e300 = repeated("\xC3\xA9", 300);
    rig.profiles.Write(file, "[profile0]\nPath=Profiles/ab12cd34.default\nEmpty=\n[Long]\nv=" +
                                 std::string(300, 'L') + "\naccented=" + accented +
                                 "\ne300=" + e300 + "\n");
    auto get = [&](const char* section, const char* key, const char* def = "") {
        return INIGetSettingString(rig.services, section, key, file, def);
    };
    EXPECT_EQ(get("Profile0", "path"), "Profiles/ab12cd34.default");
    EXPECT_EQ(get("Profile0", "Empty", "dflt"), "") << "present but empty is not missing";
    EXPECT_EQ(get("Profile0", "missing", "dflt"), "dflt");
    EXPECT_EQ(get("Profile1", "path"), "");
    EXPECT_EQ(get("Long", "v"), std::string(255, 'L'));
    EXPECT_EQ(get("Long", "accented"), accented) << "cut at characters, not UTF-8 bytes";
    EXPECT_EQ(get("Long", "e300"), e300.substr(0, 2 * 255));
    EXPECT_EQ(INIGetSettingString(rig.services, "Profile0", "path", "C:\\none.ini", "d"), "d");
    EXPECT_TRUE(rig.toolkit.boxes.empty()) << "a missing file is no failure";
}

TEST(IniFile, NothingIsRememberedBetweenCalls) {
    fakes::Rig rig;
    const std::string file = "C:\\p.ini";
    rig.profiles.Write(file, "[a]\nk=1\n");
    EXPECT_EQ(INIGetSettingString(rig.services, "a", "k", file, ""), "1");
    rig.profiles.Write(file, "[a]\nk=2\n");
    EXPECT_EQ(INIGetSettingString(rig.services, "a", "k", file, ""), "2");
}

// --- Firefox profile discovery ------------------------------------------------------------

const char* const kNtProfiles =
    "C:\\Documents and Settings\\Jo\\Application Data\\Mozilla\\Firefox\\Profiles.ini";
const char* const k98Profiles = "C:\\WINDOWS\\Application Data\\Mozilla\\Firefox\\Profiles.ini";

olvex::ProfilePaths Read(fakes::Rig& rig, olvex::Family family) {
    olvex::PlainPurgeList list;
    olvex::RuleRun run{rig.services,
                       rig.changes,
                       family,
                       0,
                       list,
                       olvex::SilentSink(),
                       olvex::DeriveCleaningContext(rig.system),
                       {}};
    return olvex::ReadFirefoxProfilePaths(run, family);
}

TEST(FirefoxProfiles, TenSlotsEachFromItsOwnSection) {
    fakes::Rig rig;
    std::string ini =
        "[General]\nStartWithLastProfile=1\n[Profile2]\nName=b\nPath=Profiles/bbbb.work\n"
        "[Profile0]\npath=Profiles/aaaa.default\nIsRelative=1\n[Profile9]\nName=x\n";
    for (int n = 10; n <= 11; ++n)
        ini += "[Profile" + std::to_string(n) + "]\nPath=Profiles/p" + std::to_string(n) + "\n";
    rig.profiles.Write(kNtProfiles, ini);
    const olvex::ProfilePaths slots = Read(rig, olvex::Family::NT);
    EXPECT_EQ(slots, (olvex::ProfilePaths{"Profiles/aaaa.default", "", "Profiles/bbbb.work", "", "",
                                          "", "", "", "", ""}));
    EXPECT_EQ(rig.profiles.calls, 10) << "one lookup per slot, none beyond Profile9";
}

TEST(FirefoxProfiles, Windows98ReadsUnderTheWindowsFolder) {
    fakes::Rig rig;
    rig.profiles.Write(k98Profiles, "[Profile0]\nPath=Profiles/ab12cd34.default\n");
    rig.profiles.Write(kNtProfiles, "[Profile0]\nPath=wrong\n");
    EXPECT_EQ(Read(rig, olvex::Family::Windows98)[0], "Profiles/ab12cd34.default");
}

TEST(FirefoxProfiles, MissingOrEmptyFileGivesTenEmptySlotsQuietly) {
    for (const char* text : {static_cast<const char*>(nullptr), "", "[Profile0]\nName=x\n"}) {
        fakes::Rig rig;
        if (text) rig.profiles.Write(kNtProfiles, text);
        EXPECT_EQ(Read(rig, olvex::Family::NT), olvex::ProfilePaths{});
        EXPECT_TRUE(rig.toolkit.boxes.empty());
    }
}

TEST(FirefoxProfiles, UnknownFirefoxFolderReadsNothing) {
    fakes::Rig rig;
    rig.shell.folders.erase(0x1A);
    rig.profiles.Write("Mozilla\\Firefox\\Profiles.ini", "[Profile0]\nPath=relative\n");
    EXPECT_EQ(Read(rig, olvex::Family::NT), olvex::ProfilePaths{});
    rig.system.windowsDir = std::string(300, 'W');  // too long: the folder counts as unknown
    rig.profiles.Write("\\Application Data\\Mozilla\\Firefox\\Profiles.ini",
                       "[Profile0]\nPath=r\n");
    EXPECT_EQ(Read(rig, olvex::Family::Windows98), olvex::ProfilePaths{});
    EXPECT_EQ(rig.profiles.calls, 0);
}

}  // namespace

// Chrome 1 to 49 through the console, on databases with Chrome 49's tables: the profiles its
// Local State lists and no other folder, each category's own rows and files only, and nothing
// of a running Chrome's.
#include <gtest/gtest.h>

#include "console/ConsoleProgram.h"
#include "console/ExitCodes.h"
#include "database_data.h"
#include "fakes/FakeConsole.h"
#include "fakes/TestRig.h"

namespace {

using namespace olvex;

const std::string kLocal = "C:\\Documents and Settings\\Jo\\Local Settings\\Application Data\\";
const std::string kUserData = kLocal + "Google\\Chrome\\User Data\\";
const char* const kTwoProfiles = R"({"profile":{"info_cache":{"Default":{},"Profile 1":{}}}})";

// The rows of every table a category may touch, one database after another.
const char* const kDatabases[][2] = {
    {"Cookies", "SELECT 'cookies ' || count(*) FROM cookies"},
    {"History", "SELECT 'urls ' || count(*) FROM urls UNION SELECT 'visits ' || count(*) FROM "
                "visits UNION SELECT 'searches ' || count(*) FROM keyword_search_terms UNION "
                "SELECT 'segments ' || count(*) FROM segment_usage UNION SELECT 'downloads ' || "
                "count(*) FROM downloads UNION SELECT 'chains ' || count(*) FROM "
                "downloads_url_chains"},
    {"Login Data", "SELECT 'logins ' || count(*) FROM logins"},
    {"Web Data", "SELECT 'autofill ' || count(*) FROM autofill UNION SELECT 'engines ' || "
                 "count(*) FROM keywords"},
};
const std::set<std::string> kFullCensus = {
    "cookies 5", "urls 3",     "visits 4", "searches 1", "segments 1",
    "downloads 1", "chains 2", "logins 2", "autofill 2", "engines 1"};
// Files of a profile, by the category that takes them; "" for none.
const char* const kFiles[][2] = {
    {"chrome-cache", "Cache\\data_0"},
    {"chrome-cache", "Media Cache\\f_000001"},
    {"chrome-cache", "GPUCache\\index"},
    {"chrome-cache", "Application Cache\\Cache\\data_1"},
    {"chrome-history", "Archived History"},
    {"chrome-history", "History Index 2015-01"},
    {"chrome-history", "History Index 2015-01-journal"},
    {"chrome-history", "Visited Links"},
    {"chrome-history", "Top Sites"},
    {"chrome-history", "Top Sites-journal"},
    {"chrome-history", "Thumbnails"},
    {"", "Bookmarks"},
    {"", "Preferences"},
    {"", "Favicons"},
    {"", "Current Session"},
};

struct ChromeMachine {
    explicit ChromeMachine(const char* localState = kTwoProfiles) {
        rig.SetWindows("winxp");
        rig.files.AddFolder(kLocal + "Google\\Chrome\\Application");
        if (localState) rig.files.AddFile(kUserData + "Local State", 0, localState);
        rig.files.AddFile(kUserData + "lockfile");
        for (const char* profile : {"Default", "Profile 1", "Profile 3"}) Seed(profile);
    }
    void Seed(const std::string& profile) {
        const std::string folder = kUserData + profile + "\\";
        const char* const sql[] = {kChromeCookies, kChromeHistory, kChromeLoginData,
                                   kChromeWebData};
        for (size_t i = 0; i < 4; ++i)
            rig.files.AddFile(folder + kDatabases[i][0], platform::kAttrArchive,
                              fakes::DatabaseFileOf(sql[i]));
        for (const auto& file : kFiles) rig.files.AddFile(folder + file[1]);
    }
    int Run(std::vector<std::string> arguments) {
        console = fakes::FakeConsole();
        return RunConsoleProgram(rig.services, console, arguments);
    }
    // Each table's rows in the profile's databases.
    std::set<std::string> Census(const std::string& profile) const {
        std::set<std::string> census;
        for (const auto& [name, query] : kDatabases)
            for (const std::string& row :
                 fakes::RowsOf(rig.files.Content(kUserData + profile + "\\" + name), query))
                census.insert(row);
        return census;
    }
    // The files of kFiles still in the profile.
    std::set<std::string> Files(const std::string& profile) const {
        std::set<std::string> left;
        for (const auto& file : kFiles)
            if (rig.files.Exists(kUserData + profile + "\\" + file[1])) left.insert(file[1]);
        return left;
    }
    fakes::Rig rig;
    fakes::FakeConsole console;
};

std::set<std::string> FilesBut(const std::string& category) {
    std::set<std::string> left;
    for (const auto& file : kFiles)
        if (category != file[0]) left.insert(file[1]);
    return left;
}

// One category per row: the rows it leaves in the four databases of both listed profiles,
// and the files it takes; the folder Local State does not list keeps everything.
TEST(Chrome, EachCategoryTakesOnlyItsOwnRowsAndFiles) {
    struct Case {
        const char* rule;
        const char* id;
        std::set<std::string> census;
    };
    // clang-format off
    const Case cases[] = {
        {"the cookies take every cookie and nothing else", "chrome-cookies",
         {"cookies 0", "urls 3", "visits 4", "searches 1", "segments 1", "downloads 1",
          "chains 2", "logins 2", "autofill 2", "engines 1"}},
        {"the history takes pages, visits, searches and segments, and leaves the downloads",
         "chrome-history",
         {"cookies 5", "urls 0", "visits 0", "searches 0", "segments 0", "downloads 1",
          "chains 2", "logins 2", "autofill 2", "engines 1"}},
        {"the downloads take their chains of addresses, and leave the history",
         "chrome-downloads",
         {"cookies 5", "urls 3", "visits 4", "searches 1", "segments 1", "downloads 0",
          "chains 0", "logins 2", "autofill 2", "engines 1"}},
        {"the passwords take the logins only", "chrome-passwords",
         {"cookies 5", "urls 3", "visits 4", "searches 1", "segments 1", "downloads 1",
          "chains 2", "logins 0", "autofill 2", "engines 1"}},
        {"the form data keeps the search engines", "chrome-forms",
         {"cookies 5", "urls 3", "visits 4", "searches 1", "segments 1", "downloads 1",
          "chains 2", "logins 2", "autofill 0", "engines 1"}},
        {"the cache takes no row", "chrome-cache", kFullCensus},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        ChromeMachine m;
        EXPECT_EQ(m.Run({"/clean", c.id}), kExitDone) << m.console.out;
        for (const char* profile : {"Default", "Profile 1"}) {
            EXPECT_EQ(m.Census(profile), c.census) << profile;
            EXPECT_EQ(m.Files(profile), FilesBut(c.id)) << profile;
        }
        EXPECT_EQ(m.Census("Profile 3"), kFullCensus);
        EXPECT_EQ(m.Files("Profile 3"), FilesBut("no category"));
    }
}

// Which folders of User Data are profiles: those Local State lists by a literal name, or
// "Default" where it lists none.
TEST(Chrome, TheProfilesAreTheFoldersLocalStateNames) {
    struct Case {
        const char* rule;
        const char* localState;
        std::set<std::string> cleaned;
        const char* told;
        int exit;
    };
    // clang-format off
    const Case cases[] = {
        {"the listed profiles", kTwoProfiles, {"Default", "Profile 1"}, nullptr, kExitDone},
        {"before 16, no list: the one Default profile", R"({"profile":{}, "user_experience_metrics":{}})",
         {"Default"}, nullptr, kExitDone},
        {"names that reach another folder are no profile, and nothing is refused",
         R"({"profile":{"info_cache":{"..":{},"C:\\Temp":{},"Default\\..\\..":{},"Profile 3 ":{},)"
         R"("NUL":{},"*":{},"Profile 1":{}}}})", {"Profile 1"}, nullptr, kExitDone},
        {"an empty list: nothing", R"({"profile":{"info_cache":{}}})", {}, "no profile is listed",
         kExitDone},
        {"no Local State: nothing", nullptr, {}, "no profile is listed", kExitDone},
        {"Local State that is not JSON: nothing, and why", "{\"profile\":", {}, "malformed JSON",
         kExitLeftSome},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        ChromeMachine m(c.localState);
        EXPECT_EQ(m.Run({"/clean", "chrome-cache", "chrome-cookies", "/details"}), c.exit)
            << m.console.out;
        for (const char* profile : {"Default", "Profile 1", "Profile 3"}) {
            const bool cleaned = c.cleaned.count(profile) > 0;
            EXPECT_EQ(m.Files(profile).count("Cache\\data_0"), cleaned ? 0u : 1u) << profile;
            EXPECT_EQ(m.Census(profile).count("cookies 0"), cleaned ? 1u : 0u) << profile;
        }
        if (c.told) {
            EXPECT_NE(m.console.out.find(c.told), std::string::npos) << m.console.out;
        }
    }
}

// A running Chrome holds its lockfile to write and lets others read it: every row of every
// category is refused, and no byte of any profile changes. A lockfile nobody holds (the
// machine's own) stays and stops nothing, as the other tests show.
TEST(Chrome, NothingOfARunningChromeChanges) {
    ChromeMachine m;
    m.rig.files.HoldForWriting(kUserData + "lockfile");
    const std::vector<std::string> all = {"/clean",          "chrome-cache",   "chrome-cookies",
                                          "chrome-history",  "chrome-forms",   "chrome-downloads",
                                          "chrome-passwords", "/details"};
    EXPECT_EQ(m.Run(all), kExitLeftSome);
    EXPECT_TRUE(m.rig.files.deleted.empty());
    EXPECT_TRUE(m.rig.databases.opened.empty());
    EXPECT_NE(m.console.out.find("Chrome is running"), std::string::npos) << m.console.out;
    EXPECT_EQ(m.Census("Default"), kFullCensus);
}

}  // namespace

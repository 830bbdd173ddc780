// Firefox 3 to 52 and Opera 9.5 to 12 through the console: each category takes its own files
// and no other, a database goes with its companions only once it is gone, and a running
// Firefox keeps every file of its profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "browsers/BrowserItems.h"
#include "browsers/DatabaseRows.h"
#include "console/ConsoleProgram.h"
#include "console/ExitCodes.h"
#include "fakes/FakeConsole.h"
#include "fakes/TestRig.h"
#include "guard/CleaningSink.h"

namespace {

using namespace olvex;

const std::string kRoaming =
    "C:\\Documents and Settings\\Jo\\Application Data\\Mozilla\\Firefox\\Profiles\\x.default\\";
const std::string kLocal =
    "C:\\Documents and Settings\\Jo\\Local Settings\\Application Data\\Mozilla\\Firefox\\"
    "Profiles\\x.default\\";

// What profiles of Firefox 3.0 to 52 hold, in the profile and in its local part.
const char* const kRoamingFiles[] = {
    "cookies.sqlite",     "cookies.sqlite-wal",
    "cookies.sqlite-shm", "signons2.txt",
    "signons3.txt",       "signons.sqlite",
    "logins.json",        "key3.db",
    "cert8.db",           "permissions.sqlite",
    "formhistory.sqlite", "places.sqlite",
    "places.sqlite-wal",  "downloads.sqlite",
    "prefs.js",           "bookmarkbackups\\bookmarks-2012-01-01.json"};
const char* const kLocalFiles[] = {
    "Cache\\_CACHE_MAP_", "Cache\\0\\AB\\CDEF01d01",    "cache2\\entries\\0123ABCD",
    "cache2\\index",      "OfflineCache\\index.sqlite", "startupCache\\startupCache.4.little"};

// A machine with Firefox and one profile of a later version, every file of it planted.
struct FirefoxMachine {
    FirefoxMachine() {
        rig.SetWindows("winxp");
        rig.files.AddFolder("C:\\Program Files\\Mozilla Firefox");
        rig.profiles.Write(
            "C:\\Documents and Settings\\Jo\\Application Data\\Mozilla\\Firefox\\profiles.ini",
            "[Profile0]\nName=default\nIsRelative=1\nPath=Profiles/x.default\n");
        for (const char* name : kRoamingFiles) rig.files.AddFile(kRoaming + name);
        for (const char* name : kLocalFiles) rig.files.AddFile(kLocal + name);
    }
    int Run(std::vector<std::string> arguments) {
        console = fakes::FakeConsole();
        return RunConsoleProgram(rig.services, console, arguments);
    }
    // The planted files that are gone.
    std::set<std::string> Gone() const {
        std::set<std::string> gone;
        for (const char* name : kRoamingFiles)
            if (!rig.files.Exists(kRoaming + name)) gone.insert(name);
        for (const char* name : kLocalFiles)
            if (!rig.files.Exists(kLocal + name)) gone.insert(std::string("local ") + name);
        return gone;
    }
    fakes::Rig rig;
    fakes::FakeConsole console;
};

// The master key, permissions, certificates, settings and bookmarks belong to no category;
// places.sqlite is changed inside, never deleted.
TEST(FirefoxConsole, EachCategoryTakesItsOwnFilesAndNoOther) {
    FirefoxMachine m;
    struct Case {
        const char* id;
        std::set<std::string> gone;
    };
    const Case cases[] = {
        {"firefox-cache",
         {"local Cache\\_CACHE_MAP_", "local Cache\\0\\AB\\CDEF01d01",
          "local cache2\\entries\\0123ABCD", "local cache2\\index",
          "local OfflineCache\\index.sqlite", "local startupCache\\startupCache.4.little"}},
        {"firefox-cookies", {"cookies.sqlite", "cookies.sqlite-wal", "cookies.sqlite-shm"}},
        {"firefox-passwords", {"signons2.txt", "signons3.txt", "signons.sqlite", "logins.json"}},
        {"firefox-forms", {"formhistory.sqlite"}},
        {"firefox-history", {}},
        {"firefox-downloads", {"downloads.sqlite"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        FirefoxMachine fresh;
        const bool places =
            c.id == std::string("firefox-history") || c.id == std::string("firefox-downloads");
        EXPECT_EQ(fresh.Run({"/clean", c.id}), places ? kExitLeftSome : kExitDone)
            << fresh.console.out;
        EXPECT_EQ(fresh.Gone(), c.gone);
        // The places.sqlite planted here is empty, no history database: it stays whole, and
        // the run says so rather than report it cleared.
        EXPECT_EQ(fresh.console.out.find("refused: " + kRoaming + "places.sqlite: " +
                                         reason::kNotItsDatabase) != std::string::npos,
                  places)
            << fresh.console.out;
    }
}

TEST(FirefoxConsole, ADatabaseThatStaysKeepsItsCompanions) {
    FirefoxMachine m;
    // A preview names the companions with the database, as the clean deletes them.
    EXPECT_EQ(m.Run({"/preview", "firefox-cookies", "/details"}), kExitDone);
    EXPECT_NE(m.console.out.find(kRoaming + "cookies.sqlite-wal"), std::string::npos)
        << m.console.out;
    m.rig.files.Lock(kRoaming + "cookies.sqlite");
    EXPECT_EQ(m.Run({"/clean", "firefox-cookies"}), kExitLeftSome);
    EXPECT_TRUE(m.rig.files.Exists(kRoaming + "cookies.sqlite-wal"))
        << "the log holds what the database does not hold yet";
    EXPECT_TRUE(m.rig.files.Exists(kRoaming + "cookies.sqlite-shm"));
}

// Firefox holds its profile's parent.lock open, shared with nobody, while it runs.
TEST(FirefoxConsole, ARunningFirefoxKeepsEveryFileOfItsProfile) {
    FirefoxMachine m;
    const std::string other =
        "C:\\Documents and Settings\\Jo\\Application Data\\Mozilla\\Firefox\\Profiles\\y.other\\";
    m.rig.profiles.Write(
        "C:\\Documents and Settings\\Jo\\Application Data\\Mozilla\\Firefox\\profiles.ini",
        "[Profile0]\nPath=Profiles/x.default\n[Profile1]\nPath=Profiles/y.other\n");
    m.rig.files.AddFile(other + "cookies.sqlite");
    m.rig.files.AddFile(kRoaming + "parent.lock");
    m.rig.files.HoldShut(kRoaming + "parent.lock");
    EXPECT_EQ(m.Run({"/clean", "all", "firefox-passwords", "/details"}), kExitLeftSome);
    EXPECT_EQ(m.Gone(), std::set<std::string>{});
    EXPECT_FALSE(m.rig.files.Exists(other + "cookies.sqlite")) << "a profile not in use is cleaned";
    EXPECT_NE(m.console.out.find("refused: " + kRoaming + "cookies.sqlite: Firefox is running"),
              std::string::npos)
        << m.console.out;
    EXPECT_NE(m.console.out.find("refused: " + kLocal + "cache2: Firefox is running"),
              std::string::npos);
}

TEST(FirefoxConsole, ALockThatCannotBeReadCountsAsRunning) {
    FirefoxMachine m;
    m.rig.files.AddFile(kRoaming + "parent.lock");
    m.rig.files.MakeUnreadable(kRoaming + "parent.lock");
    EXPECT_EQ(m.Run({"/clean", "firefox-cookies", "/details"}), kExitLeftSome);
    EXPECT_EQ(m.Gone(), std::set<std::string>{});
    EXPECT_NE(m.console.out.find(reason::kUnknownUse), std::string::npos) << m.console.out;
}

// Opera 10 to 12 keep the files of 7 to 9 one folder up, and their caches in the local part;
// 9.5 on add the typed and global histories.
TEST(OperaConsole, LaterVersionsFilesGoWithTheirCategories) {
    const std::string roaming = "C:\\Documents and Settings\\Jo\\Application Data\\Opera\\Opera\\";
    const std::string local =
        "C:\\Documents and Settings\\Jo\\Local Settings\\Application Data\\Opera\\Opera\\";
    struct Case {
        const char* id;
        std::vector<std::string> gone;
    };
    const Case cases[] = {
        {"opera-history",
         {roaming + "global_history.dat", roaming + "typed_history.xml",
          roaming + "profile\\global_history.dat", roaming + "profile\\typed_history.xml"}},
        {"opera-cache", {local + "cache\\g_0000\\opr00001.tmp", local + "opcache\\index.dat"}},
        {"opera-cookies", {roaming + "cookies4.dat"}},
        {"opera-passwords", {roaming + "wand.dat"}},
        {"opera-downloads", {roaming + "download.dat"}},
        {"opera-visited-links", {roaming + "vlink4.dat"}},
    };
    std::vector<std::string> all{roaming + "operaprefs.ini", roaming + "bookmarks.adr"};
    for (const Case& c : cases) all.insert(all.end(), c.gone.begin(), c.gone.end());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        fakes::Rig rig;
        rig.SetWindows("winxp");
        rig.files.AddFolder("C:\\Program Files\\Opera");
        for (const std::string& path : all) rig.files.AddFile(path);
        fakes::FakeConsole console;
        EXPECT_EQ(RunConsoleProgram(rig.services, console, {"/clean", c.id}), kExitDone)
            << console.out;
        for (const std::string& path : all)
            EXPECT_EQ(rig.files.Exists(path),
                      std::find(c.gone.begin(), c.gone.end(), path) == c.gone.end())
                << path;
    }
}

}  // namespace

namespace {

// A profile kept elsewhere is its own local part: its Cache is emptied whole by the later
// versions' row, and a preview names each file there once, not again for the first versions'.
TEST(FirefoxConsole, APreviewNamesTheCacheOfAProfileKeptElsewhereOnce) {
    fakes::Rig rig;
    rig.SetWindows("winxp");
    rig.files.AddFolder("C:\\Program Files\\Mozilla Firefox");
    rig.profiles.Write(
        "C:\\Documents and Settings\\Jo\\Application Data\\Mozilla\\Firefox\\profiles.ini",
        "[Profile0]\nIsRelative=0\nPath=D:\\Elsewhere\\abs.default\n");
    rig.files.AddFile("D:\\Elsewhere\\abs.default\\Cache\\0A1B2C3D");
    rig.files.AddFile("D:\\Elsewhere\\abs.default\\Cache\\Sub\\keep.bin");
    fakes::FakeConsole console;
    RunConsoleProgram(rig.services, console, {"/preview", "firefox-cache", "/details"});
    const std::string& out = console.out;
    const size_t first = out.find("0A1B2C3D");
    ASSERT_NE(first, std::string::npos) << out;
    EXPECT_EQ(out.find("0A1B2C3D", first + 1), std::string::npos) << out;
    EXPECT_NE(out.find("keep.bin"), std::string::npos) << out;
}

}  // namespace

// The console program over the in-memory system: what it refuses before touching anything,
// and that its preview names exactly what its clean deletes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>

#include "console/CommandLine.h"
#include "console/ConsoleProgram.h"
#include "categories/CategoryTable.h"
#include "console/ConsoleReport.h"
#include "console/Csv.h"
#include "fakes/FakeConsole.h"
#include "fakes/TestRig.h"

namespace {

using namespace olvex;
using platform::kAttrHidden;
using platform::kAttrReadOnly;


// The paths of the CSV rows (category,action,path,...) or log lines (time,category,action,
// path,...) whose action is one of actions; a path named twice counts twice.
std::multiset<std::string> PathsOf(const std::string& csv, size_t actionColumn,
                                   const std::set<std::string>& actions) {
    std::multiset<std::string> paths;
    std::istringstream lines(csv);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
        if (fields.size() > actionColumn + 1 && actions.count(fields[actionColumn]) &&
            !fields[actionColumn + 1].empty())
            paths.insert(fields[actionColumn + 1]);
    }
    return paths;
}

const std::string kUserTemp = "C:\\Documents and Settings\\Jo\\Local Settings\\temp\\";

class ConsoleProgram : public ::testing::Test {
  protected:
    ConsoleProgram() {
        rig.SetWindows("winxp");
        rig.system.admin = 1;
        rig.files.AddFile("C:\\WINDOWS\\temp\\a.tmp");
        rig.files.AddFile("C:\\WINDOWS\\temp\\ro.tmp", kAttrReadOnly);
        rig.files.AddFile("C:\\WINDOWS\\temp\\h.tmp", kAttrHidden);
        rig.files.AddFile("C:\\WINDOWS\\temp\\busy.tmp");
        rig.files.Lock("C:\\WINDOWS\\temp\\busy.tmp");
        rig.files.AddFile("C:\\WINDOWS\\temp\\sub\\deep\\b.tmp");
        // Removal of this folder stops at its read-only file, after the file before it, and
        // ends the sweep.
        rig.files.AddFile(kUserTemp + "stuck\\1.tmp");
        rig.files.AddFile(kUserTemp + "stuck\\2.tmp", kAttrReadOnly);
        rig.files.AddFile(kUserTemp + "u.tmp");
    }
    int Run(std::vector<std::string> arguments) {
        console = fakes::FakeConsole();
        return RunConsoleProgram(rig.services, console, arguments);
    }
    fakes::Rig rig;
    fakes::FakeConsole console;
};

TEST_F(ConsoleProgram, RefusalsComeBeforeAnythingIsDeleted) {
    struct Case {
        std::vector<std::string> arguments;
        int code;
    };
    for (const Case& c : std::vector<Case>{
             {{"/clean", "windows-temp", "no-such-id"}, kExitBadUsage},
             {{"/clean", "all", "/bogus"}, kExitBadUsage},
             {{"/clean"}, kExitBadUsage},
             {{"/preview", "/clean", "all"}, kExitBadUsage},
             {{"windows-temp"}, kExitBadUsage},
             {{"/list", "windows-temp"}, kExitBadUsage},
             {{"/details"}, kExitBadUsage},  // no command: the help, as a mistake
             {{}, kExitBadUsage},
             {{"/list", "/olderthan:3"}, kExitBadUsage},
             {{"/clean", "all", "/olderthan:0"}, kExitBadUsage},
             {{"/clean", "all", "/exclude:temp"}, kExitBadUsage},  // not a full path
             {{"/clean", "temp", "opera-cache"}, kExitNotPossible},  // none of them runs here
             {{"/clean", "windows-temp", "temp", "/strict"}, kExitNotPossible},
             {{"/clean", "all", "firefox-passwords", "/strict"}, kExitNotPossible},
             {{"/clean", "recycle-bin", "/olderthan:7"}, kExitNotPossible},  // emptied whole
         }) {
        SCOPED_TRACE(c.arguments.empty() ? "" : c.arguments.back());
        EXPECT_EQ(Run(c.arguments), c.code);
        EXPECT_NE(console.err + console.out, "");
        if (!c.arguments.empty() && c.arguments[0] != "/details") {
            EXPECT_EQ(console.out, "");
        }
    }
    rig.system.admin = 0;
    EXPECT_EQ(Run({"-CLEAN", "All-Users-Temp"}), kExitNotPossible);
    EXPECT_NE(console.err.find("administrators only"), std::string::npos);
    rig.SetWindows("win2k");
    EXPECT_EQ(Run({"/clean", "prefetch"}), kExitNotPossible);
    EXPECT_NE(console.err.find("not on Windows 2000"), std::string::npos);
    rig.SetWindows("win95");
    EXPECT_EQ(Run({"/list"}), kExitNotPossible);
    EXPECT_TRUE(rig.files.deleted.empty());
    EXPECT_TRUE(rig.files.removedFolders.empty());
    EXPECT_TRUE(rig.files.atRestart.empty());
}

TEST_F(ConsoleProgram, PreviewNamesExactlyWhatTheCleanDeletes) {
    EXPECT_EQ(Run({"/preview", "windows-temp", "user-temp", "/details", "/csv"}), kExitLeftSome);
    EXPECT_TRUE(rig.files.deleted.empty()) << "a preview deletes nothing";
    EXPECT_TRUE(rig.files.removedFolders.empty());
    EXPECT_TRUE(rig.files.atRestart.empty()) << "nor registers anything";
    const std::string preview = console.out;
    const std::multiset<std::string> wouldGo =
        PathsOf(preview, 1, {"would delete", "would remove"});

    EXPECT_EQ(Run({"/clean", "windows-temp", "user-temp", "/log:C:\\log.csv", "/quiet"}),
              kExitLeftSome);
    EXPECT_EQ(console.out, "") << "quiet";
    const std::string log = rig.files.Content("C:\\log.csv");
    ASSERT_EQ(log.compare(0, 3, "\xEF\xBB\xBF"), 0) << "the log starts with a byte-order mark";
    EXPECT_EQ(PathsOf(log, 4, {"deleted", "removed"}), wouldGo);
    std::multiset<std::string> gone(rig.files.deleted.begin(), rig.files.deleted.end());
    gone.insert(rig.files.removedFolders.begin(), rig.files.removedFolders.end());
    EXPECT_EQ(gone, wouldGo);
    EXPECT_EQ(wouldGo, (std::multiset<std::string>{
                           "C:\\WINDOWS\\temp\\a.tmp",
                           "C:\\WINDOWS\\temp\\sub",
                           "C:\\WINDOWS\\temp\\sub\\deep",
                           "C:\\WINDOWS\\temp\\sub\\deep\\b.tmp",
                           kUserTemp + "stuck\\1.tmp",
                       }))
        << preview;
    // What stays says why, in both; the registrations the preview names are the clean's.
    for (const char* reason : {"read-only", "in use", "hidden"})
        EXPECT_NE(preview.find(reason), std::string::npos) << reason;
    EXPECT_EQ(PathsOf(preview, 1, {"would register"}), PathsOf(log, 4, {"registered"}));
    EXPECT_EQ(PathsOf(log, 4, {"registered"}),
              std::multiset<std::string>(rig.files.atRestart.begin(), rig.files.atRestart.end()));
}

// Every step that does nothing says so, and only what a script must look into makes exit 1:
// a folder that is not there does not, nor what stays by design; a link on a start folder's
// path and a failure do, with the path, the reason and the system's own code, never the old
// run-time texts.
TEST_F(ConsoleProgram, StepsThatDidNothingSaySo) {
    rig.files.AddFile("C:\\WINDOWS\\Prefetch\\layout.ini");
    rig.files.AddFile("C:\\WINDOWS\\Prefetch\\A.pf");
    EXPECT_EQ(Run({"/clean", "prefetch", "java-cache", "/details"}), kExitDone) << console.out;
    EXPECT_NE(console.out.find("not there  C:\\Documents and Settings\\Jo\\Application "
                               "Data\\Sun\\Java\\Deployment\\cache\\javapi"),
              std::string::npos)
        << console.out;
    EXPECT_NE(console.out.find("layout.ini  0 bytes  (kept by design)"), std::string::npos);
    EXPECT_EQ(console.err, "");

    rig.files.AddFolderLink("C:\\Documents and Settings\\Jo\\Application Data\\Sun");
    rig.shell.historyFails = true;
    EXPECT_EQ(Run({"/clean", "java-cache", "ie-history", "/log:C:\\log.csv", "/quiet"}),
              kExitLeftSome);
    EXPECT_EQ(console.out, "");
    for (const std::string& text : {console.err, rig.files.Content("C:\\log.csv")}) {
        EXPECT_NE(text.find("refused"), std::string::npos) << text;
        EXPECT_NE(text.find("C:\\Documents and Settings\\Jo\\Application Data\\Sun"),
                  std::string::npos);
        EXPECT_NE(text.find(reason::kLinkOnPath), std::string::npos);
        EXPECT_NE(text.find("the history object did not clear (HRESULT 0x80004001)"),
                  std::string::npos);
        EXPECT_EQ(text.find("Automation error"), std::string::npos) << "the windows' text only";
    }
}

// Run as the system account, whose profile lies in system32\config, All Users Temp cleans the
// users' profiles, where the system keeps them, and nothing beside its own profile.
TEST_F(ConsoleProgram, TheSystemAccountCleansEveryUsersProfile) {
    rig.BeSystemAccount();
    rig.files.DeleteByPath(kUserTemp + "stuck\\2.tmp");
    const std::string config = "C:\\WINDOWS\\system32\\config\\";
    rig.files.AddFile(config + "systemprofile\\Local Settings\\temp\\own.tmp");
    rig.files.AddFile(config + "regback\\cookies\\keep.txt");
    rig.files.AddFile("C:\\Documents and Settings\\Bo\\Local Settings\\temp\\b.tmp");
    rig.files.AddFile("C:\\Documents and Settings\\Bo\\cookies\\bo@site.txt");
    EXPECT_EQ(Run({"/clean", "all-users-temp", "user-temp"}), kExitDone) << console.err;
    EXPECT_FALSE(rig.files.Exists("C:\\Documents and Settings\\Bo\\Local Settings\\temp\\b.tmp"));
    EXPECT_FALSE(rig.files.Exists("C:\\Documents and Settings\\Bo\\cookies\\bo@site.txt"));
    EXPECT_FALSE(rig.files.Exists(config + "systemprofile\\Local Settings\\temp\\own.tmp"));
    EXPECT_TRUE(rig.files.Exists(config + "regback\\cookies\\keep.txt"));
    // Its own Recycle Bin holds none of the users' files: the bin is skipped, and says why.
    EXPECT_EQ(Run({"/clean", "recycle-bin"}), kExitNotPossible);
    EXPECT_NE(console.err.find("run as the system account"), std::string::npos) << console.err;
    Run({"/clean", "all"});
    EXPECT_TRUE(rig.shell.recycleOwners.empty()) << "all leaves the bin out";
}

// What Wine cannot show: Windows 2000's shell counts no Recycle Bin for "every drive", so it is
// counted drive by drive, a SUBST letter's not again; files on a network drive stay rather
// than be registered for a restart that runs before the network; an NT 4.0 profile has no
// Local Settings, and its TEMP is cleaned only inside the profile.
TEST_F(ConsoleProgram, WhatTheRealSystemsDoDifferently) {
    rig.SetWindows("win2k");
    rig.shell.refusesAllDrivesRoot = true;
    rig.files.AddFolder("D:");
    rig.files.AddFolder("S:");
    rig.files.SetDriveKind("S:", platform::DriveKind::Substituted);
    rig.shell.recycleByDrive = {{"C:\\", {2, 100}}, {"D:\\", {1, 50}}, {"S:\\", {9, 9}}};
    EXPECT_EQ(Run({"/preview", "recycle-bin"}), kExitDone);
    EXPECT_NE(console.out.find("holds 3 items, 150 bytes"), std::string::npos) << console.out;

    rig.shell.folders[0x1A] = "N:\\AppData";
    rig.files.SetDriveKind("N:", platform::DriveKind::Remote);
    rig.files.AddFile("N:\\AppData\\Sun\\Java\\Deployment\\cache\\javapi\\ro.idx", kAttrReadOnly);
    EXPECT_EQ(Run({"/clean", "java-cache"}), kExitLeftSome);
    EXPECT_NE(console.out.find(reason::kBootCannotReach), std::string::npos) << console.out;
    EXPECT_TRUE(rig.files.atRestart.empty());
    EXPECT_TRUE(rig.files.unreachableAtRestart.empty()) << "never even asked";

    rig.SetWindows("nt40");
    const std::string profile = "C:\\WINNT\\Profiles\\Jo";
    rig.shell.folders[0x28] = profile;
    rig.files.AddFile(profile + "\\Temp\\t.tmp");
    rig.files.AddFile("C:\\TEMP\\shared.tmp");
    for (const char* temp : {"C:\\TEMP", "C:\\WINNT\\Profiles\\Jo\\Temp"}) {
        rig.system.environment["TEMP"] = temp;
        EXPECT_EQ(Run({"/clean", "user-temp", "/details"}), kExitDone);
        EXPECT_EQ(console.out.find("not there") != std::string::npos,
                  temp == std::string("C:\\TEMP"))
            << console.out;
    }
    EXPECT_FALSE(rig.files.Exists(profile + "\\Temp\\t.tmp"));
    EXPECT_TRUE(rig.files.Exists("C:\\TEMP\\shared.tmp")) << "every user's TEMP";
}

// Something in every place every category of the family cleans, both browsers installed,
// with files that stay beside those that go.
void SeedEveryCategory(fakes::Rig& rig, bool nt) {
    auto& f = rig.files;
    const std::string jo = "C:\\Documents and Settings\\Jo\\";
    const std::string app = nt ? jo + "Application Data\\" : "C:\\WINDOWS\\Application Data\\";
    for (const std::string& folder :
         {std::string("C:\\WINDOWS\\temp\\"), app + "Sun\\Java\\Deployment\\cache\\javapi\\",
          nt ? jo + "Local Settings\\temp\\" : "C:\\Temp\\",
          nt ? jo + "Cookies\\" : "C:\\Windows\\Cookies\\",
          std::string("C:\\WINDOWS\\Prefetch\\"),
          std::string("C:\\Documents and Settings\\Bo\\Local Settings\\temp\\")}) {
        f.AddFile(folder + "a.tmp");
        f.AddFile(folder + "sub\\b.tmp");
        f.AddFile(folder + "ro.tmp", kAttrReadOnly);
    }
    f.AddFile("C:\\WINDOWS\\Prefetch\\layout.ini");
    rig.urlCache.Add("http://a.example/page.html");
    rig.urlCache.Add("Cookie:jo@a.example/");
    rig.shell.recycleItems = 2;
    f.AddFolder("C:\\Program Files\\Mozilla Firefox");
    f.AddFolder("C:\\Program Files\\Opera");
    rig.profiles.Write(app + "Mozilla\\Firefox\\profiles.ini",
                       "[Profile0]\nPath=Profiles/p.default\n");
    const std::string opera = nt ? app + "Opera\\Opera\\profile\\" : "C:\\Program Files\\opera\\profile\\";
    for (const char* name : {"Cookies.txt", "signons.txt", "formhistory.dat", "HIStory.dat",
                             "downloads.rdf", "Cache\\c.bin"})
        f.AddFile(app + "Mozilla\\Firefox\\Profiles\\p.default\\" + name);
    for (const char* name : {"Cache4\\c.bin", "Cookies4.dat", "wand.dat", "global.dat",
                             "download.dat", "vlink4.dat"})
        f.AddFile(opera + name);
    if (!nt) return;
    const std::string chrome = jo + "Local Settings\\Application Data\\Google\\Chrome\\";
    f.AddFolder(chrome + "Application");
    f.AddFile(chrome + "User Data\\Local State", 0, "{}");
    const char* const tables[][2] = {{"Cookies", "cookies"}, {"History", "visits"},
                                     {"Login Data", "logins"}, {"Web Data", "autofill"}};
    for (const auto& [name, table] : tables)
        f.AddFile(chrome + "User Data\\Default\\" + name, 0,
                  fakes::DatabaseFileOf(std::string("CREATE TABLE ") + table + "(a);"
                                        "CREATE TABLE downloads(a); INSERT INTO downloads VALUES "
                                        "(1); INSERT INTO " + table + " VALUES (1);"));
    f.AddFile(chrome + "User Data\\Default\\Cache\\data_0");
}

// A preview of every category of both families makes no change at all, however the changes
// are made: files, folders, moves and registrations, the Recycle Bin, the history and the cache
// index. The clean then makes exactly the changes the preview named. "all" leaves out what asks
// before it is ticked, and a registration alone makes exit code 1.
TEST_F(ConsoleProgram, APreviewOfEveryCategoryChangesNothingAndNamesWhatTheCleanDoes) {
    for (const char* version : {"winxp", "win98"}) {
        SCOPED_TRACE(version);
        fakes::Rig fresh;
        fakes::Rig& r = fresh;
        r.SetWindows(version);
        const bool nt = std::string(version) == "winxp";
        SeedEveryCategory(r, nt);
        auto run = [&](std::vector<std::string> arguments) {
            console = fakes::FakeConsole();
            return RunConsoleProgram(r.services, console, arguments);
        };
        EXPECT_EQ(run({"/preview", "all", "firefox-passwords", "opera-passwords", "chrome-passwords", "/details",
                       "/csv"}),
                  kExitLeftSome);
        EXPECT_TRUE(r.files.deleted.empty() && r.files.removedFolders.empty() &&
                    r.files.atRestart.empty() && r.files.moves.empty() &&
                    r.files.unreachableAtRestart.empty());
        EXPECT_TRUE(r.shell.recycleOwners.empty());
        EXPECT_EQ(r.shell.historyClears, 0);
        EXPECT_TRUE(r.urlCache.deleted.empty());
        const std::string preview = console.out;
        for (const Category* category : CategoriesOn(nt ? Family::NT : Family::Windows98))
            EXPECT_NE(preview.find(std::string(category->id) + ","), std::string::npos)
                << category->id;

        EXPECT_EQ(run({"/clean", "all", "firefox-passwords", "opera-passwords", "chrome-passwords", "/log:C:\\l.csv"}),
                  kExitLeftSome);
        const std::string log = r.files.Content("C:\\l.csv");
        // Where two rows reach the same files (All Users Temp meets the user's own temporary
        // folder and cookies), both the preview and the clean delete them once; the clean
        // meets what stays there again, and may register it again, the preview not.
        auto once = [](const std::multiset<std::string>& paths) {
            std::set<std::string> lower;
            for (std::string path : paths) {
                for (char& c : path) c = static_cast<char>(std::tolower(c));
                lower.insert(path);
            }
            return lower;
        };
        for (const auto& [going, gone] :
             {std::pair<std::string, std::string>{"would register", "registered"},
              {"would purge", "purged"}})
            EXPECT_EQ(once(PathsOf(preview, 1, {going})), once(PathsOf(log, 4, {gone}))) << gone;
        std::multiset<std::string> gone(r.files.deleted.begin(), r.files.deleted.end());
        gone.insert(r.files.removedFolders.begin(), r.files.removedFolders.end());
        EXPECT_EQ(PathsOf(log, 4, {"deleted", "removed"}), gone);
        EXPECT_EQ(PathsOf(preview, 1, {"would delete", "would remove"}), gone);
        EXPECT_EQ(r.shell.recycleOwners.size(), 1u);
        EXPECT_EQ(r.shell.historyClears, 1);

        run({"/preview", "all", "/csv"});
        EXPECT_EQ(console.out.find("passwords,"), std::string::npos) << "all asks for no passwords";
    }
    // A file registered for deletion at restart is left all the same.
    rig.files.AddFile("C:\\Documents and Settings\\Jo\\Cookies\\ro.txt", kAttrReadOnly);
    EXPECT_EQ(Run({"/clean", "cookies"}), kExitLeftSome);
    EXPECT_EQ(rig.files.atRestart.size(), 1u);
}

// The progress line goes to a console window only, a few times a second at most, and is
// gone before the totals are written.
TEST(ConsoleText, ProgressOnlyOnAConsoleAndPaced) {
    for (bool console : {false, true}) {
        fakes::FakeConsole screen;
        screen.errIsConsole = console;
        ConsoleRequest request;
        request.command = Command::Clean;
        ConsoleReport report(screen, request, {}, nullptr, nullptr);
        report.Begin("windows-temp");
        for (int i = 0; i < 100; ++i) report.Item({ItemAction::Deleted, "", 10});
        report.End("windows-temp");
        // Each item costs the fake clock 100 ms: 10 seconds, so about 40 lines at 4 a second.
        const size_t lines = std::count(screen.err.begin(), screen.err.end(), '\r') / 2;
        if (console) {
            EXPECT_GE(lines, 30u);
        } else {
            EXPECT_EQ(screen.err, "");
        }
        EXPECT_LE(lines, 41u);
        EXPECT_NE(screen.out.find("deleted: 100 files and 0 folders, 1000 bytes"),
                  std::string::npos);
    }
}

TEST(ConsoleText, CommandLinesSplitAsWindowsProgramsSplitThem) {
    EXPECT_EQ(
        SplitCommandLine("\"C:\\Program Files\\olvex.exe\" /log:\"C:\\my logs\\a.csv\"  all "
                         "a\\\"b c:\\x\\\\ \"d\\\\\"e"),
        (std::vector<std::string>{"/log:C:\\my logs\\a.csv", "all", "a\"b", "c:\\x\\\\", "d\\e"}));
    EXPECT_EQ(SplitCommandLine("olvex"), std::vector<std::string>{});
    EXPECT_EQ(CsvField("C:\\a,b\"c"), "\"C:\\a,b\"\"c\"");
    EXPECT_EQ(CsvField("=HYPERLINK(1)"), "'=HYPERLINK(1)");
}

}  // namespace

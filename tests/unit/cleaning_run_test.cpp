// "Empty Selected" in both main windows, on the in-memory system.
#include <gtest/gtest.h>

#include "fakes/TestRig.h"
#include "guard/DeletionGuard.h"

namespace {

using namespace olvex;

// The older NT layout of user Jo, with something in every place a category names.
void SeedNt(fakes::Rig& rig) {
    rig.system.windowsDir = "C:\\WINDOWS";
    for (const char* file :
         {"C:\\WINDOWS\\temp\\w.tmp", "C:\\Documents and Settings\\Jo\\Local Settings\\temp\\u.tmp",
          "C:\\Documents and Settings\\Jo\\Cookies\\jo@site.txt", "C:\\windows\\prefetch\\A.pf",
          "C:\\Documents and Settings\\Jo\\Application "
          "Data\\Sun\\Java\\Deployment\\cache\\javapi\\j.jar",
          "C:\\Documents and Settings\\Bo\\Local Settings\\temp\\b.tmp",
          "C:\\Documents and Settings\\Bo\\Local Settings\\Temporary Internet "
          "Files\\content.ie5\\i.htm",
          "C:\\Documents and Settings\\Bo\\Local Settings\\Temporary Internet Files\\t.gif",
          "C:\\Documents and Settings\\Bo\\cookies\\bo@site.txt",
          "C:\\Documents and Settings\\Jo\\Local Settings\\Application Data\\keep.dat"})
        rig.files.AddFile(file);
}

void Tick(ui::Form& form, std::initializer_list<const char*> boxes) {
    for (const char* box : boxes) form.Ctl(box).SetValue(1);
}

class CleaningRun : public ::testing::Test {
  protected:
    fakes::Rig rig;
};

TEST_F(CleaningRun, EachNtCategoryCleansOnlyItsOwnPlace) {
    struct Case {
        const char* box;
        std::vector<std::string> gone;
    };
    const std::vector<Case> cases = {
        {"Check1", {"C:\\WINDOWS\\temp\\w.tmp"}},
        {"Check2", {"C:\\Documents and Settings\\Jo\\Local Settings\\temp\\u.tmp"}},
        {"Check3", {"C:\\Documents and Settings\\Jo\\Cookies\\jo@site.txt"}},
        {"Check6", {"C:\\windows\\prefetch\\A.pf"}},
        {"Check10",
         {"C:\\Documents and Settings\\Jo\\Application "
          "Data\\Sun\\Java\\Deployment\\cache\\javapi\\j.jar"}},
        {"Check9",
         {"C:\\Documents and Settings\\Bo\\Local Settings\\temp\\b.tmp",
          "C:\\Documents and Settings\\Bo\\Local Settings\\Temporary Internet "
          "Files\\content.ie5\\i.htm",
          "C:\\Documents and Settings\\Bo\\Local Settings\\Temporary Internet Files\\t.gif",
          "C:\\Documents and Settings\\Bo\\cookies\\bo@site.txt",
          "C:\\Documents and Settings\\Jo\\Local Settings\\temp\\u.tmp",
          "C:\\Documents and Settings\\Jo\\Cookies\\jo@site.txt"}},
        {"Check4", {}},
        {"Check5", {}},
        {"Check8", {}},
    };
    for (const Case& c : cases) {
        fakes::Rig r;
        r.SetWindows("winxp");
        SeedNt(r);
        r.Start();
        Tick(r.Form(1), {c.box});
        r.Form(1).Ctl("Command1").UserClick();
        for (const std::string& path : c.gone)
            EXPECT_FALSE(r.files.Exists(path)) << c.box << " " << path;
        EXPECT_EQ(r.files.deleted.size(), c.gone.size()) << c.box;
        EXPECT_EQ(r.Form(1).Ctl(c.box).Value(), 1) << "ticks stay";
        EXPECT_TRUE(r.files.Exists(
            "C:\\Documents and Settings\\Jo\\Local Settings\\Application Data\\keep.dat"));
    }
}

TEST_F(CleaningRun, CookiesAndCacheCategoriesPurgeTheIndexIntoList1) {
    for (auto [version, form] : {std::pair{"winxp", 1}, std::pair{"win98", 6}}) {
        fakes::Rig r;
        r.SetWindows(version);
        r.urlCache.Add("http://a.example/page.html");
        r.urlCache.Add("Cookie:jo@a.example/");
        r.urlCache.Add("Visited:jo@http://a.example/");
        r.Start();
        r.Form(form).Ctl(form == 1 ? "Check3" : "Check2").SetValue(1);
        r.Form(form).Ctl("Check4").SetValue(1);
        r.Form(form).Ctl("Command1").UserClick();
        // Cookies first, listed as cookies, then the cache purge's content entries; the
        // visited address is the history's, which neither lists.
        EXPECT_EQ(r.urlCache.Urls(), std::vector<std::string>{"Visited:jo@http://a.example/"})
            << version;
        ui::Control& list = r.Form(form).Ctl("List1");
        EXPECT_EQ(list.ListCount(), 2) << version;
        EXPECT_EQ(list.List(0), "Cookie:jo@a.example/");
        EXPECT_EQ(list.List(1), "http://a.example/page.html");
        fakes::ExpectPeerMatchesForm(r.Form(form));
        EXPECT_EQ(r.urlCache.OpenEnumerations(), 0);
        EXPECT_EQ(r.memory.LiveBlocks(), 0);
    }
}

TEST_F(CleaningRun, NtRunMessageAndPointer) {
    rig.SetWindows("winxp");
    rig.system.freeFigures = {1000000, 3500000};
    rig.Start();
    rig.Form(1).Ctl("Command1").UserClick();
    ASSERT_EQ(rig.toolkit.boxes.size(), 1u);
    EXPECT_EQ(rig.toolkit.boxes[0].text, "Done Cleaning!! OLVEX CLEANER has freed 2500000 bytes");
    EXPECT_EQ(rig.toolkit.boxes[0].title, "Done");
    EXPECT_EQ(rig.toolkit.boxes[0].buttons, ui::kOkOnly);
    EXPECT_EQ(rig.toolkit.pointers, (std::vector<int>{11, 0}));
    EXPECT_EQ(rig.system.measuredRoots, (std::vector<std::string>{"C:\\", "C:\\"}));
}

TEST_F(CleaningRun, Windows98RunHasThePlainMessageAndNoMeasurement) {
    rig.SetWindows("win98");
    rig.system.freeFigures = {1, 2};
    rig.Start();
    rig.Form(6).Ctl("Command1").UserClick();
    ASSERT_EQ(rig.toolkit.boxes.size(), 1u);
    EXPECT_EQ(rig.toolkit.boxes[0].text, "Done Cleaning!! ");
    EXPECT_EQ(rig.toolkit.boxes[0].title, "Done");
    EXPECT_TRUE(rig.system.measuredRoots.empty());
    EXPECT_EQ(rig.toolkit.pointers, (std::vector<int>{11, 0}));
}

TEST_F(CleaningRun, Windows98Paths) {
    rig.SetWindows("win98");
    for (const char* file :
         {"C:\\WINDOWS\\temp\\w.tmp", "C:\\Windows\\Cookies\\c.txt", "C:\\Temp\\t.tmp",
          "C:\\WINDOWS\\Application Data\\Sun\\Java\\Deployment\\cache\\javapi\\j.jar",
          "C:\\Other\\keep.txt"})
        rig.files.AddFile(file);
    rig.Start();
    Tick(rig.Form(6), {"Check1", "Check2", "Check3", "Check8"});
    rig.Form(6).Ctl("Command1").UserClick();
    EXPECT_EQ(rig.files.deleted.size(), 4u);
    EXPECT_TRUE(rig.files.Exists("C:\\Other\\keep.txt"));
    EXPECT_TRUE(rig.files.atRestart.empty());
}

TEST_F(CleaningRun, RecycleBinIsOwnedByTheNtMainWindowInBothFamilies) {
    for (auto [version, form] : {std::pair{"winxp", 1}, std::pair{"win98", 6}}) {
        fakes::Rig r;
        r.SetWindows(version);
        r.shell.recycleResult = 1;
        r.Start();
        r.Form(form).Ctl(form == 1 ? "Check8" : "Check6").SetValue(1);
        r.Form(form).Ctl("Command1").UserClick();
        ASSERT_EQ(r.shell.recycleOwners.size(), 1u) << version;
        EXPECT_EQ(r.shell.recycleOwners[0], r.Form(1).hWnd()) << version;
        EXPECT_NE(r.shell.recycleOwners[0], 0u);
        EXPECT_EQ(r.shell.iconUpdates, 1) << "a non-zero result updates the icon";
    }
}

TEST_F(CleaningRun, FailingStepsAreSkippedAndTheMessageStillComes) {
    rig.SetWindows("winxp");
    SeedNt(rig);
    rig.files.AddFile("C:\\WINDOWS\\temp\\sub\\ro.tmp", platform::kAttrReadOnly);
    rig.shell.historyFails = true;
    rig.Start();
    rig.Form(1).Ctl("Check7").SetValue(1);
    rig.Form(1).Ctl("Command1").UserClick();
    EXPECT_EQ(rig.shell.historyClears, 1);
    EXPECT_FALSE(rig.files.Exists("C:\\windows\\prefetch\\A.pf")) << "later categories still run";
    ASSERT_EQ(rig.toolkit.boxes.size(), 1u);
    EXPECT_EQ(rig.toolkit.boxes[0].title, "Done");
}

TEST_F(CleaningRun, PrefetchKeepsLayoutAndNeverTouchesTheUsersOwnFile) {
    for (bool withLayout : {true, false}) {
        fakes::Rig r;
        r.SetWindows("winxp");
        r.files.AddFile("C:\\layout.ini", platform::kAttrArchive, "the user's own");
        r.files.AddFile("C:\\windows\\prefetch\\X.pf");
        if (withLayout)
            r.files.AddFile("C:\\windows\\prefetch\\layout.ini", platform::kAttrArchive, "layout");
        r.Start();
        r.Form(1).Ctl("Check6").SetValue(1);
        r.Form(1).Ctl("Command1").UserClick();
        EXPECT_EQ(r.files.Content("C:\\layout.ini"), "the user's own");
        EXPECT_FALSE(r.files.Exists("C:\\windows\\prefetch\\X.pf"));
        EXPECT_EQ(r.files.Exists("C:\\windows\\prefetch\\layout.ini"), withLayout);
        if (withLayout) {
            EXPECT_EQ(r.files.Content("C:\\windows\\prefetch\\layout.ini"), "layout");
        }
    }
}

// What stays is registered for deletion at restart only where nobody but Jo and the
// administrators can change the folders on its path before then: the machine's temp folder
// itself, Jo's own folders, never Bo's profile.
TEST_F(CleaningRun, FilesThatStayAreRegisteredOnlyInTheUsersOwnAndTheMachinesFolders) {
    rig.SetWindows("winxp");
    SeedNt(rig);
    for (const char* file : {"C:\\WINDOWS\\temp\\w.ro", "C:\\WINDOWS\\temp\\zsub\\s.ro",
                             "C:\\Documents and Settings\\Jo\\Local Settings\\temp\\u.ro",
                             "C:\\Documents and Settings\\Bo\\Local Settings\\temp\\b.ro",
                             "C:\\Documents and Settings\\Bo\\cookies\\c.ro"})
        rig.files.AddFile(file, platform::kAttrReadOnly);
    rig.Start();
    Tick(rig.Form(1), {"Check1", "Check9"});
    rig.Form(1).Ctl("Command1").UserClick();
    // The read-only file in Windows Temp's subfolder stops that folder's removal, and so the
    // sweep, before any registration below the top could happen.
    EXPECT_EQ(
        rig.files.atRestart,
        (std::vector<std::string>{"C:\\WINDOWS\\temp\\w.ro",
                                  "C:\\Documents and Settings\\Jo\\Local Settings\\temp\\u.ro"}));
    EXPECT_TRUE(rig.files.Exists("C:\\Documents and Settings\\Bo\\cookies\\c.ro"));
}

// NT 4.0: its shell knows neither the profile folder nor Program Files; the environment and
// the registry name them. Jo's profile is Jo.000, a domain user's kind, beside an older Jo of
// somebody else's, and the Windows folder is C:\WINNT, as on systems upgraded from it.
TEST_F(CleaningRun, Nt40FindsTheProfileProgramFilesAndPrefetchWithoutTheShell) {
    rig.SetWindows("nt40");
    rig.system.windowsDir = "C:\\WINNT";
    rig.shell.folders = {{0x1A, "C:\\WINNT\\Profiles\\Jo.000\\Application Data"},
                         {0x20, "C:\\WINNT\\Profiles\\Jo.000\\Temporary Internet Files"},
                         {0x21, "C:\\WINNT\\Profiles\\Jo.000\\Cookies"}};
    rig.system.environment["USERPROFILE"] = "C:\\WINNT\\Profiles\\Jo.000";
    rig.system.machineSettings[fakes::kProgramFilesDir] = "C:\\Program Files";
    const std::string own = "C:\\WINNT\\Profiles\\Jo.000\\";
    const std::string other = "C:\\WINNT\\Profiles\\Jo\\";
    const std::vector<std::string> gone = {own + "Local Settings\\temp\\u.tmp",
                                           own + "Cookies\\jo@site.txt",
                                           own + "Temporary Internet Files\\t.gif",
                                           other + "Cookies\\old.txt", "C:\\WINNT\\Prefetch\\A.pf"};
    const std::vector<std::string> kept = {
        own + "Cookies\\c.ro", other + "Cookies\\s.ro", "C:\\windows\\prefetch\\B.pf",
        "C:\\WINNT\\system32\\cookies\\keep.txt", other + "Jo.000\\temp\\keep.tmp"};
    for (const std::string& file : gone) rig.files.AddFile(file);
    for (const std::string& file : kept)
        rig.files.AddFile(file, file.size() > 3 && file.substr(file.size() - 3) == ".ro"
                                    ? platform::kAttrReadOnly
                                    : platform::kAttrArchive);
    rig.files.AddFolder("C:\\Program Files\\mozilla firefox");
    rig.Start();
    EXPECT_TRUE(rig.Form(1).Menu("mnuFirefox").Enabled());
    Tick(rig.Form(1), {"Check2", "Check3", "Check6", "Check9"});
    rig.Form(1).Ctl("Command1").UserClick();

    for (const std::string& file : gone) EXPECT_FALSE(rig.files.Exists(file)) << file;
    for (const std::string& file : kept) EXPECT_TRUE(rig.files.Exists(file)) << file;
    // By Cookies and by All Users Temp, which knows Jo.000 for Jo's own; never the other's.
    ASSERT_EQ(rig.files.atRestart.size(), 2u);
    for (const std::string& path : rig.files.atRestart)
        EXPECT_TRUE(olvex::IsSamePath(path, own + "Cookies\\c.ro")) << path;
}

TEST_F(CleaningRun, AllUsersTempNeverSweepsAParentOfTheCacheOnDeepLayouts) {
    rig.SetWindows("winxp");
    rig.shell.folders[0x28] = "C:\\users\\root";
    rig.shell.folders[0x20] = "C:\\users\\root\\AppData\\Local\\Microsoft\\Windows\\INetCache";
    rig.files.AddFile("C:\\users\\root\\AppData\\Local\\Microsoft\\Windows\\INetCache\\c.htm");
    rig.files.AddFile("C:\\users\\root\\AppData\\Local\\Other\\keep.dat");
    rig.files.AddFile("C:\\users\\Public\\AppData\\Local\\Microsoft\\Windows\\INetCache\\p.htm");
    rig.files.AddFile("C:\\users\\Public\\AppData\\Local\\mine.dat");
    rig.Start();
    rig.Form(1).Ctl("Check9").SetValue(1);
    rig.Form(1).Ctl("Command1").UserClick();
    EXPECT_FALSE(
        rig.files.Exists("C:\\users\\root\\AppData\\Local\\Microsoft\\Windows\\INetCache\\c.htm"));
    EXPECT_FALSE(rig.files.Exists(
        "C:\\users\\Public\\AppData\\Local\\Microsoft\\Windows\\INetCache\\p.htm"));
    EXPECT_TRUE(rig.files.Exists("C:\\users\\root\\AppData\\Local\\Other\\keep.dat"));
    EXPECT_TRUE(rig.files.Exists("C:\\users\\Public\\AppData\\Local\\mine.dat"));
}

TEST_F(CleaningRun, UnknownFoldersNeverLeadToRelativePaths) {
    rig.SetWindows("winxp");
    rig.system.windowsDir = "";
    rig.system.userName = std::string(200, 'x');
    rig.shell.folders.clear();
    rig.Start();
    rig.Form(1).Ctl("Check7").SetValue(1);
    rig.Form(1).Ctl("Command1").UserClick();
    for (const std::string& pattern : rig.files.patterns)
        EXPECT_TRUE(pattern.size() > 2 && pattern[1] == ':') << "relative lookup " << pattern;
    EXPECT_EQ(rig.toolkit.boxes.back().text, "Done Cleaning!! OLVEX CLEANER has freed 0 bytes");
}

}  // namespace

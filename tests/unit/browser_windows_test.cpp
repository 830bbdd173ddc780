// The Firefox and Opera windows of both families: selection, the saved-password question,
// and what each run deletes, in which order, and what it says at the end.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/TestRig.h"
#include "ui/ControlIds.h"

namespace {

const std::string kAppData = "C:\\Documents and Settings\\Jo\\Application Data\\";
const std::string kLocal = "C:\\Documents and Settings\\Jo\\Local Settings\\Application Data\\";
const std::string kFirefoxNT = kAppData + "Mozilla\\Firefox\\";
const std::string kFirefoxLocalNT = kLocal + "Mozilla\\Firefox\\";
const std::string kFirefox98 = "C:\\WINDOWS\\Application Data\\Mozilla\\Firefox\\";
const std::string kOperaNT = kAppData + "Opera\\Opera\\profile\\";
const std::string kOpera98 = "C:\\Program Files\\opera\\profile\\";
const char* const kQuestionTitle = "Olvex Cleaner - Delete Passwords";

// A toolkit that lets a test look at the windows while a message box is open.
class WatchingToolkit : public fakes::FakeToolkit {
  public:
    int MsgBox(const std::string& text, int buttons, const std::string& title) override {
        if (onBox) onBox();
        return FakeToolkit::MsgBox(text, buttons, title);
    }
    std::function<void()> onBox;
};

// One browser window, reached through its family's menu on a system with both browsers.
struct BrowserRig : fakes::Rig {
    WatchingToolkit watching;

    BrowserRig(const char* version, int window) : window(window) {
        app = std::make_unique<olvex::App>(
            olvex::Services{system, shell, files, watching, profiles, urlCache, memory});
        SetWindows(version);
        files.AddFolder("C:\\Program Files\\Mozilla Firefox");
        files.AddFolder("C:\\Program Files\\Opera");
        files.AddFolder("C:\\Program Files\\Google\\Chrome");
        Start();
        const int main = window == 3 || window == 5 || window == 10 ? 1 : 6;
        const bool firefox = window == 3 || window == 7;
        Form(main).Command(
            ui::ControlId(firefox ? "mnuFirefox" : window == 10 ? "mnuChrome" : "mnuOpera"));
        files.patterns.clear();
    }
    ui::Form& Win() { return Form(window); }
    ui::Control& Box(const char* name) { return Win().Ctl(name); }
    std::vector<int> Values() {
        std::vector<int> values;
        for (const char* box : {"Check1", "Check2", "Check3", "Check4", "Check5", "Check6"})
            values.push_back(Box(box).Value());
        return values;
    }
    // Answers, in order, for the questions to come.
    void Answer(std::initializer_list<int> answers) { watching.answers.assign(answers); }
    const std::vector<fakes::ShownBox>& Boxes() { return watching.boxes; }
    void Run() {
        files.patterns.clear();
        Box("Command1").UserClick();
    }

    int window;
};

struct WindowCase {
    const char* version;
    int window;
    const char* browser;
};

class Selection : public ::testing::TestWithParam<WindowCase> {
  protected:
    std::string Question() const {
        return std::string("Are you sure you want to delete your ") + GetParam().browser +
               " saved password?";
    }
};

TEST_P(Selection, SelectAllAsksOnceAfterTheOtherFiveAreTicked) {
    for (int answer : {ui::kAnswerYes, ui::kAnswerNo}) {
        BrowserRig rig(GetParam().version, GetParam().window);
        std::vector<int> atQuestion;
        rig.watching.onBox = [&] { atQuestion = rig.Values(); };
        rig.Answer({answer});
        rig.Box("Check7").UserClick();

        ASSERT_EQ(rig.Boxes().size(), 1u);
        EXPECT_EQ(rig.Boxes()[0].text, Question());
        EXPECT_EQ(rig.Boxes()[0].title, kQuestionTitle);
        EXPECT_EQ(rig.Boxes()[0].buttons, ui::kYesNo);
        EXPECT_EQ(atQuestion, (std::vector<int>{1, 1, 1, 1, 1, 1}))
            << "the passwords box is ticked last, after the other five";
        const int passwords = answer == ui::kAnswerYes ? 1 : 0;
        EXPECT_EQ(rig.Values(), (std::vector<int>{1, 1, passwords, 1, 1, 1}));
        EXPECT_EQ(rig.Box("Check7").Caption(), "Unselect All");
        EXPECT_EQ(rig.Box("Check7").Value(), 1);
        fakes::ExpectPeerMatchesForm(rig.Win());

        rig.Box("Check7").UserClick();
        EXPECT_EQ(rig.Values(), (std::vector<int>{0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(rig.Box("Check7").Caption(), "Select All");
        EXPECT_EQ(rig.Boxes().size(), 1u) << "clearing never asks";
        EXPECT_TRUE(rig.watching.unanswered.empty());
    }
}

TEST_P(Selection, PasswordsAlreadyTickedMeansNoQuestion) {
    BrowserRig rig(GetParam().version, GetParam().window);
    rig.Answer({ui::kAnswerYes});
    rig.Box("Check3").UserClick();
    ASSERT_EQ(rig.Boxes().size(), 1u);
    EXPECT_EQ(rig.Box("Check3").Value(), 1);
    rig.Box("Check7").UserClick();
    EXPECT_EQ(rig.Boxes().size(), 1u);
    EXPECT_EQ(rig.Values(), (std::vector<int>{1, 1, 1, 1, 1, 1}));
}

TEST_P(Selection, NoByHandLeavesTheBoxUntickedWithOneQuestion) {
    BrowserRig rig(GetParam().version, GetParam().window);
    rig.Answer({ui::kAnswerNo});
    rig.Box("Check3").UserClick();
    EXPECT_EQ(rig.Box("Check3").Value(), 0);
    EXPECT_EQ(rig.Boxes().size(), 1u);
    rig.Answer({ui::kAnswerYes});
    rig.Box("Check3").UserClick();  // ticking again asks again
    EXPECT_EQ(rig.Boxes().size(), 2u);
    EXPECT_EQ(rig.Box("Check3").Value(), 1);
    rig.Box("Check3").UserClick();  // unticking asks nothing
    EXPECT_EQ(rig.Boxes().size(), 2u);
    EXPECT_EQ(rig.Box("Check3").Value(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, Selection,
    ::testing::Values(WindowCase{"winxp", 3, "Firefox"}, WindowCase{"win98", 7, "Firefox"},
                      WindowCase{"win2k", 5, "Opera"}, WindowCase{"winme", 8, "Opera"},
                      WindowCase{"winxp", 10, "Chrome"}),
    [](const auto& info) { return "Form" + std::to_string(info.param.window); });

// --- Firefox runs -------------------------------------------------------------------------

const char* const kProfilesIni =
    "[General]\nStartWithLastProfile=1\n\n"
    "[Profile0]\nName=default\nIsRelative=1\nPath=Profiles/aaaa.default\n\n"
    "[Profile2]\nName=work\nIsRelative=1\nPath=Profiles/cccc.work\n\n"
    "[Profile11]\nName=late\nIsRelative=1\nPath=Profiles/llll.late\n";

const char* const kFirefoxNames[] = {"Cookies.txt", "signons.txt", "formhistory.dat", "HIStory.dat",
                                     "downloads.rdf"};

// Every Firefox file of a profile folder, and a sub-folder of its cache.
void AddFirefoxProfile(fakes::Rig& rig, const std::string& folder) {
    for (const char* name : kFirefoxNames) rig.files.AddFile(folder + "\\" + name);
    rig.files.AddFile(folder + "\\Cache\\_CACHE_MAP_");
    rig.files.AddFile(folder + "\\Cache\\0A1B2C3D");
    rig.files.AddFile(folder + "\\Cache\\Sub\\keep.bin");
}

// The first versions' file each category looks up in a profile, in run order. Later
// versions' files are the rule table's (firefox_versions_test); here they are left out.
using Steps = std::vector<std::string>;
const Steps kAllSteps = {"Cache\\*",        "Cookies.txt", "signons.txt",
                         "formhistory.dat", "HIStory.dat", "downloads.rdf"};
const Steps kStepsWithoutPasswords = {"Cache\\*", "Cookies.txt", "formhistory.dat", "HIStory.dat",
                                      "downloads.rdf"};

// Every category's lookup, each profile in turn.
std::vector<std::string> FirefoxPaths(const std::string& root, const Steps& steps,
                                      std::vector<std::string> profiles) {
    std::vector<std::string> paths;
    for (const std::string& step : steps)
        for (const std::string& profile : profiles) paths.push_back(root + profile + "\\" + step);
    return paths;
}

// The lookups of the first versions' files, in the order they came.
std::vector<std::string> FirstVersionLookups(const std::vector<std::string>& patterns) {
    std::vector<std::string> first;
    for (const std::string& pattern : patterns)
        for (const std::string& step : kAllSteps)
            if (pattern.size() > step.size() &&
                pattern.compare(pattern.size() - step.size() - 1, std::string::npos, "\\" + step) ==
                    0)
                first.push_back(pattern);
    return first;
}

TEST(FirefoxRunNT, EveryTickedFileOfEveryListedProfileAfterTheSecondYes) {
    BrowserRig rig("winxp", 3);
    rig.profiles.Write(kFirefoxNT + "profiles.ini", kProfilesIni);
    for (const std::string& root : {kFirefoxNT, kFirefoxLocalNT})
        for (const char* profile :
             {"Profiles\\aaaa.default", "Profiles\\cccc.work", "Profiles\\llll.late"})
            AddFirefoxProfile(rig, root + profile);
    rig.system.freeFigures = {1000, 4096};
    std::vector<int> pointerAtBox;  // the pointer in force when each box opened
    rig.watching.onBox = [&] {
        const auto& pointers = rig.watching.pointers;
        pointerAtBox.push_back(pointers.empty() ? ui::kPointerDefault : pointers.back());
    };
    rig.Answer({ui::kAnswerYes, ui::kAnswerYes});
    rig.Box("Check7").UserClick();
    rig.Run();

    EXPECT_EQ(FirstVersionLookups(rig.files.patterns),
              FirefoxPaths(kFirefoxNT, kAllSteps, {"Profiles/aaaa.default", "Profiles/cccc.work"}));
    for (const std::string& root : {kFirefoxNT, kFirefoxLocalNT}) {
        for (const char* profile : {"Profiles\\aaaa.default", "Profiles\\cccc.work"}) {
            EXPECT_FALSE(rig.files.Exists(root + profile + "\\Cache\\0A1B2C3D"));
            EXPECT_EQ(rig.files.Exists(root + profile + "\\Cache\\Sub\\keep.bin"),
                      root == kFirefoxNT)
                << "the first versions' cache in the profile is flat; the local part's is "
                   "emptied at every depth";
            for (const char* name : kFirefoxNames)
                EXPECT_EQ(rig.files.Exists(root + profile + "\\" + name), root == kFirefoxLocalNT)
                    << root << profile << " " << name;
        }
        EXPECT_TRUE(rig.files.Exists(root + "Profiles\\llll.late\\Cookies.txt"))
            << "Profile11 lies beyond the ten slots";
        EXPECT_TRUE(rig.files.Exists(root + "Profiles\\llll.late\\Cache\\0A1B2C3D"));
    }
    ASSERT_EQ(rig.Boxes().size(), 3u);
    EXPECT_EQ(rig.Boxes()[1].title, kQuestionTitle) << "the run asks again";
    EXPECT_EQ(pointerAtBox,
              (std::vector<int>{ui::kPointerDefault, ui::kPointerHourglass, ui::kPointerDefault}))
        << "the run's question comes under the hourglass, the completion after it";
    EXPECT_EQ(rig.Boxes()[2].text, "Done Cleaning!! OLVEX CLEANER has freed 3096 bytes");
    EXPECT_EQ(rig.Boxes()[2].title, "Done");
    EXPECT_EQ(rig.Boxes()[2].buttons, ui::kOkOnly);
    EXPECT_EQ(rig.system.measuredRoots, (std::vector<std::string>{"C:\\", "C:\\"}));
    EXPECT_EQ(rig.watching.pointers,
              (std::vector<int>{ui::kPointerHourglass, ui::kPointerDefault}));
    EXPECT_EQ(rig.Values(), (std::vector<int>{1, 1, 1, 1, 1, 1})) << "ticks stay after a run";
}

TEST(FirefoxRunNT, NoToTheSecondQuestionKeepsPasswordsAndUnticksTheBox) {
    BrowserRig rig("winxp", 3);
    rig.profiles.Write(kFirefoxNT + "profiles.ini", kProfilesIni);
    AddFirefoxProfile(rig, kFirefoxNT + "Profiles\\aaaa.default");
    rig.Answer({ui::kAnswerYes, ui::kAnswerNo});
    rig.Box("Check7").UserClick();
    rig.Run();
    EXPECT_TRUE(rig.files.Exists(kFirefoxNT + "Profiles\\aaaa.default\\signons.txt"));
    EXPECT_FALSE(rig.files.Exists(kFirefoxNT + "Profiles\\aaaa.default\\Cookies.txt"));
    EXPECT_EQ(FirstVersionLookups(rig.files.patterns),
              FirefoxPaths(kFirefoxNT, kStepsWithoutPasswords,
                           {"Profiles/aaaa.default", "Profiles/cccc.work"}));
    EXPECT_EQ(rig.Values(), (std::vector<int>{1, 1, 0, 1, 1, 1}));
    ASSERT_EQ(rig.Boxes().size(), 3u) << "unticking in the run asks nothing more";
    EXPECT_EQ(rig.Boxes()[2].title, "Done");
}

TEST(FirefoxRunNT, SecondQuestionEvenWithoutProfiles) {
    BrowserRig rig("winxp", 3);
    rig.Answer({ui::kAnswerYes, ui::kAnswerYes});
    rig.Box("Check3").UserClick();
    rig.Run();
    ASSERT_EQ(rig.Boxes().size(), 3u);
    EXPECT_EQ(rig.Boxes()[1].title, kQuestionTitle);
    EXPECT_TRUE(rig.files.patterns.empty());
    EXPECT_EQ(rig.profiles.calls, 10);
}

TEST(FirefoxRunNT, NothingTickedStillReadsMeasuresAndReports) {
    BrowserRig rig("winxp", 3);
    rig.profiles.Write(kFirefoxNT + "profiles.ini", kProfilesIni);
    rig.system.freeFigures = {5000};
    rig.Run();
    EXPECT_TRUE(rig.files.patterns.empty());
    EXPECT_EQ(rig.profiles.calls, 10);
    EXPECT_EQ(rig.system.measuredRoots.size(), 2u);
    ASSERT_EQ(rig.Boxes().size(), 1u);
    EXPECT_EQ(rig.Boxes()[0].text, "Done Cleaning!! OLVEX CLEANER has freed 0 bytes");
}

TEST(FirefoxRun98, DeletesUnderTheWindowsFolderWithoutASecondQuestion) {
    BrowserRig rig("win98", 7);
    rig.profiles.Write(kFirefox98 + "Profiles.ini", kProfilesIni);
    AddFirefoxProfile(rig, kFirefox98 + "Profiles\\aaaa.default");
    AddFirefoxProfile(rig, kFirefox98 + "Profiles\\cccc.work");
    AddFirefoxProfile(rig, kFirefox98 + "Profiles\\llll.late");
    rig.Answer({ui::kAnswerYes});
    rig.Box("Check7").UserClick();
    rig.Run();
    EXPECT_EQ(rig.files.patterns,
              FirefoxPaths(kFirefox98, kAllSteps, {"Profiles/aaaa.default", "Profiles/cccc.work"}));
    EXPECT_FALSE(rig.files.Exists(kFirefox98 + "Profiles\\cccc.work\\signons.txt"));
    EXPECT_TRUE(rig.files.Exists(kFirefox98 + "Profiles\\llll.late\\signons.txt"));
    EXPECT_TRUE(rig.files.Exists(kFirefox98 + "Profiles\\aaaa.default\\Cache\\Sub\\keep.bin"));
    ASSERT_EQ(rig.Boxes().size(), 2u);
    EXPECT_EQ(rig.Boxes()[1].text, "Done Cleaning!!");
    EXPECT_EQ(rig.Boxes()[1].title, "Done");
    EXPECT_EQ(rig.Boxes()[1].buttons, ui::kOkOnly);
    EXPECT_TRUE(rig.system.measuredRoots.empty());
    EXPECT_EQ(rig.watching.pointers,
              (std::vector<int>{ui::kPointerHourglass, ui::kPointerDefault}));
}

// profiles.ini written by hand or by something else: nothing breaks, nothing asks, and only
// the named files in the listed slots are looked for.
TEST(FirefoxRunNT, OddProfileValuesNeitherCrashNorReachBeyondThePaths) {
    BrowserRig rig("winxp", 3);
    const std::string longValue(300, 'p');
    rig.profiles.Write(
        kFirefoxNT + "profiles.ini",
        "[Profile0]\nPath=C:\\Elsewhere\n[Profile1]\nName=nopath\n[Profile3]\nPath=\n"
        "[Profile4]\nPath=\"Profiles/q.default\"\n[Profile5]\nPath=" +
            longValue + "\n[Profile6]\nPath=*\n");
    rig.files.AddFile("C:\\Elsewhere\\Cookies.txt");
    rig.Box("Check2").UserClick();
    rig.Run();
    // A value that is no literal relative path (a drive, a wildcard) names no profile.
    EXPECT_EQ(
        FirstVersionLookups(rig.files.patterns),
        FirefoxPaths(kFirefoxNT, {kAllSteps[1]}, {"Profiles/q.default", std::string(255, 'p')}));
    EXPECT_TRUE(rig.files.Exists("C:\\Elsewhere\\Cookies.txt"));
    ASSERT_EQ(rig.Boxes().size(), 1u);
    EXPECT_EQ(rig.Boxes()[0].title, "Done");
}

// Profiles Firefox keeps in folders of the user's choice (IsRelative=0) are cleaned where they
// are; only a whole folder below a drive or a share is one, and IsRelative=1 keeps a path
// relative as before. (A link on the way is the deletion guard's to refuse, end to end.)
TEST(FirefoxRun, ProfilesOutsideTheFirefoxFolderAreCleanedWhereTheyAre) {
    for (const auto& [version, window, firefox] :
         {std::tuple{"winxp", 3, kFirefoxNT}, std::tuple{"win98", 7, kFirefox98}}) {
        BrowserRig rig(version, window);
        rig.profiles.Write(firefox + "profiles.ini",
                           "[Profile0]\nIsRelative=0\nPath=D:\\Firefox Profiles\\abs.default\\\n"
                           "[Profile1]\nIsRelative=1\nPath=Profiles/rel.default\n"
                           "[Profile2]\nIsRelative=0\nPath=D:\\Firefox Profiles\\..\\climbed\n"
                           "[Profile3]\nIsRelative=0\nPath=D:\\\n"
                           "[Profile4]\nIsRelative=1\nPath=D:\\Firefox Profiles\\kept\n"
                           "[Profile5]\nIsRelative=0\nPath=\\\\server\\share\\net.default\n");
        const std::string absolute = "D:\\Firefox Profiles\\abs.default";
        AddFirefoxProfile(rig, absolute);
        rig.Box("Check1").UserClick();
        rig.Box("Check2").UserClick();
        rig.Run();

        const std::string rel = "Profiles/rel.default";
        const std::vector<std::string> visited{absolute, firefox + rel,
                                               "\\\\server\\share\\net.default"};
        std::vector<std::string> expected;
        for (const std::string& step : {kAllSteps[0], kAllSteps[1]})
            for (const std::string& profile : visited) expected.push_back(profile + "\\" + step);
        EXPECT_EQ(FirstVersionLookups(rig.files.patterns), expected) << version;
        EXPECT_FALSE(rig.files.Exists(absolute + "\\Cookies.txt")) << version;
        EXPECT_FALSE(rig.files.Exists(absolute + "\\Cache\\0A1B2C3D")) << version;
        EXPECT_TRUE(rig.files.Exists(absolute + "\\signons.txt")) << version;
    }
}

TEST(FirefoxRunNT, UnknownFoldersSkipTheirPaths) {
    {
        BrowserRig rig("winxp", 3);
        rig.profiles.Write(kFirefoxNT + "profiles.ini", "[Profile0]\nPath=Profiles/a\n");
        rig.shell.folders.erase(0x1C);
        rig.Box("Check1").UserClick();
        rig.Run();
        EXPECT_EQ(FirstVersionLookups(rig.files.patterns),
                  std::vector<std::string>{kFirefoxNT + "Profiles/a\\Cache\\*"});
    }
    {
        BrowserRig rig("winxp", 3);
        rig.shell.folders.erase(0x1A);
        rig.profiles.Write("Mozilla\\Firefox\\profiles.ini", "[Profile0]\nPath=Profiles/a\n");
        rig.Box("Check1").UserClick();
        rig.Box("Check2").UserClick();
        rig.Run();
        EXPECT_TRUE(rig.files.patterns.empty()) << rig.files.patterns.front();
        EXPECT_EQ(rig.profiles.calls, 1) << "olvex.ini's cookies to keep, and no profiles.ini";
        EXPECT_EQ(rig.Boxes().back().title, "Done");
    }
}

// --- Opera runs ---------------------------------------------------------------------------

// Run order: cache, cookies, passwords, history, downloads, visited links; each first in the
// profile folder of versions 7 to 9, then, on NT, one folder up, where 10 to 12 keep theirs.
// 9.5 on keep the typed and global histories beside the history.
std::vector<std::string> OperaPaths(const std::string& root) {
    const bool nt = root == kOperaNT;
    const std::string up = nt ? root.substr(0, root.size() - 8) : "";  // without "profile\\"
    const std::vector<std::string> histories{"global_history.dat", "typed_history.xml"};
    std::vector<std::string> paths{root + "Cache4\\*"};
    for (const std::string name :
         {"Cookies4.dat", "wand.dat", "global.dat", "download.dat", "vlink4.dat"}) {
        paths.push_back(root + name);
        if (name == "global.dat") {
            for (const std::string& history : histories) paths.push_back(root + history);
            if (nt)
                for (const std::string& history : histories) paths.push_back(up + history);
        } else if (nt) {
            paths.push_back(up + (name == "Cookies4.dat" ? "cookies4.dat" : name));
        }
    }
    return paths;
}

struct OperaCase {
    const char* version;
    int window;
    std::string root;
    const char* done;
};

class OperaRun : public ::testing::TestWithParam<OperaCase> {};

TEST_P(OperaRun, EveryTickedFileInTheTableOrder) {
    BrowserRig rig(GetParam().version, GetParam().window);
    const std::string& root = GetParam().root;
    for (const char* name : {"Cookies4.dat", "wand.dat", "global.dat", "download.dat", "vlink4.dat",
                             "Cache4\\opr0001.tmp", "Cache4\\sesn\\keep.tmp"})
        rig.files.AddFile(root + name);
    rig.system.freeFigures = {100, 300};
    rig.Answer({ui::kAnswerYes});
    rig.Box("Check7").UserClick();
    rig.Run();
    EXPECT_EQ(rig.files.patterns, OperaPaths(root));
    for (const char* name : {"Cookies4.dat", "wand.dat", "global.dat", "download.dat", "vlink4.dat",
                             "Cache4\\opr0001.tmp"})
        EXPECT_FALSE(rig.files.Exists(root + name)) << name;
    EXPECT_TRUE(rig.files.Exists(root + "Cache4\\sesn\\keep.tmp"));
    ASSERT_EQ(rig.Boxes().size(), 2u) << "Opera never asks again during the run";
    EXPECT_EQ(rig.Boxes()[1].text, GetParam().done);
    EXPECT_EQ(rig.Boxes()[1].title, "Done");
    EXPECT_EQ(rig.watching.pointers,
              (std::vector<int>{ui::kPointerHourglass, ui::kPointerDefault}));
}

TEST_P(OperaRun, NoToThePasswordQuestionKeepsTheStore) {
    BrowserRig rig(GetParam().version, GetParam().window);
    rig.files.AddFile(GetParam().root + "wand.dat");
    rig.Answer({ui::kAnswerNo});
    rig.Box("Check3").UserClick();
    rig.Box("Check2").UserClick();
    rig.Run();
    EXPECT_TRUE(rig.files.Exists(GetParam().root + "wand.dat"));
    std::vector<std::string> cookies{GetParam().root + "Cookies4.dat"};
    if (GetParam().root == kOperaNT) cookies.push_back(kAppData + "Opera\\Opera\\cookies4.dat");
    EXPECT_EQ(rig.files.patterns, cookies);
}

INSTANTIATE_TEST_SUITE_P(
    Families, OperaRun,
    ::testing::Values(OperaCase{"winxp", 5, kOperaNT,
                                "Done Cleaning!! OLVEX CLEANER has freed 200 bytes"},
                      OperaCase{"win98", 8, kOpera98, "Done Cleaning!!"}),
    [](const auto& info) { return "Form" + std::to_string(info.param.window); });

TEST(OperaRunFolders, UnknownFolderSkipsEveryItem) {
    for (auto [version, window, csidl] :
         {std::tuple{"winxp", 5, 0x1A}, std::tuple{"win98", 8, 0x26}}) {
        BrowserRig rig(version, window);
        rig.Answer({ui::kAnswerYes});
        rig.Box("Check7").UserClick();
        rig.shell.folders.erase(csidl);
        rig.Run();
        EXPECT_TRUE(rig.files.patterns.empty()) << "Form" << window;
        EXPECT_EQ(rig.Boxes().back().title, "Done");
    }
}

// --- outside links ------------------------------------------------------------------------

TEST(Links, DonateAndSupportOfEveryWindowOpenTheConfiguredPages) {
    const std::string donation =
        "https://payments.olvexcleaner.example/cgi-bin/webscr?cmd=_xclick"
        "&business=donate%40olvexcleaner%2eexample";
    const std::string support = "http://www.olvexcleaner.example/techmail/email.html";
    struct Case {
        const char* version;
        const char* menu;
        int window;
        const char* donate;
        bool supportLabel;
    };
    for (Case c : {Case{"winxp", nullptr, 1, "Command2", true},
                   Case{"winxp", "mnuFirefox", 3, "Command2", true},
                   Case{"winxp", "mnuOpera", 5, "Command2", true},
                   Case{"winxp", "mnuChrome", 10, "Command2", true},
                   Case{"winxp", "mnuInfo", 2, "Command1", false},
                   Case{"win98", nullptr, 6, "Command2", true},
                   Case{"win98", "mnuFireFox", 7, "Command2", true},
                   Case{"win98", "mnuOpera", 8, "Command2", true},
                   Case{"win98", "mnuInfo", 9, "Command1", false}}) {
        fakes::Rig rig;
        rig.SetWindows(c.version);
        rig.files.AddFolder("C:\\Program Files\\Mozilla Firefox");
        rig.files.AddFolder("C:\\Program Files\\Opera");
        rig.files.AddFolder("C:\\Program Files\\Google\\Chrome");
        rig.Start();
        if (c.menu)
            rig.Form(c.window <= 5 || c.window == 10 ? 1 : 6).Command(ui::ControlId(c.menu));
        ui::Form& form = rig.Form(c.window);
        ASSERT_TRUE(form.Visible()) << "Form" << c.window;
        for (const char* plain : {"Label1", "Label2", "Label4"}) form.Ctl(plain).UserClick();
        EXPECT_TRUE(rig.shell.executed.empty())
            << "Form" << c.window << ": plain labels open nothing";

        form.Ctl(c.donate).UserClick();
        std::vector<std::string> opened{donation};
        if (c.supportLabel) {
            form.Ctl("Label3").UserClick();
            opened.push_back(support);
        }
        ASSERT_EQ(rig.shell.executed.size(), opened.size()) << "Form" << c.window;
        for (size_t i = 0; i < opened.size(); ++i) {
            EXPECT_EQ(rig.shell.executed[i].file, opened[i]) << "Form" << c.window;
            EXPECT_EQ(rig.shell.executed[i].operation, "open");
            EXPECT_EQ(rig.shell.executed[i].owner, form.hWnd());
            EXPECT_EQ(rig.shell.executed[i].showCommand, 1) << "a visible browser window";
        }
        EXPECT_EQ(rig.VisibleForms(), std::vector<std::string>{form.name()})
            << "a link changes nothing in the program";
        EXPECT_TRUE(rig.toolkit.boxes.empty());
    }
}

}  // namespace

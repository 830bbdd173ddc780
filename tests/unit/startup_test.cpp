// Start-up: which window the user sees and how the main window adapts to the system.
#include <gtest/gtest.h>

#include "fakes/TestRig.h"
#include "system/WindowsVersion.h"

namespace {

using olvex::Family;
using olvex::FamilyFor;

TEST(Routing, NamesOfEachFamily) {
    for (const char* name : {"Windows 98", "Windows 98 SE", "Windows ME"})
        EXPECT_EQ(FamilyFor(name), Family::Windows98) << name;
    for (const char* name : {"Windows 95", "Windows 95 OSR2", "Windows .NET",
                             "Unknown OS Version 6.0", "Unknown OS Version 4.0 Platform 0"})
        EXPECT_EQ(FamilyFor(name), Family::Unsupported) << name;
    for (const char* name : {"Windows 2000", "Windows XP", "Windows NT 4.0", "Windows NT 3.51", ""})
        EXPECT_EQ(FamilyFor(name), Family::NT) << name;
}

TEST(Routing, ComparisonIsExactAndCaseSensitive) {
    EXPECT_EQ(FamilyFor("windows 98"), Family::NT);
    EXPECT_EQ(FamilyFor("Windows 98 "), Family::NT);
    EXPECT_EQ(FamilyFor("Unknown OS Version"), Family::NT);  // the prefix includes the blank
    EXPECT_EQ(FamilyFor("Windows 95 OSR2 "), Family::NT);
}

struct StartCase {
    const char* version;
    const char* visible;
    const char* label;
};

void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.version;
}

class StartUp : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartUp, OneWindowWithTheSystemName) {
    fakes::Rig rig;
    rig.SetWindows(GetParam().version);
    rig.Start();

    EXPECT_EQ(rig.VisibleForms(), std::vector<std::string>{GetParam().visible});
    EXPECT_TRUE(rig.Form(1).Loaded()) << "the NT main window is always loaded";
    ui::Form& shown = rig.Form(std::string(GetParam().visible) == "Form1"   ? 1
                               : std::string(GetParam().visible) == "Form6" ? 6
                                                                            : 4);
    EXPECT_EQ(shown.Ctl("Label4").Caption(), GetParam().label);
    // Only the chosen window is loaded besides the NT main window.
    for (int n : {4, 6}) EXPECT_EQ(rig.Form(n).Loaded(), &rig.Form(n) == &shown) << "Form" << n;
    EXPECT_TRUE(rig.toolkit.boxes.empty()) << "start-up shows no message";
    // What the load handlers set (labels, disabled boxes, menu items) reaches the windows.
    for (int n : {1, 4, 6}) {
        SCOPED_TRACE("Form" + std::to_string(n));
        if (rig.Form(n).Loaded()) fakes::ExpectPeerMatchesForm(rig.Form(n));
    }
}

INSTANTIATE_TEST_SUITE_P(WineVersions, StartUp,
                         ::testing::Values(StartCase{"winxp", "Form1", "for Windows XP"},
                                           StartCase{"win2k", "Form1", "for Windows 2000"},
                                           StartCase{"nt40", "Form1", "for Windows NT 4.0"},
                                           StartCase{"win98", "Form6", "for Windows 98 SE"},
                                           StartCase{"winme", "Form6", "for Windows ME"},
                                           StartCase{"win95", "Form4", "for Windows 95"},
                                           StartCase{"win2003", "Form4", "for Windows .NET"},
                                           StartCase{"win7", "Form4",
                                                     "for Unknown OS Version 6.1"}),
                         [](const auto& info) { return std::string(info.param.version); });

TEST(StartUpForm1, HiddenMainWindowStillGetsItsLabelAndAdminState) {
    fakes::Rig rig;
    rig.SetWindows("win98");
    rig.system.admin = 0;
    rig.Start();
    EXPECT_FALSE(rig.Form(1).Visible());
    EXPECT_EQ(rig.Form(1).Ctl("Label4").Caption(), "for Windows 98 SE");
    EXPECT_FALSE(rig.Form(1).Ctl("Check9").Enabled());
}

TEST(StartUpForm1, Windows2000DisablesPrefetch) {
    fakes::Rig rig;
    rig.SetWindows("win2k");
    rig.Start();
    ui::Control& prefetch = rig.Form(1).Ctl("Check6");
    EXPECT_FALSE(prefetch.Enabled());
    EXPECT_EQ(prefetch.Caption(), "Prefetch (Disabled)");
}

TEST(StartUpForm1, OtherSystemsKeepPrefetchAsDesigned) {
    for (const char* version : {"winxp", "nt40"}) {
        fakes::Rig rig;
        rig.SetWindows(version);
        rig.Start();
        ui::Control& prefetch = rig.Form(1).Ctl("Check6");
        EXPECT_TRUE(prefetch.Enabled()) << version;
        EXPECT_EQ(prefetch.Caption(), "Prefetch") << version;
    }
}

TEST(StartUpForm1, AllUsersTempFollowsTheAdministratorTest) {
    struct Case {
        std::optional<int> admin;
        bool enabled;
    };
    for (Case c : {Case{1, true}, Case{0, false}, Case{std::nullopt, true}}) {
        fakes::Rig rig;
        rig.SetWindows("winxp");
        rig.system.admin = c.admin;
        rig.Start();
        EXPECT_EQ(rig.Form(1).Ctl("Check9").Enabled(), c.enabled);
    }
}

TEST(StartUpForm1, FailedIdentificationKeepsTheNtMainWindow) {
    fakes::Rig rig;
    rig.system.versionFails = true;
    rig.Start();
    EXPECT_EQ(rig.VisibleForms(), std::vector<std::string>{"Form1"});
    EXPECT_EQ(rig.Form(1).Ctl("Label4").Caption(), "for ");
    EXPECT_TRUE(rig.toolkit.boxes.empty());
}

TEST(StartUpForm1, OneIdentificationServesTheWholeLoadHandler) {
    fakes::Rig rig;
    rig.SetWindows("winxp");
    rig.Start();
    // The basic and the extended query of one instance.
    EXPECT_EQ(rig.system.versionQueries, 2);
}

// The browser items are enabled only by a folder of the browser's name in Program Files.
struct MenuCase {
    const char* version;
    int form;
    const char* firefoxItem;
};

void PrintTo(const MenuCase& c, std::ostream* os) {
    *os << c.version;
}

class BrowserMenus : public ::testing::TestWithParam<MenuCase> {};

TEST_P(BrowserMenus, FolderEnablesAFileDoesNot) {
    fakes::Rig rig;
    rig.SetWindows(GetParam().version);
    rig.files.AddFolder("C:\\Program Files\\Mozilla Firefox");
    rig.files.AddFile("C:\\Program Files\\Opera");
    rig.Start();
    ui::Form& form = rig.Form(GetParam().form);
    EXPECT_TRUE(form.Menu(GetParam().firefoxItem).Enabled());
    EXPECT_FALSE(form.Menu("mnuOpera").Enabled());
}

TEST_P(BrowserMenus, NoBrowserFoldersDisableBoth) {
    fakes::Rig rig;
    rig.SetWindows(GetParam().version);
    rig.files.AddFolder("C:\\Program Files\\Opera Software\\Opera");
    rig.Start();
    ui::Form& form = rig.Form(GetParam().form);
    EXPECT_FALSE(form.Menu(GetParam().firefoxItem).Enabled());
    EXPECT_FALSE(form.Menu("mnuOpera").Enabled());
}

TEST_P(BrowserMenus, UnknownProgramFilesFolderDisablesBothWithoutRelativeLookups) {
    fakes::Rig rig;
    rig.SetWindows(GetParam().version);
    rig.shell.folders.erase(0x26);
    rig.Start();
    ui::Form& form = rig.Form(GetParam().form);
    EXPECT_FALSE(form.Menu(GetParam().firefoxItem).Enabled());
    EXPECT_FALSE(form.Menu("mnuOpera").Enabled());
    for (const std::string& pattern : rig.files.patterns)
        EXPECT_EQ(pattern.rfind("C:", 0), 0u) << "relative lookup: " << pattern;
}

TEST_P(BrowserMenus, LookupFailureShowsTheLibraryBoxAndDisables) {
    fakes::Rig rig;
    rig.SetWindows(GetParam().version);
    rig.shell.folders[0x26] = "A:\\Program Files";
    rig.files.SetNotReady("A:");
    rig.Start();
    ui::Form& form = rig.Form(GetParam().form);
    EXPECT_FALSE(form.Menu(GetParam().firefoxItem).Enabled());
    EXPECT_FALSE(form.Menu("mnuOpera").Enabled());
    ASSERT_GE(rig.toolkit.boxes.size(), 2u);
    EXPECT_EQ(rig.toolkit.boxes[0].title, "DirExists");
    EXPECT_EQ(rig.toolkit.boxes[0].text, "Error: 71. Disk not ready");
    EXPECT_EQ(rig.toolkit.boxes[0].buttons, ui::kOkOnly);
}

INSTANTIATE_TEST_SUITE_P(Families, BrowserMenus,
                         ::testing::Values(MenuCase{"winxp", 1, "mnuFirefox"},
                                           MenuCase{"win98", 6, "mnuFireFox"}),
                         [](const auto& info) { return std::string(info.param.version); });

}  // namespace

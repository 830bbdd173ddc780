// Moving between the windows of a family, the load handlers of the secondary windows, and
// ending the program from any window.
#include "shell/Navigation.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/TestRig.h"
#include "ui/ControlIds.h"

namespace {

using olvex::kMainBySystem;
using olvex::kNoRoute;
using olvex::RouteFor;

// A rig on a system with every browser installed, so every menu item can be chosen; Chrome
// for this user alone.
struct NavigationRig : fakes::Rig {
    explicit NavigationRig(const char* version) {
        SetWindows(version);
        files.AddFolder("C:\\Program Files\\Mozilla Firefox");
        files.AddFolder("C:\\Program Files\\Opera");
        files.AddFolder(
            "C:\\Documents and Settings\\Jo\\Local Settings\\Application Data\\Google\\Chrome\\Application");
        Start();
    }
    // A window the user has moved somewhere of their own.
    void MoveShown(int n, int left, int top) { Form(n).Move(left, top); }
    int Shown() {
        int shown = 0;
        for (int n = 1; n <= 10; ++n)
            if (Form(n).Visible()) shown = shown ? -1 : n;
        return shown;
    }
    // Counts each window's unloads in `unloads`.
    void CountUnloads() {
        for (int n = 1; n <= 10; ++n) {
            auto previous = Form(n).Unloaded;
            Form(n).Unloaded = [this, n, previous] {
                ++unloads[n];
                previous();
            };
        }
    }
    std::map<int, int> unloads;
};

TEST(NavigationTable, EveryItemOfEveryWindow) {
    // window: targets of Main, Firefox, Opera, Chrome, Information
    const int none = kNoRoute;
    const std::map<int, std::array<int, 5>> menus = {
        {1, {none, 3, 5, 10, 2}},  {3, {1, none, 5, 10, 2}},
        {5, {1, 3, none, 10, 2}},  {10, {1, 3, 5, none, 2}},
        {2, {kMainBySystem, 3, 5, 10, none}},
        {6, {none, 7, 8, none, 9}}, {7, {6, none, 8, none, 9}},
        {8, {6, 7, none, none, 9}}, {9, {6, 7, 8, none, none}},
    };
    for (const auto& [window, targets] : menus) {
        const char* items[] = {"mnuMain", window == 6 ? "mnuFireFox" : "mnuFirefox", "mnuOpera",
                               "mnuChrome", "mnuInfo"};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(RouteFor(window, items[i]), targets[static_cast<size_t>(i)])
                << "Form" << window << " " << items[i];
    }
    // The Main buttons; the main windows' Command3 is Exit, not navigation.
    const std::map<int, std::pair<const char*, int>> buttons = {
        {3, {"Command3", 1}}, {5, {"Command3", 1}}, {10, {"Command3", 1}}, {2, {"Command2", 1}},
        {7, {"Command3", 6}}, {8, {"Command3", 6}}, {9, {"Command2", 6}}};
    for (const auto& [window, button] : buttons)
        EXPECT_EQ(RouteFor(window, button.first), button.second) << "Form" << window;
    for (int window : {1, 6}) EXPECT_EQ(RouteFor(window, "Command3"), kNoRoute);
    for (int window : {2, 9}) EXPECT_EQ(RouteFor(window, "Command1"), kNoRoute) << "Donate";
    EXPECT_EQ(RouteFor(4, "Command3"), kNoRoute);
}

TEST(ShowInPlace, TourOfTheNtFamilyKeepsOneWindowAtThePreviousPlace) {
    NavigationRig rig("winxp");
    rig.Form(1).Ctl("Check3").UserClick();
    rig.MoveShown(1, 2400, 1500);
    struct Step {
        int from;
        const char* item;
        int to;
    };
    for (Step step : {Step{1, "mnuFirefox", 3}, Step{3, "mnuOpera", 5}, Step{5, "mnuChrome", 10},
                      Step{10, "mnuInfo", 2}, Step{2, "mnuMain", 1}}) {
        const int left = rig.Form(step.from).Left(), top = rig.Form(step.from).Top();
        rig.Form(step.from).Command(ui::ControlId(step.item));
        EXPECT_EQ(rig.Shown(), step.to) << step.item << " in Form" << step.from;
        EXPECT_EQ(rig.Form(step.to).Left(), left) << "Form" << step.to;
        EXPECT_EQ(rig.Form(step.to).Top(), top) << "Form" << step.to;
        EXPECT_TRUE(rig.Form(step.from).Loaded()) << "navigation never unloads";
        rig.MoveShown(step.to, left + 150, top + 90);
    }
    EXPECT_EQ(rig.Form(1).Ctl("Check3").Value(), 1) << "the main window keeps its ticks";
    EXPECT_EQ(rig.toolkit.created,
              (std::vector<std::string>{"Form1", "Form3", "Form5", "Form10", "Form2"}))
        << "each window is created once";
    EXPECT_TRUE(rig.toolkit.boxes.empty());
}

TEST(ShowInPlace, TourOfTheWindows98FamilyAndItsMainButtons) {
    NavigationRig rig("win98");
    rig.MoveShown(6, 300, 200);
    rig.Form(6).Command(ui::ControlId("mnuFireFox"));
    rig.Form(7).Ctl("Check2").UserClick();
    rig.Form(7).Command(ui::ControlId("mnuOpera"));
    rig.Form(8).Command(ui::ControlId("mnuInfo"));
    EXPECT_EQ(rig.Shown(), 9);
    rig.Form(9).Command(ui::ControlId("mnuFirefox"));
    EXPECT_EQ(rig.Shown(), 7);
    EXPECT_EQ(rig.Form(7).Ctl("Check2").Value(), 1) << "ticks survive hiding";
    for (int n : {7, 8, 9}) {
        rig.Form(6).Command(ui::ControlId(n == 7 ? "mnuFireFox" : n == 8 ? "mnuOpera" : "mnuInfo"));
        ASSERT_EQ(rig.Shown(), n);
        rig.Form(n).Ctl(n == 9 ? "Command2" : "Command3").UserClick();
        EXPECT_EQ(rig.Shown(), 6) << "Main button of Form" << n;
        EXPECT_EQ(rig.Form(6).Left(), 300);
        EXPECT_EQ(rig.Form(6).Top(), 200);
    }
    EXPECT_FALSE(rig.Form(2).Loaded() || rig.Form(3).Loaded() || rig.Form(5).Loaded() ||
                 rig.Form(10).Loaded())
        << "the other family's windows are never loaded";
}

TEST(ShowInPlace, NtMainButtonsReturnToTheMainWindow) {
    NavigationRig rig("winxp");
    for (auto [item, window, button] :
         {std::tuple{"mnuFirefox", 3, "Command3"}, std::tuple{"mnuOpera", 5, "Command3"},
          std::tuple{"mnuChrome", 10, "Command3"}, std::tuple{"mnuInfo", 2, "Command2"}}) {
        rig.Form(1).Command(ui::ControlId(item));
        ASSERT_EQ(rig.Shown(), window);
        rig.Form(window).Ctl(button).UserClick();
        EXPECT_EQ(rig.Shown(), 1) << "Main button of Form" << window;
    }
    EXPECT_TRUE(rig.shell.executed.empty()) << "Main is navigation, not a link";
}

struct SystemCase {
    const char* version;
    const char* shown;
};

class InformationMainMenu : public ::testing::TestWithParam<SystemCase> {};

TEST_P(InformationMainMenu, RoutesByTheSystemName) {
    NavigationRig rig("winxp");
    rig.Form(1).Command(ui::ControlId("mnuInfo"));
    rig.MoveShown(2, 3000, 2000);
    // The system is asked again: what it says now decides.
    rig.SetWindows(GetParam().version);
    rig.Form(2).Command(ui::ControlId("mnuMain"));
    EXPECT_EQ(rig.VisibleForms(), std::vector<std::string>{GetParam().shown});
    if (std::string(GetParam().shown) == "Form1") {
        EXPECT_EQ(rig.Form(1).Left(), 3000);
        EXPECT_EQ(rig.Form(1).Top(), 2000);
    } else {
        EXPECT_NE(rig.Form(4).Left(), 3000) << "the notice keeps its own place";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Systems, InformationMainMenu,
    ::testing::Values(SystemCase{"winxp", "Form1"}, SystemCase{"win2k", "Form1"},
                      SystemCase{"nt40", "Form1"}, SystemCase{"win98", "Form4"},
                      SystemCase{"winme", "Form4"}, SystemCase{"win95", "Form4"},
                      SystemCase{"win2003", "Form4"}, SystemCase{"win7", "Form4"}),
    [](const auto& info) { return std::string(info.param.version); });

TEST(InformationMainMenu, FailedIdentificationGoesToTheMainWindowLikeTheButton) {
    NavigationRig rig("winxp");
    rig.Form(1).Command(ui::ControlId("mnuInfo"));
    rig.system.versionFails = true;
    rig.Form(2).Command(ui::ControlId("mnuMain"));
    EXPECT_EQ(rig.VisibleForms(), std::vector<std::string>{"Form1"});
}

TEST(SecondaryLoad, LabelThenMenusOnceOnFirstShow) {
    NavigationRig rig("winme");
    const int queries = rig.system.versionQueries;
    rig.Form(6).Command(ui::ControlId("mnuInfo"));
    EXPECT_EQ(rig.Form(9).Ctl("Label4").Caption(), "for Windows ME");
    EXPECT_TRUE(rig.Form(9).Menu("mnuFirefox").Enabled());
    EXPECT_TRUE(rig.Form(9).Menu("mnuOpera").Enabled());
    EXPECT_GT(rig.system.versionQueries, queries);

    // Later changes are not seen: the handler does not run again.
    rig.files.patterns.clear();
    const int after = rig.system.versionQueries;
    rig.Form(9).Command(ui::ControlId("mnuMain"));
    rig.Form(6).Command(ui::ControlId("mnuInfo"));
    EXPECT_EQ(rig.system.versionQueries, after);
    EXPECT_TRUE(rig.files.patterns.empty());
    // Nothing else changes at load: the boxes and buttons keep their design.
    rig.Form(6).Command(ui::ControlId("mnuFireFox"));
    for (const auto& control : rig.Form(7).controls()) {
        EXPECT_EQ(control->Value(), 0) << control->name();
        if (control->name() != "Label4") {
            EXPECT_EQ(control->Caption(), control->layout().caption) << control->name();
        }
    }
}

// A browser missing from Program Files: its item is off in every window loaded, and its
// window is never reached, not even from a window loaded later.
TEST(SecondaryLoad, MissingBrowserFolderKeepsItsWindowUnreachable) {
    fakes::Rig rig;
    rig.SetWindows("win2k");
    rig.files.AddFolder("C:\\Program Files\\Mozilla Firefox");
    rig.Start();
    rig.Form(1).Command(ui::ControlId("mnuOpera"));
    rig.Form(1).Command(ui::ControlId("mnuFirefox"));
    rig.Form(3).Command(ui::ControlId("mnuOpera"));
    rig.Form(3).Command(ui::ControlId("mnuInfo"));
    rig.Form(2).Command(ui::ControlId("mnuOpera"));
    rig.Form(2).Command(ui::ControlId("mnuChrome"));
    EXPECT_EQ(rig.VisibleForms(), std::vector<std::string>{"Form2"});
    EXPECT_FALSE(rig.Form(5).Loaded() || rig.Form(10).Loaded());
    for (int n : {1, 3, 2}) {
        EXPECT_TRUE(rig.Form(n).Menu("mnuFirefox").Enabled()) << "Form" << n;
        EXPECT_FALSE(rig.Form(n).Menu("mnuOpera").Enabled()) << "Form" << n;
        EXPECT_FALSE(rig.Form(n).Menu("mnuChrome").Enabled()) << "Form" << n;
    }
    EXPECT_EQ(rig.Form(2).Ctl("Label4").Caption(), "for Windows 2000");
}

TEST(SecondaryLoad, UnknownSystemNameLeavesTheBareLabelAndStillSetsMenus) {
    NavigationRig rig("winxp");
    rig.system.versionFails = true;
    rig.Form(1).Command(ui::ControlId("mnuOpera"));
    EXPECT_EQ(rig.Form(5).Ctl("Label4").Caption(), "for ");
    EXPECT_TRUE(rig.Form(5).Menu("mnuFirefox").Enabled());
    EXPECT_TRUE(rig.toolkit.boxes.empty());
}

// Closing any window with its close box unloads all of them, each once, and the program
// ends once, with its last window.
TEST(EndOfProgram, CloseBoxOfEveryFamilyWindow) {
    const std::pair<const char*, std::vector<const char*>> tours[] = {
        {"winxp", {"mnuFirefox", "mnuOpera", "mnuChrome", "mnuInfo"}},
        {"win98", {"mnuFireFox", "mnuOpera", "mnuInfo"}}};
    for (const auto& [version, items] : tours) {
        const int main = std::string(version) == "winxp" ? 1 : 6;
        for (size_t closing = 0; closing <= items.size(); ++closing) {
            NavigationRig rig(version);
            // Load every window of the family, then show the one to close.
            for (const char* item : items) {
                rig.Form(main).Command(ui::ControlId(item));
                rig.Form(rig.Shown()).Command(ui::ControlId("mnuMain"));
            }
            if (closing < items.size()) rig.Form(main).Command(ui::ControlId(items[closing]));
            const int shown = rig.Shown();
            std::vector<int> loaded;
            for (int n = 1; n <= 10; ++n)
                if (rig.Form(n).Loaded()) loaded.push_back(n);
            rig.CountUnloads();

            rig.Form(shown).CloseRequested();

            for (int n = 1; n <= 10; ++n) {
                const bool was = std::find(loaded.begin(), loaded.end(), n) != loaded.end();
                EXPECT_EQ(rig.unloads[n], was ? 1 : 0)
                    << version << ": closing Form" << shown << ", unloads of Form" << n;
                EXPECT_FALSE(rig.Form(n).Loaded());
            }
            EXPECT_EQ(rig.toolkit.quits, 1) << version << ": closing Form" << shown;
            EXPECT_FALSE(rig.toolkit.ended);
        }
    }
}

TEST(EndOfProgram, NoticeReachedFromTheInformationWindowEndsAtOnce) {
    NavigationRig rig("winxp");
    rig.Form(1).Command(ui::ControlId("mnuInfo"));
    rig.SetWindows("win95");
    rig.Form(2).Command(ui::ControlId("mnuMain"));
    ASSERT_TRUE(rig.Form(4).Visible());
    EXPECT_THROW(rig.Form(4).Ctl("Command3").UserClick(), platform::ProgramEnded);
    EXPECT_TRUE(rig.toolkit.ended);
    EXPECT_FALSE(rig.Form(1).Loaded());
    // The main window's own unload handler takes the other family windows with it.
    EXPECT_FALSE(rig.Form(2).Loaded());
    EXPECT_EQ(rig.toolkit.quits, 0) << "ended at once, not by the last window";
}

}  // namespace

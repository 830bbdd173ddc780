// The window and control rules every handler relies on, and the program's lifetime.
#include <gtest/gtest.h>

#include "fakes/TestRig.h"
#include "ui/ControlIds.h"

namespace {

ui::FormLayout TwoBoxes() {
    return ui::FormLayout{"FormT",
                          "T",
                          1000,
                          1000,
                          {{ui::Kind::CheckBox, "Check1", "One", 0, 0, 10, 10, ""},
                           {ui::Kind::CheckBox, "Check2", "Two", 0, 0, 10, 10, ""},
                           {ui::Kind::Button, "Command1", "Go", 0, 0, 10, 10, ""}},
                          {{"mnuMain", "Main"}}};
}

TEST(CheckBoxRule, ChangeRaisesClickBeforeTheAssignmentReturns) {
    fakes::FakeToolkit toolkit;
    ui::Form form(toolkit, TwoBoxes());
    form.Load();
    std::vector<int> seen;
    form.Ctl("Check1").Click = [&] { seen.push_back(form.Ctl("Check1").Value()); };
    form.Ctl("Check1").SetValue(1);
    EXPECT_EQ(seen, std::vector<int>{1});
    form.Ctl("Check1").SetValue(1);
    EXPECT_EQ(seen.size(), 1u) << "same value raises nothing";
    form.Ctl("Check1").SetValue(0);
    EXPECT_EQ(seen, (std::vector<int>{1, 0}));
}

TEST(CheckBoxRule, HandlerThatResetsTheBoxSeesNoSecondQuestion) {
    // The pattern of a confirmation: a click handler that unticks its own box.
    fakes::FakeToolkit toolkit;
    ui::Form form(toolkit, TwoBoxes());
    form.Load();
    int calls = 0;
    form.Ctl("Check1").Click = [&] {
        ++calls;
        if (form.Ctl("Check1").Value() == 1) form.Ctl("Check1").SetValue(0);
    };
    form.Ctl("Check1").UserClick();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(form.Ctl("Check1").Value(), 0);
}

TEST(Commands, DisabledControlsAndMenuItemsIgnoreCommands) {
    fakes::FakeToolkit toolkit;
    ui::Form form(toolkit, TwoBoxes());
    form.Load();
    int buttonClicks = 0, menuClicks = 0;
    form.Ctl("Command1").Click = [&] { ++buttonClicks; };
    form.Menu("mnuMain").Click = [&] { ++menuClicks; };

    form.Ctl("Check2").SetEnabled(false);
    form.Ctl("Command1").SetEnabled(false);
    form.Menu("mnuMain").SetEnabled(false);
    form.Command(ui::ControlId("Check2"));
    form.Command(ui::ControlId("Command1"));
    form.Command(ui::ControlId("mnuMain"));
    EXPECT_EQ(form.Ctl("Check2").Value(), 0);
    EXPECT_EQ(buttonClicks + menuClicks, 0);

    form.Ctl("Check2").SetEnabled(true);
    form.Ctl("Command1").SetEnabled(true);
    form.Menu("mnuMain").SetEnabled(true);
    form.Command(ui::ControlId("Check2"));
    form.Command(ui::ControlId("Command1"));
    form.Command(ui::ControlId("mnuMain"));
    EXPECT_EQ(form.Ctl("Check2").Value(), 1);
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(menuClicks, 1);
}

TEST(WindowPeer, ShowsWhatTheFormHoldsFromLoadToReload) {
    fakes::FakeToolkit toolkit;
    ui::FormLayout layout = TwoBoxes();
    layout.controls.push_back({ui::Kind::ListBox, "List1", "", 0, 0, 10, 10, ""});
    layout.menus.push_back({"mnuOther", "Other"});
    ui::Form form(toolkit, layout);
    form.Ctl("Check2").SetCaption("Set before the window exists");
    form.Menu("mnuOther").SetEnabled(false);
    form.Show();
    form.Ctl("Check1").UserClick();
    form.Ctl("Check2").SetValue(1);
    form.Ctl("Check2").SetEnabled(false);
    form.Ctl("Command1").SetCaption("Stop");
    form.Menu("mnuMain").SetEnabled(false);
    form.Menu("mnuOther").SetEnabled(true);
    form.Ctl("List1").AddItem("http://a.example/");
    form.Ctl("List1").AddItem("http://b.example/");
    fakes::ExpectPeerMatchesForm(form);

    form.Unload();
    form.Load();  // a new window, from the designed state
    form.Ctl("Check2").UserClick();
    form.Menu("mnuMain").SetEnabled(false);
    form.Ctl("List1").AddItem("http://c.example/");
    fakes::ExpectPeerMatchesForm(form);
}

TEST(SkipOnFailure, SkipsRunTimeFailuresButNotAMisspeltControlName) {
    fakes::FakeToolkit toolkit;
    ui::Form form(toolkit, TwoBoxes());
    EXPECT_THROW(platform::SkipOnFailure([&] { form.Ctl("Chek1").SetValue(1); }),
                 std::out_of_range);
    EXPECT_NO_THROW(
        platform::SkipOnFailure([] { throw platform::RuntimeError("path not found"); }));
    EXPECT_NO_THROW(platform::SkipOnFailure([] { throw std::bad_alloc(); }));
}

TEST(Commands, ControlIdsComeFromDesignerNames) {
    EXPECT_EQ(ui::ControlId("Check7"), 1007);
    EXPECT_EQ(ui::ControlId("Check10"), 1010);
    EXPECT_EQ(ui::ControlId("Command3"), 2003);
    EXPECT_EQ(ui::ControlId("Label4"), 3004);
    EXPECT_EQ(ui::ControlId("mnuFireFox"), ui::ControlId("mnuFirefox"));
    EXPECT_EQ(ui::ControlId("Check"), 0);
    EXPECT_EQ(ui::ControlId("Check1a"), 0);
    EXPECT_EQ(ui::ControlId("Other"), 0);
}

TEST(Lifetime, LoadRunsOnceAndUnloadResetsTheDesign) {
    fakes::FakeToolkit toolkit;
    ui::Form form(toolkit, TwoBoxes());
    form.Show();
    form.Ctl("Check1").SetValue(1);
    form.Hide();
    form.Show();
    EXPECT_EQ(toolkit.created.size(), 1u);
    EXPECT_EQ(form.Ctl("Check1").Value(), 1) << "hiding keeps the ticks";
    form.Unload();
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(form.Ctl("Check1").Value(), 0);
    form.Unload();  // not loaded: nothing happens
    EXPECT_FALSE(form.Loaded());
}

TEST(Lifetime, ExitOnTheNtMainWindowEndsTheProgram) {
    fakes::Rig rig;
    rig.SetWindows("winxp");
    rig.Start();
    rig.Form(1).Ctl("Command3").UserClick();
    EXPECT_FALSE(rig.Form(1).Loaded());
    EXPECT_EQ(rig.toolkit.quits, 1);
    EXPECT_FALSE(rig.toolkit.ended);
}

TEST(Lifetime, ExitOnTheWindows98MainWindowAlsoUnloadsTheHiddenNtWindow) {
    fakes::Rig rig;
    rig.SetWindows("win98");
    rig.Start();
    ASSERT_TRUE(rig.Form(1).Loaded());
    rig.Form(6).Ctl("Command3").UserClick();
    EXPECT_FALSE(rig.Form(1).Loaded());
    EXPECT_FALSE(rig.Form(6).Loaded());
    EXPECT_EQ(rig.toolkit.quits, 1) << "the program ends once, with its last window";
}

TEST(Lifetime, CloseBoxOfAnyFamilyWindowUnloadsEveryWindowOnce) {
    for (auto [version, form] :
         {std::pair{"winxp", 1}, std::pair{"win98", 6}, std::pair{"win98", 1}}) {
        fakes::Rig rig;
        rig.SetWindows(version);
        rig.Start();
        int unloads = 0;
        for (int n : {1, 4, 6}) {
            auto previous = rig.Form(n).Unloaded;
            rig.Form(n).Unloaded = [&unloads, previous] {
                ++unloads;
                previous();
            };
        }
        const int loaded = rig.Form(1).Loaded() + rig.Form(4).Loaded() + rig.Form(6).Loaded();
        rig.Form(form).CloseRequested();
        EXPECT_EQ(unloads, loaded) << version << " Form" << form;
        EXPECT_EQ(rig.toolkit.quits, 1) << version << " Form" << form;
    }
}

TEST(Lifetime, UnsupportedWindowEndsAtOnceAfterUnloadingTheMainWindow) {
    for (bool closeBox : {false, true}) {
        fakes::Rig rig;
        rig.SetWindows("win95");
        rig.Start();
        ASSERT_TRUE(rig.Form(4).Visible());
        if (closeBox) {
            EXPECT_THROW(rig.Form(4).CloseRequested(), platform::ProgramEnded);
        } else {
            EXPECT_THROW(rig.Form(4).Ctl("Command3").UserClick(), platform::ProgramEnded);
        }
        EXPECT_TRUE(rig.toolkit.ended);
        EXPECT_FALSE(rig.Form(1).Loaded());
    }
}

TEST(Lifetime, SupportLinksOpenTheSupportPageInANormalWindow) {
    fakes::Rig rig;
    rig.SetWindows("win95");
    rig.Start();
    rig.Form(4).Ctl("Label2").UserClick();
    EXPECT_TRUE(rig.shell.executed.empty()) << "the plain label opens nothing";
    rig.Form(4).Ctl("Label3").UserClick();
    ASSERT_EQ(rig.shell.executed.size(), 1u);
    EXPECT_EQ(rig.shell.executed[0].operation, "open");
    EXPECT_EQ(rig.shell.executed[0].file, "http://www.olvexcleaner.example/techmail/email.html");
    EXPECT_EQ(rig.shell.executed[0].owner, rig.Form(4).hWnd());
    EXPECT_EQ(rig.shell.executed[0].showCommand, 1);
}

}  // namespace

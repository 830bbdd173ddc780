// "Select All" in both main windows.
#include <gtest/gtest.h>

#include "fakes/TestRig.h"

namespace {

const std::vector<std::string> kNtBoxes = {"Check1", "Check2", "Check3", "Check4", "Check5",
                                           "Check6", "Check8", "Check9", "Check10"};
const std::vector<std::string> kW98Boxes = {"Check1", "Check2", "Check3", "Check4",
                                            "Check5", "Check6", "Check8"};

std::vector<int> Values(ui::Form& form, const std::vector<std::string>& boxes) {
    std::vector<int> values;
    for (const auto& box : boxes) values.push_back(form.Ctl(box).Value());
    return values;
}

class SelectAll : public ::testing::Test {
  protected:
    ui::Form& StartOn(const char* version, int form) {
        rig.SetWindows(version);
        rig.Start();
        return rig.Form(form);
    }
    fakes::Rig rig;
};

TEST_F(SelectAll, TicksAndClearsEveryNtCategory) {
    ui::Form& form = StartOn("winxp", 1);
    form.Ctl("Check7").UserClick();
    EXPECT_EQ(Values(form, kNtBoxes), std::vector<int>(9, 1));
    EXPECT_EQ(form.Ctl("Check7").Caption(), "Unselect All");

    form.Ctl("Check7").UserClick();
    EXPECT_EQ(Values(form, kNtBoxes), std::vector<int>(9, 0));
    EXPECT_EQ(form.Ctl("Check7").Caption(), "Select All");
}

TEST_F(SelectAll, LeavesPrefetchUntickedOnWindows2000) {
    ui::Form& form = StartOn("win2k", 1);
    form.Ctl("Check7").UserClick();
    std::vector<int> expected(9, 1);
    expected[5] = 0;  // Check6
    EXPECT_EQ(Values(form, kNtBoxes), expected);
    EXPECT_EQ(form.Ctl("Check7").Caption(), "Unselect All");
}

TEST_F(SelectAll, TicksDisabledBoxesToo) {
    rig.system.admin = 0;
    ui::Form& form = StartOn("winxp", 1);
    ASSERT_FALSE(form.Ctl("Check9").Enabled());
    form.Ctl("Check7").UserClick();
    EXPECT_EQ(form.Ctl("Check9").Value(), 1);
}

TEST_F(SelectAll, UntickingOneCategoryKeepsSelectAllTicked) {
    ui::Form& form = StartOn("winxp", 1);
    form.Ctl("Check7").UserClick();
    form.Ctl("Check3").UserClick();
    EXPECT_EQ(form.Ctl("Check3").Value(), 0);
    EXPECT_EQ(form.Ctl("Check7").Value(), 1);
    EXPECT_EQ(form.Ctl("Check7").Caption(), "Unselect All");
    form.Ctl("Check7").UserClick();
    EXPECT_EQ(Values(form, kNtBoxes), std::vector<int>(9, 0));
}

TEST_F(SelectAll, TicksAndClearsEveryWindows98Category) {
    ui::Form& form = StartOn("win98", 6);
    form.Ctl("Check7").UserClick();
    EXPECT_EQ(Values(form, kW98Boxes), std::vector<int>(7, 1));
    EXPECT_EQ(form.Ctl("Check7").Caption(), "Unselect All");
    form.Ctl("Check7").UserClick();
    EXPECT_EQ(Values(form, kW98Boxes), std::vector<int>(7, 0));
    EXPECT_EQ(form.Ctl("Check7").Caption(), "Select All");
}

TEST_F(SelectAll, SettingTheBoxFromCodeRunsTheSameHandler) {
    ui::Form& form = StartOn("winxp", 1);
    form.Ctl("Check7").SetValue(1);
    EXPECT_EQ(Values(form, kNtBoxes), std::vector<int>(9, 1));
    // Assigning the value it already has raises nothing: the categories stay as they are.
    form.Ctl("Check2").SetValue(0);
    form.Ctl("Check7").SetValue(1);
    EXPECT_EQ(form.Ctl("Check2").Value(), 0);
}

TEST_F(SelectAll, CategoryClicksChangeNothingElse) {
    ui::Form& form = StartOn("winxp", 1);
    form.Ctl("Check1").UserClick();
    std::vector<int> expected(9, 0);
    expected[0] = 1;
    EXPECT_EQ(Values(form, kNtBoxes), expected);
    EXPECT_EQ(form.Ctl("Check7").Value(), 0);
    EXPECT_EQ(form.Ctl("Check7").Caption(), "Select All");
}

}  // namespace

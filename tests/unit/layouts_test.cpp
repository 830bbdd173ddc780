// Guards on the window layout tables.
#include "ui/Layouts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "fakes/TestRig.h"
#include "ui/ControlIds.h"

namespace {

const char* const kAddress = "support@example";

// Parameterised cases are named after the window.
std::string WindowName(const ::testing::TestParamInfo<ui::FormLayout>& info) {
    return info.param.name;
}

class Layout : public ::testing::TestWithParam<ui::FormLayout> {};

TEST_P(Layout, NamesAndIdsAreUniqueAndFramesExist) {
    const ui::FormLayout& layout = GetParam();
    std::set<std::string> names;
    std::set<int> ids;
    for (const auto& c : layout.controls) {
        EXPECT_TRUE(names.insert(c.name).second) << layout.name << " repeats " << c.name;
        const int id = ui::ControlId(c.name);
        EXPECT_NE(id, 0) << c.name;
        EXPECT_TRUE(ids.insert(id).second) << c.name;
        if (!c.parent.empty()) {
            bool frame = false;
            for (const auto& f : layout.controls)
                frame |= f.name == c.parent && f.kind == ui::Kind::Frame;
            EXPECT_TRUE(frame) << c.name << " lies in a missing frame " << c.parent;
        }
        EXPECT_GT(c.width, 0) << c.name;
        EXPECT_GT(c.height, 0) << c.name;
    }
    for (const auto& m : layout.menus) {
        const int id = ui::ControlId(m.name);
        EXPECT_NE(id, 0) << m.name;
        EXPECT_TRUE(ids.insert(id).second) << m.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, Layout,
                         ::testing::Values(ui::Form1Layout(kAddress), ui::Form4Layout(kAddress),
                                           ui::Form6Layout(kAddress)),
                         WindowName);

TEST(LayoutCaptions, WrittenExactly) {
    auto caption = [](const ui::FormLayout& layout, const std::string& name) {
        for (const auto& c : layout.controls)
            if (c.name == name) return c.caption;
        return std::string("<missing>");
    };
    // A category box reads its category's caption on the window's family.
    fakes::Rig rig;
    EXPECT_EQ(rig.Form(6).Ctl("Check4").Caption(), "Temporary Internet FIles");
    EXPECT_EQ(rig.Form(1).Ctl("Check4").Caption(), "Temporary Internet Files");
    EXPECT_EQ(caption(ui::Form1Layout(kAddress), "Label1"), "Olvex Cleaner ");
    EXPECT_EQ(caption(ui::Form1Layout(kAddress), "Label2"), "For technical support please email: ");
    EXPECT_EQ(ui::Form4Layout(kAddress).caption, "Olvex Cleaner - Unsupported Version");
    EXPECT_NE(caption(ui::Form4Layout(kAddress), "Label5").find("systems  are"), std::string::npos);
    EXPECT_TRUE(ui::Form4Layout(kAddress).menus.empty());
    EXPECT_EQ(ui::Form6Layout(kAddress).menus[1].name, "mnuFireFox");
    EXPECT_EQ(ui::Form6Layout(kAddress).menus[1].caption, "FireFox");
}

class NewLayouts : public ::testing::TestWithParam<ui::FormLayout> {};

TEST_P(NewLayouts, ControlsLieInsideTheirWindowAndFrame) {
    const ui::FormLayout& layout = GetParam();
    std::set<int> ids;
    for (const ui::ControlLayout& c : layout.controls) {
        EXPECT_TRUE(ids.insert(ui::ControlId(c.name)).second) << layout.name << " " << c.name;
        int width = layout.clientWidth, height = layout.clientHeight;
        if (!c.parent.empty()) {
            bool found = false;
            for (const ui::ControlLayout& f : layout.controls) {
                if (f.name != c.parent || f.kind != ui::Kind::Frame) continue;
                found = true;
                width = f.width;
                height = f.height;
            }
            EXPECT_TRUE(found) << layout.name << " " << c.name;
        }
        EXPECT_GE(c.left, 0) << layout.name << " " << c.name;
        EXPECT_GE(c.top, 0) << layout.name << " " << c.name;
        EXPECT_LE(c.left + c.width, width) << layout.name << " " << c.name;
        EXPECT_LE(c.top + c.height, height) << layout.name << " " << c.name;
    }
    // The NT family's menu bar has Chrome after Opera; the 98 family's has no Chrome.
    const std::set<std::string> nt = {"Form2", "Form3", "Form5", "Form10"};
    std::vector<std::string> menus;
    for (const ui::MenuLayout& m : layout.menus) menus.push_back(m.name + " " + m.caption);
    std::vector<std::string> expected = {"mnuMain Main", layout.menus[1].name + " " +
                                         layout.menus[1].caption, "mnuOpera Opera"};
    if (nt.count(layout.name)) expected.push_back("mnuChrome Chrome");
    expected.push_back("mnuInfo Information");
    EXPECT_EQ(menus, expected);
}

TEST(BrowserLayouts, BoxesLieInTheFrameInOneColumnWithSelectAllLast) {
    for (const ui::FormLayout& layout :
         {ui::Form3Layout(kAddress), ui::Form5Layout(kAddress), ui::Form7Layout(kAddress),
          ui::Form8Layout(kAddress), ui::Form10Layout(kAddress)}) {
        const ui::ControlLayout* frame = nullptr;
        std::vector<const ui::ControlLayout*> boxes;
        for (const ui::ControlLayout& c : layout.controls) {
            if (c.name == "Frame1") frame = &c;
            if (c.kind == ui::Kind::CheckBox) boxes.push_back(&c);
        }
        ASSERT_TRUE(frame) << layout.name;
        ASSERT_EQ(boxes.size(), 7u) << layout.name;
        for (size_t i = 0; i < boxes.size(); ++i) {
            const ui::ControlLayout& b = *boxes[i];
            EXPECT_GE(b.left, frame->left) << layout.name << " " << b.name;
            EXPECT_LE(b.left + b.width, frame->left + frame->width) << layout.name << " " << b.name;
            EXPECT_GT(b.top, frame->top) << layout.name << " " << b.name;
            EXPECT_LE(b.top + b.height, frame->top + frame->height) << layout.name << " " << b.name;
            if (i > 0) {
                EXPECT_EQ(b.left, boxes[0]->left) << layout.name << " " << b.name;
                EXPECT_GT(b.top, boxes[i - 1]->top) << layout.name << " " << b.name;
            }
        }
        EXPECT_EQ(boxes.back()->name, "Check7") << layout.name << ": Select All comes last";
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, NewLayouts,
                         ::testing::Values(ui::Form2Layout(), ui::Form3Layout(kAddress),
                                           ui::Form5Layout(kAddress), ui::Form7Layout(kAddress),
                                           ui::Form8Layout(kAddress), ui::Form9Layout(),
                                           ui::Form10Layout(kAddress)),
                         WindowName);

}  // namespace

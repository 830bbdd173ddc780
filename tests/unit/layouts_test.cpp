// Guards on the window layout tables.
#include "ui/Layouts.h"

#include <gtest/gtest.h>

#include <set>

#include "ui/ControlIds.h"

namespace {

using LayoutOf = ui::FormLayout (*)();
class Layout : public ::testing::TestWithParam<LayoutOf> {};

TEST_P(Layout, NamesAndIdsAreUniqueAndFramesExist) {
    const ui::FormLayout layout = GetParam()();
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
                         ::testing::Values([]() { return ui::Form1Layout("support@example"); },
                                           []() { return ui::Form4Layout("support@example"); },
                                           []() { return ui::Form6Layout("support@example"); }));

TEST(LayoutCaptions, WrittenExactly) {
    auto caption = [](const ui::FormLayout& layout, const std::string& name) {
        for (const auto& c : layout.controls)
            if (c.name == name) return c.caption;
        return std::string("<missing>");
    };
    EXPECT_EQ(caption(ui::Form6Layout("support@example"), "Check4"), "Temporary Internet FIles");
    EXPECT_EQ(caption(ui::Form1Layout("support@example"), "Check4"), "Temporary Internet Files");
    EXPECT_EQ(caption(ui::Form1Layout("support@example"), "Label1"), "Olvex Cleaner ");
    EXPECT_EQ(caption(ui::Form1Layout("support@example"), "Label2"),
              "For technical support please email: ");
    EXPECT_EQ(ui::Form4Layout("support@example").caption, "Olvex Cleaner - Unsupported Version");
    EXPECT_NE(caption(ui::Form4Layout("support@example"), "Label5").find("systems  are"),
              std::string::npos);
    EXPECT_TRUE(ui::Form4Layout("support@example").menus.empty());
    EXPECT_EQ(ui::Form6Layout("support@example").menus[1].name, "mnuFireFox");
    EXPECT_EQ(ui::Form6Layout("support@example").menus[1].caption, "FireFox");
}

}  // namespace

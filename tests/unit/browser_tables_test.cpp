// Guards on the tables of the Firefox, Opera and information windows: every box that the
// user can tick deletes something, no recipe yields a relative path or a drive root, and
// every control lies inside its window and frame.
#include <gtest/gtest.h>

#include <set>

#include "browsers/BrowserRecipe.h"
#include "fakes/TestRig.h"
#include "ui/ControlIds.h"
#include "ui/Layouts.h"

namespace {

using olvex::BrowserRecipe;

const BrowserRecipe* const kRecipes[] = {&olvex::Form3Recipe(), &olvex::Form5Recipe(),
                                         &olvex::Form7Recipe(), &olvex::Form8Recipe()};

TEST(BrowserRecipes, EveryItemBoxOfTheWindowDeletesSomethingOnce) {
    for (const BrowserRecipe* recipe : kRecipes) {
        const ui::FormLayout layout = recipe->layout("support@example");
        std::set<std::string> inRecipe;
        for (const olvex::BrowserItem& item : recipe->items) {
            EXPECT_TRUE(inRecipe.insert(item.box).second) << layout.name << " repeats " << item.box;
            EXPECT_FALSE(item.roots.empty()) << layout.name << " " << item.box;
            EXPECT_NE(std::string(item.name), "") << layout.name << " " << item.box;
        }
        std::set<std::string> onScreen;
        for (const ui::ControlLayout& c : layout.controls)
            if (c.kind == ui::Kind::CheckBox && c.name != "Check7") onScreen.insert(c.name);
        EXPECT_EQ(inRecipe, onScreen) << layout.name;
    }
}

TEST(BrowserRecipes, PathsAreAbsoluteAndNeverADriveRoot) {
    fakes::Rig rig;
    const olvex::CleaningContext context = olvex::DeriveCleaningContext(rig.system);
    for (const BrowserRecipe* recipe : kRecipes) {
        for (const olvex::BrowserItem& item : recipe->items) {
            for (const olvex::Root& root : item.roots) {
                const std::string folder = olvex::RootPath(rig.services, context, root);
                ASSERT_EQ(folder.rfind("C:\\", 0), 0u)
                    << recipe->layout("").name << " " << item.box;
                // The profile part is empty for Opera and never empty for Firefox.
                const std::string path =
                    folder + (recipe->profiles == olvex::Profiles::One ? "" : "p") + item.name;
                EXPECT_GT(path.size(), 3u);
                EXPECT_EQ(path.find("\\\\"), std::string::npos) << path;
                EXPECT_NE(path.back(), '\\') << path;
            }
        }
    }
}

TEST(BrowserRecipes, UnknownFolderGivesNoPathAtAll) {
    fakes::Rig rig;
    rig.shell.folders.clear();
    const olvex::CleaningContext noWindows{};
    for (const BrowserRecipe* recipe : kRecipes)
        for (const olvex::BrowserItem& item : recipe->items)
            for (const olvex::Root& root : item.roots)
                EXPECT_EQ(olvex::RootPath(rig.services, noWindows, root), "")
                    << recipe->layout("").name << " " << item.box;
}

class NewLayouts : public ::testing::TestWithParam<ui::FormLayout (*)()> {};

TEST_P(NewLayouts, ControlsLieInsideTheirWindowAndFrame) {
    const ui::FormLayout layout = GetParam()();
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
    EXPECT_EQ(layout.menus.size(), 4u);
}

TEST(BrowserLayouts, BoxesLieInTheFrameInOneColumnWithSelectAllLast) {
    for (const BrowserRecipe* recipe : kRecipes) {
        const ui::FormLayout layout = recipe->layout("support@example");
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
                         ::testing::Values([] { return ui::Form2Layout(); },
                                           [] { return ui::Form3Layout("support@example"); },
                                           [] { return ui::Form5Layout("support@example"); },
                                           [] { return ui::Form7Layout("support@example"); },
                                           [] { return ui::Form8Layout("support@example"); },
                                           [] { return ui::Form9Layout(); }));

}  // namespace

// Guards on the cleaning tables of every window: each box the user can tick does something,
// each row belongs to a box on the screen, and no row yields a relative path, a drive root,
// or any path at all when its folder is unknown.
#include <gtest/gtest.h>

#include <set>

#include "fakes/TestRig.h"
#include "shell/BrowserWindow.h"
#include "shell/MainWindow.h"
#include "system/DeletionGuard.h"

namespace {

using namespace olvex;

struct WindowTable {
    ui::FormLayout layout;
    const CleaningRecipe& recipe;
};

std::vector<WindowTable> AllTables() {
    std::vector<WindowTable> tables;
    for (const MainWindowRecipe* r : {&Form1Recipe(), &Form6Recipe()})
        tables.push_back({r->layout("support@example"), r->categories});
    for (const BrowserWindowRecipe* r :
         {&Form3Recipe(), &Form5Recipe(), &Form7Recipe(), &Form8Recipe()})
        tables.push_back({r->layout("support@example"), r->items});
    return tables;
}

TEST(RuleTables, EveryBoxOnTheScreenHasRowsAndEveryRowABox) {
    for (const WindowTable& table : AllTables()) {
        std::set<std::string> onScreen;
        for (const ui::ControlLayout& c : table.layout.controls)
            if (c.kind == ui::Kind::CheckBox && c.name != "Check7") onScreen.insert(c.name);
        const std::vector<std::string> boxes = BoxesOf(table.recipe);
        EXPECT_EQ(std::set<std::string>(boxes.begin(), boxes.end()), onScreen) << table.layout.name;
        // Rows of one box follow each other, so a run visits each box once; and they all
        // run for each profile, or all once, never a mix.
        // Each box has one category id of its own.
        std::set<std::string> seen, ids;
        std::string previous, previousId;
        bool perProfile = false;
        for (const CleaningRule& rule : table.recipe.rules) {
            const bool namesProfile = rule.tail.find(kEachProfile) != std::string::npos;
            if (rule.box == previous) {
                EXPECT_EQ(namesProfile, perProfile) << table.layout.name << " " << rule.box;
                EXPECT_EQ(rule.id, previousId) << table.layout.name << " " << rule.box;
                continue;
            }
            EXPECT_TRUE(seen.insert(rule.box).second) << table.layout.name << " " << rule.box;
            EXPECT_TRUE(ids.insert(rule.id).second) << table.layout.name << " " << rule.id;
            previous = rule.box;
            previousId = rule.id;
            perProfile = namesProfile;
        }
    }
}

void ExpectPathsBelowAFolderOfTheDrive(fakes::Rig& known) {
    known.Start();
    fakes::Rig unknown;
    unknown.shell.folders.clear();
    unknown.Start();
    for (const WindowTable& table : AllTables()) {
        PlainPurgeList list;
        RuleRun run{known.services, table.recipe, 0,
                    list,           SilentSink(), DeriveCleaningContext(known.system),
                    {"p"}};
        RuleRun blind{unknown.services, table.recipe,      0,    list,
                      SilentSink(),     CleaningContext{}, {"p"}};
        for (const CleaningRule& rule : table.recipe.rules) {
            const std::string where = table.layout.name + " " + rule.box;
            if (rule.base == BaseFolder::None) {
                EXPECT_EQ(rule.tail, "") << where;
                continue;
            }
            std::string path = BaseFolderPath(run, rule.base) + rule.tail;
            const size_t marker = path.find(kEachProfile);
            if (marker != std::string::npos) path.replace(marker, 9, "p");
            if (path.size() > 2 && path.compare(path.size() - 2, 2, "\\*") == 0)
                path.resize(path.size() - 2);
            EXPECT_TRUE(IsSweepableFolder(path)) << where << ": " << path;
            EXPECT_EQ(BaseFolderPath(blind, rule.base), "") << where;
        }
    }
}

TEST(RuleTables, PathsLieBelowAFolderOfTheDriveAndVanishWhenTheFolderIsUnknown) {
    // XP, whose shell names every folder, and NT 4.0 with a later Internet Explorer: Windows
    // in C:\WINNT, and only the shell's fallbacks name local application data, the profile
    // and Program Files.
    for (const char* system : {"winxp", "nt40"}) {
        SCOPED_TRACE(system);
        fakes::Rig known;
        known.SetWindows(system);
        if (std::string(system) == "nt40") {
            known.system.windowsDir = "C:\\WINNT";
            for (int csidl : {0x1C, 0x26, 0x28}) known.shell.folders.erase(csidl);
            known.shell.libraryFolders[0x1C] =
                "C:\\WINNT\\Profiles\\Jo.000\\Local Settings\\Application Data";
            known.system.environment["USERPROFILE"] = "C:\\WINNT\\Profiles\\Jo.000";
            known.system.machineSettings[fakes::kProgramFilesDir] = "C:\\Program Files";
        }
        ExpectPathsBelowAFolderOfTheDrive(known);
    }
}

}  // namespace

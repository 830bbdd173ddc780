// Guards on the one table of categories and the windows bound to it: ids are unique, every
// category of a family has rows there and one box in its windows, every box is bound to one,
// and no row yields a relative path, a drive root, or any path at all when its folder is
// unknown.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "categories/CategoryTable.h"
#include "fakes/TestRig.h"
#include "guard/DeletionGuard.h"
#include "ui/Layouts.h"

namespace {

using namespace olvex;

TEST(CategoryTable, IdsAreUniqueAndEachCategoryHasOneBoxInItsFamilysWindows) {
    std::set<std::string> ids;
    for (const Category& category : Categories()) EXPECT_TRUE(ids.insert(category.id).second);
    const std::string address = "support@example";
    const std::map<Family, std::vector<ui::FormLayout>> windows{
        {Family::NT,
         {ui::Form1Layout(address), ui::Form3Layout(address), ui::Form5Layout(address),
          ui::Form10Layout(address)}},
        {Family::Windows98,
         {ui::Form6Layout(address), ui::Form7Layout(address), ui::Form8Layout(address)}}};
    for (const auto& [family, layouts] : windows) {
        std::multiset<std::string> bound;
        for (const ui::FormLayout& layout : layouts)
            for (const ui::ControlLayout& c : layout.controls) {
                if (c.kind != ui::Kind::CheckBox || c.name == "Check7") continue;
                EXPECT_NE(CategoryById(c.category), nullptr) << layout.name << " " << c.name;
                bound.insert(c.category);
            }
        std::multiset<std::string> on;
        for (const Category* category : CategoriesOn(family)) {
            on.insert(category->id);
            // A category's rows run for each profile, or all once, never a mix.
            const CategoryRows& rows = category->RowsOn(family);
            size_t perProfile = 0;
            for (const CleaningRule& rule : rows.rows)
                perProfile += rule.tail.find(kEachProfile) != std::string::npos;
            EXPECT_TRUE(perProfile == 0 || perProfile == rows.rows.size()) << category->id;
            EXPECT_EQ(perProfile > 0, rows.profiles != nullptr) << category->id;
        }
        EXPECT_EQ(bound, on) << "family " << static_cast<int>(family);
    }
}

void ExpectPathsBelowAFolderOfTheDrive(fakes::Rig& known, Family family) {
    fakes::Rig unknown;
    unknown.shell.folders.clear();
    PlainPurgeList list;
    RuleRun run{known.services,
                known.changes,
                family,
                0,
                list,
                SilentSink(),
                DeriveCleaningContext(known.system),
                {}};
    RuleRun blind{unknown.services, unknown.changes,   family, 0, list,
                  SilentSink(),     CleaningContext{}, {}};
    for (const Category* category : CategoriesOn(family)) {
        for (const CleaningRule& rule : category->RowsOn(family).rows) {
            if (rule.base == BaseFolder::None) {
                EXPECT_EQ(rule.tail, "") << category->id;
                continue;
            }
            std::string path = BaseFolderPath(run, rule.base) + rule.tail;
            const size_t marker = path.find(kEachProfile);
            if (marker != std::string::npos) path.replace(marker, 9, "p");
            // A pattern names files of the folder before it.
            if (path.find('*', path.rfind('\\')) != std::string::npos)
                path.resize(path.rfind('\\'));
            EXPECT_TRUE(IsSweepableFolder(path)) << category->id << ": " << path;
            EXPECT_EQ(BaseFolderPath(blind, rule.base), "") << category->id;
        }
    }
}

TEST(CategoryTable, PathsLieBelowAFolderOfTheDriveAndVanishWhenTheFolderIsUnknown) {
    // XP, whose shell names every folder, and NT 4.0 with a later Internet Explorer: Windows
    // in C:\WINNT, and only the shell's fallbacks name local application data, the profile
    // and Program Files; and 98.
    for (const char* system : {"winxp", "nt40", "win98"}) {
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
        ExpectPathsBelowAFolderOfTheDrive(
            known, std::string(system) == "win98" ? Family::Windows98 : Family::NT);
    }
}

}  // namespace

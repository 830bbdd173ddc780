// The rules of the one deletion layer: which names and folders it refuses, how it removes a
// tree, and that no link or swapped entry is ever deleted through.
#include <gtest/gtest.h>

#include "cleaning/FolderSweep.h"
#include "fakes/TestRig.h"
#include "platform/Errors.h"
#include "guard/DeletionGuard.h"

namespace {

using namespace olvex;
using platform::kAttrHidden;
using platform::kAttrReadOnly;
using platform::kAttrSystem;

TEST(DeletionGuard, NamesThatPathParsingWouldChangeAreNotLiteral) {
    for (const char* name :
         {"a.tmp", ".hidden", "COM10", "console.log", "auxiliary", "h.x", "Жанна.txt", "LPT0"})
        EXPECT_TRUE(IsLiteralName(name)) << name;
    for (const char* name :
         {"", ".", "..", "x\\..\\..\\canary.txt", "a/b", "h.", "r ", "COM1", "com9.txt", "aux.log",
          "CON", "nul .txt", "LPT1", "CONOUT$", "a:b", "a?", "*", "tab\there"})
        EXPECT_FALSE(IsLiteralName(name)) << name;
}

TEST(DeletionGuard, OnlyAbsoluteFoldersBelowADriveOrShareRoot) {
    for (const char* path : {"C:\\WINDOWS\\temp", "C:\\\\Windows\\Cookies", "c:/Temp",
                             "\\\\server\\share\\AppData", "\\\\server\\share\\a\\.\\b\\"})
        EXPECT_TRUE(IsSweepableFolder(path)) << path;
    for (const char* path : {"", "C:", "C:\\", "C:\\\\", "C:temp", "\\temp", "Local Settings\\temp",
                             "C:\\x\\..", "C:\\..\\x", "\\\\server", "\\\\server\\share",
                             "\\\\server\\share\\", "\\\\?\\C:\\x", "\\\\.\\COM1\\x", "C:\\COM1\\x",
                             "C:\\dots.\\x", "C:\\a\\..\\b", "C:\\Docs\\a\\..\\..\\important"})
        EXPECT_FALSE(IsSweepableFolder(path)) << path;
}

TEST(DeletionGuard, APathLiesInsideAFolderOnlyNameByName) {
    EXPECT_TRUE(LiesInside("c:/Cache/Content.IE5/AB12/x.htm", "C:\\cache\\"));
    EXPECT_TRUE(IsSamePath("C:\\Docs\\Jo\\", "c:/docs/jo"));
    for (const char* path :
         {"C:\\Cache", "C:\\CacheMore\\x", "D:\\Cache\\x", "C:\\Cache\\..\\..\\victim.txt",
          "C:\\Cache\\a\\..\\x", "\\\\srv\\share\\Cache\\x", "Cache\\x"})
        EXPECT_FALSE(LiesInside(path, "C:\\Cache")) << path;
    EXPECT_FALSE(IsSamePath("C:\\Docs\\Jo", "C:\\Docs\\Jo.DOMAIN"));
}

TEST(DeletionGuard, PatternsIgnoreAsciiCase) {
    EXPECT_TRUE(MatchesPattern("Cookies.TXT", "cookies.txt"));
    EXPECT_TRUE(MatchesPattern("noext", "*.*"));
    EXPECT_TRUE(MatchesPattern("a1b.dat", "a?b.*"));
    EXPECT_FALSE(MatchesPattern("ab.dat", "a?b.*"));
    EXPECT_FALSE(MatchesPattern("layout.ini.bak", "layout.ini"));
}

// Every rule of the guard, on every path an entry reaches it by: the top of a sweep, a folder
// removed whole, and a browser's files named by a pattern. What each rule keeps, and where a
// removal stops.
TEST(DeletionGuard, EveryRuleHoldsOnEveryPath) {
    struct Rule {
        const char* name;
        uint32_t attributes;
        bool goesInsideARemoval;  // hidden and system files go with their folder
    };
    const Rule rules[] = {{"plain.tmp", platform::kAttrArchive, true},
                          {"ro.tmp", kAttrReadOnly, false},
                          {"hid.tmp", kAttrHidden, true},
                          {"sys.tmp", kAttrSystem, true},
                          {"link.tmp", platform::kAttrArchive | platform::kAttrReparsePoint, false},
                          {"odd.tmp.", platform::kAttrArchive, false},
                          {"swapped.tmp", 0, false},
                          {"busy.tmp", platform::kAttrArchive, false}};
    for (const Rule& rule : rules) {
        SCOPED_TRACE(rule.name);
        const bool goesAlone = std::string(rule.name) == "plain.tmp";
        fakes::Rig rig;
        auto add = [&](const std::string& path) {
            if (std::string(rule.name) == "swapped.tmp") {
                rig.files.AddFileLink(path);  // opens as something else than listed
            } else {
                rig.files.AddFile(path, rule.attributes);
            }
            if (std::string(rule.name) == "busy.tmp") rig.files.Lock(path);
        };
        add("C:\\Top\\" + std::string(rule.name));
        add("C:\\Tree\\sub\\" + std::string(rule.name));
        add("C:\\Browser\\" + std::string(rule.name));
        rig.files.AddFile("C:\\Tree\\sub\\z.tmp");  // after the entry: a stop leaves it

        SweepFolder(rig.files, "C:\\Top", {&rig.changes, "*.*", ""});
        EXPECT_EQ(rig.files.Exists("C:\\Top\\" + std::string(rule.name)), !goesAlone);
        const bool stops = !rule.goesInsideARemoval;
        try {
            SweepFolder(rig.files, "C:\\Tree", {&rig.changes, "*.*", ""});
            EXPECT_FALSE(stops);
        } catch (const platform::Refusal&) {
            EXPECT_TRUE(stops);
        }
        EXPECT_EQ(rig.files.Exists("C:\\Tree\\sub\\" + std::string(rule.name)), stops);
        EXPECT_EQ(rig.files.Exists("C:\\Tree\\sub\\z.tmp"), stops);
        DeleteFilesNamed(rig.files, rig.changes, "C:\\Browser\\*.tmp*", SilentSink());
        EXPECT_EQ(rig.files.Exists("C:\\Browser\\" + std::string(rule.name)), !goesAlone);
    }
}

// Removes the folder name of C:\T whole, as a sweep of C:\T that lists it does.
void RemoveTree(fakes::Rig& rig, const std::string& name) {
    const SweepRules rules{&rig.changes, "*.*", ""};
    auto top = OpenSweep(rig.files, "C:\\T", rules);
    SweepEntry(*top, {name, platform::kAttrDirectory, 0, 0}, rules);
}

// Removing a tree: hidden and system files go, the first entry that cannot go stops it.
TEST(RemoveTree, RemovesHiddenAndSystemButStopsAtTheFirstThatCannotGo) {
    fakes::Rig rig;
    fakes::FakeFileSystem& files = rig.files;
    files.AddFile("C:\\T\\F\\h", kAttrHidden);
    files.AddFile("C:\\T\\F\\s", kAttrSystem);
    files.AddFile("C:\\T\\F\\sub\\x");
    files.AddFile("C:\\T\\G\\a");
    files.AddFile("C:\\T\\G\\b", kAttrReadOnly);
    files.AddFile("C:\\T\\G\\c");
    files.AddFile("C:\\T\\H\\a");
    files.AddFolderLink("C:\\T\\H\\link");
    files.AddFile("C:\\T\\H\\z");
    RemoveTree(rig, "F");
    EXPECT_FALSE(files.Exists("C:\\T\\F"));
    for (const char* stopper : {"G", "H"}) {
        try {
            RemoveTree(rig, stopper);
            FAIL() << stopper;
        } catch (const platform::Refusal& error) {
            EXPECT_NE(error.reason().find(stopper == std::string("G") ? "b (read-only)"
                                                                      : "link (link or junction)"),
                      std::string::npos)
                << error.reason();
        }
    }
    EXPECT_FALSE(files.Exists("C:\\T\\G\\a"));
    EXPECT_TRUE(files.Exists("C:\\T\\G\\b"));
    EXPECT_TRUE(files.Exists("C:\\T\\G\\c")) << "nothing after the stopper";
    EXPECT_TRUE(files.Exists("C:\\T\\H\\link"));
    EXPECT_TRUE(files.Exists("C:\\T\\H\\z"));
}

TEST(RemoveTree, DeepFoldersAreMovedUpAndGoBackWhenTheyCannotBeEmptied) {
    for (bool stopper : {false, true}) {
        fakes::Rig rig;
        fakes::FakeFileSystem& files = rig.files;
        std::string deep = "C:\\T\\d";
        for (int i = 1; i < 100; ++i) deep += "\\d";
        files.AddFile(deep + "\\f.tmp");
        if (stopper) files.AddFile(deep + "\\r.tmp", kAttrReadOnly);
        if (stopper) {
            EXPECT_THROW(RemoveTree(rig, "d"), platform::Refusal);
        } else {
            RemoveTree(rig, "d");
        }
        // The folder 32 levels below the top is moved into it, and so is every 31st after.
        ASSERT_EQ(files.moves.size(), stopper ? 6u : 3u);
        std::string thirtySecond = "C:\\T\\d";
        for (int i = 0; i < 32; ++i) thirtySecond += "\\d";
        EXPECT_EQ(files.moves[0], thirtySecond + " -> C:\\T\\d\\~olvex-deep-1");
        EXPECT_EQ(files.Exists(deep + "\\r.tmp"), stopper) << "the tree is back as it was";
        EXPECT_FALSE(files.Exists(deep + "\\f.tmp"));
        EXPECT_EQ(files.Exists("C:\\T\\d"), stopper);
        EXPECT_FALSE(files.Exists("C:\\T\\d\\~olvex-deep-1"));
    }
}

TEST(RemoveTree, AMovedFolderThatCannotBeListedGoesBack) {
    fakes::Rig rig;
    fakes::FakeFileSystem& files = rig.files;
    std::string level32 = "C:\\T\\d";
    for (int i = 0; i < 32; ++i) level32 += "\\d";
    files.AddFile(level32 + "\\d\\f.tmp");
    files.MakeUnreadable(level32);
    EXPECT_THROW(RemoveTree(rig, "d"), platform::RuntimeError);
    EXPECT_EQ(files.moves.size(), 2u) << "moved up, then back";
    EXPECT_TRUE(files.Exists(level32 + "\\d\\f.tmp"));
}

// Real NT refuses to move a folder into one that anybody holds with the right to delete it.
// The tree goes all the same, its deep folders emptied where they are, and the move is not
// tried again for every folder below once refused.
TEST(RemoveTree, DeepFoldersStayWhereTheyAreWhenTheTopCannotTakeThem) {
    fakes::Rig rig;
    fakes::FakeFileSystem& files = rig.files;
    std::string deep = "C:\\T\\d";
    for (int i = 0; i < 100; ++i) deep += "\\d";
    files.AddFile(deep + "\\f.tmp");
    files.HoldForDeletion("C:\\T\\d");
    RemoveTree(rig, "d");
    EXPECT_FALSE(files.Exists("C:\\T\\d"));
    EXPECT_TRUE(files.moves.empty());
    EXPECT_EQ(files.refusedMoves, 1);
}

}  // namespace

// The folder sweep.
#include <gtest/gtest.h>

#include "cleaning/FolderSweep.h"
#include "fakes/TestRig.h"
#include "guard/DeletionGuard.h"
#include "platform/Errors.h"

namespace {

using namespace olvex;
using platform::kAttrHidden;
using platform::kAttrReadOnly;
using platform::kAttrSystem;

class Sweep : public ::testing::Test {
  protected:
    void Run(const std::string& path, AtRestart kind = AtRestart::AnyDepth,
             const std::string& pattern = "*.*", const std::string& keptFile = "") {
        SweepFolder(files, path, {&rig.changes, pattern, keptFile, kind});
    }
    fakes::Rig rig;
    fakes::FakeFileSystem& files = rig.files;
};

TEST_F(Sweep, DeletesFilesAndSubfoldersAndKeepsWhatCannotGo) {
    files.AddFile("C:\\T\\a.tmp");
    files.AddFile("C:\\T\\b.tmp", kAttrReadOnly);
    files.AddFile("C:\\T\\s\\c.tmp");
    files.AddFile("C:\\T\\h.tmp", kAttrHidden);
    files.AddFile("C:\\T\\y.tmp", kAttrSystem);
    files.AddFile("C:\\T\\l.tmp");
    files.Lock("C:\\T\\l.tmp");
    Run("C:\\T");
    EXPECT_FALSE(files.Exists("C:\\T\\a.tmp"));
    EXPECT_FALSE(files.Exists("C:\\T\\s"));
    EXPECT_TRUE(files.Exists("C:\\T\\b.tmp"));
    EXPECT_TRUE(files.Exists("C:\\T\\h.tmp"));
    EXPECT_TRUE(files.Exists("C:\\T\\y.tmp"));
    EXPECT_TRUE(files.Exists("C:\\T\\l.tmp"));
    EXPECT_TRUE(files.Exists("C:\\T")) << "the start folder itself stays";
    // Ordinary files that stay are deleted at restart; hidden and system ones are not.
    EXPECT_EQ(files.atRestart, (std::vector<std::string>{"C:\\T\\b.tmp", "C:\\T\\l.tmp"}));
}

TEST_F(Sweep, Windows98SweepRegistersNothing) {
    files.AddFile("C:\\T\\b.tmp", kAttrReadOnly);
    files.AddFile("C:\\T\\a.tmp");
    Run("C:\\T", AtRestart::Never);
    EXPECT_TRUE(files.atRestart.empty());
    EXPECT_FALSE(files.Exists("C:\\T\\a.tmp"));
}

TEST_F(Sweep, UndeletableSubfolderEndsTheWholeSweepWithItsError) {
    files.AddFile("C:\\T\\a\\1.tmp");
    files.AddFile("C:\\T\\b\\2.tmp");
    files.AddFile("C:\\T\\b\\3.tmp", kAttrReadOnly);
    files.AddFile("C:\\T\\b\\4.tmp");
    files.AddFile("C:\\T\\c\\5.tmp");
    files.AddFile("C:\\T\\z.tmp");
    std::string path = "C:\\T";
    try {
        Run(path);
        FAIL() << "the failure must reach the caller";
    } catch (const platform::Refusal&) {
    }
    EXPECT_FALSE(files.Exists("C:\\T\\a")) << "folders before it are gone";
    EXPECT_FALSE(files.Exists("C:\\T\\b\\2.tmp")) << "files before the stopper are gone";
    EXPECT_TRUE(files.Exists("C:\\T\\b\\3.tmp"));
    EXPECT_TRUE(files.Exists("C:\\T\\b\\4.tmp")) << "nothing after the stopper";
    EXPECT_TRUE(files.Exists("C:\\T\\c\\5.tmp"));
    EXPECT_TRUE(files.Exists("C:\\T\\z.tmp"));
}

TEST_F(Sweep, TrailingBackslashAndMissingFolders) {
    files.AddFile("C:\\T\\a.tmp");
    Run("C:\\T");
    EXPECT_FALSE(files.Exists("C:\\T\\a.tmp"));
    EXPECT_NO_THROW(Run("C:\\Nothing\\"));
}

TEST_F(Sweep, LinksAreNeitherEnteredNorDeleted) {
    files.AddFile("C:\\Outside\\precious.doc");
    files.AddFolderLink("C:\\T\\link");
    files.AddFile("C:\\T\\a.tmp");
    files.AddFolderLink("C:\\T\\sub\\deeper-link");
    files.AddFile("C:\\T\\sub\\b.tmp");
    EXPECT_THROW(Run("C:\\T"), platform::RuntimeError);
    EXPECT_TRUE(files.Exists("C:\\T\\link"));
    EXPECT_FALSE(files.Exists("C:\\T\\a.tmp"));
    // A folder holding a link cannot be removed whole: the sweep ends there, as on a file
    // that cannot be deleted.
    EXPECT_TRUE(files.Exists("C:\\T\\sub\\deeper-link"));
    EXPECT_TRUE(files.Exists("C:\\Outside\\precious.doc"));
}

TEST_F(Sweep, ALinkListedFirstIsPassedOverAndTheFilesAfterItGo) {
    files.AddFolderLink("C:\\T\\alink");
    files.AddFile("C:\\T\\alink\\target.doc");  // what the link leads to
    files.AddFile("C:\\T\\b.tmp");
    Run("C:\\T");
    EXPECT_TRUE(files.Exists("C:\\T\\alink\\target.doc"));
    EXPECT_TRUE(files.removedFolders.empty());
    EXPECT_EQ(files.deleted, std::vector<std::string>{"C:\\T\\b.tmp"});
}

TEST_F(Sweep, DeepTreesNeedNoRecursion) {
    std::string deep = "C:\\T";
    for (int i = 0; i < 2000; ++i) deep += "\\d";
    files.AddFile(deep + "\\f.tmp");
    files.AddFile(deep + "\\r.tmp", kAttrReadOnly);
    EXPECT_THROW(Run("C:\\T"), platform::RuntimeError);
    EXPECT_TRUE(files.Exists(deep + "\\r.tmp"));
    EXPECT_FALSE(files.Exists(deep + "\\f.tmp"));
}

TEST_F(Sweep, OtherPatternsDeleteOnlyWhatTheyName) {
    files.AddFile("C:\\T\\a.tmp");
    files.AddFile("C:\\T\\a.log");
    files.AddFile("C:\\T\\s\\b.tmp");
    files.AddFile("C:\\T\\s\\b.log");
    Run("C:\\T", AtRestart::AnyDepth, "*.tmp");
    EXPECT_FALSE(files.Exists("C:\\T\\a.tmp"));
    EXPECT_TRUE(files.Exists("C:\\T\\a.log"));
    EXPECT_FALSE(files.Exists("C:\\T\\s\\b.tmp")) << "subfolders are still visited";
    EXPECT_TRUE(files.Exists("C:\\T\\s\\b.log"));
}

TEST_F(Sweep, ALinkAsTheStartOrOnItsPathSweepsNothing) {
    files.AddFolderLink("C:\\Docs\\Jo\\Local Settings");
    files.AddFile("C:\\Docs\\Jo\\Local Settings\\temp\\target.doc");
    files.AddFolderLink("C:\\Docs\\Jo\\Cookies");
    files.AddFile("C:\\Docs\\Jo\\Cookies\\c.txt");
    files.AddSwappedFolder("C:\\Docs\\Jo\\Swapped");
    files.AddFile("C:\\Docs\\Jo\\Swapped\\s.txt");
    // Each stops at the link and names the link's folder: not the start folder, nor the root.
    const struct {
        const char* start;
        const char* named;
    } starts[] = {{"C:\\Docs\\Jo\\Local Settings\\temp", "C:\\Docs\\Jo\\Local Settings"},
                  {"C:\\Docs\\Jo\\Cookies", "C:\\Docs\\Jo\\Cookies"},
                  {"C:\\Docs\\Jo\\Swapped", "C:\\Docs\\Jo\\Swapped"}};
    for (const auto& s : starts) {
        Run(s.start);
        EXPECT_EQ(OpenStartFolder(files, s.start).problem.path, s.named)
            << "the rule: a link on the path is named by its own folder";
    }
    EXPECT_TRUE(files.deleted.empty());
    EXPECT_TRUE(files.removedFolders.empty());
}

TEST_F(Sweep, LinksAndOddNamesInsideStayAndAreNeverRegistered) {
    files.AddFileLink("C:\\T\\cookies.txt");
    // A link to a file as real Windows lists it, flagged; the file system would delete it.
    files.AddFile("C:\\T\\flagged.txt", platform::kAttrReparsePoint | kAttrReadOnly);
    // (Names holding a separator cannot be made here: the fake reads them as paths.)
    for (const char* name : {"h.", "r ", "COM1", "aux.log"})
        files.AddFile(std::string("C:\\T\\") + name, kAttrReadOnly);
    files.AddFile("C:\\T\\plain.tmp");
    files.AddFile("C:\\T\\r", kAttrReadOnly);
    files.AddFile("C:\\T\\h", kAttrHidden);
    Run("C:\\T");
    EXPECT_EQ(files.deleted, std::vector<std::string>{"C:\\T\\plain.tmp"});
    EXPECT_EQ(files.atRestart, std::vector<std::string>{"C:\\T\\r"});
    EXPECT_TRUE(files.Exists("C:\\T\\cookies.txt"));
    EXPECT_TRUE(files.Exists("C:\\T\\flagged.txt"));
}

// The system deletes a registered file at the next restart by its path, with its own rights:
// whoever may turn a folder on that path into a link before then chooses what goes. (Folders
// here do not match "*.tmp", so the sweep walks into them instead of removing them whole.)
TEST_F(Sweep, FilesThatStayAreRegisteredOnlyWhereNobodyElseCanRedirectTheirPath) {
    using platform::FolderOwner;
    files.AddFile("C:\\T\\top.tmp", kAttrReadOnly);
    files.AddFile("C:\\T\\sub\\deep.tmp", kAttrReadOnly);
    files.AddFile("C:\\T\\theirs\\inner\\mine.tmp", kAttrReadOnly);
    files.SetOwner("C:\\T", FolderOwner::Trusted);
    files.SetOwner("C:\\T\\theirs", FolderOwner::Other);
    auto registered = [&](AtRestart atRestart) {
        files.atRestart.clear();
        Run("C:\\T", atRestart, "*.tmp");
        return files.atRestart;
    };
    EXPECT_EQ(registered(AtRestart::AnyDepth),
              (std::vector<std::string>{"C:\\T\\top.tmp", "C:\\T\\sub\\deep.tmp"}))
        << "nothing below a folder somebody else owns";
    EXPECT_EQ(registered(AtRestart::TopLevel), std::vector<std::string>{"C:\\T\\top.tmp"});
    EXPECT_TRUE(registered(AtRestart::Never).empty());
    files.SetOwner("C:\\T", FolderOwner::Other);
    EXPECT_TRUE(registered(AtRestart::TopLevel).empty()) << "a start folder somebody else owns";
    EXPECT_TRUE(files.Exists("C:\\T\\sub\\deep.tmp"));
}

TEST_F(Sweep, ASubfolderSwappedAfterTheListingStopsTheSweepUntouched) {
    files.AddFile("C:\\T\\a\\1.tmp");
    files.AddSwappedFolder("C:\\T\\b");
    files.AddFile("C:\\T\\b\\target.doc");
    files.AddFile("C:\\T\\c.tmp");
    try {
        Run("C:\\T");
        FAIL() << "the swapped folder must stop the sweep";
    } catch (const platform::Refusal&) {
    }
    EXPECT_FALSE(files.Exists("C:\\T\\a"));
    EXPECT_TRUE(files.Exists("C:\\T\\b\\target.doc"));
    EXPECT_TRUE(files.Exists("C:\\T\\c.tmp"));
}

TEST_F(Sweep, NetworkFoldersAreSweptAndTheFileNamedToKeepStays) {
    files.AddFile("\\\\srv\\share\\AppData\\java\\a.jar");
    files.AddFile("\\\\srv\\share\\AppData\\java\\sub\\b.idx");
    files.AddFile("\\\\srv\\share\\AppData\\java\\Layout.INI");
    Run("\\\\srv\\share\\AppData\\java", AtRestart::AnyDepth, "*.*", "layout.ini");
    EXPECT_FALSE(files.Exists("\\\\srv\\share\\AppData\\java\\a.jar"));
    EXPECT_FALSE(files.Exists("\\\\srv\\share\\AppData\\java\\sub"));
    EXPECT_TRUE(files.Exists("\\\\srv\\share\\AppData\\java\\Layout.INI"));
    EXPECT_TRUE(files.atRestart.empty());
}

}  // namespace

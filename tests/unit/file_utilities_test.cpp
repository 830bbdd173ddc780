// The file and folder routines and their lookup rules, on the in-memory file system.
#include <gtest/gtest.h>

#include "fakes/TestRig.h"
#include "guard/DeletionGuard.h"
#include "system/FileUtilities.h"

namespace {

using namespace olvex;
using platform::kAttrHidden;
using platform::kAttrReadOnly;
using platform::kAttrSystem;

class FileRoutines : public ::testing::Test {
  protected:
    fakes::Rig rig;
    fakes::FakeFileSystem& files = rig.files;
};

TEST_F(FileRoutines, DirExistsTellsFoldersFromFilesAndMissingPaths) {
    files.AddFolder("C:\\Program Files\\Mozilla Firefox");
    files.AddFile("C:\\Program Files\\Opera");
    EXPECT_TRUE(DirExists(rig.services, "C:\\Program Files\\mozilla firefox"));
    EXPECT_FALSE(DirExists(rig.services, "C:\\Program Files\\Opera"));
    EXPECT_FALSE(DirExists(rig.services, "C:\\Program Files\\Missing"));
    EXPECT_TRUE(rig.toolkit.boxes.empty());
}

TEST_F(FileRoutines, DirExistsReportsALookupFailureInItsOwnBox) {
    files.SetNotReady("A:");
    EXPECT_FALSE(DirExists(rig.services, "A:\\Data"));
    ASSERT_EQ(rig.toolkit.boxes.size(), 1u);
    EXPECT_EQ(rig.toolkit.boxes[0].title, "DirExists");
    EXPECT_EQ(rig.toolkit.boxes[0].text, "Error: 71. Disk not ready");
    EXPECT_EQ(rig.toolkit.boxes[0].buttons, ui::kOkOnly);
}

TEST_F(FileRoutines, LibraryBoxNumbersComeFromTheSystemsCode) {
    using Kind = platform::SystemCode::Kind;
    const std::pair<platform::SystemCode, std::string> cases[] = {
        {{Kind::Win32, 55}, "Error: 68. Device unavailable"},  // ERROR_DEV_NOT_EXIST
        {{Kind::Win32, 32}, "Error: 70. Permission denied"},   // ERROR_SHARING_VIOLATION
        {{Kind::Win32, 126}, "Error: 48. Error in loading DLL"},
        {{Kind::Win32, 1117}, "Error: 75. Path/File access error"},  // ERROR_IO_DEVICE
        {{Kind::NtStatus, 0xC0000022}, "Error: 75. Path/File access error"},
        {{Kind::HResult, 0x80004001}, "Error: 440. Automation error"},
    };
    for (const auto& [code, text] : cases)
        ShowLibraryError(rig.toolkit, "KillFile", platform::RuntimeError("", code));
    ASSERT_EQ(rig.toolkit.boxes.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(rig.toolkit.boxes[i].text, cases[i].second) << i;
    EXPECT_EQ(rig.toolkit.boxes[0].title, "KillFile");
}

// The browser items' files go through the deletion guard, which alone says what stays.
TEST_F(FileRoutines, DeleteFilesNamedDeletesOrdinaryFilesAPatternNames) {
    files.AddFile("C:\\c\\1.dat");
    files.AddFile("C:\\c\\2.dat", kAttrReadOnly);
    files.AddFile("C:\\c\\3.dat");
    files.AddFile("C:\\c\\h.dat", kAttrHidden);
    files.AddFile("C:\\c\\sub\\4.dat");
    files.Lock("C:\\c\\3.dat");
    files.AddFile("C:\\c\\5.dat");
    files.AddFile("C:\\c\\6.dat", platform::kAttrArchive | platform::kAttrReparsePoint);
    DeleteFilesNamed(files, rig.changes, "C:\\c\\*.*", SilentSink());
    EXPECT_TRUE(files.Exists("C:\\c\\6.dat")) << "a link to a file stays";
    EXPECT_FALSE(files.Exists("C:\\c\\1.dat"));
    EXPECT_TRUE(files.Exists("C:\\c\\2.dat")) << "read-only stays";
    EXPECT_TRUE(files.Exists("C:\\c\\3.dat")) << "locked stays";
    EXPECT_FALSE(files.Exists("C:\\c\\5.dat")) << "a file that stays does not stop the others";
    EXPECT_TRUE(files.Exists("C:\\c\\h.dat")) << "hidden stays";
    EXPECT_TRUE(files.Exists("C:\\c\\sub\\4.dat")) << "subfolders are not entered";
    EXPECT_TRUE(files.Exists("C:\\c\\sub"));
}

TEST_F(FileRoutines, DeleteFilesNamedOnMissingFilesAndFoldersShowsNoBox) {
    for (const char* pattern : {"C:\\nothing\\here.txt", "C:\\here.txt", "A:\\x.txt"}) {
        files.SetNotReady("A:");
        DeleteFilesNamed(files, rig.changes, pattern, SilentSink());
    }
    EXPECT_TRUE(rig.toolkit.boxes.empty());
    EXPECT_TRUE(files.deleted.empty());
}

TEST_F(FileRoutines, DeleteFilesNamedAddressesFilesInTheirOwnFolderWithEitherSeparator) {
    files.AddFile("C:\\ff\\Profiles\\ab.default\\Cookies.txt");
    DeleteFilesNamed(files, rig.changes, "C:\\ff\\Profiles/ab.default\\cookies.TXT", SilentSink());
    ASSERT_EQ(files.deleted.size(), 1u);
    EXPECT_EQ(files.deleted[0], "C:\\ff\\Profiles\\ab.default\\Cookies.txt");
}

TEST_F(FileRoutines, IsAttrSetNeedsEveryBitAndSaysYesWhenUnreadable) {
    files.AddFile("C:\\f", kAttrHidden | kAttrSystem);
    EXPECT_TRUE(IsAttrSet(files, "C:\\f", kAttrHidden));
    EXPECT_TRUE(IsAttrSet(files, "C:\\f", kAttrHidden | kAttrSystem));
    EXPECT_FALSE(IsAttrSet(files, "C:\\f", kAttrHidden | kAttrReadOnly));
    EXPECT_TRUE(IsAttrSet(files, "C:\\missing", kAttrReadOnly));
}

class SubDirs : public FileRoutines {
  protected:
    void SetUp() override {
        files.AddFolder("C:\\p\\a");
        files.AddFolder("C:\\p\\b");
        files.AddFolder("C:\\p\\h", kAttrHidden);
        files.AddFolder("C:\\p\\hs", kAttrHidden | kAttrSystem);
        files.AddFolder("C:\\p\\hr", kAttrHidden | kAttrReadOnly);
        files.AddFolder("C:\\p\\r", kAttrReadOnly);
        files.AddFolder("C:\\p\\rs", kAttrReadOnly | kAttrSystem);
        files.AddFile("C:\\p\\file.txt");
    }
    std::vector<std::string> List(bool ro, bool hidden, bool system) {
        std::string path = "C:\\p";
        std::vector<std::string> names;
        const int16_t count = SubDirsToArray(rig.services, path, names, ro, hidden, system);
        EXPECT_EQ(static_cast<size_t>(count), names.size());
        EXPECT_EQ(path, "C:\\p\\") << "the caller's path gains its backslash";
        return names;
    }
};

TEST_F(SubDirs, FlagRules) {
    using V = std::vector<std::string>;
    EXPECT_EQ(List(false, false, false), (V{"a", "b"}));
    EXPECT_EQ(List(false, true, false), (V{"a", "b", "h"}));
    EXPECT_EQ(List(true, false, false), (V{"a", "b", "r"}));
    // The system rule comes after the read-only rule, so a read-only system folder is listed.
    EXPECT_EQ(List(false, false, true), (V{"a", "b", "rs"}));
    EXPECT_EQ(List(false, true, true), (V{"a", "b", "h", "hs", "rs"}));
    EXPECT_EQ(List(true, true, true), (V{"a", "b", "h", "hr", "hs", "r", "rs"}));
    // A hidden read-only folder needs both: the read-only rule comes after the hidden one.
    EXPECT_EQ(List(true, true, false), (V{"a", "b", "h", "hr", "r"}));
}

TEST_F(SubDirs, NoneKeptLeavesTheCallersArray) {
    std::string path = "C:\\p\\a";
    std::vector<std::string> names = {"left", "over"};
    EXPECT_EQ(SubDirsToArray(rig.services, path, names, true, true, true), 0);
    EXPECT_EQ(names, (std::vector<std::string>{"left", "over"}));
}

TEST_F(SubDirs, KeptNamesReplaceTheCallersArrayFromTheStart) {
    std::string path = "C:\\p\\";
    std::vector<std::string> names = {"x", "y", "z", "w", "v", "u", "t"};
    EXPECT_EQ(SubDirsToArray(rig.services, path, names, false, false, false), 2);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
}

TEST_F(SubDirs, LookupFailureShowsItsBox) {
    files.SetNotReady("A:");
    std::string path = "A:\\";
    std::vector<std::string> names;
    EXPECT_EQ(SubDirsToArray(rig.services, path, names, true, true, true), 0);
    ASSERT_EQ(rig.toolkit.boxes.size(), 1u);
    EXPECT_EQ(rig.toolkit.boxes[0].title, "SubDirsToArray");
}

TEST(NameLookupMask, HiddenSystemAndDirectoryBitsMustBeInTheMask) {
    fakes::FakeFileSystem files;
    files.AddFile("C:\\m\\plain");
    files.AddFile("C:\\m\\ro", kAttrReadOnly);
    files.AddFile("C:\\m\\hid", kAttrHidden);
    files.AddFile("C:\\m\\sys", kAttrSystem);
    files.AddFolder("C:\\m\\dir");
    auto names = [&](uint32_t mask) {
        std::vector<std::string> all;
        NameLookup lookup(files, "C:\\m\\*", mask);
        for (std::string n = lookup.Next(); !n.empty(); n = lookup.Next()) all.push_back(n);
        return all;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(names(0), (V{"plain", "ro"}));
    EXPECT_EQ(names(kAttrHidden), (V{"hid", "plain", "ro"}));
    EXPECT_EQ(names(16), (V{".", "..", "dir", "plain", "ro"}));
    EXPECT_EQ(names(16 | kAttrHidden | kAttrSystem),
              (V{".", "..", "dir", "hid", "plain", "ro", "sys"}));
}

TEST(FolderOfPath, KeepsTheLastSeparator) {
    EXPECT_EQ(FolderOf("C:\\a\\b.txt"), "C:\\a\\");
    EXPECT_EQ(FolderOf("C:\\a/b\\*"), "C:\\a/b\\");
    EXPECT_EQ(FolderOf("C:x.txt"), "C:");
    EXPECT_EQ(FolderOf("x.txt"), "");
}

}  // namespace

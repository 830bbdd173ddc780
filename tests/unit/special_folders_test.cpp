// Special folders and the path parts built from them.
#include "system/SpecialFolders.h"

#include <gtest/gtest.h>

#include "fakes/FakeShell.h"

namespace {

using namespace olvex::folders;

TEST(SpecialFolders, EndWithOneBackslashOrAreEmpty) {
    fakes::FakeShell shell;
    EXPECT_EQ(GetProgramFilesFolder(shell), "C:\\Program Files\\");
    EXPECT_EQ(GetAppDataFolder(shell), "C:\\Documents and Settings\\Jo\\Application Data\\");
    shell.folders[0x26] = "D:\\";
    EXPECT_EQ(GetProgramFilesFolder(shell), "D:\\\\") << "a root keeps its own backslash";
    shell.folders.erase(0x1A);
    EXPECT_EQ(GetAppDataFolder(shell), "");
}

TEST(PathPartRoutines, OlderLayout) {
    fakes::FakeShell shell;
    EXPECT_EQ(GetLocalSettingsName(shell), "Local Settings\\");
    EXPECT_EQ(GetInternetCacheSubPath(shell), "Local Settings\\Temporary Internet Files\\");
    EXPECT_EQ(GetProfilesRoot(shell), "C:\\Documents and Settings\\");
}

TEST(PathPartRoutines, TakePartsByPositionNotByName) {
    fakes::FakeShell shell;
    shell.folders[0x20] =
        "C:\\Users\\Jo\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files";
    EXPECT_EQ(GetLocalSettingsName(shell), "AppData\\");
    EXPECT_EQ(GetInternetCacheSubPath(shell), "AppData\\Local\\");
    shell.folders[0x28] = "D:\\Profiles\\Jo";
    EXPECT_EQ(GetProfilesRoot(shell), "D:\\Profiles\\");
}

TEST(PathPartRoutines, TooFewPartsGiveEmpty) {
    fakes::FakeShell shell;
    shell.folders[0x20] = "C:\\Cache";
    EXPECT_EQ(GetLocalSettingsName(shell), "");
    EXPECT_EQ(GetInternetCacheSubPath(shell), "");
    shell.folders.erase(0x28);
    EXPECT_EQ(GetProfilesRoot(shell), "");
    EXPECT_EQ(PathParts("", 0, 0), "");
    EXPECT_EQ(PathParts("a\\b\\c", 1, 2), "b\\c\\");
    EXPECT_EQ(PathParts("a\\b\\c", 1, 3), "");
}

}  // namespace

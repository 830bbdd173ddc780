// Special folders, where each comes from, and the path parts built from them.
#include <gtest/gtest.h>

#include "fakes/TestRig.h"
#include "system/SpecialFolders.h"

namespace {

using namespace olvex::folders;
using fakes::kProgramFilesDir;

TEST(SpecialFolders, EndWithOneBackslashOrAreEmpty) {
    fakes::Rig rig;
    EXPECT_EQ(GetProgramFilesFolder(rig.services), "C:\\Program Files\\");
    EXPECT_EQ(GetAppDataFolder(rig.services), "C:\\Documents and Settings\\Jo\\Application Data\\");
    rig.shell.folders[0x26] = "D:\\";
    EXPECT_EQ(GetProgramFilesFolder(rig.services), "D:\\\\") << "a root keeps its own backslash";
    rig.shell.folders.erase(0x1A);
    EXPECT_EQ(GetAppDataFolder(rig.services), "");
}

// Each source is asked only when those before it give nothing: every source here answers
// differently, and they fall silent one by one, the shell first.
TEST(SpecialFolders, ShellThenLibraryThenTheSystemsOwnSetting) {
    fakes::Rig rig;
    rig.shell.folders[0x28] = "C:\\Documents and Settings\\Jo";
    rig.shell.libraryFolders[0x28] = "C:\\Library\\Jo";
    rig.system.environment["USERPROFILE"] = "C:\\WINNT\\Profiles\\Jo.000";
    rig.shell.libraryFolders[0x26] = "D:\\Library Programs";
    rig.system.machineSettings[kProgramFilesDir] = "E:\\Programs";

    EXPECT_EQ(GetProfileFolder(rig.services), "C:\\Documents and Settings\\Jo\\");
    EXPECT_EQ(GetProgramFilesFolder(rig.services), "C:\\Program Files\\");
    rig.shell.folders.clear();
    EXPECT_EQ(GetProfileFolder(rig.services), "C:\\Library\\Jo\\");
    EXPECT_EQ(GetProgramFilesFolder(rig.services), "D:\\Library Programs\\");
    rig.shell.libraryFolders.clear();
    EXPECT_EQ(GetProfileFolder(rig.services), "C:\\WINNT\\Profiles\\Jo.000\\");
    EXPECT_EQ(GetProfilesRoot(rig.services), "C:\\WINNT\\Profiles\\");
    EXPECT_EQ(GetProgramFilesFolder(rig.services), "E:\\Programs\\");
    // The environment and the registry stand in for those two folders alone.
    EXPECT_EQ(GetLocalAppDataFolder(rig.services), "");
    EXPECT_EQ(GetAppDataFolder(rig.services), "");
    rig.system.environment.clear();
    rig.system.machineSettings.clear();
    EXPECT_EQ(GetProfileFolder(rig.services), "");
    EXPECT_EQ(GetProfilesRoot(rig.services), "");
    EXPECT_EQ(GetProgramFilesFolder(rig.services), "");
}

// 95, 98 and ME set no USERPROFILE and their shells know no profile folder: nothing is built
// from one there. Program Files, which their registry keeps too, is found as on NT 4.0.
TEST(SpecialFolders, The9xFamilyHasNoProfileFolder) {
    fakes::Rig rig;
    rig.SetWindows("win98");
    rig.system.windowsDir = "C:\\WINDOWS";
    rig.shell.folders = {{0x1A, "C:\\WINDOWS\\Application Data"},
                         {0x20, "C:\\WINDOWS\\Temporary Internet Files"},
                         {0x21, "C:\\WINDOWS\\Cookies"}};
    rig.system.machineSettings[kProgramFilesDir] = "C:\\Program Files";
    EXPECT_EQ(GetProfileFolder(rig.services), "");
    EXPECT_EQ(GetProfilesRoot(rig.services), "");
    EXPECT_EQ(GetLocalSettingsName(rig.services), "");
    EXPECT_EQ(GetCacheFolderInProfile(rig.services), "");
    EXPECT_EQ(GetLocalAppDataFolder(rig.services), "");
    EXPECT_EQ(GetProgramFilesFolder(rig.services), "C:\\Program Files\\");
}

// Set by whoever set the environment or the registry, a value may be anything: it counts only
// as an absolute folder, and a profile only below a drive root.
TEST(SpecialFolders, OnlyAnAbsoluteAnswerCounts) {
    fakes::Rig rig;
    rig.shell.folders.clear();
    rig.shell.folders[0x28] = "";
    rig.shell.libraryFolders[0x28] = "Profiles\\Jo";
    for (const char* relative : {"%SystemDrive%\\Profiles\\Jo", "Profiles\\Jo", "C:Profiles\\Jo",
                                 "\\Profiles\\Jo", "C:/Profiles/Jo", "1:\\Profiles\\Jo"}) {
        rig.system.environment["USERPROFILE"] = relative;
        EXPECT_EQ(GetProfileFolder(rig.services), "") << relative;
    }
    rig.system.environment["USERPROFILE"] = "C:\\Profiles\\Jo\\\\";
    EXPECT_EQ(GetProfileFolder(rig.services), "C:\\Profiles\\Jo\\") << "one backslash at the end";
    for (const char* noProfile : {"C:\\", "C:\\\\", "\\\\server\\profiles\\Jo"}) {
        rig.system.environment["USERPROFILE"] = noProfile;
        EXPECT_EQ(GetProfileFolder(rig.services), "") << noProfile;
        EXPECT_EQ(GetProfilesRoot(rig.services), "") << noProfile;
    }
    rig.system.machineSettings[kProgramFilesDir] = "\\\\server\\apps";
    EXPECT_EQ(GetProgramFilesFolder(rig.services), "\\\\server\\apps\\");
    rig.system.machineSettings[kProgramFilesDir] = "Program Files";
    EXPECT_EQ(GetProgramFilesFolder(rig.services), "");
}

TEST(PathPartRoutines, OlderLayout) {
    fakes::Rig rig;
    EXPECT_EQ(GetLocalSettingsName(rig.services), "Local Settings\\");
    EXPECT_EQ(GetCacheFolderInProfile(rig.services), "Local Settings\\Temporary Internet Files\\");
    EXPECT_EQ(GetProfilesRoot(rig.services), "C:\\Documents and Settings\\");
}

TEST(PathPartRoutines, NewerLayout) {
    fakes::Rig rig;
    rig.shell.folders[0x28] = "C:\\Users\\Jo";
    rig.shell.folders[0x20] =
        "C:\\Users\\Jo\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files";
    EXPECT_EQ(GetLocalSettingsName(rig.services), "AppData\\");
    rig.shell.folders[0x28] = "D:\\Profiles\\Jo";
    EXPECT_EQ(GetProfilesRoot(rig.services), "D:\\Profiles\\");
}

// NT 4.0 keeps profiles in the Windows folder, and so does a later system upgraded from it:
// one part deeper than the layout the positional parts were made for.
TEST(PathPartRoutines, ProfilesInTheWindowsFolder) {
    fakes::Rig rig;
    rig.shell.folders[0x28] = "C:\\WINNT\\Profiles\\Jo";
    rig.shell.folders[0x20] = "C:\\WINNT\\Profiles\\Jo\\Temporary Internet Files";
    EXPECT_EQ(GetProfilesRoot(rig.services), "C:\\WINNT\\Profiles\\");
    EXPECT_EQ(GetCacheFolderInProfile(rig.services), "Temporary Internet Files\\");
    EXPECT_EQ(GetLocalSettingsName(rig.services), "") << "no folder between profile and cache";
    rig.shell.folders[0x20] = "C:\\WINNT\\Profiles\\Jo\\Local Settings\\Temporary Internet Files";
    EXPECT_EQ(GetLocalSettingsName(rig.services), "Local Settings\\");
    rig.shell.folders[0x20] = "D:\\Cache\\Local Settings\\Temporary Internet Files";
    EXPECT_EQ(GetLocalSettingsName(rig.services), "") << "a cache outside the profile";
    rig.shell.folders[0x28] = "C:\\Jo";
    EXPECT_EQ(GetProfilesRoot(rig.services), "") << "never a drive root";
}

TEST(PathPartRoutines, TooFewPartsGiveEmpty) {
    fakes::Rig rig;
    rig.shell.folders[0x20] = "C:\\Cache";
    EXPECT_EQ(GetLocalSettingsName(rig.services), "");
    rig.shell.folders.erase(0x28);
    EXPECT_EQ(GetProfilesRoot(rig.services), "");
    EXPECT_EQ(PathParts("", 0, 0), "");
    EXPECT_EQ(PathParts("a\\b\\c", 1, 2), "b\\c\\");
    EXPECT_EQ(PathParts("a\\b\\c", 1, 3), "");
}

}  // namespace

// The cleaning context every run derives.
#include <gtest/gtest.h>

#include "fakes/FakeSystem.h"
#include "system/CleaningContext.h"

namespace {

using olvex::DeriveCleaningContext;

TEST(CleaningContext, UsualValues) {
    fakes::FakeSystem system;
    auto context = DeriveCleaningContext(system);
    EXPECT_EQ(context.WindowsDir, "C:\\WINDOWS");
    EXPECT_EQ(context.SystemDrive, "C:\\");
    EXPECT_EQ(context.UserName, "Jo");
}

TEST(CleaningContext, ShortWindowsFolders) {
    fakes::FakeSystem system;
    system.windowsDir = "C:\\";
    auto context = DeriveCleaningContext(system);
    EXPECT_EQ(context.SystemDrive, context.WindowsDir);
    system.windowsDir = "C:";
    EXPECT_EQ(DeriveCleaningContext(system).SystemDrive, "C:");
}

TEST(CleaningContext, UnknownWindowsFolderLeavesBothEmpty) {
    fakes::FakeSystem system;
    system.windowsDir = "";
    auto context = DeriveCleaningContext(system);
    EXPECT_EQ(context.WindowsDir, "");
    EXPECT_EQ(context.SystemDrive, "");
    system.windowsDir = std::string(250, 'W');  // does not fit the buffer
    context = DeriveCleaningContext(system);
    EXPECT_EQ(context.WindowsDir, "") << "no cut-off or NUL-filled path";
    EXPECT_EQ(context.SystemDrive, "");
}

TEST(CleaningContext, UserNameFitsUpToTheLastCharacterOfTheBuffer) {
    fakes::FakeSystem system;
    system.userName = std::string(99, 'u');
    EXPECT_EQ(DeriveCleaningContext(system).UserName, system.userName);
    system.userName = std::string(100, 'u');
    EXPECT_EQ(DeriveCleaningContext(system).UserName, "");
}

}  // namespace

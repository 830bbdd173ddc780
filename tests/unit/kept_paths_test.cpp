// What the user keeps is what a path names, not how it is typed: every form Windows gives a
// folder keeps the same folder, a form that names no one existing file or folder stops the run
// before anything is deleted, and the age /olderthan judges is the file's own.
#include <gtest/gtest.h>

#include "console/ConsoleProgram.h"
#include "fakes/FakeConsole.h"
#include "fakes/TestRig.h"
#include "guard/CleaningSink.h"

namespace {

using namespace olvex;

constexpr uint64_t kDay = 24ULL * 60 * 60 * 10'000'000;
const std::string kTemp = "C:\\WINDOWS\\temp";

// A way of typing a path, and the rule it tries.
struct Form {
    const char* rule;
    std::string typed;
};

class KeptPaths : public ::testing::Test {
  protected:
    KeptPaths() {
        rig.SetWindows("winxp");
        rig.system.admin = 1;
        Old(kTemp + "\\Keep\\k.tmp");
        Old(kTemp + "\\Gone\\g.tmp");
        Old(kTemp + "\\old.tmp");
        Old(kTemp + "\\Données\\d.tmp");
        rig.files.SetShortName(kTemp + "\\Keep", "KEEP~1");
        rig.files.SetDriveFor("S:", kTemp);
        rig.files.currentFolder = kTemp;
    }
    void Old(const std::string& path) {
        rig.files.AddFile(path, platform::kAttrArchive, "12345");
        rig.files.SetWriteTime(path, rig.system.now - 30 * kDay);
    }
    int Run(std::vector<std::string> arguments) {
        console = fakes::FakeConsole();
        return RunConsoleProgram(rig.services, console, arguments);
    }
    fakes::Rig rig;
    fakes::FakeConsole console;
};

// Each form names the folder Keep: the clean keeps it whole and deletes what is beside it.
TEST_F(KeptPaths, EveryFormOfAFolderKeepsThatFolder) {
    const Form forms[] = {
        {"the long name, another case", kTemp + "\\keep"},
        {"a short 8.3 name", kTemp + "\\KEEP~1"},
        {"a .. on the way", kTemp + "\\Gone\\..\\Keep"},
        {"a . on the way", kTemp + "\\.\\Keep"},
        {"a trailing dot, stripped by the system", kTemp + "\\Keep."},
        {"a trailing blank, as a batch file's set leaves one", kTemp + "\\Keep  "},
        {"another drive letter for the same folder", "S:\\Keep"},
        {"forward slashes", "C:/WINDOWS/temp/Keep"},
        {"the literal \\\\?\\ form", "\\\\?\\" + kTemp + "\\Keep"},
        {"the folder it lies in, by another letter's root", "S:\\"},
    };
    for (const auto& form : forms) {
        SCOPED_TRACE(form.rule);
        Old(kTemp + "\\Keep\\k.tmp");
        Old(kTemp + "\\old.tmp");
        EXPECT_EQ(Run({"/clean", "windows-temp", "/exclude:" + form.typed}), kExitDone)
            << console.err;
        EXPECT_TRUE(rig.files.Exists(kTemp + "\\Keep\\k.tmp")) << form.rule;
        const bool wholeFolder = form.typed == "S:\\";
        EXPECT_EQ(rig.files.Exists(kTemp + "\\old.tmp"), wholeFolder) << form.rule;
    }
}

// Case is folded by the system's table, not ASCII alone.
TEST_F(KeptPaths, ANameOutsideAsciiInAnotherCaseKeepsItsFolder) {
    EXPECT_EQ(Run({"/clean", "windows-temp", "/exclude:" + kTemp + "\\DONNÉES"}), kExitDone)
        << console.err;
    EXPECT_TRUE(rig.files.Exists(kTemp + "\\Données\\d.tmp"));
    EXPECT_FALSE(rig.files.Exists(kTemp + "\\Gone"));
}

// A file excluded by another name stays; its neighbours go.
TEST_F(KeptPaths, AFileExcludedByAnotherNameStays) {
    rig.files.SetShortName(kTemp + "\\old.tmp", "OLDTMP~1.TMP");
    EXPECT_EQ(Run({"/clean", "windows-temp", "/exclude:S:\\OLDTMP~1.TMP"}), kExitDone)
        << console.err;
    EXPECT_TRUE(rig.files.Exists(kTemp + "\\old.tmp"));
    EXPECT_FALSE(rig.files.Exists(kTemp + "\\Keep"));
}

// Each form names no one existing file or folder: the run ends with 2 before it deletes.
TEST_F(KeptPaths, FormsThatNameNoOneFileStopTheRunBeforeAnything) {
    rig.files.AddFolderLink(kTemp + "\\Link");
    rig.files.AddFolderLink("C:\\Via");
    const Form forms[] = {
        {"a wildcard", kTemp + "\\Ke*"},
        {"a question mark", kTemp + "\\Kee?"},
        {"a path that is not there", kTemp + "\\Nowhere"},
        {"a device", kTemp + "\\nul.txt"},
        {"a device by its own form", "\\\\.\\COM1"},
        {"a link as itself", kTemp + "\\Link"},
        {"a link on the way", "C:\\Via\\x"},
        {"a file taken for a folder", kTemp + "\\old.tmp\\x"},
        {"a trailing dot the literal form keeps", "\\\\?\\" + kTemp + "\\Keep."},
        {"a drive that is not there", "Q:\\Keep"},
    };
    for (const auto& form : forms) {
        SCOPED_TRACE(form.rule);
        EXPECT_EQ(Run({"/clean", "windows-temp", "/exclude:" + form.typed}), kExitBadUsage)
            << form.rule << ": " << console.err;
        EXPECT_NE(console.err.find("/exclude:" + form.typed), std::string::npos) << console.err;
        EXPECT_TRUE(rig.files.deleted.empty()) << form.rule;
    }
}

// The run's own log stays, whatever name the sweep meets it by, and keeps the run's lines.
TEST_F(KeptPaths, TheLogInTheCleanedFolderByAnotherLetterStays) {
    EXPECT_EQ(Run({"/clean", "windows-temp", "/log:S:\\olvex.csv"}), kExitDone) << console.err;
    const std::string log = rig.files.Content(kTemp + "\\olvex.csv");
    EXPECT_NE(log.find("run-start"), std::string::npos);
    EXPECT_NE(log.find("run-end"), std::string::npos);
    EXPECT_NE(log.find(reason::kOwnLog), std::string::npos) << log;
    EXPECT_FALSE(rig.files.Exists(kTemp + "\\old.tmp"));
    // Beside it, what cannot be opened to tell what it is, and is not named as the log, is
    // judged as ever.
    rig.files.AddDevice(kTemp + "\\fifo");
    EXPECT_EQ(Run({"/clean", "windows-temp", "/log:S:\\olvex.csv", "/details"}), kExitLeftSome);
    EXPECT_NE(console.out.find(std::string("fifo  0 bytes  (") + reason::kNotAFile),
              std::string::npos)
        << console.out;
}

// The age is the file's own, read as it is opened to go: its listing may say another.
TEST_F(KeptPaths, TheAgeIsTheFilesOwnAndATimeThatTellsNothingKeepsIt) {
    const uint64_t now = rig.system.now;
    const struct {
        const char* rule;
        uint64_t listed, own;
        const char* stays;  // why it stays; nullptr when it goes
    } times[] = {
        {"old by both", now - 30 * kDay, now - 30 * kDay, nullptr},
        {"just past the days asked", now - 30 * kDay, now - 7 * kDay - kDay / 4, nullptr},
        {"just within the days asked", now - 30 * kDay, now - 7 * kDay + kDay / 4,
         "written in the last 7 days"},
        {"written since it was listed", now - 30 * kDay, now - kDay, "written in the last 7 days"},
        {"no time at all", now - 30 * kDay, 0, reason::kUnknownAge},
        {"before 1980", now - 30 * kDay, 119'600'063'000'000'000ULL, reason::kUnknownAge},
        {"far in the future", now - 30 * kDay, now + 3 * kDay, reason::kUnknownAge},
        {"a clock a little ahead", now - 30 * kDay, now + kDay / 2, "written in the last 7 days"},
        {"a listing that tells no time", 0, now - 30 * kDay, nullptr},
    };
    for (const auto& time : times) {
        SCOPED_TRACE(time.rule);
        const std::string path = kTemp + "\\aged.tmp";
        rig.files.AddFile(path, platform::kAttrArchive, "12345");
        rig.files.SetWriteTime(path, time.own);
        rig.files.SetListedTime(path, time.listed);
        const int code = Run({"/clean", "windows-temp", "/olderthan:7", "/details"});
        EXPECT_EQ(rig.files.Exists(path), time.stays != nullptr) << time.rule;
        if (time.stays) {
            EXPECT_NE(console.out.find(time.stays), std::string::npos) << console.out;
            // A time that tells nothing is no choice of the user's: it is left behind.
            EXPECT_EQ(code,
                      std::string(time.stays) == reason::kUnknownAge ? kExitLeftSome : kExitDone);
        }
    }
}

// The restart deletes whatever the file's age: a file in use whose age was not read on its
// own handle is not left to it under /olderthan, though it is without.
TEST_F(KeptPaths, AFileInUseIsNotRegisteredWhenItsAgeCounts) {
    rig.files.Lock(kTemp + "\\old.tmp");
    EXPECT_EQ(Run({"/clean", "windows-temp", "/olderthan:7"}), kExitLeftSome);
    EXPECT_TRUE(rig.files.atRestart.empty());
    EXPECT_EQ(Run({"/clean", "windows-temp"}), kExitLeftSome);
    EXPECT_EQ(rig.files.atRestart, std::vector<std::string>{kTemp + "\\old.tmp"});
}

// A name that reaches another file than the one listed stays, and says so.
TEST_F(KeptPaths, ANameThatLeadsElsewhereStaysAndIsTold) {
    rig.files.AddFileLink(kTemp + "\\swapped.tmp");
    EXPECT_EQ(Run({"/clean", "windows-temp", "/details"}), kExitLeftSome);
    EXPECT_NE(console.out.find(reason::kElsewhere), std::string::npos) << console.out;
    EXPECT_TRUE(rig.files.Exists(kTemp + "\\swapped.tmp"));
    EXPECT_TRUE(rig.files.atRestart.empty());
}

}  // namespace

// The console program over the in-memory system: what it refuses before touching anything,
// and that its preview names exactly what its clean deletes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "console/ConsoleProgram.h"
#include "console/ConsoleReport.h"
#include "fakes/TestRig.h"

namespace {

using namespace olvex;
using platform::kAttrHidden;
using platform::kAttrReadOnly;

class FakeConsole : public platform::Console {
  public:
    void Write(platform::Stream stream, const std::string& text) override {
        (stream == platform::Stream::Out ? out : err) += text;
    }
    bool IsConsole(platform::Stream stream) override {
        return stream == platform::Stream::Err && errIsConsole;
    }
    uint64_t Ticks() override { return ticks += 100; }
    std::string LocalTime() override { return "2026-12-08 10:00:00"; }
    std::unique_ptr<platform::AppendFile> OpenForAppending(const std::string& path) override {
        struct File : platform::AppendFile {
            explicit File(std::string& t) : text(t) {}
            bool IsEmpty() override { return text.empty(); }
            bool Append(const std::string& bytes) override {
                text += bytes;
                return true;
            }
            std::string& text;
        };
        return std::make_unique<File>(files[path]);
    }
    std::string out, err;
    uint64_t ticks = 0;
    bool errIsConsole = false;
    std::map<std::string, std::string> files;
};

// The paths of the CSV rows (category,action,path,...) or log lines (time,category,action,
// path,...) whose action is one of actions; a path named twice counts twice.
std::multiset<std::string> PathsOf(const std::string& csv, size_t actionColumn,
                                   const std::set<std::string>& actions) {
    std::multiset<std::string> paths;
    std::istringstream lines(csv);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
        if (fields.size() > actionColumn + 1 && actions.count(fields[actionColumn]) &&
            !fields[actionColumn + 1].empty())
            paths.insert(fields[actionColumn + 1]);
    }
    return paths;
}

const std::string kUserTemp = "C:\\Documents and Settings\\Jo\\Local Settings\\temp\\";

class ConsoleProgram : public ::testing::Test {
  protected:
    ConsoleProgram() {
        rig.SetWindows("winxp");
        rig.system.admin = 1;
        rig.files.AddFile("C:\\WINDOWS\\temp\\a.tmp");
        rig.files.AddFile("C:\\WINDOWS\\temp\\ro.tmp", kAttrReadOnly);
        rig.files.AddFile("C:\\WINDOWS\\temp\\h.tmp", kAttrHidden);
        rig.files.AddFile("C:\\WINDOWS\\temp\\busy.tmp");
        rig.files.Lock("C:\\WINDOWS\\temp\\busy.tmp");
        rig.files.AddFile("C:\\WINDOWS\\temp\\sub\\deep\\b.tmp");
        // Removal of this folder stops at its read-only file, after the file before it, and
        // ends the sweep.
        rig.files.AddFile(kUserTemp + "stuck\\1.tmp");
        rig.files.AddFile(kUserTemp + "stuck\\2.tmp", kAttrReadOnly);
        rig.files.AddFile(kUserTemp + "u.tmp");
    }
    int Run(std::vector<std::string> arguments) {
        console = FakeConsole();
        return RunConsoleProgram(rig.services, console, arguments);
    }
    fakes::Rig rig;
    FakeConsole console;
};

TEST_F(ConsoleProgram, RefusalsComeBeforeAnythingIsDeleted) {
    struct Case {
        std::vector<std::string> arguments;
        int code;
    };
    for (const Case& c : std::vector<Case>{
             {{"/clean", "windows-temp", "no-such-id"}, kExitBadUsage},
             {{"/clean", "all", "/bogus"}, kExitBadUsage},
             {{"/clean"}, kExitBadUsage},
             {{"/preview", "/clean", "all"}, kExitBadUsage},
             {{"windows-temp"}, kExitBadUsage},
             {{"/list", "windows-temp"}, kExitBadUsage},
             {{"/clean", "windows-temp", "temp"}, kExitNotPossible},  // the 98 family's
             {{"/clean", "opera-cache"}, kExitNotPossible},           // not installed
         }) {
        SCOPED_TRACE(c.arguments.back());
        EXPECT_EQ(Run(c.arguments), c.code);
        EXPECT_NE(console.err, "");
        EXPECT_EQ(console.out, "");
    }
    rig.system.admin = 0;
    EXPECT_EQ(Run({"-CLEAN", "All-Users-Temp"}), kExitNotPossible);
    EXPECT_NE(console.err.find("administrators only"), std::string::npos);
    rig.SetWindows("win95");
    EXPECT_EQ(Run({"/list"}), kExitNotPossible);
    EXPECT_TRUE(rig.files.deleted.empty());
    EXPECT_TRUE(rig.files.removedFolders.empty());
    EXPECT_TRUE(rig.files.atRestart.empty());
}

TEST_F(ConsoleProgram, PreviewNamesExactlyWhatTheCleanDeletes) {
    EXPECT_EQ(Run({"/preview", "windows-temp", "user-temp", "/details", "/csv"}), kExitLeftSome);
    EXPECT_TRUE(rig.files.deleted.empty()) << "a preview deletes nothing";
    EXPECT_TRUE(rig.files.removedFolders.empty());
    EXPECT_TRUE(rig.files.atRestart.empty()) << "nor registers anything";
    const std::string preview = console.out;
    const std::multiset<std::string> wouldGo =
        PathsOf(preview, 1, {"would delete", "would remove"});

    EXPECT_EQ(Run({"/clean", "windows-temp", "user-temp", "/log:C:\\log.csv", "/quiet"}),
              kExitLeftSome);
    EXPECT_EQ(console.out, "") << "quiet";
    const std::string log = console.files["C:\\log.csv"];
    ASSERT_EQ(log.compare(0, 3, "\xEF\xBB\xBF"), 0) << "the log starts with a byte-order mark";
    EXPECT_EQ(PathsOf(log, 2, {"deleted", "removed"}), wouldGo);
    std::multiset<std::string> gone(rig.files.deleted.begin(), rig.files.deleted.end());
    gone.insert(rig.files.removedFolders.begin(), rig.files.removedFolders.end());
    EXPECT_EQ(gone, wouldGo);
    EXPECT_EQ(wouldGo, (std::multiset<std::string>{
                           "C:\\WINDOWS\\temp\\a.tmp",
                           "C:\\WINDOWS\\temp\\sub",
                           "C:\\WINDOWS\\temp\\sub\\deep",
                           "C:\\WINDOWS\\temp\\sub\\deep\\b.tmp",
                           kUserTemp + "stuck\\1.tmp",
                       }))
        << preview;
    // What stays says why, in both; the registrations the preview names are the clean's.
    for (const char* reason : {"read-only", "in use", "hidden"})
        EXPECT_NE(preview.find(reason), std::string::npos) << reason;
    EXPECT_EQ(PathsOf(preview, 1, {"would register"}), PathsOf(log, 2, {"registered"}));
    EXPECT_EQ(PathsOf(log, 2, {"registered"}),
              std::multiset<std::string>(rig.files.atRestart.begin(), rig.files.atRestart.end()));
}

// The progress line goes to a console window only, a few times a second at most, and is
// gone before the totals are written.
TEST(ConsoleText, ProgressOnlyOnAConsoleAndPaced) {
    for (bool console : {false, true}) {
        FakeConsole screen;
        screen.errIsConsole = console;
        ConsoleRequest request;
        request.command = Command::Clean;
        ConsoleReport report(screen, request, {}, nullptr);
        report.Begin("windows-temp");
        for (int i = 0; i < 100; ++i) report.Item({ItemAction::Deleted, "", 10});
        report.End("windows-temp");
        // Each item costs the fake clock 100 ms: 10 seconds, so about 40 lines at 4 a second.
        const size_t lines = std::count(screen.err.begin(), screen.err.end(), '\r') / 2;
        if (console) {
            EXPECT_GE(lines, 30u);
        } else {
            EXPECT_EQ(screen.err, "");
        }
        EXPECT_LE(lines, 41u);
        EXPECT_NE(screen.out.find("deleted: 100 files and 0 folders, 1000 bytes"),
                  std::string::npos);
    }
}

TEST(ConsoleText, CommandLinesSplitAsWindowsProgramsSplitThem) {
    EXPECT_EQ(
        SplitCommandLine("\"C:\\Program Files\\olvex.exe\" /log:\"C:\\my logs\\a.csv\"  all "
                         "a\\\"b c:\\x\\\\ \"d\\\\\"e"),
        (std::vector<std::string>{"/log:C:\\my logs\\a.csv", "all", "a\"b", "c:\\x\\\\", "d\\e"}));
    EXPECT_EQ(SplitCommandLine("olvex"), std::vector<std::string>{});
    EXPECT_EQ(CsvField("C:\\a,b\"c"), "\"C:\\a,b\"\"c\"");
    EXPECT_EQ(CsvField("=HYPERLINK(1)"), "'=HYPERLINK(1)");
}

}  // namespace

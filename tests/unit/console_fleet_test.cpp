// The console program as a fleet runs it, over the in-memory system: what its filters keep,
// what its log proves and how runs share it, and what it skips. The summary of many logs is
// tested in fleet_summary_test.cpp.
#include <gtest/gtest.h>

#include <sstream>

#include "console/ConsoleProgram.h"
#include "console/Csv.h"
#include "console/RunLog.h"
#include "fakes/FakeConsole.h"
#include "fakes/TestRig.h"
#include "guard/CleaningSink.h"

namespace {

using namespace olvex;
using platform::kAttrReadOnly;

constexpr uint64_t kDay = 24ULL * 60 * 60 * 10'000'000;
const std::string kTemp = "C:\\WINDOWS\\temp\\";

// The lines of a log (or of CSV output) as fields, the header and any byte-order mark left out.
std::vector<std::vector<std::string>> Lines(std::string text) {
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    std::vector<std::vector<std::string>> lines;
    CsvReader reader;
    const CsvReader::Line line = [&](const CsvLine& read) {
        EXPECT_EQ(read.skipped, "") << "line " << read.number;
        lines.push_back(read.fields);
    };
    reader.Feed(text.data(), text.size(), line);
    reader.Finish(line);
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
}

// The paths of the lines whose action (at column) is action.
std::multiset<std::string> With(const std::vector<std::vector<std::string>>& lines, size_t column,
                                const std::string& action) {
    std::multiset<std::string> paths;
    for (const auto& line : lines)
        if (line.size() > column + 1 && line[column] == action && !line[column + 1].empty())
            paths.insert(line[column + 1]);
    return paths;
}

class Fleet : public ::testing::Test {
  protected:
    Fleet() {
        rig.SetWindows("winxp");
        rig.system.admin = 1;
    }
    int Run(std::vector<std::string> arguments) {
        const bool toFile = console.outIsFile;
        console = fakes::FakeConsole();
        console.outIsFile = toFile;
        return RunConsoleProgram(rig.services, console, arguments);
    }
    // A file last written days ago.
    void Aged(const std::string& path, int days, uint32_t attributes = platform::kAttrArchive) {
        rig.files.AddFile(path, attributes, "12345");
        rig.files.SetWriteTime(path, rig.system.now - days * kDay);
    }
    fakes::Rig rig;
    fakes::FakeConsole console;
};

// What /olderthan and /exclude keep stays with its folders; everything else goes by the
// guard's own rules; the preview with the same filters names exactly what the clean deletes,
// and what the user chose to keep makes no exit code 1.
TEST_F(Fleet, FiltersKeepWhatTheUserChoseAndTheirFolders) {
    Aged(kTemp + "old.tmp", 30);
    Aged(kTemp + "young.tmp", 1);
    Aged(kTemp + "KeepDir\\k.tmp", 30);
    Aged(kTemp + "KeepDir2\\k2.tmp", 30);
    Aged(kTemp + "mixed\\deep\\young.tmp", 2);
    Aged(kTemp + "mixed\\old.tmp", 30);
    Aged(kTemp + "keep.me", 30);
    const std::vector<std::string> filters = {"/olderthan:7", "/exclude:" + kTemp + "keepdir",
                                              "/exclude:" + kTemp + "KEEP.ME"};
    auto with = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), filters.begin(), filters.end());
        return arguments;
    };
    EXPECT_EQ(Run(with({"/preview", "windows-temp", "/details", "/csv"})), kExitDone)
        << console.out;
    const auto preview = Lines(console.out);
    EXPECT_EQ(Run(with({"/clean", "windows-temp", "/log:C:\\l.csv"})), kExitDone) << console.err;
    const auto log = Lines(rig.files.Content("C:\\l.csv"));

    const std::multiset<std::string> gone = {kTemp + "old.tmp", kTemp + "KeepDir2",
                                             kTemp + "KeepDir2\\k2.tmp", kTemp + "mixed\\old.tmp"};
    std::multiset<std::string> deleted(rig.files.deleted.begin(), rig.files.deleted.end());
    deleted.insert(rig.files.removedFolders.begin(), rig.files.removedFolders.end());
    EXPECT_EQ(deleted, gone);
    auto going = With(preview, 1, "would delete");
    auto removing = With(preview, 1, "would remove");
    going.insert(removing.begin(), removing.end());
    EXPECT_EQ(going, gone) << console.out;
    EXPECT_EQ(With(log, 4, "stayed"),
              (std::multiset<std::string>{kTemp + "young.tmp", kTemp + "KeepDir",
                                          kTemp + "mixed\\deep\\young.tmp", kTemp + "keep.me"}));
    for (const auto& line : log) {
        if (line[4] == "stayed") {
            EXPECT_TRUE(line[7] == "excluded" || line[7] == "written in the last 7 days")
                << line[5] << ": " << line[7];
        }
    }
    EXPECT_TRUE(rig.files.Exists(kTemp + "mixed\\deep")) << "the folders of what stays stay";
    EXPECT_TRUE(rig.files.atRestart.empty());
}

// The run-end names each category a step of which was refused or failed, and only those.
TEST_F(Fleet, TheRunEndNamesTheCategoriesThatFailed) {
    rig.files.AddFolder("C:\\WINDOWS\\temp");
    rig.files.MakeUnreadable("C:\\WINDOWS\\temp");  // its listing is refused
    const std::string own = "C:\\olvex.csv";
    EXPECT_EQ(Run({"/clean", "windows-temp", "java-cache", "/log:" + own}), kExitLeftSome);
    const std::string text = rig.files.Content(own);
    EXPECT_NE(text.find("; failed=windows-temp\""), std::string::npos) << text;
}

// The log: a byte-order mark and a header once; every run framed by its first and last line,
// even when nothing was deleted; a log inside a folder being cleaned stays where it is, told as
// the run's own, never registered. Runs take turns: one waits for another that writes, and
// gives up with 3, having deleted nothing, when it waits too long or the log is a link.
TEST_F(Fleet, TheLogProvesEveryRunAndTakesTurns) {
    Aged(kTemp + "a.tmp", 30);
    rig.files.AddFolder(kTemp + "logs");
    const std::string own = kTemp + "logs\\olvex.csv";
    EXPECT_EQ(Run({"/clean", "windows-temp", "/log:" + own}), kExitDone) << console.err;
    EXPECT_EQ(Run({"/preview", "java-cache", "/log:" + own}), kExitDone);
    const std::string text = rig.files.Content(own);
    EXPECT_EQ(text.compare(0, 3 + std::string(kLogHeader).size(),
                           std::string("\xEF\xBB\xBF") + kLogHeader),
              0);
    EXPECT_EQ(text.find("\xEF\xBB\xBF", 3), std::string::npos);
    const auto lines = Lines(text);
    std::vector<std::string> frames;
    for (const auto& line : lines) {
        ASSERT_EQ(line.size(), 8u);
        EXPECT_EQ(line[1], "PC-01");
        EXPECT_EQ(line[2], "Jo");
        if (line[4].compare(0, 4, "run-") == 0) frames.push_back(line[4] + " " + line[7]);
    }
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].find("run-start version="), 0u) << frames[0];
    EXPECT_NE(frames[0].find("command=/clean windows-temp /log:" + own), std::string::npos);
    EXPECT_EQ(frames[1].find("run-end mode=clean; exit=0; files=1; folders=0; bytes=5; stayed=0; "
                             "freed="),
              0u)
        << frames[1];
    EXPECT_EQ(frames[3].find("run-end mode=preview; exit=0; files=0"), 0u) << frames[3];
    EXPECT_EQ(With(lines, 4, "stayed"), std::multiset<std::string>{own});
    EXPECT_TRUE(rig.files.atRestart.empty());
    EXPECT_FALSE(rig.files.Exists(kTemp + "a.tmp"));

    // Another run holds the log for a while: this one waits, then writes whole lines.
    Aged(kTemp + "b.tmp", 30);
    rig.files.HoldForWriting(own, 50);
    EXPECT_EQ(Run({"/clean", "windows-temp", "/log:" + own}), kExitDone) << console.err;
    EXPECT_FALSE(rig.files.Exists(kTemp + "b.tmp"));
    // Held past the wait, or a link: nothing is deleted.
    Aged(kTemp + "c.tmp", 30);
    rig.files.HoldForWriting(own, 1000);
    EXPECT_EQ(Run({"/clean", "windows-temp", "/log:" + own}), kExitNotPossible);
    EXPECT_NE(console.err.find("keeps it open for writing"), std::string::npos) << console.err;
    // Whatever a name leads to, only a log of the program's is written to: one starts with its
    // byte-order mark, whatever follows.
    for (const std::string name : {"C:\\run.bat", "C:\\sales.csv"}) {
        const std::string text = name == "C:\\run.bat" ? "@echo off\r\n" : "2026,1200\r\n";
        rig.files.AddFile(name, platform::kAttrArchive, text);
        EXPECT_EQ(Run({"/clean", "windows-temp", "/log:" + name}), kExitNotPossible) << name;
        EXPECT_EQ(rig.files.Content(name), text);
    }
    rig.files.AddFileLink("C:\\linked.csv");
    EXPECT_EQ(Run({"/clean", "windows-temp", "/log:C:\\linked.csv"}), kExitNotPossible);
    rig.files.AddFolderLink("C:\\via");
    EXPECT_EQ(Run({"/clean", "windows-temp", "/log:C:\\via\\x.csv"}), kExitNotPossible);
    EXPECT_NE(console.err.find(reason::kLinkOnPath), std::string::npos) << console.err;
    EXPECT_TRUE(rig.files.Exists(kTemp + "c.tmp"));
}

// A category named that this machine lacks is skipped and said so, and the rest run, without
// changing the exit code; /strict keeps the all-or-nothing. Devices and pipes stay, not
// registered, in the preview as in the clean; /csv carries a kind on every row, and the sum of
// the item rows of an action is its total; to a file, it starts with a byte-order mark.
TEST_F(Fleet, SkipsWhatTheMachineLacksAndTotalsAll) {
    Aged(kTemp + "a.tmp", 30);
    rig.files.AddDevice(kTemp + "fifo");
    Aged(
        "C:\\Documents and Settings\\Jo\\Application Data\\Sun\\Java\\Deployment\\cache\\javapi\\"
        "j.tmp",
        30);
    console.outIsFile = true;
    const std::vector<std::string> named = {"windows-temp", "opera-cache", "temp", "java-cache"};
    std::vector<std::string> preview = {"/preview", "/details", "/csv"};
    preview.insert(preview.end(), named.begin(), named.end());
    EXPECT_EQ(Run(preview), kExitLeftSome) << console.err;  // the device stays
    const std::string out = console.out;
    EXPECT_EQ(out.compare(0, 3, "\xEF\xBB\xBF"), 0);
    uint64_t itemBytes = 0, totalBytes = 0;
    for (const auto& line : Lines(out)) {
        ASSERT_EQ(line.size(), 7u);
        if (line[1] == "would delete" && line[6] == "item") itemBytes += std::stoull(line[4]);
        if (line[1] == "would delete" && line[6] == "total" && line[0].empty())
            totalBytes = std::stoull(line[4]);
        if (line[1] == "would stay") {
            EXPECT_EQ(line[5], reason::kNotAFile);
        }
    }
    EXPECT_EQ(itemBytes, 10u);
    EXPECT_EQ(totalBytes, 10u) << "the total over all categories";
    for (const char* skipped : {"opera-cache,skipped", "temp,skipped"})
        EXPECT_NE(out.find(skipped), std::string::npos) << skipped;

    std::vector<std::string> clean = {"/clean"};
    clean.insert(clean.end(), named.begin(), named.end());
    EXPECT_EQ(Run(clean), kExitLeftSome);
    EXPECT_TRUE(rig.files.Exists(kTemp + "fifo"));
    EXPECT_TRUE(rig.files.atRestart.empty());
    EXPECT_NE(console.out.find("Total over all categories"), std::string::npos);
    clean.push_back("/strict");
    Aged(kTemp + "b.tmp", 30);
    EXPECT_EQ(Run(clean), kExitNotPossible);
    EXPECT_TRUE(rig.files.Exists(kTemp + "b.tmp"));
}

}  // namespace

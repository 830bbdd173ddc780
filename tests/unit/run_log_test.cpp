// The run's log as a record written ahead: every batch whole or not at all, a log cut inside
// a line taken up on a fresh one, a run whose log fails stopping at its next change, and runs
// refused before they began framed in the log all the same.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "console/ConsoleProgram.h"
#include "console/LogReader.h"
#include "console/RunLog.h"
#include "fakes/FakeConsole.h"
#include "fakes/TestRig.h"

namespace {

using namespace olvex;

const std::string kTemp = "C:\\WINDOWS\\temp\\";
const std::string kJava =
    "C:\\Documents and Settings\\Jo\\Application Data\\Sun\\Java\\Deployment\\cache\\javapi\\";
const std::string kLog = "C:\\logs\\olvex.csv";
const std::string kLogOption = "/log:" + kLog;

// A machine of its own for each case of a table.
struct Machine {
    explicit Machine(const std::string& windows = "winxp") {
        rig.SetWindows(windows);
        rig.system.admin = 1;
        rig.files.AddFolder("C:\\logs");
    }
    int Run(const std::vector<std::string>& arguments) {
        console = fakes::FakeConsole();
        return RunConsoleProgram(rig.services, console, arguments);
    }
    void File(const std::string& path) { rig.files.AddFile(path, platform::kAttrArchive, "12345"); }
    std::string Log() const { return rig.files.Content(kLog); }
    fakes::Rig rig;
    fakes::FakeConsole console;
};

// Where the line holding what sits at the end of text; the line after at.
size_t LineEnd(const std::string& text, const std::string& what) {
    return text.find("\r\n", text.find(what)) + 2;
}

// A log left ending inside its last line, at any byte of it (its disk filled under a version
// that did not take the line back): the next run starts on a line of its own, adds exactly
// what it adds to a whole log, and leaves the log ending on a whole line.
TEST(RunLogRecord, ALogCutInsideItsLastLineIsTakenUpOnAFreshLine) {
    Machine m;
    m.File(kTemp + "a.tmp");
    ASSERT_EQ(m.Run({"/clean", "windows-temp", kLogOption}), kExitDone);
    const std::string whole = m.Log();
    const size_t lastLine = whole.rfind("\r\n", whole.size() - 3) + 2;
    const std::vector<std::string> preview = {"/preview", "windows-temp", kLogOption};
    ASSERT_EQ(m.Run(preview), kExitDone);
    const std::string added = m.Log().substr(whole.size());
    ASSERT_EQ(added.compare(0, 5, "2026-"), 0) << "a whole log is taken up on its next line";
    for (size_t cut = lastLine; cut < whole.size(); ++cut) {
        m.rig.files.AddFile(kLog, platform::kAttrArchive, whole.substr(0, cut));
        ASSERT_EQ(m.Run(preview), kExitDone) << m.console.err;
        const std::string fresh = cut == lastLine ? "" : "\r\n";
        EXPECT_EQ(m.Log(), whole.substr(0, cut) + fresh + added)
            << "the rule: a run starts on a fresh line, and no blank one (cut at byte "
            << cut - lastLine << " of the last line)";
    }
}

// A disk that fills at any point of any batch after the first: the log ends on the last
// whole line before that batch, the run changes nothing after it (the Java cache, cleaned
// after Windows Temp, keeps its files), and it exits 4. A flush that fails counts as a
// batch not written, as a full disk does.
TEST(RunLogRecord, ABatchThatCannotBeWrittenIsTakenBackAndStopsTheRun) {
    const std::vector<std::string> clean = {"/clean", "windows-temp", "java-cache", kLogOption};
    Machine m;
    // Each case starts from the same files and a new, empty log.
    auto seed = [&] {
        for (const char* name : {"a.tmp", "b.tmp"}) m.File(kTemp + name);
        m.File(kJava + "j.tmp");
        m.rig.files.AddFile(kLog);
    };
    seed();
    ASSERT_EQ(m.Run(clean), kExitDone);
    const std::string whole = m.Log();
    // The batches: the run-start, Windows Temp's lines, the Java cache's, the run-end.
    const size_t started = LineEnd(whole, "run-start");
    const size_t javaStart = whole.rfind("\r\n", whole.find(",java-cache,")) + 2;
    const size_t endStart = whole.rfind("\r\n", whole.size() - 3) + 2;
    struct Trouble {
        std::string rule;
        size_t fullAt;
        int goodFlushes;
        size_t logEnds;  // where the log ends after the run
    };
    std::vector<Trouble> troubles;
    for (size_t at = started; at < whole.size(); ++at)
        troubles.push_back({"a batch is written whole or not at all (disk full at byte " +
                                std::to_string(at) + ")",
                            at, INT_MAX,
                            at < javaStart  ? started
                            : at < endStart ? javaStart
                                            : endStart});
    troubles.push_back({"a batch counts once flushed (Windows Temp's)", SIZE_MAX, 1, started});
    troubles.push_back({"a batch counts once flushed (the Java cache's)", SIZE_MAX, 2, javaStart});
    troubles.push_back({"a batch counts once flushed (the run-end)", SIZE_MAX, 3, endStart});
    for (const Trouble& t : troubles) {
        SCOPED_TRACE(t.rule);
        seed();
        m.rig.files.FillDiskAt(kLog, t.fullAt);
        m.rig.files.FailFlushes(kLog, t.goodFlushes);
        ASSERT_EQ(m.Run(clean), kExitRecordIncomplete) << m.console.err;
        EXPECT_EQ(m.Log(), whole.substr(0, t.logEnds)) << "the log ends on its last whole line";
        EXPECT_EQ(m.rig.files.Exists(kJava + "j.tmp"), t.logEnds == started)
            << "the run stops at its next change";
        EXPECT_NE(m.console.err.find("could not take the run's lines"), std::string::npos);
    }
}

// Another program holds the log from the first batch of items on: the run waits its half
// minute, then deletes no further file (its first batch of lines is all it deleted), keeps
// those lines and writes them once the log is let go, however late, framed by a run-end that
// says the run stopped; a log never let go holds the run-start alone.
TEST(RunLogRecord, ALogHeldMidRunStopsDeletionAtOnce) {
    constexpr int kFiles = 2000;
    struct Hold {
        const char* name;
        const char* command;
        int opens;  // one wait asks about 150 times; the run's end waits once more
        bool letGo;
    };
    for (const Hold& hold : {Hold{"let go before the run ends", "/clean", 200, true},
                             Hold{"held past the run's end", "/clean", 1000000, false},
                             Hold{"a preview, let go before it ends", "/preview", 200, true}}) {
        SCOPED_TRACE(hold.name);
        Machine m;
        for (int i = 0; i < kFiles; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "f%04d.tmp", i);
            m.File(kTemp + name);
        }
        m.rig.files.HoldForWriting(kLog, hold.opens, 1);
        ASSERT_EQ(m.Run({hold.command, "windows-temp", kLogOption}), kExitRecordIncomplete);
        const bool preview = std::string(hold.command) == "/preview";
        const std::string action = preview ? ",would delete," : ",deleted,";
        const std::string line =
            "2026-12-08 10:00:00,PC-01,Jo,windows-temp" + action + kTemp + "f0000.tmp,5,\r\n";
        const size_t firstBatch = (RunLog::kBatchBytes + line.size() - 1) / line.size();
        const std::string log = m.Log();
        if (!preview) {
            EXPECT_EQ(m.rig.files.deleted.size(), firstBatch)
                << "the rule: no file is deleted once a batch could not be written";
        }
        if (!hold.letGo) {
            EXPECT_EQ(log.size(), LineEnd(log, "run-start")) << log;
            continue;
        }
        EXPECT_NE(log.find(line), std::string::npos) << "the line measured";
        size_t logged = 0;
        for (size_t at = log.find(action); at != std::string::npos; at = log.find(action, at + 1))
            ++logged;
        EXPECT_EQ(logged, firstBatch) << "every deletion has its line, and no more are told";
        EXPECT_NE(log.find("; exit=4; files=" + std::to_string(firstBatch)), std::string::npos);
        EXPECT_NE(log.find("why=the log could not take"), std::string::npos) << log;
    }
}

// Once a batch failed, what the run still lists is held up to a bound, and the rest counted
// as left out: the memory of a run that lists on without the log stays bounded.
TEST(RunLogRecord, LinesHeldAfterAFailedBatchAreBounded) {
    Machine m;
    m.rig.files.FillDiskAt(kLog, 0);
    RunLog::Opened opened = RunLog::Open(m.rig.services, m.console, kLog, "PC", "Jo");
    ASSERT_TRUE(opened.log);
    const std::string path(200, 'x');
    constexpr size_t kLines = 5 * RunLog::kHeldMost / 200;
    for (size_t i = 0; i < kLines; ++i) opened.log->Line("c", "stayed", path, "", "");
    EXPECT_TRUE(opened.log->Failed());
    EXPECT_GT(opened.log->LeftOut(), kLines / 2);
    m.rig.files.FillDiskAt(kLog, SIZE_MAX);
    opened.log->RunLine("run-end", "", "");
    EXPECT_TRUE(opened.log->Flush(true));
    EXPECT_LT(m.Log().size(), RunLog::kHeldMost + 1024) << "the rule: what is held is bounded";
    EXPECT_NE(m.Log().find("run-end"), std::string::npos) << "a run's frame is always kept";
}

// A run refused before it began still frames itself in its log: its run-start, then a run-end
// with its exit code, nothing deleted, and why, which the summary reads past.
TEST(RunLogRecord, RefusedRunsAreFramedInTheLog) {
    struct Refusal {
        const char* windows;
        std::vector<std::string> arguments;
        int code;
        const char* why;
    };
    const std::vector<Refusal> refusals = {
        {"winxp",
         {"/clean", "windows-temp", "no-such-id"},
         kExitBadUsage,
         "unknown category no-such-id"},
        {"winxp", {"/clean", "x; exit=0"}, kExitBadUsage, "unknown category x, exit=0"},
        {"winxp", {"/preview", "opera-cache"}, kExitNotPossible, "Opera is not installed"},
        {"winxp",
         {"/clean", "windows-temp", "temp", "/strict"},
         kExitNotPossible,
         "temp: not a category of Windows XP"},
        {"win2003", {"/clean", "all"}, kExitNotPossible, "cleans nothing on"},
        {"win95", {"/clean", "all"}, kExitNotPossible, "cleans nothing on"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.windows + (" " + r.arguments.back()));
        Machine m(r.windows);
        m.File(kTemp + "a.tmp");
        std::vector<std::string> arguments = r.arguments;
        arguments.push_back(kLogOption);
        EXPECT_EQ(m.Run(arguments), r.code);
        EXPECT_TRUE(m.rig.files.deleted.empty());
        const std::string log = m.Log();
        EXPECT_LT(log.find("run-start"), log.find("run-end")) << log;
        const size_t why = log.find("; why=");
        EXPECT_NE(why, std::string::npos) << log;
        EXPECT_NE(log.find(r.why, why), std::string::npos) << log;
        const LogRead read = ReadLastRun(m.rig.files, kLog);
        ASSERT_TRUE(read.run) << read.why;
        EXPECT_EQ(read.run->exit, r.code);
        EXPECT_EQ(read.run->mode, r.arguments[0].substr(1));
        EXPECT_EQ(read.run->files, 0u);
    }
}

}  // namespace

// The run's log as a record written ahead of what it records.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

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
const std::string kLog = "C:\\olvex.csv";

struct Machine {
    explicit Machine(const std::string& windows = "winxp") { rig.SetWindows(windows); }
    int Run(std::vector<std::string> arguments) {
        console = fakes::FakeConsole();
        arguments.push_back("/log:" + kLog);
        return RunConsoleProgram(rig.services, console, arguments);
    }
    void File(const std::string& path) { rig.files.AddFile(path, platform::kAttrArchive, "12345"); }
    std::string Log() const { return rig.files.Content(kLog); }
    fakes::Rig rig;
    fakes::FakeConsole console;
};

// Cut at each byte of its last line, a log is taken up on a fresh line, and a whole one on the
// next, with what a run adds to a whole log.
TEST(RunLogRecord, ALogCutInsideItsLastLineIsTakenUpOnAFreshLine) {
    Machine m;
    m.File(kTemp + "a.tmp");
    ASSERT_EQ(m.Run({"/clean", "windows-temp"}), kExitDone);
    const std::string whole = m.Log();
    const size_t lastLine = whole.rfind("\r\n", whole.size() - 3) + 2;
    ASSERT_EQ(m.Run({"/preview", "windows-temp"}), kExitDone);
    const std::string added = m.Log().substr(whole.size());
    for (size_t cut = lastLine; cut < whole.size(); ++cut) {
        m.rig.files.AddFile(kLog, platform::kAttrArchive, whole.substr(0, cut));
        ASSERT_EQ(m.Run({"/preview", "windows-temp"}), kExitDone);
        EXPECT_EQ(m.Log(), whole.substr(0, cut) + (cut == lastLine ? "" : "\r\n") + added)
            << "the rule: a run starts on a fresh line, and no blank one (cut at " << cut << ")";
    }
}

// A disk that fills at each byte of each batch after the first, or a flush that fails: the log
// ends on its last whole line before that batch, the run changes nothing after it (the Java
// cache, cleaned after Windows Temp, keeps its file), and it exits 4.
TEST(RunLogRecord, ABatchThatCannotBeWrittenIsTakenBackAndStopsTheRun) {
    Machine m;
    auto seed = [&] {
        for (const char* name : {"a.tmp", "b.tmp"}) m.File(kTemp + name);
        m.File(kJava + "j.tmp");
        m.rig.files.AddFile(kLog);
    };
    seed();
    ASSERT_EQ(m.Run({"/clean", "windows-temp", "java-cache"}), kExitDone);
    const std::string whole = m.Log();
    // The batches: the run-start, Windows Temp's lines, the Java cache's, the run-end.
    const size_t ends[] = {whole.find("\r\n", whole.find("run-start")) + 2,
                           whole.rfind("\r\n", whole.find(",java-cache,")) + 2,
                           whole.rfind("\r\n", whole.size() - 3) + 2, whole.size()};
    struct Trouble {
        size_t fullAt;
        int goodFlushes;
        size_t logEnds;
    };
    std::vector<Trouble> troubles = {
        {SIZE_MAX, 1, ends[0]}, {SIZE_MAX, 2, ends[1]}, {SIZE_MAX, 3, ends[2]}};
    for (size_t batch = 0; batch < 3; ++batch)
        for (size_t at = ends[batch]; at < ends[batch + 1]; ++at)
            troubles.push_back({at, INT_MAX, ends[batch]});
    for (const Trouble& t : troubles) {
        SCOPED_TRACE("disk full at " + std::to_string(t.fullAt) + ", flushes that succeed " +
                     std::to_string(t.goodFlushes));
        seed();
        m.rig.files.FillDiskAt(kLog, t.fullAt);
        m.rig.files.FailFlushes(kLog, t.goodFlushes);
        ASSERT_EQ(m.Run({"/clean", "windows-temp", "java-cache"}), kExitRecordIncomplete);
        EXPECT_EQ(m.Log(), whole.substr(0, t.logEnds)) << "the rule: whole batches, or none";
        EXPECT_EQ(m.rig.files.Exists(kJava + "j.tmp"), t.logEnds == ends[0])
            << "the rule: the run stops at its next change";
    }
}

// Held by another program from its first batch of items on, the log makes a clean or a preview
// stop there, after its half-minute wait; once let go, before the run's own end, it gets
// every line, and the run-end says why the run stopped.
TEST(RunLogRecord, ALogHeldMidRunStopsTheRunAtOnce) {
    for (const std::string command : {"/clean", "/preview"}) {
        SCOPED_TRACE(command);
        Machine m;
        for (int i = 1000; i < 3000; ++i) m.File(kTemp + "f" + std::to_string(i) + ".tmp");
        // One wait asks about 150 times; the run's end waits once more.
        m.rig.files.HoldForWriting(kLog, 200, 1);
        ASSERT_EQ(m.Run({command, "windows-temp"}), kExitRecordIncomplete);
        const std::string action = command == "/clean" ? ",deleted," : ",would delete,";
        const std::string line =
            "2026-12-08 10:00:00,PC-01,Jo,windows-temp" + action + kTemp + "f1000.tmp,5,\r\n";
        const size_t firstBatch = (RunLog::kBatchBytes + line.size() - 1) / line.size();
        const std::string log = m.Log();
        size_t logged = 0;
        for (size_t at = log.find(action, log.find(line)); at != std::string::npos;
             at = log.find(action, at + 1))
            ++logged;
        EXPECT_EQ(logged, firstBatch) << "the rule: nothing after a batch that failed";
        EXPECT_EQ(m.rig.files.deleted.size(), command == "/clean" ? firstBatch : 0);
        EXPECT_NE(log.find("; exit=4; files=" + std::to_string(firstBatch)), std::string::npos);
        EXPECT_NE(log.find("why=the log could not take"), std::string::npos) << log;
    }
}

TEST(RunLogRecord, LinesHeldAfterAFailedBatchAreBounded) {
    Machine m;
    m.rig.files.FillDiskAt(kLog, 0);
    RunLog::Opened opened = RunLog::Open(m.rig.services, m.console, kLog, "PC", "Jo");
    ASSERT_TRUE(opened.log);
    for (size_t i = 0; i < RunLog::kHeldMost / 20; ++i) opened.log->Line("", "", kTemp, "", "");
    ASSERT_TRUE(opened.log->Failed());
    m.rig.files.FillDiskAt(kLog, SIZE_MAX);
    opened.log->RunLine("run-end", "", "");
    EXPECT_TRUE(opened.log->Flush(true));
    EXPECT_LT(m.Log().size(), RunLog::kHeldMost + 1024) << "the rule: what is held is bounded";
    EXPECT_NE(m.Log().find("run-end"), std::string::npos) << "a run's frame is always kept";
}

// A run refused before it began frames itself in its log, with its code, nothing deleted and
// why, which the summary reads past.
TEST(RunLogRecord, RefusedRunsAreFramedInTheLog) {
    struct Refusal {
        const char* windows;
        std::vector<std::string> arguments;
        int code;
        const char* why;
    };
    for (const Refusal& r : std::vector<Refusal>{
             {"winxp", {"/clean", "cookies", "no-such"}, 2, "unknown category no-such"},
             {"winxp", {"/clean", "x; exit=0"}, 2, "unknown category x, exit=0"},
             {"winxp", {"/preview", "opera-cache"}, 3, "Opera is not installed"},
             {"winxp", {"/clean", "cookies", "temp", "/strict"}, 3, "temp: not a category of"},
             {"winxp", {"/clean", "cookies", "/exclude:C:\\nowhere"}, 2, "/exclude:C:\\nowhere"},
             {"win2003", {"/clean", "all"}, 3, "cleans nothing on"},
             {"win95", {"/clean", "all"}, 3, "cleans nothing on"}}) {
        SCOPED_TRACE(r.arguments.back());
        Machine m(r.windows);
        EXPECT_EQ(m.Run(r.arguments), r.code);
        EXPECT_NE(m.Log().find(r.why, m.Log().find("; why=")), std::string::npos) << m.Log();
        std::optional<olvex::Run> last;
        const std::string why = ReadRuns(
            m.rig.files, kLog, [&](const std::string&, const olvex::Run& run) { last = run; },
            [](size_t, const std::string&) {});
        ASSERT_TRUE(last) << why;
        EXPECT_EQ(last->exit, r.code);
        EXPECT_EQ(last->mode, r.arguments[0].substr(1));
    }
}

}  // namespace

// olvex /summary over the in-memory system: a row per computer whatever logs name it, previews
// and unfinished runs as what they are, stale computers, logs of earlier versions, logs cut or
// hostile, and the CSV and page it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "console/ConsoleProgram.h"
#include "console/Csv.h"
#include "console/FleetRuns.h"
#include "console/RunLog.h"
#include "fakes/FakeConsole.h"
#include "fakes/TestRig.h"

namespace {

using namespace olvex;
using Fields = std::map<std::string, std::string>;

const std::string kBom = "\xEF\xBB\xBF";
const std::string kHeader = kBom + kLogHeader + "\r\n";

std::string Start(const std::string& at, const std::string& computer) {
    return at + "," + CsvField(computer) +
           ",Jo,,run-start,,,\"version=1.0.0.0; windows=Windows XP; command=/clean all\"\r\n";
}
std::string End(const std::string& at, const std::string& computer, const std::string& mode,
                uint64_t bytes, const std::string& exit = "0", const std::string& failed = "") {
    return at + "," + CsvField(computer) + ",Jo,,run-end,," + std::to_string(bytes) + "," +
           CsvField("mode=" + mode + "; exit=" + exit + "; files=1; folders=0; bytes=" +
                    std::to_string(bytes) + "; stayed=2; freed=0; failed=" + failed) +
           "\r\n";
}
// A whole run: its start, a file deleted, its end.
std::string Framed(const std::string& at, const std::string& computer, const std::string& mode,
                   uint64_t bytes) {
    return Start(at, computer) + at + "," + CsvField(computer) +
           ",Jo,windows-temp,deleted,C:\\WINDOWS\\temp\\a.tmp,5,\r\n" +
           End(at, computer, mode, bytes);
}

// The cells of CSV text, as a spreadsheet splitting on any of splits reads it, quotes kept.
std::vector<std::string> RawCells(const std::string& text, const char* splits) {
    std::vector<std::string> cells(1);
    for (char c : text) std::strchr(splits, c) && c ? cells.emplace_back() : cells.back() += c;
    return cells;
}
// Whether a spreadsheet would read a formula in a cell: after the quotes and blanks it takes off.
bool Formula(const std::string& cell) {
    const size_t at = cell.find_first_not_of("\" ");
    return at != std::string::npos && std::strchr("=+-@", cell[at]);
}

class Summary : public ::testing::Test {
  protected:
    void Log(const std::string& path, const std::string& text) {
        rig.files.AddFolder(path.substr(0, path.rfind('\\')));
        rig.files.AddFile(path, platform::kAttrArchive, text);
    }
    // A time days before the rig's clock, as the log writes it.
    std::string Ago(double days) const {
        return LogTimeText(SecondsOf(rig.system.now) - static_cast<int64_t>(days * 86400));
    }
    std::string Fresh() { return "C:\\c" + std::to_string(++folders); }  // a folder of its own
    int Run(const std::string& folder, std::vector<std::string> more = {}) {
        more.insert(more.begin(), {"/summary:" + folder, "/csv"});
        console = fakes::FakeConsole();
        return RunConsoleProgram(rig.services, console, more);
    }
    // The rows of /summary /csv by computer, the totals under "(fleet)", each by column name.
    std::map<std::string, Fields> Rows() {
        std::vector<std::vector<std::string>> lines;
        CsvReader reader;
        const CsvReader::Line line = [&](const CsvLine& l) { lines.push_back(l.fields); };
        reader.Feed(console.out.data(), console.out.size(), line);
        reader.Finish(line);
        std::map<std::string, Fields> rows;
        rowsSeen = lines.empty() ? 0 : lines.size() - 1;
        for (size_t i = 1; i < lines.size(); ++i)
            for (size_t c = 0; c < lines[0].size() && c < lines[i].size(); ++c)
                rows[ReadCsvField(lines[i][0])][lines[0][c]] = ReadCsvField(lines[i][c]);
        return rows;
    }
    fakes::Rig rig;
    fakes::FakeConsole console;
    size_t rowsSeen = 0;  // by the last Rows(), the totals counted
    int folders = 0;
};

// Whatever logs name a computer, it has one row, with its latest run.
TEST_F(Summary, EveryComputerOfEveryLogHasOneRowWithItsLatestRun) {
    const std::string d1 = "2026-12-01 03:00:00", d2 = "2026-12-02 03:00:00";
    const std::string d3 = "2026-12-03 03:00:00";
    const struct {
        const char* rule;
        std::vector<std::pair<std::string, std::string>> logs;
        std::map<std::string, std::string> last;  // computer -> its last run's time and kind
    } cases[] = {
        {"one log shared by three computers, their lines interleaved",
         {{"shared.csv", kHeader + Start(d1, "A") + Start(d1, "B") + End(d2, "A", "clean", 5) +
                             Start(d3, "C") + End(d2, "B", "preview", 7) +
                             End(d3, "C", "clean", 9)}},
         {{"A", d1 + " clean"}, {"B", d1 + " preview"}, {"C", d3 + " clean"}}},
        {"logs of their own and a shared log with a later run",
         {{"A.csv", kHeader + Framed(d1, "A", "clean", 5)},
          {"B.csv", kHeader + Framed(d2, "B", "clean", 5)},
          {"all.csv", kHeader + Framed(d3, "A", "preview", 5) + Framed(d1, "B", "clean", 5)}},
         {{"A", d3 + " preview"}, {"B", d2 + " clean"}}},
        {"a name in another case is the same computer",
         {{"one.csv", kHeader + Framed(d1, "pc-01", "clean", 5)},
          {"two.csv", kHeader + Framed(d2, "PC-01", "clean", 5)}},
         {{"PC-01", d2 + " clean"}}},
    };
    for (const auto& c : cases) {
        const std::string folder = Fresh();
        for (const auto& [name, text] : c.logs) Log(folder + "\\" + name, text);
        EXPECT_EQ(Run(folder), kExitDone) << c.rule << console.err;
        std::map<std::string, std::string> last;
        for (auto& [computer, row] : Rows())
            if (computer != "(fleet)") {
                std::string name = computer;
                for (char& ch : name) ch = static_cast<char>(std::toupper(ch));
                last[name] = row["last run"] + " " + row["run"];
            }
        EXPECT_EQ(last, c.last) << c.rule;
        EXPECT_EQ(rowsSeen, c.last.size() + 1) << c.rule;
    }
}

// A preview is shown as one, and the bytes deleted count cleans only.
TEST_F(Summary, PreviewsAreShownAsSuchAndNeverCountedAsDeleted) {
    Log("C:\\logs\\a.csv",
        kHeader + Framed(Ago(2), "A", "clean", 100) + Framed(Ago(1), "A", "preview", 900) +
            Framed(Ago(2), "B", "preview", 700) + Framed(Ago(2), "C", "preview", 500) +
            Framed(Ago(1), "C", "clean", 300));
    EXPECT_EQ(Run("C:\\logs"), kExitDone);
    const std::map<std::string, Fields> rows = Rows();
    const struct {
        const char* rule;
        const char* computer;
        const char *run, *bytes, *deleted;
    } cases[] = {
        {"a preview after a clean: both shown", "A", "preview", "900", "100"},
        {"only previews: nothing deleted", "B", "preview", "700", ""},
        {"a clean after a preview", "C", "clean", "300", "300"},
        {"the totals count the last cleans only", "(fleet)", "3 exit 0", "", "400"},
    };
    for (const auto& c : cases) {
        const Fields& row = rows.at(c.computer);
        EXPECT_EQ(row.at("run") + "|" + row.at("bytes") + "|" + row.at("deleted"),
                  std::string(c.run) + "|" + c.bytes + "|" + c.deleted)
            << c.rule;
    }
}

// A run that started and never ended is the last run, with its start; refused runs' exit
// codes are read whatever they are.
TEST_F(Summary, UnfinishedAndRefusedRunsAreShownAsTheyEnded) {
    const std::string d1 = "2026-12-01 03:00:00", d2 = "2026-12-02 03:00:00";
    Log("C:\\logs\\a.csv",
        kHeader + Framed(d1, "killed", "clean", 5) + Start(d2, "killed") + Start(d1, "refused") +
            End(d1, "refused", "clean", 0, "4") + End(d2, "no-start", "clean", 5, "1") +
            Framed(d1, "cut", "clean", 5) + Framed(d1, "twice", "clean", 5) +
            Framed(d1, "twice", "preview", 5) + Framed(d1, "refused-3", "clean", 5) +
            Start(d2, "refused-3") + End(d2, "refused-3", "clean", 0, "3") +
            Framed(d1, "refused-2", "clean", 5) + End(d2, "refused-2", "clean", 0, "2") +
            Start(d1, "restarted") + Start(d2, "restarted") + End(d2, "restarted", "clean", 5) + d2 +
            ",no-mode,Jo,,run-end,,,\"exit=2; files=0\"\r\n");
    Log("C:\\logs\\b.csv", kHeader + Start(d1, "cut"));  // a copy of the same run, cut short
    EXPECT_EQ(Run("C:\\logs"), kExitDone) << console.err;
    std::map<std::string, Fields> rows = Rows();
    const struct {
        const char* rule;
        const char* computer;
        std::string seen;  // last run, run, exit, last clean
    } cases[] = {
        {"killed after a clean: unfinished, its start", "killed", d2 + "|unfinished||" + d1},
        {"exit 4: a clean whose record is incomplete", "refused", d1 + "|clean|4|" + d1},
        {"its start lost: its end's time", "no-start", d2 + "|clean|1|" + d2},
        {"a copy cut short of a finished run", "cut", d1 + "|clean|0|" + d1},
        {"two runs in one second: the later line's", "twice", d1 + "|preview|0|" + d1},
        {"refused with 3: no clean", "refused-3", d2 + "|clean|3|" + d1},
        {"refused with 2: no clean", "refused-2", d2 + "|clean|2|" + d1},
        {"started again before an end: the end is the latest start's", "restarted",
         d2 + "|clean|0|" + d2},
        {"ended before it had a mode", "no-mode", d2 + "|run|2|"},
    };
    for (const auto& c : cases) {
        Fields& row = rows[c.computer];
        EXPECT_EQ(row["last run"] + "|" + row["run"] + "|" + row["exit"] + "|" + row["last clean"],
                  c.seen)
            << c.rule;
    }
    EXPECT_EQ(rows["(fleet)"]["run"],
              "3 exit 0, 1 exit 1, 2 exit 2, 1 exit 3, 1 exit 4, 1 unfinished");
}

// Stale: the last clean more than the days chosen (14 unless /stale says) before now, or none.
TEST_F(Summary, ComputersWhoseLastCleanIsOldAreStale) {
    const struct {
        const char* rule;
        double clean, preview;  // days ago; -1 for none
        bool stale;
        const char* age;  // of the last run, in whole days
    } cases[] = {
        {"cleaned 13 days ago", 13, -1, false, "13"},
        {"cleaned 14 days ago exactly", 14, -1, false, "14"},
        {"cleaned 14 days and an hour ago", 14.05, -1, true, "14"},
        {"cleaned long ago, previewed yesterday", 40, 1, true, "1"},
        {"never cleaned", -1, 1, true, "1"},
        {"a clock ahead", -3, -1, false, "0"},
    };
    for (const std::string stale : {"", "/stale:50"}) {
        std::string log = kHeader;
        for (const auto& c : cases) {
            if (c.clean != -1) log += Framed(Ago(c.clean), c.rule, "clean", 5);
            if (c.preview != -1) log += Framed(Ago(c.preview), c.rule, "preview", 5);
        }
        Log("C:\\logs\\a.csv", log);
        EXPECT_EQ(Run("C:\\logs",
                      stale.empty() ? std::vector<std::string>{} : std::vector<std::string>{stale}),
                  kExitDone);
        std::map<std::string, Fields> rows = Rows();
        for (const auto& c : cases) {
            const bool expected = stale.empty() ? c.stale : c.clean == -1;
            EXPECT_EQ(rows[c.rule]["stale"], expected ? "stale" : "") << c.rule << " " << stale;
            EXPECT_EQ(rows[c.rule]["age days"], c.age) << c.rule;
        }
        EXPECT_EQ(rows["(fleet)"]["stale"], stale.empty() ? "3 stale" : "1 stale");
    }
    for (const char* wrong : {"/stale:0", "/stale:x", "/stale:36501"})
        EXPECT_EQ(Run("C:\\logs", {wrong}), kExitBadUsage) << wrong;
    console = fakes::FakeConsole();
    EXPECT_EQ(RunConsoleProgram(rig.services, console, {"/clean", "all", "/stale:7"}),
              kExitBadUsage);
}

// A six-column log has no header and no run lines; the program appends runs to it.
TEST_F(Summary, LogsOfEarlierVersionsAreRead) {
    const std::string first = kBom + "2026-11-01 03:00:00,windows-temp,deleted,C:\\x.tmp,5,\r\n" +
                              "2026-11-01 03:00:02,cookies,\"would delete\",C:\\c.txt,7,\r\n" +
                              "2026-11-01 03:00:01,cookies,deleted,C:\\c.txt,7,\r\n";
    const struct {
        const char* rule;
        std::string text;
        std::string seen;  // last run, run, last clean
    } cases[] = {
        {"a six-column log", first, "2026-11-01 03:00:02|earlier version|2026-11-01 03:00:01"},
        {"runs appended to it", first + Framed("2026-12-01 03:00:00", "OLD", "clean", 5),
         "2026-12-01 03:00:00|clean|2026-12-01 03:00:00"},
    };
    for (const auto& c : cases) {
        const std::string folder = Fresh();
        Log(folder + "\\old.csv", c.text);
        EXPECT_EQ(Run(folder), kExitDone) << c.rule << console.err;
        Fields row = Rows()["old"];
        if (row.empty()) row = Rows()["OLD"];
        EXPECT_EQ(row["last run"] + "|" + row["run"] + "|" + row["last clean"], c.seen) << c.rule;
    }
}

// Only *.csv files are read; what is not a log is named and skipped, the rest summed up.
TEST_F(Summary, OnlyCsvFilesAreLogsAndWhatIsNoLogIsNamed) {
    const struct {
        const char* rule;
        const char* name;
        std::string text;
        int exit;
        const char* said;
    } cases[] = {
        {"a note beside the logs", "PC.txt", "today: some items stayed\r\n", kExitDone, ""},
        {"a log whose name ends in capitals", "B.CSV",
         kHeader + Framed("2026-12-01 03:00:00", "B", "clean", 5), kExitDone, ""},
        {"a CSV that is no log", "list.csv", "id,caption\r\n", kExitLeftSome, "not a log"},
        {"a log holding no run", "empty.csv", kHeader, kExitLeftSome, "it holds no run"},
        {"a line of another shape", "odd.csv", kHeader + "2026-12-01 03:00:00,x\r\n", kExitLeftSome,
         "odd.csv line 2: not a line of a log"},
        {"a field too many", "wide.csv",
         kHeader + "2026-12-01 03:00:00,W,Jo,,run-end,,5,\"mode=clean; exit=0\",x\r\n", kExitLeftSome,
         "wide.csv line 2: not a line of a log: 9 fields"},
        {"a six-column log without its byte-order mark", "nobom.csv",
         "2026-11-01 03:00:00,windows-temp,deleted,C:\\x.tmp,5,\r\n", kExitLeftSome,
         "nobom.csv: not a log"},
    };
    for (const auto& c : cases) {
        const std::string folder = Fresh();
        Log(folder + "\\A.csv", kHeader + Framed("2026-12-01 03:00:00", "A", "clean", 5));
        Log(folder + "\\" + c.name, c.text);
        EXPECT_EQ(Run(folder), c.exit) << c.rule << console.err;
        EXPECT_EQ(Rows().count("A"), 1u) << c.rule;
        EXPECT_TRUE(*c.said ? console.err.find(c.said) != std::string::npos : console.err.empty())
            << c.rule << console.err;
    }
}

// A log cut at any byte of its last line: that line is named and skipped, or read whole, and
// the runs before it stay; a run appended after it, on a fresh line, is read.
TEST_F(Summary, ALogCutAtAnyByteOfALineLosesThatLineOnly) {
    const std::string d1 = "2026-12-01 03:00:00", d2 = "2026-12-02 03:00:00";
    const std::string d3 = "2026-12-03 03:00:00";
    const std::string before = kHeader + Framed(d1, "PC", "clean", 5) + Start(d2, "PC");
    const std::string last = End(d2, "PC", "clean", 7, "1", "ie-history");
    for (size_t cut = 0; cut <= last.size(); ++cut) {
        for (const bool appended : {false, true}) {
            if (appended && (cut == 0 || cut == last.size())) continue;
            const std::string folder = "C:\\cut" + std::to_string(cut) + (appended ? "+" : "");
            Log(folder + "\\pc.csv", before + last.substr(0, cut) +
                                         (appended ? "\r\n" + Framed(d3, "PC", "preview", 9) : ""));
            const int exit = Run(folder);
            Fields row = Rows()["PC"];
            const bool whole = row["last clean"] == d2;
            SCOPED_TRACE(folder + " " + console.err);
            EXPECT_TRUE(whole || cut < last.size());
            EXPECT_EQ(row["last clean"] + "|" + row["deleted"] + "|" + row["failed"],
                      whole ? d2 + "|7|ie-history" : d1 + "|5|");
            EXPECT_EQ(row["last run"] + "|" + row["run"],
                      appended ? d3 + "|preview" : d2 + (whole ? "|clean" : "|unfinished"));
            const bool skipped = cut > 0 && !whole;  // at 0, the line was never begun
            EXPECT_EQ(exit, skipped ? kExitLeftSome : kExitDone);
            EXPECT_EQ(console.err.find("pc.csv line 6: ") != std::string::npos, skipped);
        }
    }
}

// Lines past the bounds are skipped whole, and said so, and the next line is read: what a line
// holds cannot make the reader hold more than a line of a log.
TEST(CsvReader, LinesPastTheBoundsAreSkippedAndTheNextRead) {
    const struct {
        const char* rule;
        std::string unit;
        size_t times;
        std::string skipped;
    } cases[] = {
        {"80 million commas", ",", 80'000'000, "longer than 256 KB"},
        {"a line one byte too long", "x", CsvReader::kLongestLine - 1, "longer than 256 KB"},
        {"the longest line", "x", CsvReader::kLongestLine - 2, ""},
        {"one field too many", "a,", CsvReader::kMostFields, "more than 64 fields"},
        {"the most fields", "a,", CsvReader::kMostFields - 1, ""},
    };
    for (const auto& c : cases) {
        std::string chunk;
        while (chunk.size() < 64 * 1024) chunk += c.unit;
        CsvReader reader;
        std::vector<CsvLine> lines;
        const CsvReader::Line line = [&](const CsvLine& l) { lines.push_back(l); };
        for (size_t left = c.times * c.unit.size(); left > 0;) {
            const size_t n = std::min(left, chunk.size());
            reader.Feed(chunk.data(), n, line);
            left -= n;
        }
        const std::string next = "\r\nnext,line\r\n";
        reader.Feed(next.data(), next.size(), line);
        reader.Finish(line);
        ASSERT_EQ(lines.size(), 2u) << c.rule;
        EXPECT_EQ(lines[0].skipped, c.skipped) << c.rule;
        EXPECT_EQ(lines[0].fields.size(), !c.skipped.empty() ? 0
                                          : c.unit == "a,"   ? c.times + 1
                                                             : 1)
            << c.rule;
        EXPECT_EQ(lines[1].fields, (std::vector<std::string>{"next", "line"})) << c.rule;
        EXPECT_EQ(lines[1].number, 2u) << c.rule;
    }
}

// Every field CsvField writes reads back as it was given, and no cell a spreadsheet reads in
// it starts a formula, whether it splits on commas (honouring quotes) or on ; tabs and breaks.
TEST(Csv, NoCellOfAFieldStartsAFormulaAndItReadsBackAsWritten) {
    for (const std::string text :
         {"a;=1+1;b.tmp", "bob;\"=1+1;x", "x;\" =1", "\"\"@SUM(A1)", "=HYPERLINK(\"h\")", "x\t+cmd",
          "a\r\n-1", "a\n@SUM(A1)", "a\r=1", "'=x", "''", "a,b\"c", "-", "plain"}) {
        const std::string field = CsvField(text);
        std::vector<std::string> fields;
        CsvReader reader;
        const std::string line = field + "\r\n";
        reader.Feed(line.data(), line.size(), [&](const CsvLine& l) { fields = l.fields; });
        ASSERT_EQ(fields.size(), 1u) << field;
        EXPECT_EQ(ReadCsvField(fields[0]), text) << field;
        for (const std::string& cell : RawCells(field, ";\t\r\n"))
            EXPECT_FALSE(Formula(cell)) << field;
        for (const std::string& cell : RawCells(fields[0], ";\t\r\n"))
            EXPECT_FALSE(Formula(cell)) << field;
    }
}

// Names from logs are anybody's text: no cell of /summary /csv starts a formula, and the page
// shows them as text.
TEST_F(Summary, HostileFieldsStayText) {
    const std::vector<std::string> names = {
        "bob;\"=1+1;x", "=HYPERLINK(\"h\")", "a\t+cmd", "a\r\n@SUM(1)", "<script>alert(1)</script>",
        "-2+3",         "Tom &amp; Jerry"};
    std::string log = kHeader;
    for (const std::string& name : names)
        log +=
            Start("2026-12-01 03:00:00", name) +
            End("2026-12-01 03:00:00", name, name == "-2+3" ? "=2+3" : "clean", 5, "0", "=1+1 @x");
    Log("C:\\logs\\a.csv", log);
    EXPECT_EQ(Run("C:\\logs", {"/html:C:\\fleet.html"}), kExitDone) << console.err;
    EXPECT_EQ(Rows().size(), names.size() + 1);
    for (const std::string& cell : RawCells(console.out, ";\t\r\n")) EXPECT_FALSE(Formula(cell));
    CsvReader reader;
    reader.Feed(console.out.data(), console.out.size(), [&](const CsvLine& l) {
        for (const std::string& field : l.fields)
            for (const std::string& cell : RawCells(field, ";\t\r\n"))
                EXPECT_FALSE(Formula(cell)) << field;
    });
    const std::string page = rig.files.Content("C:\\fleet.html");
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page.find("Tom &amp;amp; Jerry"), std::string::npos) << "& shows as itself";
    EXPECT_NE(page.find("=HYPERLINK(&quot;h&quot;)"), std::string::npos) << "quotes escaped";
    console = fakes::FakeConsole();
    EXPECT_EQ(RunConsoleProgram(rig.services, console, {"/summary:C:\\logs"}), kExitDone);
    EXPECT_EQ(std::count(console.out.begin(), console.out.end(), '\n'), names.size() + 2)
        << "a row a line, as text" << console.out;
}

// Logs the program wrote itself, a log of another computer and one cut short: the page shows a
// row and a bar per computer, sizes as a person reads them with the exact bytes where the
// pointer rests, stale and unfinished runs as such, and replaces only a page of its own.
TEST_F(Summary, ThePageOfLogsTheProgramWrote) {
    rig.SetWindows("winxp");
    rig.system.admin = 1;
    const std::string temp = "C:\\WINDOWS\\temp\\";
    rig.files.AddFolder("C:\\logs");
    rig.files.AddFile(temp + "a.tmp", platform::kAttrArchive, "12345");
    console = fakes::FakeConsole();
    ASSERT_EQ(RunConsoleProgram(rig.services, console,
                                {"/clean", "windows-temp", "/log:C:\\logs\\PC-01.csv"}),
              kExitDone);
    const std::string whole = rig.files.Content("C:\\logs\\PC-01.csv");
    Log("C:\\logs\\PC-02.csv", kHeader + Framed(Ago(20), "<b>PC-02</b>", "clean", 3221225472) +
                                   Start(Ago(1), "<b>PC-02</b>"));
    Log("C:\\logs\\cut.csv", whole.substr(0, whole.size() - 5));
    Log("C:\\logs\\notes.txt", "not a log\r\n");

    EXPECT_EQ(Run("C:\\logs", {"/html:C:\\fleet.html"}), kExitLeftSome);
    EXPECT_NE(console.err.find("cut.csv line 4: cut short"), std::string::npos) << console.err;
    const std::string page = rig.files.Content("C:\\fleet.html");
    for (const char* shown :
         {"<td>&lt;b&gt;PC-02&lt;/b&gt;</td>",
          "<td class=\"number\" title=\"5 bytes\">5 bytes</td>",
          "title=\"3221225472 bytes\">3.0 GB</td>", "unfinished: started, no end",
          "<td class=\"failed\">stale</td></tr>", "cut.csv line 4: cut short",
          "width=\"240\" height=\"14\" fill", "width=\"1\" height=\"14\" fill"})
        EXPECT_NE(page.find(shown), std::string::npos) << shown << "\n" << page;
    for (const char* outside : {"<script", "<b>", "src=", "href=", "url(", "http"})
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;

    // Only a page of the program's own is replaced, not any other page; a page written again
    // replaces it whole.
    const std::string other = "<!DOCTYPE html>\n<html lang=\"en\">\n<title>Intranet</title>\n";
    Log("C:\\other.html", other);
    for (const auto& [name, text] : {std::pair<std::string, std::string>{"C:\\logs\\notes.txt",
                                                                        "not a log\r\n"},
                                     {"C:\\other.html", other}}) {
        EXPECT_EQ(Run("C:\\logs", {"/html:" + name}), kExitNotPossible) << name;
        EXPECT_EQ(rig.files.Content(name), text);
    }
    EXPECT_EQ(Run("C:\\logs", {"/html:C:\\fleet.html"}), kExitLeftSome);
    EXPECT_EQ(rig.files.Content("C:\\fleet.html"), page);
    // A page among the logs, whatever case names it, is not read as one of them.
    for (int twice = 0; twice < 2; ++twice)
        EXPECT_EQ(Run("C:\\logs", {"/html:C:\\LOGS\\fleet.csv"}), kExitLeftSome);
    EXPECT_EQ(console.err.find("fleet.csv"), std::string::npos) << console.err;
}

}  // namespace

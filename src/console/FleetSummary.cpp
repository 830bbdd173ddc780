#include "console/FleetSummary.h"

#include <vector>

#include "console/ExitCodes.h"
#include "console/ConsoleText.h"
#include "console/Csv.h"
#include "console/FleetRuns.h"
#include "console/LogReader.h"
#include "console/SummaryPage.h"
#include "guard/PathRules.h"

namespace olvex {

using platform::Stream;

namespace {

// Lines of one log named one by one; past these, only how many more were skipped.
constexpr size_t kNamedLines = 10;

// Text from a log as one line of the table: a tab or a line break in a name cannot make rows.
std::string Shown(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return text;
}

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text + " ";
}

bool IsCsvName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string end = name.substr(name.size() - 4);
    for (char& c : end)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return end == ".csv";
}

// The logs of a folder, *.csv, in the order the system lists them; any other file, and the
// page being written if it lies there, is left out.
template <class Visit>
bool ForEachLog(platform::FileSystem& files, const std::string& folder, const std::string& page,
                Visit&& visit) {
    std::unique_ptr<platform::Finder> found;
    try {
        found = files.Find(folder + "\\*");
    } catch (const platform::RuntimeError&) {
        return false;
    }
    if (!found) return files.GetAttributes(folder) != platform::kInvalidAttributes;
    platform::FindEntry entry;
    while (found->Next(entry)) {
        if (entry.attributes & platform::kAttrDirectory || !IsCsvName(entry.name)) continue;
        const std::string path = folder + "\\" + entry.name;
        if (!page.empty() && IsSamePath(path, page)) continue;
        visit(path);
    }
    return true;
}

// The CSV line of fields, each disarmed as the log's own are.
std::string CsvLineOf(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields) line += (line.empty() ? "" : ",") + CsvField(field);
    return line + "\n";
}

std::string CsvRow(const ComputerRow& row, const std::string& log, int64_t now, bool stale) {
    const Run& last = row.last;
    const Run* clean = row.Clean();
    const bool ended = last.state == RunState::Finished;
    return CsvLineOf({row.name, last.user, LogTimeText(last.at), RunKind(last),
                      ended ? std::to_string(last.exit) : "", std::to_string(AgeDays(last.at, now)),
                      ended ? std::to_string(last.bytes) : "", clean ? LogTimeText(clean->at) : "",
                      clean ? std::to_string(clean->bytes) : "",
                      clean ? std::to_string(clean->stayed) : "", clean ? clean->failed : "",
                      stale ? "stale" : "", log, "item"});
}

std::string TextRow(const ComputerRow& row, int64_t now, bool stale) {
    const Run& last = row.last;
    const Run* clean = row.Clean();
    const bool ended = last.state == RunState::Finished;
    return Padded(Shown(row.name), 16) + Padded(LogTimeText(last.at), 19) +
           Padded(Shown(RunKind(last)), 10) + Padded(ended ? std::to_string(last.exit) : "", 4) +
           Padded(AgeText(last.at, now), 9) + Padded(ended ? std::to_string(last.bytes) : "", 13) +
           Padded(clean ? LogTimeText(clean->at) : "none", 19) +
           Padded(clean ? std::to_string(clean->bytes) : "", 13) +
           Padded(clean ? std::to_string(clean->stayed) : "", 6) + Padded(stale ? "stale" : "", 5) +
           Shown(clean ? clean->failed : "") + "\n";
}

std::string TotalsText(const FleetTotals& t, uint32_t staleDays, uint64_t filesSkipped,
                       uint64_t linesSkipped) {
    const std::string exits = t.ExitsText(), failed = t.FailedText();
    std::string skipped;
    if (filesSkipped)
        skipped += std::to_string(filesSkipped) + (filesSkipped == 1 ? " file" : " files");
    if (linesSkipped)
        skipped += (skipped.empty() ? "" : ", ") + std::to_string(linesSkipped) +
                   (linesSkipped == 1 ? " line" : " lines");
    return "Fleet: " + std::to_string(t.computers) +
           (t.computers == 1 ? " computer" : " computers") +
           (exits.empty() ? "" : " (" + exits + ")") + ", " + std::to_string(t.deleted) +
           " bytes deleted by the last cleans, " + std::to_string(t.stayed) + " items stayed" +
           (t.previews ? ", " + std::to_string(t.previews) + " last run a preview" : "") + ", " +
           std::to_string(t.stale) + " stale (no clean in " + std::to_string(staleDays) + " days)" +
           (failed.empty() ? "" : ", failed: " + failed) +
           (skipped.empty() ? "" : "; skipped: " + skipped) + "\n";
}

std::string CsvTotals(const FleetTotals& t) {
    return CsvLineOf({"(fleet)", "", "", t.ExitsText(), "", "", "", "", std::to_string(t.deleted),
                      std::to_string(t.stayed), t.FailedText(), std::to_string(t.stale) + " stale",
                      "", "total"});
}

// What was skipped, as standard error and the page both tell it.
struct Skips {
    platform::Console& console;
    uint64_t files = 0, lines = 0;
    std::vector<SkippedItem> named;  // the first kMostNamed, for the page
    uint64_t unnamed = 0;            // past those
    void Add(const std::string& what, const std::string& why) {
        console.Write(Stream::Err, "olvex: skipped " + what + ": " + why + "\r\n");
        if (named.size() < kMostNamed)
            named.push_back({what, why});
        else
            ++unnamed;
    }
};

// Reads the log at path into the fleet, telling what it skips.
void ReadLog(platform::FileSystem& files, const std::string& path, size_t log, FleetRuns& fleet,
             Skips& skips, uint64_t& leftOut) {
    size_t bad = 0, runs = 0;
    const std::string why = ReadRuns(
        files, path,
        [&](const std::string& computer, const Run& run) {
            ++runs;
            if (!fleet.Add(computer, run, log)) ++leftOut;
        },
        [&](size_t line, const std::string& why) {
            if (++bad <= kNamedLines) skips.Add(path + " line " + std::to_string(line), why);
        });
    skips.lines += bad;
    if (bad > kNamedLines)
        skips.Add(path, std::to_string(bad - kNamedLines) + " more lines skipped");
    if (why.empty() && runs == 0 && bad == 0) {
        ++skips.files;
        skips.Add(path, "it holds no run");
    } else if (!why.empty()) {
        ++skips.files;
        skips.Add(path, why);
    }
}

// The runs of every log in a folder, with what was skipped on the way.
struct Fleet {
    FleetRuns runs;
    std::vector<std::string> logs;  // the path of each log read, by its number
    uint64_t leftOut = 0;           // runs of computers past the first kMostComputers
};

// Reads every log of folder (but the page written beside them) into fleet; false when the
// folder cannot be listed.
bool ReadFleet(platform::FileSystem& files, const std::string& folder, const std::string& page,
               Fleet& fleet, Skips& skips) {
    const bool listed = ForEachLog(files, folder, page, [&](const std::string& path) {
        fleet.logs.push_back(path);
        ReadLog(files, path, fleet.logs.size() - 1, fleet.runs, skips, fleet.leftOut);
    });
    if (listed && fleet.leftOut)
        skips.Add(folder, std::to_string(fleet.leftOut) + " runs of computers past the first " +
                              std::to_string(kMostComputers) + " left out");
    return listed;
}

// The table of computers, as text or CSV, and its totals, written a part at a time.
void PrintFleet(platform::Console& console, const ConsoleRequest& request, const Fleet& fleet,
                const FleetTotals& totals, int64_t now, const Skips& skips) {
    std::string out =
        request.csv
            ? CsvLineOf({"computer", "user", "last run", "run", "exit", "age days", "bytes",
                         "last clean", "deleted", "stayed", "failed", "stale", "log", "kind"})
            : Padded("computer", 16) + Padded("last run", 19) + Padded("run", 10) +
                  Padded("exit", 4) + Padded("age", 9) + Padded("bytes", 13) +
                  Padded("last clean", 19) + Padded("deleted", 13) + Padded("stayed", 6) +
                  Padded("stale", 5) + "failed\n";
    for (const auto& [key, row] : fleet.runs.Rows()) {
        const bool stale = IsStale(row, now, request.staleDays);
        out += request.csv ? CsvRow(row, fleet.logs[row.lastLog], now, stale)
                           : TextRow(row, now, stale);
        if (out.size() > 64 * 1024) {
            console.Write(Stream::Out, WindowsLines(out));
            out.clear();
        }
    }
    out += request.csv ? CsvTotals(totals)
                       : TotalsText(totals, request.staleDays, skips.files, skips.lines);
    console.Write(Stream::Out, WindowsLines(out));
}

}  // namespace

int RunFleetSummary(Services& services, platform::Console& console, const ConsoleRequest& request) {
    platform::FileSystem& files = services.files;
    const std::string folder = TidyPath(files.FullPath(request.summaryFolder));
    const std::string page =
        request.htmlFile.empty() ? "" : TidyPath(files.FullPath(request.htmlFile));
    Fleet fleet;
    Skips skips{console, 0, 0, {}, 0};
    if (!ReadFleet(files, folder, page, fleet, skips)) {
        console.Write(Stream::Err, "olvex: the folder " + folder + " cannot be read.\r\n");
        return kExitNotPossible;
    }
    const int64_t now = SecondsOf(services.system.CurrentTime());
    const FleetTotals totals = TotalsOf(fleet.runs, now, request.staleDays);
    if (!request.quiet) PrintFleet(console, request, fleet, totals, now, skips);
    if (!request.htmlFile.empty()) {
        const std::string why = WriteSummaryPage(
            services, request.htmlFile,
            SummaryView{folder, fleet.runs, totals, now, request.staleDays, skips.named,
                        skips.unnamed});
        if (!why.empty()) {
            console.Write(Stream::Err,
                          "olvex: cannot write the page " + request.htmlFile + ": " + why + "\r\n");
            return kExitNotPossible;
        }
    }
    return skips.files || skips.lines || fleet.leftOut ? kExitLeftSome : kExitDone;
}

}  // namespace olvex

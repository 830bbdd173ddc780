#include "console/FleetSummary.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "console/ConsoleProgram.h"
#include "console/Csv.h"
#include "console/ConsoleText.h"
#include "console/LogReader.h"
#include "console/SummaryPage.h"
#include "system/PathRules.h"

namespace olvex {

using platform::Stream;

namespace {

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text + " ";
}

// The logs of a folder, one at a time, in the order the system lists them: each computer's
// last finished run, or why the file is no log.
// The page being written, if it lies in the folder, is left out.
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
        if (entry.attributes & platform::kAttrDirectory) continue;
        const std::string path = folder + "\\" + entry.name;
        if (!page.empty() && IsSamePath(path, page)) continue;
        visit(path, ReadLastRun(files, path));
    }
    return true;
}

// The fleet's figures, summed over the logs read.
struct FleetTotals {
    uint64_t computers = 0, bytes = 0, stayed = 0, skipped = 0;
    std::map<int, uint64_t> byExit;
    std::map<std::string, uint64_t> failed;  // category -> computers
    uint64_t largest = 0;                    // bytes of the computer that deleted most
    void Add(const LastRun& run) {
        ++computers;
        bytes += run.bytes;
        stayed += run.stayed;
        ++byExit[run.exit];
        for (const std::string& id : run.failed) ++failed[id];
        if (run.bytes > largest) largest = run.bytes;
    }
};

}  // namespace

int RunFleetSummary(Services& services, platform::Console& console,
                    const ConsoleRequest& request) {
    platform::FileSystem& files = services.files;
    const std::string folder = TidyPath(files.FullPath(request.summaryFolder));
    const bool csv = request.csv;
    const std::string page =
        request.htmlFile.empty() ? "" : TidyPath(files.FullPath(request.htmlFile));
    std::string out = csv ? "computer,user,time,mode,exit,files,folders,bytes,stayed,failed,log,"
                            "kind\n"
                          : Padded("computer", 16) + Padded("last run", 19) + Padded("mode", 7) +
                                Padded("exit", 4) + Padded("bytes deleted", 14) +
                                Padded("stayed", 7) + "failed\n";
    auto flush = [&] {
        if (!request.quiet) console.Write(Stream::Out, WindowsLines(out));
        out.clear();
    };
    FleetTotals totals;
    const bool listed = ForEachLog(files, folder, page, [&](const std::string& path, const LogRead& read) {
        if (!read.run) {
            ++totals.skipped;
            console.Write(Stream::Err, "olvex: skipped " + path + ": " + read.why + "\r\n");
            return;
        }
        const LastRun& run = *read.run;
        totals.Add(run);
        if (csv) {
            out += CsvField(run.computer) + "," + CsvField(run.user) + "," + CsvField(run.time) +
                   "," + run.mode + "," + std::to_string(run.exit) + "," +
                   std::to_string(run.files) + "," + std::to_string(run.folders) + "," +
                   std::to_string(run.bytes) + "," + std::to_string(run.stayed) + "," +
                   CsvField(Joined(run.failed)) + "," + CsvField(path) + ",item\n";
        } else {
            out += Padded(run.computer, 16) + Padded(run.time, 19) + Padded(run.mode, 7) +
                   Padded(std::to_string(run.exit), 4) + Padded(std::to_string(run.bytes), 14) +
                   Padded(std::to_string(run.stayed), 7) + Joined(run.failed) + "\n";
        }
        flush();
    });
    if (!listed) {
        console.Write(Stream::Err, "olvex: the folder " + folder + " cannot be read.\r\n");
        return kExitNotPossible;
    }
    std::string exits, failed;
    for (const auto& [code, n] : totals.byExit)
        exits += (exits.empty() ? "" : ", ") + std::to_string(n) + " exit " + std::to_string(code);
    for (const auto& [id, n] : totals.failed)
        failed += (failed.empty() ? "" : ", ") + id + " on " + std::to_string(n);
    if (csv) {
        out += "(fleet),,,," + CsvField(exits) + ",,," + std::to_string(totals.bytes) + "," +
               std::to_string(totals.stayed) + "," + CsvField(failed) + ",,total\n";
    } else {
        out += "Fleet: " + std::to_string(totals.computers) +
               (totals.computers == 1 ? " computer" : " computers") +
               (exits.empty() ? "" : " (" + exits + ")") + ", " + std::to_string(totals.bytes) +
               " bytes deleted, " + std::to_string(totals.stayed) + " items stayed" +
               (failed.empty() ? "" : ", failed: " + failed) +
               (totals.skipped ? "; " + std::to_string(totals.skipped) +
                                     (totals.skipped == 1 ? " file skipped" : " files skipped")
                               : "") +
               "\n";
    }
    flush();

    if (!request.htmlFile.empty()) {
        // A second reading of the logs: the bars are measured against the largest, known only
        // now, and nothing of the first is kept.
        const LogWalk walk = [&](const std::function<void(const std::string&, const LogRead&)>&
                                     row) { ForEachLog(files, folder, page, row); };
        const std::string why = WriteSummaryPage(
            services, request.htmlFile, folder, walk,
            PageTotals{totals.computers, totals.bytes, totals.stayed, totals.largest, exits,
                       failed, totals.skipped});
        if (!why.empty()) {
            console.Write(Stream::Err,
                          "olvex: cannot write the page " + request.htmlFile + ": " + why + "\r\n");
            return kExitNotPossible;
        }
    }
    return totals.skipped ? kExitLeftSome : kExitDone;
}

}  // namespace olvex

#include "console/ConsoleProgram.h"

#include <set>

#include "console/CategoryList.h"
#include "console/CommandLine.h"
#include "console/ConsoleCategories.h"
#include "console/ConsoleReport.h"
#include "console/ConsoleText.h"
#include "console/FleetSummary.h"
#include "console/KeptPaths.h"
#include "console/RunLog.h"
#include "platform/Errors.h"
#include "system/CleaningContext.h"
#include "system/FreedSpace.h"
#include "system/PreviewChanges.h"
#include "system/WindowsVersion.h"

namespace olvex {

using platform::Stream;

namespace {

constexpr const char* kProgramVersion = "1.0.0.0";

void Error(platform::Console& console, const std::string& text) {
    console.Write(Stream::Err, "olvex: " + text + "\r\n");
}

// The categories a request names that run here, in table order, and those named that do not,
// with why.
struct Selection {
    std::set<std::string> chosen;
    std::vector<std::pair<std::string, std::string>> skipped;
};

Selection Select(const std::string& osName, const std::vector<ConsoleCategory>& categories,
                 const ConsoleRequest& request) {
    const bool filters = request.olderThanDays != 0 || !request.excluded.empty();
    Selection selection;
    auto skip = [&](const std::string& id, const std::string& why) {
        for (const auto& [skippedId, reason] : selection.skipped)
            if (skippedId == id) return;
        selection.skipped.push_back({id, why});
    };
    // Why a category of this system does not run with this request; "" when it does.
    auto whyNot = [&](const ConsoleCategory& c) -> std::string {
        if (!c.unavailable.empty()) return c.unavailable;
        if (filters && c.category->emptiedWhole)
            return "the system empties it whole, and /olderthan or /exclude cannot keep anything "
                   "of it";
        return "";
    };
    for (const std::string& id : request.ids) {
        if (id == "all") {
            for (const ConsoleCategory& c : categories) {
                if (!c.unavailable.empty() || c.category->asksBeforeTicking) continue;
                const std::string why = whyNot(c);
                if (why.empty())
                    selection.chosen.insert(c.id);
                else
                    skip(c.id, why);
            }
            continue;
        }
        const ConsoleCategory* found = nullptr;
        for (const ConsoleCategory& c : categories)
            if (c.id == id) found = &c;
        const std::string why = found ? whyNot(*found) : "not a category of " + osName;
        if (why.empty())
            selection.chosen.insert(id);
        else
            skip(id, why);
    }
    return selection;
}

// The command line as the log tells it: the arguments, each in quotes where it holds a blank.
std::string CommandLineText(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        if (!text.empty()) text += ' ';
        text +=
            argument.find_first_of(" \t") == std::string::npos ? argument : "\"" + argument + "\"";
    }
    return text;
}

}  // namespace

int RunConsoleProgram(Services& services, platform::Console& console,
                      const std::vector<std::string>& arguments) {
    const ParsedRequest parsed = ParseArguments(arguments);
    if (!parsed.request) {
        Error(console, parsed.error + " (olvex /? shows how to use it)");
        return kExitBadUsage;
    }
    const ConsoleRequest& request = *parsed.request;
    if (request.command == Command::Help) {
        console.Write(Stream::Out, WindowsLines(HelpText()));
        // Asked for, the help is all that was wanted; for want of a command, it is a mistake.
        return request.helpForLackOfCommand ? kExitBadUsage : kExitDone;
    }
    if (request.command == Command::Summary) return RunFleetSummary(services, console, request);
    // Every id is checked before anything else is looked at, let alone deleted.
    for (const std::string& id : request.ids) {
        if (id != "all" && !CategoryById(id)) {
            Error(console, "Unknown category " + id + " (olvex /list shows them).");
            return kExitBadUsage;
        }
    }

    std::string osName;
    platform::SkipOnFailure([&] { osName = WindowsVersion(services.system).os_name; });
    const Family family = FamilyFor(osName);
    if (family == Family::Unsupported) {
        Error(console, "Olvex Cleaner cleans nothing on " + osName + ".");
        return kExitNotPossible;
    }
    const std::vector<ConsoleCategory> categories = CategoriesOf(services, family, osName);
    if (request.command == Command::List) {
        PrintCategoryList(services, console, request, family, categories);
        return kExitDone;
    }
    const Selection selection = Select(osName, categories, request);
    // With /strict, as when nothing named can run, nothing runs at all.
    if ((request.strict && !selection.skipped.empty()) || selection.chosen.empty()) {
        for (const auto& [id, why] : selection.skipped)
            Error(console, id + " cannot be cleaned here: " + why + ".");
        if (selection.chosen.empty()) Error(console, "None of the categories named can run here.");
        return kExitNotPossible;
    }

    // What the user keeps is resolved to what it names before anything is deleted: a path
    // that names no one existing file or folder is a mistake of the command line.
    RunFilter filter;
    if (const std::string why = KeepExcluded(services.files, request, filter); !why.empty()) {
        Error(console, why);
        return kExitBadUsage;
    }

    CleaningContext context;
    platform::SkipOnFailure([&] { context = DeriveCleaningContext(services.system); });
    std::unique_ptr<RunLog> log;
    if (!request.logFile.empty()) {
        RunLog::Opened opened = RunLog::Open(services, console, request.logFile,
                                             services.system.ComputerName(), context.UserName);
        log = std::move(opened.log);
        // The run's first line is written before anything is deleted: a log that cannot take
        // it stops the run here.
        if (log) {
            log->Line("", "run-start", "", "",
                      std::string("version=") + kProgramVersion + "; windows=" + osName +
                          "; command=" + CommandLineText(arguments));
            if (!log->Flush()) opened.why = log->Problem();
        }
        if (!log || !log->Written()) {
            Error(console, "Cannot write the log " + request.logFile + ": " + opened.why +
                               "; nothing was deleted.");
            return kExitNotPossible;
        }
        // The log is kept wherever it lies, by what it is.
        if (const std::string why = KeepOwnLog(services.files, log->Path(), filter); !why.empty()) {
            Error(console, why);
            return kExitNotPossible;
        }
    }

    // Besides the guard's rules, what the user keeps by age.
    if (request.olderThanDays)
        filter.KeepRecent(services.system.CurrentTime(), request.olderThanDays);

    ConsoleReport report(console, request, categories, log.get(), &filter);
    for (const auto& [id, why] : selection.skipped) report.Skipped(id, why);

    // A preview runs the same engine with changes that only check, and counts each folder
    // once however many steps reach it, as the clean deletes it once.
    const bool preview = request.command == Command::Preview;
    PreviewChanges checks(services.urlCache);
    platform::SystemChanges makes(services.shell, services.urlCache);
    platform::Changes& changes = preview ? static_cast<platform::Changes&>(checks) : makes;
    CountedFolders counted;

    FreedSpaceReport freed(services.system, context.SystemDrive);
    if (!preview) platform::SkipOnFailure([&] { freed.MeasureBefore(); });

    // One purge list for the whole run, as a window keeps one.
    PlainPurgeList purgeList;
    std::vector<const Category*> chosen;
    for (const ConsoleCategory& category : categories)
        if (selection.chosen.count(category.id)) chosen.push_back(category.category);
    RuleRun run{services, changes, family, 0, purgeList, report, context, {}};
    run.filter = filter.Active() ? &filter : nullptr;
    run.counted = preview ? &counted : nullptr;
    RunSelected(run, chosen, [](const Category&) { return true; });

    report.Total();
    int64_t freedBytes = 0;
    if (!preview) {
        platform::SkipOnFailure([&] { freed.MeasureAfter(); });
        freedBytes = freed.Freed();
        report.Freed(context.SystemDrive, freedBytes);
    }
    int code = report.LeftSome() ? kExitLeftSome : kExitDone;
    if (log) {
        const ConsoleReport::RunFigures& f = report.Figures();
        log->Line("", "run-end", "", std::to_string(f.bytes),
                  std::string("mode=") + (preview ? "preview" : "clean") +
                      "; exit=" + std::to_string(code) + "; files=" + std::to_string(f.files) +
                      "; folders=" + std::to_string(f.folders) +
                      "; bytes=" + std::to_string(f.bytes) + "; stayed=" + std::to_string(f.left) +
                      "; freed=" + std::to_string(freedBytes) + "; failed=" + Joined(f.failed));
        log->Flush();
        if (!log->Written()) {
            Error(console, "Some lines could not be written to the log " + request.logFile + ": " +
                               log->Problem() + ".");
            code = kExitLeftSome;
        }
    }
    return code;
}

}  // namespace olvex

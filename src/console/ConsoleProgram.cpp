#include "console/ConsoleProgram.h"

#include <optional>
#include <set>

#include "console/CategoryList.h"
#include "console/CommandLine.h"
#include "console/ConsoleCategories.h"
#include "console/ConsoleReport.h"
#include "console/ConsoleText.h"
#include "console/FleetSummary.h"
#include "console/KeptPaths.h"
#include "console/RunLog.h"
#include "console/RunRecord.h"
#include "platform/Errors.h"
#include "system/CleaningContext.h"
#include "system/FreedSpace.h"
#include "guard/PreviewChanges.h"
#include "system/WindowsVersion.h"

namespace olvex {

using platform::Stream;

// A clean of the console program, its one command that changes the system, makes its changes
// here; a preview's are only checks.
struct ConsoleCommandChanges {
    static platform::SystemChanges Make(Services& services) {
        return {services.shell, services.urlCache};
    }
};

namespace {

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

// The first id named that is no category at all; "" when every one is.
std::string UnknownId(const ConsoleRequest& request) {
    for (const std::string& id : request.ids)
        if (id != "all" && !CategoryById(id)) return id;
    return "";
}

// Why a selection does not run: with /strict, as when nothing named can run, nothing runs at
// all; "" when it runs.
std::string WhyNotRun(platform::Console& console, const ConsoleRequest& request,
                      const Selection& selection) {
    if (!(request.strict && !selection.skipped.empty()) && !selection.chosen.empty()) return "";
    std::string why;
    for (const auto& [id, reason] : selection.skipped) {
        Error(console, id + " cannot be cleaned here: " + reason + ".");
        why += (why.empty() ? "" : ", ") + id + ": " + reason;
    }
    if (selection.chosen.empty()) {
        Error(console, "None of the categories named can run here.");
        return "none of the categories named can run here" + (why.empty() ? "" : " (" + why + ")");
    }
    return "with /strict, a category named cannot run here (" + why + ")";
}

// What a request runs on here, once it is parsed and checked: the family, its categories,
// those the request chose, and what the user keeps.
struct Plan {
    Family family = Family::Unsupported;
    std::vector<ConsoleCategory> categories;
    Selection selection;
    RunFilter filter;
    CookieKeepList keepCookies;
};

// The hosts whose cookies stay: olvex.ini's beside the program, and /keepcookies'. The reason
// to refuse the run when the file names something that is no host; "" when none.
std::string KeepCookies(Services& services, const ConsoleRequest& request, CookieKeepList& keep) {
    std::vector<std::string> invalid;
    keep = ConfiguredKeepList(services, invalid);
    if (!invalid.empty())
        return "olvex.ini beside the program names no host in [Cookies] Keep=: " + invalid.front();
    for (const std::string& hosts : request.keptCookies) keep.Add(hosts);
    return "";
}

// Parse and select: every id checked, the family known, the categories chosen, every
// excluded path resolved, before anything is deleted. An exit code when the program ends
// here (refused, or the list printed).
std::optional<int> PlanRun(Services& services, platform::Console& console,
                           const ConsoleRequest& request, RunRecord& record, Plan& plan) {
    // Every id is checked before anything else is looked at, let alone deleted.
    if (const std::string unknown = UnknownId(request); !unknown.empty()) {
        Error(console, "Unknown category " + unknown + " (olvex /list shows them).");
        return record.Refuse(kExitBadUsage, "unknown category " + unknown);
    }
    std::string osName;
    platform::SkipOnFailure([&] { osName = WindowsVersion(services.system).os_name; });
    plan.family = FamilyFor(osName);
    if (plan.family == Family::Unsupported) {
        Error(console, "Olvex Cleaner cleans nothing on " + osName + ".");
        return record.Refuse(kExitNotPossible, "Olvex Cleaner cleans nothing on " + osName);
    }
    plan.categories = CategoriesOf(services, plan.family, osName);
    if (request.command == Command::List) {
        PrintCategoryList(services, console, request, plan.family, plan.categories);
        return kExitDone;
    }
    plan.selection = Select(osName, plan.categories, request);
    if (const std::string why = WhyNotRun(console, request, plan.selection); !why.empty())
        return record.Refuse(kExitNotPossible, why);
    // What the user keeps is resolved to what it names before anything is deleted: a path
    // that names no one existing file or folder is a mistake of the command line.
    if (const std::string why = KeepExcluded(services.files, request, plan.filter);
        !why.empty()) {
        Error(console, why);
        return record.Refuse(kExitBadUsage, why);
    }
    if (const std::string why = KeepCookies(services, request, plan.keepCookies); !why.empty()) {
        Error(console, why + ".");
        return record.Refuse(kExitBadUsage, why);
    }
    return std::nullopt;
}

// Opens the log with the run's first line, written before anything is deleted, and keeps the
// log itself, wherever it lies, by what it is, whatever name a sweep meets it by; then what
// the user keeps by age. An exit code when the run ends here.
std::optional<int> OpenRecord(Services& services, platform::Console& console,
                              const ConsoleRequest& request, RunRecord& record,
                              RunFilter& filter) {
    if (!record.Start()) return kExitNotPossible;
    if (RunLog* log = record.Log()) {
        if (const std::string why = KeepOwnLog(services.files, log->Path(), filter); !why.empty()) {
            Error(console, why);
            return record.Refuse(kExitNotPossible, why);
        }
    }
    if (request.olderThanDays)
        filter.KeepRecent(services.system.CurrentTime(), request.olderThanDays);
    return std::nullopt;
}

// What a run did, as its last log line and its exit code tell it.
struct Outcome {
    bool leftSome = false;
    RunFigures figures;
    int64_t freed = 0;
};

// Runs the chosen categories with changes that stop once the record failed: then the category
// under way ends where it stopped, and so does the run.
void RunCategories(RuleRun& run, const std::vector<const Category*>& chosen,
                   ConsoleReport& report) {
    try {
        RunSelected(run, chosen, [](const Category&) { return true; });
    } catch (const RecordStopped&) {
        report.End("");
    }
}

// Previews or cleans the selection, reporting and logging as it goes.
Outcome RunPlan(Services& services, platform::Console& console, const ConsoleRequest& request,
                Plan& plan, RunLog* log) {
    CleaningContext context;
    platform::SkipOnFailure([&] { context = DeriveCleaningContext(services.system); });
    ConsoleReport report(console, request, plan.categories, log, &plan.filter);
    for (const auto& [id, why] : plan.selection.skipped) report.Skipped(id, why);

    // A preview runs the same engine with changes that only check, and counts each folder
    // once however many steps reach it, as the clean deletes it once. Either stops at its
    // next change once the log cannot take its lines.
    const bool preview = request.command == Command::Preview;
    PreviewChanges checks(services.urlCache);
    platform::SystemChanges makes = ConsoleCommandChanges::Make(services);
    RecordedChanges changes(preview ? static_cast<platform::Changes&>(checks) : makes, log);
    CountedFolders counted;

    FreedSpaceReport freed(services.system, context.SystemDrive);
    if (!preview) platform::SkipOnFailure([&] { freed.MeasureBefore(); });

    // One purge list for the whole run, as a window keeps one.
    PlainPurgeList purgeList;
    std::vector<const Category*> chosen;
    for (const ConsoleCategory& category : plan.categories)
        if (plan.selection.chosen.count(category.id)) chosen.push_back(category.category);
    RuleRun run{services, changes, plan.family, 0, purgeList, report, context, {}};
    run.filter = plan.filter.Active() ? &plan.filter : nullptr;
    run.counted = preview ? &counted : nullptr;
    run.keepCookies = &plan.keepCookies;
    RunCategories(run, chosen, report);

    report.Total();
    Outcome outcome{report.LeftSome(), report.Figures(), 0};
    if (!preview) {
        platform::SkipOnFailure([&] { freed.MeasureAfter(); });
        outcome.freed = freed.Freed();
        report.Freed(context.SystemDrive, outcome.freed);
    }
    return outcome;
}

// The text of /?: asked for, the help is all that was wanted; for want of a command, it is
// a mistake.
int ShowHelp(platform::Console& console, const ConsoleRequest& request) {
    console.Write(Stream::Out, WindowsLines(HelpText()));
    return request.helpForLackOfCommand ? kExitBadUsage : kExitDone;
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
    if (request.command == Command::Help) return ShowHelp(console, request);
    if (request.command == Command::Summary) return RunFleetSummary(services, console, request);
    // A run refused from here on still says so in its log, where it names one.
    RunRecord record(services, console, request, arguments);
    Plan plan;
    if (const std::optional<int> ended = PlanRun(services, console, request, record, plan))
        return *ended;
    if (const std::optional<int> ended = OpenRecord(services, console, request, record, plan.filter))
        return *ended;
    const Outcome outcome = RunPlan(services, console, request, plan, record.Log());
    return record.Finish(outcome.leftSome ? kExitLeftSome : kExitDone, outcome.figures,
                         outcome.freed);
}

}  // namespace olvex

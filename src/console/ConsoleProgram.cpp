#include "console/ConsoleProgram.h"

#include <set>

#include "console/CommandLine.h"
#include "console/ConsoleCategories.h"
#include "console/ConsoleReport.h"
#include "platform/Errors.h"
#include "system/CleaningContext.h"
#include "system/FreedSpace.h"
#include "system/PreviewChanges.h"
#include "system/WindowsVersion.h"

namespace olvex {

using platform::Stream;

namespace {

// Text with the line ends of Windows.
std::string WindowsLines(const std::string& text) {
    std::string lines;
    for (char c : text) {
        if (c == '\n') lines += '\r';
        lines += c;
    }
    return lines;
}

void Error(platform::Console& console, const std::string& text) {
    console.Write(Stream::Err, "olvex: " + text + "\r\n");
}

void PrintList(platform::Console& console, const ConsoleRequest& request,
               const std::vector<ConsoleCategory>& categories) {
    if (request.quiet) return;
    std::string text = request.csv ? "id,caption,available,reason\n" : "";
    for (const ConsoleCategory& c : categories) {
        const bool available = c.unavailable.empty();
        if (request.csv) {
            text += CsvField(c.id) + "," + CsvField(c.caption) + "," + (available ? "yes" : "no") +
                    "," + CsvField(c.unavailable) + "\n";
            continue;
        }
        std::string line = c.id;
        line.resize(22, ' ');
        line += c.caption;
        line.resize(50, ' ');
        text += line + (available ? "available" : "not available: " + c.unavailable) + "\n";
    }
    console.Write(Stream::Out, WindowsLines(text));
}

// The ids a request selects; false (after saying why) when one cannot be cleaned here.
bool Select(platform::Console& console, const std::string& osName,
            const std::vector<ConsoleCategory>& categories, const std::vector<std::string>& ids,
            std::set<std::string>& selected) {
    for (const std::string& id : ids) {
        if (id == "all") {
            for (const ConsoleCategory& c : categories)
                if (c.unavailable.empty() && !c.category->asksBeforeTicking) selected.insert(c.id);
            continue;
        }
        const ConsoleCategory* found = nullptr;
        for (const ConsoleCategory& c : categories)
            if (c.id == id) found = &c;
        if (!found) {
            Error(console, id + " is not a category of " + osName + " (olvex /list shows them).");
            return false;
        }
        if (!found->unavailable.empty()) {
            Error(console, id + " cannot be cleaned here: " + found->unavailable + ".");
            return false;
        }
        selected.insert(id);
    }
    return true;
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
        return kExitDone;
    }
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
        PrintList(console, request, categories);
        return kExitDone;
    }
    std::set<std::string> selected;
    if (!Select(console, osName, categories, request.ids, selected)) return kExitNotPossible;

    std::unique_ptr<platform::AppendFile> log;
    if (!request.logFile.empty()) {
        log = console.OpenForAppending(request.logFile);
        if (!log) {
            Error(console, "Cannot open the log " + request.logFile + "; nothing was deleted.");
            return kExitNotPossible;
        }
    }
    ConsoleReport report(console, request, categories, std::move(log));

    // A preview runs the same engine with changes that only check.
    const bool preview = request.command == Command::Preview;
    PreviewChanges checks(services.urlCache);
    platform::SystemChanges makes(services.shell, services.urlCache);
    platform::Changes& changes = preview ? static_cast<platform::Changes&>(checks) : makes;

    CleaningContext context;
    platform::SkipOnFailure([&] { context = DeriveCleaningContext(services.system); });
    FreedSpaceReport freed(services.system, context.SystemDrive);
    if (!preview) platform::SkipOnFailure([&] { freed.MeasureBefore(); });

    // One purge list for the whole run, as a window keeps one.
    PlainPurgeList purgeList;
    std::vector<const Category*> chosen;
    for (const ConsoleCategory& category : categories)
        if (selected.count(category.id)) chosen.push_back(category.category);
    RuleRun run{services, changes, family, 0, purgeList, report, context, {}};
    RunSelected(run, chosen, [](const Category&) { return true; });

    if (!preview) {
        platform::SkipOnFailure([&] { freed.MeasureAfter(); });
        report.Freed(context.SystemDrive, freed.Freed());
    }
    if (!report.LogWritten()) {
        Error(console, "Some lines could not be written to the log " + request.logFile + ".");
        return kExitLeftSome;
    }
    return report.LeftSome() ? kExitLeftSome : kExitDone;
}

}  // namespace olvex

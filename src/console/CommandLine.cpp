#include "console/CommandLine.h"

#include "console/ExitCodes.h"

namespace olvex {

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The most days /olderthan and /stale take: a hundred years.
constexpr unsigned long kMostDays = 36500;

// The number of days an option gives, from 1 to kMostDays; nothing for anything else.
std::optional<uint32_t> DaysOf(const std::string& text) {
    unsigned long number = 0;
    for (char c : text)
        number =
            c >= '0' && c <= '9' && number <= kMostDays ? number * 10 + (c - '0') : kMostDays + 1;
    if (number < 1 || number > kMostDays) return std::nullopt;
    return static_cast<uint32_t>(number);
}

// The text after "/name:" of an option, as given (case and all); nothing when the argument is
// not that option or gives no value.
std::optional<std::string> ValueOf(const std::string& argument, const std::string& name) {
    const std::string prefix = name + ":";
    if (argument.size() <= prefix.size() + 1 || Lower(argument.substr(1, prefix.size())) != prefix)
        return std::nullopt;
    return argument.substr(1 + prefix.size());
}

// A path from a drive's root (C:\x) or a share (\\server\share\x).
bool IsFullPath(const std::string& path) {
    auto separator = [](char c) { return c == '\\' || c == '/'; };
    const char letter = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
    const bool drive =
        path.size() >= 3 && letter >= 'a' && letter <= 'z' && path[1] == ':' && separator(path[2]);
    const bool share = path.size() > 2 && separator(path[0]) && separator(path[1]);
    return drive || share;
}

}  // namespace

namespace {

// A number of days as an option takes it, into days; false when it is none.
bool TakeDays(const std::string& value, uint32_t& days) {
    const std::optional<uint32_t> taken = DaysOf(value);
    if (taken) days = *taken;
    return taken.has_value();
}

std::string DaysWanted(const std::string& option) {
    return option + " takes a number of days from 1 to " + std::to_string(kMostDays) + ".";
}

// Why the command, ids and options given do not go together; "" when they do.
std::string WhyNotTogether(const ConsoleRequest& request, bool commandGiven, bool filters,
                           bool staleGiven) {
    if (!commandGiven && !request.ids.empty())
        return "Say what to do with " + request.ids.front() + ": /preview or /clean.";
    const bool cleans = request.command == Command::Preview || request.command == Command::Clean;
    if (cleans && request.ids.empty())
        return "Name the categories to work on, or all (olvex /list shows them).";
    if (!cleans && request.command != Command::Help && !request.ids.empty())
        return "/list and /summary take no categories.";
    if (!cleans && commandGiven && filters)
        return "/olderthan, /exclude and /strict go with /preview or /clean.";
    if (!request.htmlFile.empty() && request.command != Command::Summary)
        return "/html goes with /summary.";
    if (staleGiven && request.command != Command::Summary) return "/stale goes with /summary.";
    return "";
}

}  // namespace

ParsedRequest ParseArguments(const std::vector<std::string>& arguments) {
    ConsoleRequest request;
    std::optional<Command> command;
    auto fail = [](const std::string& why) { return ParsedRequest{std::nullopt, why}; };
    bool filters = false;
    bool staleGiven = false;
    for (const std::string& argument : arguments) {
        if (argument.empty()) continue;
        if (argument[0] != '/' && argument[0] != '-') {
            request.ids.push_back(Lower(argument));
            continue;
        }
        const std::string option = Lower(argument.substr(1));
        std::optional<Command> named;
        if (option == "?" || option == "h" || option == "help") {
            named = Command::Help;
        } else if (option == "list") {
            named = Command::List;
        } else if (option == "preview") {
            named = Command::Preview;
        } else if (option == "clean") {
            named = Command::Clean;
        } else if (auto folder = ValueOf(argument, "summary")) {
            named = Command::Summary;
            request.summaryFolder = *folder;
        } else if (option == "details") {
            request.details = true;
        } else if (option == "csv") {
            request.csv = true;
        } else if (option == "quiet") {
            request.quiet = true;
        } else if (option == "strict") {
            request.strict = filters = true;
        } else if (auto log = ValueOf(argument, "log")) {
            request.logFile = *log;
        } else if (auto page = ValueOf(argument, "html")) {
            request.htmlFile = *page;
        } else if (auto days = ValueOf(argument, "olderthan")) {
            if (!TakeDays(*days, request.olderThanDays)) return fail(DaysWanted("/olderthan"));
            filters = true;
        } else if (auto stale = ValueOf(argument, "stale")) {
            if (!TakeDays(*stale, request.staleDays)) return fail(DaysWanted("/stale"));
            staleGiven = true;
        } else if (auto path = ValueOf(argument, "exclude")) {
            if (!IsFullPath(*path))
                return fail("/exclude takes a full path (C:\\... or \\\\server\\share\\...), not " +
                            *path + ".");
            request.excluded.push_back(*path);
            filters = true;
        } else {
            return fail("Unknown option " + argument + ".");
        }
        if (named && command && *command != *named)
            return fail("Give one of /list, /preview, /clean and /summary, once.");
        if (named) command = named;
    }
    request.command = command.value_or(Command::Help);
    request.helpForLackOfCommand = !command;
    const std::string why = WhyNotTogether(request, command.has_value(), filters, staleGiven);
    if (!why.empty()) return fail(why);
    return {request, ""};
}

std::string HelpText() {
    return "Olvex Cleaner for the command line: see what a cleaning would delete, clean\n"
           "without anybody at the screen, and sum up the logs of many machines.\n"
           "\n"
           "  olvex /list [/details] [/csv]\n"
           "  olvex /preview ID... | all  [options]\n"
           "  olvex /clean ID... | all    [options]\n"
           "  olvex /summary:FOLDER [/html:FILE] [/stale:DAYS] [/csv]\n"
           "\n"
           "  /list      The categories of this system: id, the caption the window shows,\n"
           "             and whether it can be cleaned here (and if not, why). With\n"
           "             /details, the folders each one cleans, present or missing.\n"
           "  /preview   Deletes nothing. Reports what a clean would delete, by the same\n"
           "             rules, and what would stay and why.\n"
           "  /clean     Cleans, and reports what went, what stayed and why, what was\n"
           "             registered for deletion at restart, the total over all\n"
           "             categories, and the bytes freed on the system drive.\n"
           "  all        Every category that can be cleaned here, except the saved\n"
           "             passwords (firefox-passwords, opera-passwords): name those.\n"
           "             A category named that this system lacks (another Windows',\n"
           "             a browser not installed) is skipped, and said so; the rest run.\n"
           "  /summary   Reads every log (*.csv) in FOLDER, one per computer or shared,\n"
           "             and prints a row per computer: its last run (a clean, a\n"
           "             preview, or unfinished: started and never ended), when and how\n"
           "             long ago, its exit code and bytes; its last clean, with the\n"
           "             bytes deleted, items that stayed and categories that failed;\n"
           "             then the totals, which count cleans only. Logs of earlier\n"
           "             versions are read. A .csv that is no log, and lines cut short\n"
           "             or too long, are named and skipped (exit 1).\n"
           "\n"
           "Options of /preview and /clean:\n"
           "  /details        Every path, not only the totals, and every folder that is\n"
           "                  not there.\n"
           "  /csv            The report as CSV: category,action,path,items,bytes,reason,\n"
           "                  kind (item or total). To a file, with a byte-order mark.\n"
           "  /log:FILE       Appends to FILE, as CSV in UTF-8: a run-start line, one\n"
           "                  line per item and per step skipped, not there, refused or\n"
           "                  failed, and a run-end line with the exit code and totals;\n"
           "                  a run refused with 2 or 3 writes both lines, and why.\n"
           "                  Columns: time,computer,user,category,action,path,bytes,reason.\n"
           "                  Runs sharing a log take turns. A link on its path, or a log\n"
           "                  that is a link, stops the run before it deletes anything.\n"
           "                  Lines go out a batch at a time, each flushed to the disk: a\n"
           "                  run whose log cannot take a batch deletes nothing more, tries\n"
           "                  its lines again until it ends, and exits with 4.\n"
           "  /olderthan:DAYS Only files last written DAYS days ago or earlier, by the\n"
           "                  file's own time; younger ones, and those whose time tells\n"
           "                  nothing, stay, and so do their folders. The Recycle Bin and\n"
           "                  the history, emptied whole by the system, are skipped.\n"
           "  /exclude:PATH   Leaves the file, or the folder with all in it, that PATH\n"
           "                  names (a full path, by any name Windows gives it: a short\n"
           "                  name, another letter, ..); may be given again. A path\n"
           "                  that names no one existing file or folder stops the run\n"
           "                  with 2. Also skips the Recycle Bin and the history.\n"
           "  /strict         A named category that cannot run here stops the whole run.\n"
           "  /quiet          Prints nothing but errors.\n"
           "  /?              This help.\n"
           "\n"
           "Options of /summary:\n"
           "  /html:FILE      Also writes the summary as one page of its own, sizes in KB,\n"
           "                  MB and GB (the exact bytes where the pointer rests).\n"
           "  /stale:DAYS     A computer whose last clean is more than DAYS days old, or\n"
           "                  that never cleaned, is marked stale and counted (default 14).\n"
           "                  Ages count from each log's local time.\n"
           "  /csv            The rows and totals as CSV.\n"
           "\n"
           "Options may start with / or -, and case does not matter. In a console window\n"
           "names show in its own characters; output redirected to a file or a pipe is\n"
           "UTF-8. A progress line goes to standard error when it is a console window.\n"
           "\n"
           "Exit codes:\n"
           "  0  every selected category done, nothing left\n"
           "  1  done, but some items stayed or were registered for deletion at restart,\n"
           "     or a step was refused (a link on a folder's path) or failed\n"
           "  2  bad usage: no command, an unknown id or option, an /exclude that\n"
           "     names no one existing file or folder; nothing was deleted\n"
           "  3  not possible here: an unsupported system, none of the categories named\n"
           "     can run here (with /strict: one of them cannot), one only\n"
           "     administrators may clean, or the log cannot be written; nothing was\n"
           "     deleted\n"
           "  4  stopped: the log could not take the run's lines when they were due (a\n"
           "     full disk, another program holding it); nothing was deleted after\n"
           "     that, and the log may lack the run's last lines\n"
           "/summary: 0 every log read whole; 1 some file or line skipped; 3 the folder\n"
           "or the page cannot be used.\n";
}

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> arguments;
    size_t at = 0;
    // The program's name ends at the first blank outside quotes; backslashes are plain there.
    bool quoted = false;
    while (at < line.size() && (quoted || (line[at] != ' ' && line[at] != '\t'))) {
        if (line[at] == '"') quoted = !quoted;
        ++at;
    }
    for (;;) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        if (at >= line.size()) break;
        std::string argument;
        quoted = false;
        while (at < line.size() && (quoted || (line[at] != ' ' && line[at] != '\t'))) {
            size_t backslashes = 0;
            while (at < line.size() && line[at] == '\\') ++backslashes, ++at;
            if (at < line.size() && line[at] == '"') {
                // 2n backslashes and a quote: n backslashes, and the quote opens or closes;
                // 2n+1: n backslashes and a quote taken literally.
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2) {
                    argument += '"';
                } else {
                    quoted = !quoted;
                }
                ++at;
                continue;
            }
            argument.append(backslashes, '\\');
            if (at < line.size() && (quoted || (line[at] != ' ' && line[at] != '\t')))
                argument += line[at++];
        }
        arguments.push_back(argument);
    }
    return arguments;
}

}  // namespace olvex

#include "console/CommandLine.h"

#include <algorithm>
#include <set>

#include "system/CookieKeepList.h"

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

// Where a switch puts its value, or the fact that it was given: one member of the request at
// most, whose kind says what the value must be.
struct Target {
    // What /? calls the value; nullptr when the switch takes none.
    const char* valueName = nullptr;
    bool ConsoleRequest::*flag = nullptr;                           // set when given
    std::string ConsoleRequest::*text = nullptr;                    // any text
    uint32_t ConsoleRequest::*days = nullptr;                       // 1 to kMostDays
    std::vector<std::string> ConsoleRequest::*fullPaths = nullptr;  // added to; may repeat
    std::vector<std::string> ConsoleRequest::*hosts = nullptr;      // added to; may repeat
};

Target Flag(bool ConsoleRequest::*member) {
    Target target;
    target.flag = member;
    return target;
}
Target Text(std::string ConsoleRequest::*member, const char* valueName) {
    Target target;
    target.valueName = valueName;
    target.text = member;
    return target;
}
Target Days(uint32_t ConsoleRequest::*member) {
    Target target;
    target.valueName = "DAYS";
    target.days = member;
    return target;
}
Target Hosts(std::vector<std::string> ConsoleRequest::*member) {
    Target target;
    target.valueName = "HOSTS";
    target.hosts = member;
    return target;
}
Target FullPaths(std::vector<std::string> ConsoleRequest::*member) {
    Target target;
    target.valueName = "PATH";
    target.fullPaths = member;
    return target;
}

// The commands a switch may be given with; with any other, the command line is refused.
enum class GoesWith { Any, Cleans, Summary };

// The parts of /? a switch is described in.
enum class HelpGroup { Commands, CleanOptions, SummaryOptions };

// A switch's description in one part of /?, its lines without their indent.
struct HelpLine {
    HelpGroup group;
    const char* text;
};

struct Switch {
    std::vector<std::string> names;  // as typed after / or -, in lower case; the first is its own
    std::optional<Command> command;  // the command it gives, if it gives one
    Target sets;                     // nothing for a command that takes no value
    GoesWith goesWith;
    std::vector<HelpLine> help;  // /? describes it once in each of these
};

bool TakesCategories(Command command) {
    return command == Command::Preview || command == Command::Clean;
}

using R = ConsoleRequest;

// clang-format off
// The commands.
std::vector<Switch> CommandSwitches() {
    return {
        {{"list"}, Command::List, {}, GoesWith::Any,
         {{HelpGroup::Commands,
           "The categories of this system: id, the caption the window shows,\n"
           "and whether it can be cleaned here (and if not, why). With\n"
           "/details, the folders each one cleans, present or missing."}}},
        {{"preview"}, Command::Preview, {}, GoesWith::Any,
         {{HelpGroup::Commands,
           "Deletes nothing. Reports what a clean would delete, by the same\n"
           "rules, and what would stay and why."}}},
        {{"clean"}, Command::Clean, {}, GoesWith::Any,
         {{HelpGroup::Commands,
           "Cleans, and reports what went, what stayed and why, what was\n"
           "registered for deletion at restart, the total over all\n"
           "categories, and the bytes freed on the system drive."}}},
        {{"summary"}, Command::Summary, Text(&R::summaryFolder, "FOLDER"), GoesWith::Any,
         {{HelpGroup::Commands,
           "Reads every log (*.csv) in FOLDER, one per computer or shared,\n"
           "and prints a row per computer: its last run (a clean, a\n"
           "preview, or unfinished: started and never ended), when and how\n"
           "long ago, its exit code and bytes; its last clean, with the\n"
           "bytes deleted, items that stayed and categories that failed;\n"
           "then the totals, which count cleans only. Logs of earlier\n"
           "versions are read. A .csv that is no log, and lines cut short\n"
           "or too long, are named and skipped (exit 1)."}}},
    };
}

// The options of /summary alone.
std::vector<Switch> SummarySwitches() {
    return {
        {{"html"}, std::nullopt, Text(&R::htmlFile, "FILE"), GoesWith::Summary,
         {{HelpGroup::SummaryOptions,
           "Also writes the summary as one page of its own, sizes in KB,\n"
           "MB and GB (the exact bytes where the pointer rests)."}}},
        {{"stale"}, std::nullopt, Days(&R::staleDays), GoesWith::Summary,
         {{HelpGroup::SummaryOptions,
           "A computer whose last clean is more than DAYS days old, or\n"
           "that never cleaned, is marked stale and counted (default 14).\n"
           "Ages count from each log's local time."}}},
    };
}

// The options of the runs, and the help.
std::vector<Switch> RunSwitches() {
    return {
        {{"details"}, std::nullopt, Flag(&R::details), GoesWith::Any,
         {{HelpGroup::CleanOptions,
           "Every path, not only the totals, and every folder that is\n"
           "not there."}}},
        {{"csv"}, std::nullopt, Flag(&R::csv), GoesWith::Any,
         {{HelpGroup::CleanOptions,
           "The report as CSV: category,action,path,items,bytes,reason,\n"
           "kind (item or total). To a file, with a byte-order mark."},
          {HelpGroup::SummaryOptions, "The rows and totals as CSV."}}},
        {{"log"}, std::nullopt, Text(&R::logFile, "FILE"), GoesWith::Any,
         {{HelpGroup::CleanOptions,
           "Appends to FILE, as CSV in UTF-8: a run-start line, one\n"
           "line per item and per step skipped, not there, refused or\n"
           "failed, and a run-end line with the exit code and totals;\n"
           "a run refused with 2 or 3 writes both lines, and why.\n"
           "Columns: time,computer,user,category,action,path,bytes,reason.\n"
           "Runs sharing a log take turns. A link on its path, or a log\n"
           "that is a link, stops the run before it deletes anything.\n"
           "Lines go out a batch at a time, each flushed to the disk: a\n"
           "run whose log cannot take a batch deletes nothing more, tries\n"
           "its lines again until it ends, and exits with 4."}}},
        {{"olderthan"}, std::nullopt, Days(&R::olderThanDays), GoesWith::Cleans,
         {{HelpGroup::CleanOptions,
           "Only files last written DAYS days ago or earlier, by the\n"
           "file's own time; younger ones, and those whose time tells\n"
           "nothing, stay, and so do their folders. The Recycle Bin and\n"
           "the history, emptied whole by the system, are skipped."}}},
        {{"exclude"}, std::nullopt, FullPaths(&R::excluded), GoesWith::Cleans,
         {{HelpGroup::CleanOptions,
           "Leaves the file, or the folder with all in it, that PATH\n"
           "names (a full path, by any name Windows gives it: a short\n"
           "name, another letter, ..); may be given again. A path\n"
           "that names no one existing file or folder stops the run\n"
           "with 2. Also skips the Recycle Bin and the history."}}},
        {{"keepcookies"}, std::nullopt, Hosts(&R::keptCookies), GoesWith::Cleans,
         {{HelpGroup::CleanOptions,
           "Keeps the cookies of each host HOSTS names (separated by\n"
           "commas) and of the hosts below it: example.com keeps\n"
           "www.example.com's, never badexample.com's. In Internet\n"
           "Explorer, Firefox and Chrome; Opera's one cookie file then\n"
           "stays whole. Adds to the hosts olvex.ini beside the program\n"
           "lists ([Cookies] Keep=), which the windows keep too. May be\n"
           "given again."}}},
        {{"strict"}, std::nullopt, Flag(&R::strict), GoesWith::Cleans,
         {{HelpGroup::CleanOptions, "A named category that cannot run here stops the whole run."}}},
        {{"quiet"}, std::nullopt, Flag(&R::quiet), GoesWith::Any,
         {{HelpGroup::CleanOptions, "Prints nothing but errors."}}},
        {{"?", "h", "help"}, Command::Help, {}, GoesWith::Any,
         {{HelpGroup::CleanOptions, "This help."}}},
    };
}
// clang-format on

// Every switch of the command line. Within each part of /?, the switches are described in this
// order; so are the switches named in the usage errors.
const std::vector<Switch>& Switches() {
    static const std::vector<Switch> switches = [] {
        std::vector<Switch> all = CommandSwitches();
        for (auto part : {SummarySwitches, RunSwitches}) {
            std::vector<Switch> rows = part();
            all.insert(all.end(), rows.begin(), rows.end());
        }
        return all;
    }();
    return switches;
}

}  // namespace

namespace {

// The switch an option names, and the value it gives ("" for none).
struct NamedSwitch {
    const Switch* row;
    std::string value;
};

// Nothing when the option names no switch, or gives a value to one that takes none, or none to
// one that takes one.
std::optional<NamedSwitch> SwitchNamed(const std::string& argument) {
    const std::string option = Lower(argument.substr(1));
    for (const Switch& row : Switches())
        for (const std::string& name : row.names) {
            if (!row.sets.valueName) {
                if (option == name) return NamedSwitch{&row, ""};
            } else if (std::optional<std::string> value = ValueOf(argument, name)) {
                return NamedSwitch{&row, *value};
            }
        }
    return std::nullopt;
}

// Puts what a switch gives where it goes in the request; the message of a usage error when its
// value is not what it takes, else "".
std::string Take(const NamedSwitch& named, ConsoleRequest& request) {
    const Target& sets = named.row->sets;
    const std::string option = "/" + named.row->names.front();
    if (sets.flag) request.*sets.flag = true;
    if (sets.text) request.*sets.text = named.value;
    if (sets.days) {
        const std::optional<uint32_t> days = DaysOf(named.value);
        if (!days)
            return option + " takes a number of days from 1 to " + std::to_string(kMostDays) + ".";
        request.*sets.days = *days;
    }
    if (sets.fullPaths) {
        if (!IsFullPath(named.value))
            return option + " takes a full path (C:\\... or \\\\server\\share\\...), not " +
                   named.value + ".";
        (request.*sets.fullPaths).push_back(named.value);
    }
    if (sets.hosts) {
        const std::vector<std::string> invalid = CookieKeepList().Add(named.value);
        if (!invalid.empty())
            return option + " takes host names separated by commas (example.com,mail.example.org), "
                            "not " + invalid.front() + ".";
        (request.*sets.hosts).push_back(named.value);
    }
    return "";
}

// "/a, /b and /c": the switches that go with those commands only.
std::string NamesGoingWith(GoesWith commands) {
    std::vector<std::string> names;
    for (const Switch& row : Switches())
        if (row.goesWith == commands) names.push_back("/" + row.names.front());
    std::string joined;
    for (size_t at = 0; at < names.size(); ++at)
        joined += (at == 0 ? "" : at + 1 == names.size() ? " and " : ", ") + names[at];
    return joined;
}

// Why the command, ids and switches given do not go together; "" when they do.
std::string WhyNotTogether(const ConsoleRequest& request, bool commandGiven,
                           const std::set<const Switch*>& given) {
    if (!commandGiven && !request.ids.empty())
        return "Say what to do with " + request.ids.front() + ": /preview or /clean.";
    const bool cleans = TakesCategories(request.command);
    if (cleans && request.ids.empty())
        return "Name the categories to work on, or all (olvex /list shows them).";
    if (!cleans && request.command != Command::Help && !request.ids.empty())
        return "/list and /summary take no categories.";
    auto givenGoingWith = [&](GoesWith commands) {
        return std::any_of(given.begin(), given.end(),
                           [&](const Switch* row) { return row->goesWith == commands; });
    };
    if (!cleans && commandGiven && givenGoingWith(GoesWith::Cleans))
        return NamesGoingWith(GoesWith::Cleans) + " go with /preview or /clean.";
    for (const Switch& row : Switches())
        if (row.goesWith == GoesWith::Summary && given.count(&row) &&
            request.command != Command::Summary)
            return "/" + row.names.front() + " goes with /summary.";
    return "";
}

}  // namespace

ParsedRequest ParseArguments(const std::vector<std::string>& arguments) {
    ConsoleRequest request;
    std::optional<Command> command;
    std::set<const Switch*> given;
    auto fail = [](const std::string& why) { return ParsedRequest{std::nullopt, why}; };
    for (const std::string& argument : arguments) {
        if (argument.empty()) continue;
        if (argument[0] != '/' && argument[0] != '-') {
            request.ids.push_back(Lower(argument));
            continue;
        }
        const std::optional<NamedSwitch> named = SwitchNamed(argument);
        if (!named) return fail("Unknown option " + argument + ".");
        if (const std::string why = Take(*named, request); !why.empty()) return fail(why);
        const std::optional<Command>& commandNamed = named->row->command;
        if (commandNamed && command && *command != *commandNamed)
            return fail("Give one of /list, /preview, /clean and /summary, once.");
        if (commandNamed) command = commandNamed;
        given.insert(named->row);
    }
    request.command = command.value_or(Command::Help);
    request.helpForLackOfCommand = !command;
    const std::string why = WhyNotTogether(request, command.has_value(), given);
    if (!why.empty()) return fail(why);
    return {request, ""};
}

namespace {

// One part of /?: its heading, and the column its descriptions start in.
struct HelpPart {
    HelpGroup group;
    const char* heading;   // "" for none
    size_t labelWidth;     // the labels' column, after two blanks
    bool labelsShowValue;  // "/log:FILE" rather than "/log"
};

// The word that stands for every category, described after the commands that take categories.
const char* const kAllHelp =
    "Every category that can be cleaned here, except the saved\n"
    "passwords (firefox-passwords, opera-passwords): name those.\n"
    "A category named that this system lacks (another Windows',\n"
    "a browser not installed) is skipped, and said so; the rest run.";

// A label in its column, then the text, its further lines under the first.
std::string Described(const std::string& label, const std::string& text, size_t labelWidth) {
    std::string described = "  " + label;
    described.append(labelWidth > label.size() ? labelWidth - label.size() : 1, ' ');
    for (size_t start = 0;;) {
        const size_t end = text.find('\n', start);
        described += text.substr(start, end - start) + "\n";
        if (end == std::string::npos) return described;
        start = end + 1;
        described += std::string(2 + labelWidth, ' ');
    }
}

std::string Label(const Switch& row, bool showValue) {
    std::string label;
    for (const std::string& name : row.names) {
        label += (label.empty() ? "/" : ", /") + name;
        if (showValue && row.sets.valueName) label += std::string(":") + row.sets.valueName;
    }
    return label;
}

std::string PartText(const HelpPart& part) {
    std::string text = part.heading;
    bool allPending = false;  // commands that take categories were described, "all" not yet
    for (const Switch& row : Switches())
        for (const HelpLine& line : row.help) {
            if (line.group != part.group) continue;
            const bool takesCategories = row.command && TakesCategories(*row.command);
            if (allPending && !takesCategories) text += Described("all", kAllHelp, part.labelWidth);
            allPending = takesCategories;
            text += Described(Label(row, part.labelsShowValue), line.text, part.labelWidth);
        }
    if (allPending) text += Described("all", kAllHelp, part.labelWidth);
    return text;
}

}  // namespace

std::string HelpText() {
    const HelpPart parts[] = {
        {HelpGroup::Commands, "", 11, false},
        {HelpGroup::CleanOptions, "Options of /preview and /clean:\n", 16, true},
        {HelpGroup::SummaryOptions, "Options of /summary:\n", 16, true},
    };
    std::string text =
        "Olvex Cleaner for the command line: see what a cleaning would delete, clean\n"
        "without anybody at the screen, and sum up the logs of many machines.\n"
        "\n"
        "  olvex /list [/details] [/csv]\n"
        "  olvex /preview ID... | all  [options]\n"
        "  olvex /clean ID... | all    [options]\n"
        "  olvex /summary:FOLDER [/html:FILE] [/stale:DAYS] [/csv]\n"
        "\n";
    for (const HelpPart& part : parts) text += PartText(part) + "\n";
    return text +
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

std::vector<std::string> SwitchSpellings() {
    std::vector<std::string> spellings;
    for (const Switch& row : Switches())
        for (const std::string& name : row.names)
            spellings.push_back("/" + name +
                                (row.sets.valueName ? std::string(":") + row.sets.valueName : ""));
    return spellings;
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

#include "console/CommandLine.h"

#include "console/ConsoleProgram.h"

namespace olvex {

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

ParsedRequest ParseArguments(const std::vector<std::string>& arguments) {
    ConsoleRequest request;
    std::optional<Command> command;
    auto fail = [](const std::string& why) { return ParsedRequest{std::nullopt, why}; };
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
        } else if (option == "details") {
            request.details = true;
        } else if (option == "csv") {
            request.csv = true;
        } else if (option == "quiet") {
            request.quiet = true;
        } else if (option.compare(0, 4, "log:") == 0 && option.size() > 4) {
            request.logFile = argument.substr(5);  // the name as given, case and all
        } else {
            return fail("Unknown option " + argument + ".");
        }
        if (named && command && *command != *named)
            return fail("Give one of /list, /preview and /clean, once.");
        if (named) command = named;
    }
    request.command = command.value_or(Command::Help);
    if (!command && !request.ids.empty())
        return fail("Say what to do with " + request.ids.front() + ": /preview or /clean.");
    const bool takesIds = request.command == Command::Preview || request.command == Command::Clean;
    if (takesIds && request.ids.empty())
        return fail("Name the categories to work on, or all (olvex /list shows them).");
    if (!takesIds && request.command != Command::Help && !request.ids.empty())
        return fail("/list takes no categories.");
    return {request, ""};
}

std::string HelpText() {
    return "Olvex Cleaner for the command line: see what a cleaning would delete, and clean\n"
           "without anybody at the screen.\n"
           "\n"
           "  olvex /list\n"
           "  olvex /preview ID... | all  [/details] [/csv] [/log:FILE] [/quiet]\n"
           "  olvex /clean ID... | all    [/details] [/csv] [/log:FILE] [/quiet]\n"
           "\n"
           "  /list      The categories of this system: id, the caption the window shows,\n"
           "             and whether it can be cleaned here (and if not, why).\n"
           "  /preview   Deletes nothing. Reports what a clean would delete, by the same\n"
           "             rules, and what would stay and why.\n"
           "  /clean     Cleans, and reports what went, what stayed and why, what was\n"
           "             registered for deletion at restart, and the bytes freed on the\n"
           "             system drive.\n"
           "  all        Every category that can be cleaned here, except the saved\n"
           "             passwords (firefox-passwords, opera-passwords): name those.\n"
           "  /details   Every path, not only the totals of each category, and every\n"
           "             folder that is not there.\n"
           "  /csv       The report as CSV: category,action,path,items,bytes,reason.\n"
           "  /log:FILE  Appends one line per item, and per step not there, refused or\n"
           "             failed, to FILE, as CSV in UTF-8 with a byte-order\n"
           "             mark: time,category,action,path,bytes,reason.\n"
           "  /quiet     Prints nothing but errors.\n"
           "  /?         This help.\n"
           "\n"
           "Options may start with / or -, and case does not matter. In a console window\n"
           "names show in its own characters; output redirected to a file or a pipe is\n"
           "UTF-8. A progress line goes to standard error when it is a console window.\n"
           "\n"
           "Exit codes:\n"
           "  0  every selected category done, nothing left\n"
           "  1  done, but some items stayed or were registered for deletion at restart,\n"
           "     or a step was refused (a link on a folder's path) or failed\n"
           "  2  bad usage: an unknown id or option; nothing was deleted\n"
           "  3  not possible here: an unsupported system, a category not available here,\n"
           "     or one only administrators may clean; nothing was deleted\n";
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

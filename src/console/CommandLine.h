#pragma once
// The console program's command line: what it is asked to do, read the way Windows programs
// read theirs.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace olvex {

enum class Command { Help, List, Preview, Clean, Summary };

struct ConsoleRequest {
    Command command = Command::Help;
    // The help was not asked for: no command was given (a scheduled task that lost its
    // arguments must not look successful).
    bool helpForLackOfCommand = false;
    std::vector<std::string> ids;       // as given, in lower case; "all" stands for itself
    bool details = false;               // every path, not only the totals
    bool csv = false;                   // the report as CSV
    bool quiet = false;                 // nothing but errors
    bool strict = false;                // a named category that cannot run here stops the run
    std::string logFile;                // "" for no log
    uint32_t olderThanDays = 0;         // 0: files of any age
    std::vector<std::string> excluded;  // full paths, as given
    std::vector<std::string> keptCookies;  // /keepcookies values, as given
    std::string summaryFolder;          // the folder of logs /summary reads
    std::string htmlFile;               // "" for no page
    uint32_t staleDays = 14;            // a computer whose last clean is older is stale
};

// The request, or the message of a usage error. Options start with / or -, and neither their
// case nor the ids' matters. No command at all asks for the help.
struct ParsedRequest {
    std::optional<ConsoleRequest> request;
    std::string error;
};
ParsedRequest ParseArguments(const std::vector<std::string>& arguments);

// The text of /?.
std::string HelpText();

// Every switch as /? spells it, value and all ("/log:FILE"), one entry per name ("/?", "/h",
// "/help"), in the order of the table the parser reads and /? is written from.
std::vector<std::string> SwitchSpellings();

// The arguments of a command line as Windows programs split it: blanks separate, double
// quotes group, backslashes before a quote escape it. The program's own name, first, is left
// out.
std::vector<std::string> SplitCommandLine(const std::string& line);

}  // namespace olvex

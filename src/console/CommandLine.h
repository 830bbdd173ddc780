#pragma once
// The console program's command line: what it is asked to do, read the way Windows programs
// read theirs.
#include <optional>
#include <string>
#include <vector>

namespace olvex {

enum class Command { Help, List, Preview, Clean };

struct ConsoleRequest {
    Command command = Command::Help;
    std::vector<std::string> ids;  // as given, in lower case; "all" stands for itself
    bool details = false;          // every path, not only the totals
    bool csv = false;              // the report as CSV
    bool quiet = false;            // nothing but errors
    std::string logFile;           // "" for no log
};

// The request, or the message of a usage error. Options start with / or -, and neither their
// case nor the ids' matters. No argument at all asks for the help.
struct ParsedRequest {
    std::optional<ConsoleRequest> request;
    std::string error;
};
ParsedRequest ParseArguments(const std::vector<std::string>& arguments);

// The text of /?.
std::string HelpText();

}  // namespace olvex

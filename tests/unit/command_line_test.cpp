// The console program's command line: what each switch sets, why a command line is refused,
// and that /? and the README name the switches the parser reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>
#include <tuple>

#include "console/CommandLine.h"

namespace {

using namespace olvex;

auto Fields(const ConsoleRequest& r) {
    return std::make_tuple(static_cast<int>(r.command), r.helpForLackOfCommand, r.ids, r.details,
                           r.csv, r.quiet, r.strict, r.logFile, r.olderThanDays, r.excluded,
                           r.summaryFolder, r.htmlFile, r.staleDays);
}

TEST(CommandLine, EachSwitchSetsWhatItNames) {
    struct Case {
        const char* rule;
        std::vector<std::string> arguments;
        std::function<void(ConsoleRequest&)> expected;  // applied to a default request
    };
    const std::vector<Case> cases = {
        {"no command asks for the help, as a mistake",
         {"", "/details"},
         [](ConsoleRequest& r) { r.helpForLackOfCommand = r.details = true; }},
        {"every name of the help asks for it", {"/?", "-H", "/Help"}, [](ConsoleRequest&) {}},
        {"either prefix, any case; ids in lower case",
         {"-CLEAN", "Windows-Temp", "ALL"},
         [](ConsoleRequest& r) {
             r.command = Command::Clean;
             r.ids = {"windows-temp", "all"};
         }},
        {"flags, and values as given",
         {"/preview", "x", "/CSV", "/quiet", "/Strict", "/LOG:C:\\A.csv"},
         [](ConsoleRequest& r) {
             r.command = Command::Preview;
             r.ids = {"x"};
             r.csv = r.quiet = r.strict = true;
             r.logFile = "C:\\A.csv";
         }},
        {"days, and full paths, repeatable",
         {"/clean", "x", "/olderthan:07", "/exclude:c:/a", "-EXCLUDE:\\\\s\\Share"},
         [](ConsoleRequest& r) {
             r.command = Command::Clean;
             r.ids = {"x"};
             r.olderThanDays = 7;
             r.excluded = {"c:/a", "\\\\s\\Share"};
         }},
        {"the summary's folder, page and days",
         {"/SUMMARY:\\\\s\\Logs", "/html:F.htm", "/stale:36500"},
         [](ConsoleRequest& r) {
             r.command = Command::Summary;
             r.summaryFolder = "\\\\s\\Logs";
             r.htmlFile = "F.htm";
             r.staleDays = 36500;
         }},
        {"the same command twice",
         {"/list", "/LIST", "/details"},
         [](ConsoleRequest& r) {
             r.command = Command::List;
             r.details = true;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const ParsedRequest parsed = ParseArguments(c.arguments);
        ASSERT_TRUE(parsed.request) << parsed.error;
        ConsoleRequest expected;
        c.expected(expected);
        EXPECT_EQ(Fields(*parsed.request), Fields(expected));
    }
}

TEST(CommandLine, RefusesWithWhy) {
    const std::string days = " takes a number of days from 1 to 36500.";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"/list", "/bogus"}, "Unknown option /bogus."},
        {{"/list", "/csv:1"}, "Unknown option /csv:1."},  // a flag takes no value
        {{"/list", "/log:"}, "Unknown option /log:."},    // nor a value switch none
        {{"/clean", "x", "/olderthan:0"}, "/olderthan" + days},
        {{"/clean", "x", "/olderthan:36501"}, "/olderthan" + days},
        {{"/summary:l", "/stale:7x"}, "/stale" + days},
        {{"/clean", "x", "/exclude:temp"},
         "/exclude takes a full path (C:\\... or \\\\server\\share\\...), not temp."},
        {{"/preview", "/clean", "x"}, "Give one of /list, /preview, /clean and /summary, once."},
        {{"/list", "/?"}, "Give one of /list, /preview, /clean and /summary, once."},
        {{"windows-temp"}, "Say what to do with windows-temp: /preview or /clean."},
        {{"/clean"}, "Name the categories to work on, or all (olvex /list shows them)."},
        {{"/list", "cookies"}, "/list and /summary take no categories."},
        {{"/summary:l", "/strict"}, "/olderthan, /exclude and /strict go with /preview or /clean."},
        {{"/html:p"}, "/html goes with /summary."},
        {{"/clean", "x", "/stale:3", "/html:p"}, "/html goes with /summary."},
        {{"/list", "/stale:3"}, "/stale goes with /summary."},
    };
    for (const auto& [arguments, why] : cases) {
        SCOPED_TRACE(arguments.back());
        const ParsedRequest parsed = ParseArguments(arguments);
        EXPECT_FALSE(parsed.request);
        EXPECT_EQ(parsed.error, why);
    }
}

// Each switch stands in /? as a word of its own: "/h" in "/?, /h, /help", not in "/html".
TEST(CommandLine, HelpNamesEverySwitch) {
    const std::string help = HelpText();
    for (const std::string& spelling : SwitchSpellings()) {
        const std::string escaped = std::regex_replace(spelling, std::regex(R"([?.\\])"), "\\$&");
        EXPECT_TRUE(std::regex_search(help, std::regex("[ \\[]" + escaped + "[ \\],\n]")))
            << spelling;
    }
}

#ifdef OLVEX_README
// The README's table of switches: every backquoted word in the first column of the table whose
// header starts with "| switch |".
std::vector<std::string> ReadmeSwitches(std::istream& readme) {
    std::vector<std::string> switches;
    bool inTable = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("| switch |", 0) == 0) inTable = true;
        if (!inTable) continue;
        if (line.empty() || line[0] != '|') break;
        const std::string firstCell = line.substr(1, line.find('|', 1) - 1);
        const std::regex quoted("`([^`]+)`");
        for (std::sregex_iterator at(firstCell.begin(), firstCell.end(), quoted), end; at != end;
             ++at)
            switches.push_back((*at)[1]);
    }
    return switches;
}

TEST(CommandLine, TheReadmeListsEverySwitchAndNoOther) {
    std::ifstream readme(OLVEX_README);
    ASSERT_TRUE(readme) << OLVEX_README;
    std::vector<std::string> listed = ReadmeSwitches(readme);
    std::vector<std::string> read = SwitchSpellings();
    std::sort(listed.begin(), listed.end());
    std::sort(read.begin(), read.end());
    EXPECT_EQ(listed, read);
}
#endif

}  // namespace

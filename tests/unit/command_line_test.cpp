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
using R = ConsoleRequest;

auto Fields(const R& r) {
    return std::make_tuple(static_cast<int>(r.command), r.helpForLackOfCommand, r.ids, r.details,
                           r.csv, r.quiet, r.strict, r.logFile, r.olderThanDays, r.excluded,
                           r.summaryFolder, r.htmlFile, r.staleDays);
}

TEST(CommandLine, EachSwitchSetsWhatItNames) {
    struct Case {
        const char* rule;
        std::vector<std::string> arguments;
        std::function<void(R&)> expected;  // applied to a default request
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"no command asks for the help, as a mistake", {"", "/details"},
         [](R& r) { r.helpForLackOfCommand = r.details = true; }},
        {"every name of the help asks for it", {"/?", "-H", "/Help"}, [](R&) {}},
        {"either prefix, any case; ids in lower case", {"-CLEAN", "Windows-Temp", "ALL"},
         [](R& r) { r.command = Command::Clean; r.ids = {"windows-temp", "all"}; }},
        {"flags, and values as given", {"/preview", "x", "/CSV", "/quiet", "/Strict", "/LOG:C:\\A"},
         [](R& r) { r.command = Command::Preview; r.ids = {"x"}; r.logFile = "C:\\A";
                    r.csv = r.quiet = r.strict = true; }},
        {"days, and full paths, repeatable",
         {"/clean", "x", "/olderthan:07", "/exclude:c:/a", "-EXCLUDE:\\\\s\\S"},
         [](R& r) { r.command = Command::Clean; r.ids = {"x"}; r.olderThanDays = 7;
                    r.excluded = {"c:/a", "\\\\s\\S"}; }},
        {"the summary's folder, page and days", {"/SUMMARY:\\\\s\\L", "/html:F", "/stale:36500"},
         [](R& r) { r.command = Command::Summary; r.summaryFolder = "\\\\s\\L";
                    r.htmlFile = "F"; r.staleDays = 36500; }},
        {"the same command twice", {"/list", "/LIST", "/details"},
         [](R& r) { r.command = Command::List; r.details = true; }},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const ParsedRequest parsed = ParseArguments(c.arguments);
        ASSERT_TRUE(parsed.request) << parsed.error;
        R expected;
        c.expected(expected);
        EXPECT_EQ(Fields(*parsed.request), Fields(expected));
    }
}

TEST(CommandLine, RefusesWithWhy) {
    const std::string days = " takes a number of days from 1 to 36500.";
    const std::string oneCommand = "Give one of /list, /preview, /clean and /summary, once.";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"/list", "/bogus"}, "Unknown option /bogus."},
        {{"/list", "/csv:1"}, "Unknown option /csv:1."},  // a flag takes no value
        {{"/list", "/log:"}, "Unknown option /log:."},    // nor a value switch none
        {{"/clean", "x", "/olderthan:0"}, "/olderthan" + days},
        {{"/clean", "x", "/olderthan:36501"}, "/olderthan" + days},
        {{"/summary:l", "/stale:7x"}, "/stale" + days},
        {{"/clean", "x", "/exclude:temp"},
         "/exclude takes a full path (C:\\... or \\\\server\\share\\...), not temp."},
        {{"/preview", "/clean", "x"}, oneCommand},
        {{"/list", "/?"}, oneCommand},
        {{"windows-temp"}, "Say what to do with windows-temp: /preview or /clean."},
        {{"/clean"}, "Name the categories to work on, or all (olvex /list shows them)."},
        {{"/list", "cookies"}, "/list and /summary take no categories."},
        {{"/summary:l", "/strict"}, "/olderthan, /exclude, /keepcookies and /strict go with /preview or /clean."},
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
// The README's list: the backquoted words of the first cell of each table row that starts
// with a switch.
TEST(CommandLine, TheReadmeListsEverySwitchAndNoOther) {
    std::ifstream readme(OLVEX_README);
    ASSERT_TRUE(readme) << OLVEX_README;
    std::vector<std::string> listed;
    const std::regex quoted("`([^`]+)`");
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("| `/", 0) != 0) continue;
        const std::string cell = line.substr(1, line.find('|', 1) - 1);
        for (std::sregex_iterator at(cell.begin(), cell.end(), quoted), end; at != end; ++at)
            listed.push_back((*at)[1]);
    }
    std::vector<std::string> read = SwitchSpellings();
    std::sort(listed.begin(), listed.end());
    std::sort(read.begin(), read.end());
    EXPECT_EQ(listed, read);
}
#endif

}  // namespace

#include "console/CategoryList.h"

#include <map>

#include "console/Csv.h"
#include "console/ConsoleText.h"
#include "system/CleaningContext.h"
#include "guard/PreviewChanges.h"

namespace olvex {

namespace {

// Collects where each category looks: the folders its steps open, and those not there. It
// asks the steps to stop once they have looked.
class LookSink : public CleaningSink {
  public:
    struct Folder {
        std::string path;
        bool present;
    };
    bool LooksOnly() const override { return true; }
    void Begin(const char* id) override { folders[id]; current = id; }
    void Looked(const std::string& path) override { folders[current].push_back({path, true}); }
    void Problem(const StepProblem& problem) override {
        if (problem.outcome == StepOutcome::NotThere && !problem.path.empty())
            folders[current].push_back({problem.path, false});
    }
    std::map<std::string, std::vector<Folder>> folders;
    std::string current;
};

}  // namespace

void PrintCategoryList(Services& services, platform::Console& console,
                       const ConsoleRequest& request, Family family,
                       const std::vector<ConsoleCategory>& categories) {
    if (request.quiet) return;
    LookSink looks;
    if (request.details) {
        // A preview's run that stops at every step's folders: nothing is listed, let alone
        // changed.
        PreviewChanges checks(services.urlCache);
        PlainPurgeList purgeList;
        std::vector<const Category*> available;
        for (const ConsoleCategory& c : categories)
            if (c.unavailable.empty()) available.push_back(c.category);
        RuleRun run{services, checks, family, 0, purgeList, looks, {}, {}};
        platform::SkipOnFailure([&] { run.context = DeriveCleaningContext(services.system); });
        RunSelected(run, available, [](const Category&) { return true; });
    }
    std::string text;
    if (request.csv)
        text = request.details ? "id,caption,available,reason,folder,state\n"
                               : "id,caption,available,reason\n";
    for (const ConsoleCategory& c : categories) {
        const bool available = c.unavailable.empty();
        const std::vector<LookSink::Folder>& folders = looks.folders[c.id];
        if (request.csv) {
            const std::string row = CsvField(c.id) + "," + CsvField(c.caption) + "," +
                                    (available ? "yes" : "no") + "," + CsvField(c.unavailable);
            if (!request.details || folders.empty()) text += row + (request.details ? ",,\n" : "\n");
            if (request.details)
                for (const LookSink::Folder& f : folders)
                    text += row + "," + CsvField(f.path) + "," +
                            (f.present ? "present" : "missing") + "\n";
            continue;
        }
        std::string line = c.id;
        line.resize(22, ' ');
        line += c.caption;
        line.resize(50, ' ');
        text += line + (available ? "available" : "not available: " + c.unavailable) + "\n";
        if (!request.details || !available) continue;
        if (folders.empty()) text += "    no folder of its own: the system empties it\n";
        for (const LookSink::Folder& f : folders)
            text += std::string(f.present ? "    present  " : "    missing  ") + f.path + "\n";
    }
    console.Write(platform::Stream::Out, WindowsLines(text));
}

}  // namespace olvex

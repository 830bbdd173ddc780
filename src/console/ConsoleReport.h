#pragma once
// What the console program tells of a run: per category, what went, what stayed and why,
// what was registered for restart; every item with /details; one total over all categories; a
// CSV line per item in the log; and a progress line on a console. Everything is written as it
// happens: nothing of the items is kept but their totals.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "console/CommandLine.h"
#include "console/ConsoleCategories.h"
#include "console/RunLog.h"
#include "platform/Console.h"
#include "guard/CleaningSink.h"
#include "guard/RunFilter.h"

namespace olvex {

class ConsoleReport : public CleaningSink {
  public:
    // log and filter may be nullptr. A preview speaks of what would happen.
    ConsoleReport(platform::Console& console, const ConsoleRequest& request,
                  const std::vector<ConsoleCategory>& categories, RunLog* log,
                  const RunFilter* filter);

    void Begin(const char* id) override;
    void End(const char* id) override;
    bool WantsPaths() const override;
    void Item(const CleanedItem& item) override;
    void Counted(uint64_t items, uint64_t bytes) override;
    void Uncounted() override;
    void Problem(const StepProblem& problem) override;

    // A category named that does not run here, and why.
    void Skipped(const std::string& id, const std::string& why);
    // The total over every category; after a clean, the bytes freed on the system drive.
    void Total();
    void Freed(const std::string& drive, int64_t bytes);
    // Whether anything stayed (but by design or by the user's choice), was registered for
    // restart, or a step was refused or failed.
    bool LeftSome() const { return leftSome_; }

    // The run's figures, as its last log line tells them.
    struct RunFigures {
        uint64_t files = 0, folders = 0, bytes = 0;
        uint64_t left = 0;  // items that stayed behind or were registered for restart
        std::set<std::string> failed;  // categories with a step refused or failed
    };
    const RunFigures& Figures() const { return figures_; }

  private:
    struct Totals {
        uint64_t files = 0, fileBytes = 0, folders = 0;
        uint64_t registered = 0, registeredBytes = 0;
        uint64_t purged = 0;
        std::map<std::string, uint64_t> stayed;  // by reason
        bool counted = false, uncounted = false;
        uint64_t countedItems = 0, countedBytes = 0;
        uint64_t notThere = 0, troubles = 0;  // steps not there; refused or failed
        void Add(const Totals& other);
    };

    static bool DeletedSomething(const Totals& t);
    std::string Word(ItemAction action) const;
    void Out(const std::string& text);
    void Row(const std::string& action, const std::string& path, const std::string& items,
             const std::string& bytes, const std::string& reason, const char* kind = "item");
    void Log(const std::string& action, const std::string& path, const std::string& bytes,
             const std::string& reason);
    void PrintTotals(const Totals& t, const std::string& indent);
    void Progress();
    void ClearProgress();

    platform::Console& console_;
    ConsoleRequest request_;
    std::vector<ConsoleCategory> categories_;
    RunLog* log_;
    const RunFilter* filter_;
    bool progress_ = false;
    bool progressShown_ = false;
    uint64_t lastProgress_ = 0;
    uint64_t itemsSoFar_ = 0;
    std::string id_;
    Totals totals_;
    Totals all_;
    RunFigures figures_;
    bool leftSome_ = false;
};

}  // namespace olvex

#pragma once
// What the console program tells of a run: per category, what went, what stayed and why,
// what was registered for restart; every item with /details; one total over all categories; a
// CSV line per item in the log; and a progress line on a console. Everything is written as it
// happens: nothing of the items is kept but their totals. This sink counts and decides what is
// told; the report's writer (text or CSV), the log and the progress line write it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "console/CommandLine.h"
#include "console/ConsoleCategories.h"
#include "console/ProgressLine.h"
#include "console/ReportTotals.h"
#include "console/ReportWriter.h"
#include "console/RunLog.h"
#include "guard/CleaningSink.h"
#include "guard/RunFilter.h"
#include "platform/Console.h"

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
    // restart, or a step was refused or failed: the run's exit code tells it.
    bool LeftSome() const { return leftSome_; }
    const RunFigures& Figures() const { return figures_; }

  private:
    void Count(const CleanedItem& item);
    void Log(const std::string& id, const std::string& action, const std::string& path,
             const std::string& bytes, const std::string& reason);

    platform::Console& console_;
    ConsoleRequest request_;
    std::vector<ConsoleCategory> categories_;
    RunLog* log_;
    const RunFilter* filter_;
    ProgressLine progress_;
    ReportOutput out_;
    std::unique_ptr<ReportWriter> writer_;
    uint64_t itemsSoFar_ = 0;
    std::string id_;
    ReportTotals totals_;
    ReportTotals all_;
    RunFigures figures_;
    bool leftSome_ = false;
};

}  // namespace olvex

#pragma once
// What the console program tells of a run: per category, what went, what stayed and why,
// what was registered for restart; every item with /details; a CSV line per item in the log;
// and a progress line on a console. Everything is written as it happens: nothing of a
// category's items is kept but their totals.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "console/CommandLine.h"
#include "console/ConsoleCategories.h"
#include "platform/Console.h"
#include "system/CleaningSink.h"

namespace olvex {

class ConsoleReport : public CleaningSink {
  public:
    // log may be nullptr. A preview speaks of what would happen.
    ConsoleReport(platform::Console& console, const ConsoleRequest& request,
                  const std::vector<ConsoleCategory>& categories,
                  std::unique_ptr<platform::AppendFile> log);

    void Begin(const char* id) override;
    void End(const char* id) override;
    bool WantsPaths() const override;
    void Item(const CleanedItem& item) override;
    void Counted(uint64_t items, uint64_t bytes) override;
    void Uncounted() override;
    void Problem(const StepProblem& problem) override;

    // The bytes freed on the system drive, after a clean.
    void Freed(const std::string& drive, int64_t bytes);
    // Whether anything stayed (but by design), was registered for restart, or a step was
    // refused or failed.
    bool LeftSome() const { return leftSome_; }
    // Whether every line of the log was written.
    bool LogWritten() const { return logOk_; }

  private:
    struct Totals {
        uint64_t files = 0, fileBytes = 0, folders = 0;
        uint64_t registered = 0, registeredBytes = 0;
        uint64_t purged = 0;
        std::map<std::string, uint64_t> stayed;  // by reason
        bool counted = false, uncounted = false;
        uint64_t countedItems = 0, countedBytes = 0;
        uint64_t notThere = 0, troubles = 0;  // steps not there; refused or failed
    };

    static bool DeletedSomething(const Totals& t);
    std::string Word(ItemAction action) const;
    void Out(const std::string& text);
    void Row(const std::string& action, const std::string& path, const std::string& items,
             const std::string& bytes, const std::string& reason);
    void Log(const std::string& action, const std::string& path, const std::string& bytes,
             const std::string& reason);
    void Progress();
    void ClearProgress();

    platform::Console& console_;
    ConsoleRequest request_;
    std::vector<ConsoleCategory> categories_;
    std::unique_ptr<platform::AppendFile> log_;
    bool logOk_ = true;
    bool progress_ = false;
    bool progressShown_ = false;
    uint64_t lastProgress_ = 0;
    uint64_t itemsSoFar_ = 0;
    std::string id_;
    Totals totals_;
    bool leftSome_ = false;
};

// A field of a CSV line: quoted when it holds a comma, a quote or a line break. A field that a
// spreadsheet would take for a formula (=, +, -, @ first) gets a ' before it.
std::string CsvField(const std::string& text);

}  // namespace olvex

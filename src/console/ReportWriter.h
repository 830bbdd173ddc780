#pragma once
// How a run's report is written on standard output: as text for a person (TextReport) or as
// CSV rows for a script (CsvReport). ConsoleReport counts and decides what is said; a writer
// only says it.
#include <cstdint>
#include <memory>
#include <string>

#include "console/CommandLine.h"
#include "console/ProgressLine.h"
#include "console/ReportTotals.h"
#include "guard/CleaningSink.h"
#include "platform/Console.h"

namespace olvex {

// Standard output as a report writes it: nothing when the run is quiet, the progress line
// wiped before each write, lines ended as Windows ends them.
class ReportOutput {
  public:
    ReportOutput(platform::Console& console, bool quiet, ProgressLine& progress)
        : console_(console), quiet_(quiet), progress_(progress) {}
    void Write(const std::string& text);
    platform::Console& Console() const { return console_; }
    bool Quiet() const { return quiet_; }

  private:
    platform::Console& console_;
    bool quiet_;
    ProgressLine& progress_;
};

class ReportWriter {
  public:
    virtual ~ReportWriter() = default;
    virtual void CategoryStarts(const std::string& id, const std::string& caption) = 0;
    // With /details only: an item, and a step whose folder is not there.
    virtual void Item(const std::string& id, const std::string& word,
                      const CleanedItem& item) = 0;
    virtual void NotThere(const std::string& id, const std::string& word,
                          const std::string& path, const std::string& why) = 0;
    // A step refused or failed.
    virtual void Trouble(const std::string& id, const std::string& word, const std::string& path,
                         const std::string& why) = 0;
    // A category named that does not run here.
    virtual void Skipped(const std::string& id, const std::string& why) = 0;
    virtual void CategoryTotals(const std::string& id, const ReportTotals& totals) = 0;
    virtual void RunTotals(const ReportTotals& totals) = 0;
    virtual void Freed(const std::string& drive, int64_t bytes) = 0;
};

// The writer the request asks for: CSV with /csv, text otherwise.
std::unique_ptr<ReportWriter> MakeReportWriter(ReportOutput& out, const ConsoleRequest& request);

}  // namespace olvex

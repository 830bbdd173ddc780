#pragma once
// The report as CSV rows, one per item (with /details), per problem, per category total and
// for the run's totals: category,action,path,items,bytes,reason,kind.
#include "console/ReportWriter.h"

namespace olvex {

class CsvReport final : public ReportWriter {
  public:
    // Writes the header row (and, into a file, the byte-order mark) unless the run is quiet.
    CsvReport(ReportOutput& out, bool preview);
    void CategoryStarts(const std::string&, const std::string&) override {}
    void Item(const std::string& id, const std::string& word, const CleanedItem& item) override;
    void NotThere(const std::string& id, const std::string& word, const std::string& path,
                  const std::string& why) override;
    void Trouble(const std::string& id, const std::string& word, const std::string& path,
                 const std::string& why) override;
    void Skipped(const std::string& id, const std::string& why) override;
    void CategoryTotals(const std::string& id, const ReportTotals& totals) override;
    void RunTotals(const ReportTotals& totals) override { CategoryTotals("", totals); }
    void Freed(const std::string& drive, int64_t bytes) override;

  private:
    void Row(const std::string& id, const std::string& action, const std::string& path,
             const std::string& items, const std::string& bytes, const std::string& reason,
             const char* kind = "item");
    std::string Word(ItemAction action) const { return ActionWord(action, preview_); }

    ReportOutput& out_;
    bool preview_;
};

}  // namespace olvex

#pragma once
// The report as a person reads it: a heading per category, its totals indented below it,
// and with /details every item on a line of its own.
#include "console/ReportWriter.h"

namespace olvex {

class TextReport final : public ReportWriter {
  public:
    TextReport(ReportOutput& out, bool preview) : out_(out), preview_(preview) {}
    void CategoryStarts(const std::string& id, const std::string& caption) override;
    void Item(const std::string& id, const std::string& word, const CleanedItem& item) override;
    void NotThere(const std::string& id, const std::string& word, const std::string& path,
                  const std::string& why) override;
    void Trouble(const std::string& id, const std::string& word, const std::string& path,
                 const std::string& why) override;
    void Skipped(const std::string& id, const std::string& why) override;
    void CategoryTotals(const std::string& id, const ReportTotals& totals) override;
    void RunTotals(const ReportTotals& totals) override;
    void Freed(const std::string& drive, int64_t bytes) override;

  private:
    void Totals(const ReportTotals& t, const std::string& indent);
    std::string Word(ItemAction action) const { return ActionWord(action, preview_); }

    ReportOutput& out_;
    bool preview_;
};

}  // namespace olvex

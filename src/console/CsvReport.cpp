#include "console/CsvReport.h"

#include "console/Csv.h"

namespace olvex {

namespace {
const char* const kBom = "\xEF\xBB\xBF";
}  // namespace

CsvReport::CsvReport(ReportOutput& out, bool preview) : out_(out), preview_(preview) {
    if (out_.Quiet()) return;
    // A file of CSV says it is UTF-8, as the log does, for the spreadsheets that ask.
    if (out_.Console().IsFile(platform::Stream::Out))
        out_.Console().Write(platform::Stream::Out, kBom);
    out_.Write("category,action,path,items,bytes,reason,kind\n");
}

void CsvReport::Row(const std::string& id, const std::string& action, const std::string& path,
                    const std::string& items, const std::string& bytes,
                    const std::string& reason, const char* kind) {
    out_.Write(CsvField(id) + "," + CsvField(action) + "," + CsvField(path) + "," + items + "," +
               bytes + "," + CsvField(reason) + "," + kind + "\n");
}

void CsvReport::Item(const std::string& id, const std::string& word, const CleanedItem& item) {
    const bool rows = item.action == ItemAction::Cleared || item.action == ItemAction::Kept;
    Row(id, word, item.path, rows ? std::to_string(item.rows) : "1",
        item.folder ? "" : std::to_string(item.bytes),
        item.action == ItemAction::Kept ? item.keptHost : item.reason);
}

void CsvReport::NotThere(const std::string& id, const std::string& word, const std::string& path,
                         const std::string& why) {
    Row(id, word, path, "", "", why);
}

void CsvReport::Trouble(const std::string& id, const std::string& word, const std::string& path,
                        const std::string& why) {
    Row(id, word, path, "", "", why);
}

void CsvReport::Skipped(const std::string& id, const std::string& why) {
    Row(id, "skipped", "", "", "", why);
}

void CsvReport::CategoryTotals(const std::string& id, const ReportTotals& t) {
    const std::string none;
    const char* total = "total";
    if (t.DeletedSomething())
        Row(id, Word(ItemAction::Deleted), none, std::to_string(t.files),
            std::to_string(t.fileBytes), none, total);
    if (t.folders)
        Row(id, Word(ItemAction::Removed), none, std::to_string(t.folders), "", none, total);
    if (t.cleared)
        Row(id, Word(ItemAction::Cleared), none, std::to_string(t.clearedRows),
            std::to_string(t.clearedBytes), none, total);
    if (t.purged)
        Row(id, Word(ItemAction::Purged), none, std::to_string(t.purged), "", none, total);
    if (t.counted)
        Row(id, "counted", none, std::to_string(t.countedItems), std::to_string(t.countedBytes),
            none, total);
    if (t.uncounted) Row(id, "uncounted", none, "", "", none, total);
    if (t.registered)
        Row(id, Word(ItemAction::Registered), none, std::to_string(t.registered),
            std::to_string(t.registeredBytes), none, total);
    for (const auto& [why, n] : t.stayed)
        Row(id, Word(ItemAction::Stayed), none, std::to_string(n), "", why, total);
    for (const auto& [host, n] : t.keptCookies)
        Row(id, Word(ItemAction::Kept), none, std::to_string(n), "", host, total);
}

void CsvReport::Freed(const std::string& drive, int64_t bytes) {
    Row("", "freed", drive, "", std::to_string(bytes), "", "total");
}

}  // namespace olvex

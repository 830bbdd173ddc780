#include "console/TextReport.h"

namespace olvex {

void TextReport::CategoryStarts(const std::string& id, const std::string& caption) {
    out_.Write(id + "  (" + caption + ")\n");
}

void TextReport::Item(const std::string&, const std::string& word, const CleanedItem& item) {
    std::string line = "    " + word + "  " + item.path;
    if (!item.folder && item.action != ItemAction::Purged && item.action != ItemAction::Kept)
        line += "  " + std::to_string(item.bytes) + " bytes";
    const std::string rows = RowsOf(item);
    if (!rows.empty()) line += "  (" + rows + ")";
    if (*item.reason) line += "  (" + std::string(item.reason) + ")";
    out_.Write(line + "\n");
}

void TextReport::NotThere(const std::string&, const std::string& word, const std::string& path,
                          const std::string& why) {
    out_.Write("    " + word + "  " + path + (why.empty() ? "" : "  (" + why + ")") + "\n");
}

void TextReport::Trouble(const std::string&, const std::string& word, const std::string& path,
                         const std::string& why) {
    const std::string where = path.empty() ? "" : path + ": ";
    out_.Write("  " + word + ": " + where + why + "\n");
}

void TextReport::Skipped(const std::string& id, const std::string& why) {
    out_.Write(id + "  skipped: " + why + "\n");
}

void TextReport::CategoryTotals(const std::string&, const ReportTotals& totals) {
    Totals(totals, "  ");
}

void TextReport::RunTotals(const ReportTotals& totals) {
    out_.Write("Total over all categories\n");
    Totals(totals, "  ");
}

void TextReport::Totals(const ReportTotals& t, const std::string& indent) {
    if (t.counted)
        out_.Write(indent + "holds " + Count(t.countedItems, "item", "items") + ", " +
                   Count(t.countedBytes, "byte", "bytes") + ", as the shell counts them\n");
    if (t.uncounted) out_.Write(indent + "the system tells no count of what it holds\n");
    if (t.purged)
        out_.Write(indent + Word(ItemAction::Purged) + ": " +
                   Count(t.purged, "cache entry", "cache entries") + "\n");
    if (t.cleared)
        out_.Write(indent + Word(ItemAction::Cleared) + ": " +
                   Count(t.clearedRows, "row", "rows") + " in " +
                   Count(t.cleared, "database", "databases") + ", " +
                   Count(t.clearedBytes, "byte", "bytes") + "\n");
    if (!t.keptCookies.empty()) {
        std::string line = indent + Word(ItemAction::Kept) + ":";
        const char* separator = " ";
        for (const auto& [host, n] : t.keptCookies) {
            line += separator + Count(n, "cookie", "cookies") + " of " + host;
            separator = ", ";
        }
        out_.Write(line + "\n");
    }
    if (t.DeletedSomething())
        out_.Write(indent + Word(ItemAction::Deleted) + ": " + Count(t.files, "file", "files") +
                   " and " + Count(t.folders, "folder", "folders") + ", " +
                   Count(t.fileBytes, "byte", "bytes") + "\n");
    if (t.registered)
        out_.Write(indent + (preview_ ? "would be registered" : "registered") +
                   " for deletion at restart: " + Count(t.registered, "file", "files") + ", " +
                   Count(t.registeredBytes, "byte", "bytes") + "\n");
    if (!t.stayed.empty()) {
        std::string line = indent + Word(ItemAction::Stayed) + ":";
        const char* separator = " ";
        for (const auto& [why, n] : t.stayed) {
            line += separator + std::to_string(n) + " " + why;
            separator = ", ";
        }
        out_.Write(line + "\n");
    }
}

void TextReport::Freed(const std::string& drive, int64_t bytes) {
    out_.Write("Freed on " + drive + ": " + std::to_string(bytes) + " bytes\n");
}

}  // namespace olvex

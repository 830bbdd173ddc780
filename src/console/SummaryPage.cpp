#include "console/SummaryPage.h"

#include <cstring>

#include "console/OwnFilePlace.h"

namespace olvex {

namespace {

constexpr int kBarWidth = 240;
constexpr int kBarHeight = 14;

const char* const kHead =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<title>Olvex Cleaner: the fleet's last runs</title>\n<style>\n"
    "body { font: 14px sans-serif; margin: 24px; color: #1a202c; background: #fff; }\n"
    "table { border-collapse: collapse; }\n"
    "th, td { padding: 4px 10px; border-bottom: 1px solid #cbd5e0; text-align: left; }\n"
    "td.number { text-align: right; }\n"
    "tr.total td { font-weight: bold; border-top: 2px solid #1a202c; }\n"
    ".failed { color: #c53030; }\n"
    "</style>\n</head>\n<body>\n";

// The bar of a computer: its bytes against the computer that deleted most.
std::string Bar(uint64_t bytes, uint64_t largest) {
    int width = largest ? static_cast<int>(bytes * kBarWidth / largest) : 0;
    if (bytes && width == 0) width = 1;
    return "<svg width=\"" + std::to_string(kBarWidth) + "\" height=\"" +
           std::to_string(kBarHeight) + "\" role=\"img\" aria-label=\"" + std::to_string(bytes) +
           " bytes\"><rect x=\"0\" y=\"0\" width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(kBarHeight) + "\" fill=\"#2b6cb0\"/></svg>";
}

std::string Cell(const std::string& text, const char* cls = nullptr) {
    return std::string("<td") + (cls ? std::string(" class=\"") + cls + "\"" : "") + ">" +
           HtmlText(text) + "</td>";
}

// A size as a person reads it, the exact bytes where the pointer rests.
std::string SizeCell(uint64_t bytes, const std::string& before = "") {
    return "<td class=\"number\" title=\"" + std::to_string(bytes) + " bytes\">" +
           HtmlText(before + SizeText(bytes)) + "</td>";
}

// A computer's row: its last run as it went, its last clean with its bar, and whether stale.
std::string Row(const ComputerRow& row, const SummaryView& view) {
    const Run& last = row.last;
    const Run* clean = row.Clean();
    const bool stale = IsStale(row, view.now, view.staleDays);
    std::string html = stale ? "<tr style=\"background: #fff5f5\">" : "<tr>";
    html += Cell(row.name) + Cell(last.user) + Cell(LogTimeText(last.at));
    switch (last.state) {
        case RunState::Finished:
            html += Cell(last.mode) + Cell(std::to_string(last.exit), "number") +
                    Cell(AgeText(last.at, view.now)) +
                    SizeCell(last.bytes, last.mode == "clean" ? "" : "would delete ");
            break;
        case RunState::Unfinished:
            html += Cell("unfinished: started, no end") + "<td></td>" +
                    Cell(AgeText(last.at, view.now)) + "<td></td>";
            break;
        case RunState::Earlier:
            html += Cell("earlier version: its last line") + "<td></td>" +
                    Cell(AgeText(last.at, view.now)) + "<td></td>";
            break;
    }
    if (clean && clean->state == RunState::Finished) {
        html += Cell(LogTimeText(clean->at) + " (" + AgeText(clean->at, view.now) + ")") +
                SizeCell(clean->bytes) + "<td>" + Bar(clean->bytes, view.totals.largest) + "</td>" +
                Cell(std::to_string(clean->stayed), "number") + Cell(clean->failed, "failed");
    } else {
        html += Cell(clean ? LogTimeText(clean->at) + " (" + AgeText(clean->at, view.now) +
                                 ", earlier version)"
                           : "none") +
                "<td></td><td></td><td></td><td></td>";
    }
    return html + Cell(stale ? "stale" : "", "failed") + "</tr>\n";
}

std::string TotalRow(const SummaryView& view) {
    const FleetTotals& t = view.totals;
    return "<tr class=\"total\">" +
           Cell("the fleet: " + std::to_string(t.computers) +
                (t.computers == 1 ? " computer" : " computers")) +
           "<td></td><td></td>" + Cell(t.ExitsText()) + "<td></td><td></td>" +
           Cell(t.previews ? std::to_string(t.previews) + " last run a preview" : "") +
           "<td></td>" + SizeCell(t.deleted) + "<td></td>" +
           Cell(std::to_string(t.stayed), "number") + Cell(t.FailedText(), "failed") +
           Cell(std::to_string(t.stale) + " stale", "failed") + "</tr>\n";
}

std::string SkippedList(const SummaryView& view) {
    if (view.skipped.empty()) return "";
    std::string html = "<h2>Skipped</h2>\n<ul>\n";
    for (const SkippedItem& item : view.skipped)
        html += "<li>" + HtmlText(item.what) + ": " + HtmlText(item.why) + "</li>\n";
    if (view.skippedUnnamed) html += "<li>" + std::to_string(view.skippedUnnamed) + " more</li>\n";
    return html + "</ul>\n";
}

// Whether a file starts as a page of this program's, which alone may be replaced.
bool IsPageStart(const std::string& head) {
    return head == kHead;
}

}  // namespace

std::string HtmlText(const std::string& text) {
    std::string html;
    html.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            case '\'':
                html += "&#39;";
                break;
            default:
                html += c;
        }
    }
    return html;
}

std::string WriteSummaryPage(Services& services, const std::string& file, const SummaryView& view) {
    OwnFilePlace place = PlaceOf(services.files, file);
    if (!place.folder) return place.why;
    OwnFileOpening opening = OpenOwnFile(place, std::strlen(kHead), IsPageStart);
    if (!opening.file) return opening.why;
    if (!opening.file->Clear()) return "it could not be emptied";
    bool written = opening.file->Append(
        std::string(kHead) + "<h1>The fleet's last runs</h1>\n<p>From the logs in " +
        HtmlText(view.folder) + ", as of " + LogTimeText(view.now) +
        " UTC; ages count from each log's own time. Stale: no clean in the last " +
        std::to_string(view.staleDays) +
        " days.</p>\n<table>\n<tr><th>computer</th>"
        "<th>user</th><th>last run</th><th>run</th><th>exit</th><th>age</th><th>bytes</th>"
        "<th>last clean</th><th>deleted</th><th></th><th>stayed</th><th>failed</th>"
        "<th>stale</th></tr>\n");
    std::string rows;
    for (const auto& [key, row] : view.fleet.Rows()) {
        rows += Row(row, view);
        if (rows.size() > 64 * 1024) {
            written = opening.file->Append(rows) && written;
            rows.clear();
        }
    }
    written = opening.file->Append(rows + TotalRow(view) + "</table>\n" + SkippedList(view) +
                                   "</body>\n</html>\n") &&
              written;
    return written ? "" : "it could not be written whole";
}

}  // namespace olvex

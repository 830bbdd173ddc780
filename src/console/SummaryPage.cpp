#include "console/SummaryPage.h"

#include <cstring>

#include "console/ConsoleText.h"
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
            case '&': html += "&amp;"; break;
            case '<': html += "&lt;"; break;
            case '>': html += "&gt;"; break;
            case '"': html += "&quot;"; break;
            case '\'': html += "&#39;"; break;
            default: html += c;
        }
    }
    return html;
}

std::string WriteSummaryPage(Services& services, const std::string& file, const std::string& folder,
                             const LogWalk& walk, const PageTotals& totals) {
    OwnFilePlace place = PlaceOf(services.files, file);
    if (!place.folder) return place.why;
    OwnFileOpening opening = OpenOwnFile(place, std::strlen(kHead), IsPageStart);
    if (!opening.file) return opening.why;
    if (!opening.file->Clear()) return "it could not be emptied";
    bool written = opening.file->Append(
        std::string(kHead) + "<h1>The fleet's last runs</h1>\n<p>From the logs in " +
        HtmlText(folder) + "</p>\n<table>\n<tr><th>computer</th><th>user</th><th>last run</th>"
        "<th>mode</th><th>exit</th><th>bytes deleted</th><th></th><th>stayed</th>"
        "<th>failed</th></tr>\n");
    std::string skipped;
    walk([&](const std::string& path, const LogRead& read) {
        if (!read.run) {
            skipped += "<li>" + HtmlText(path) + ": " + HtmlText(read.why) + "</li>\n";
            return;
        }
        const LastRun& run = *read.run;
        written = opening.file->Append(
                      "<tr>" + Cell(run.computer) + Cell(run.user) + Cell(run.time) +
                      Cell(run.mode) + Cell(std::to_string(run.exit), "number") +
                      Cell(std::to_string(run.bytes), "number") + "<td>" +
                      Bar(run.bytes, totals.largest) + "</td>" +
                      Cell(std::to_string(run.stayed), "number") +
                      Cell(Joined(run.failed), "failed") + "</tr>\n") &&
                  written;
    });
    written = opening.file->Append(
                  "<tr class=\"total\">" + Cell("the fleet: " + std::to_string(totals.computers) +
                                                (totals.computers == 1 ? " computer" : " computers")) +
                  "<td></td><td></td><td></td>" + Cell(totals.exits) +
                  Cell(std::to_string(totals.bytes), "number") + "<td></td>" +
                  Cell(std::to_string(totals.stayed), "number") + Cell(totals.failed, "failed") +
                  "</tr>\n</table>\n" +
                  (skipped.empty() ? "" : "<h2>Files skipped</h2>\n<ul>\n" + skipped + "</ul>\n") +
                  "</body>\n</html>\n") &&
              written;
    return written ? "" : "it could not be written whole";
}

}  // namespace olvex

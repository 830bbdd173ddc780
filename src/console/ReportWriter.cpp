#include "console/ReportWriter.h"

#include "console/ConsoleText.h"
#include "console/CsvReport.h"
#include "console/TextReport.h"

namespace olvex {

void ReportOutput::Write(const std::string& text) {
    if (quiet_) return;
    progress_.Clear();
    console_.Write(platform::Stream::Out, WindowsLines(text));
}

std::unique_ptr<ReportWriter> MakeReportWriter(ReportOutput& out, const ConsoleRequest& request) {
    const bool preview = request.command == Command::Preview;
    if (request.csv) return std::make_unique<CsvReport>(out, preview);
    return std::make_unique<TextReport>(out, preview);
}

}  // namespace olvex

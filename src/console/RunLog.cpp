#include "console/RunLog.h"

#include <cstring>

#include "console/Csv.h"

namespace olvex {

namespace {

const char* const kBom = "\xEF\xBB\xBF";

// Whether a file starts as a log: the byte-order mark, then the header, or the time of a
// line, as logs of the program's first versions began.
bool IsLogStart(const std::string& head) {
    const std::string bom = kBom;
    if (head.compare(0, bom.size(), bom) != 0) return false;
    const std::string rest = head.substr(bom.size());
    return rest == kLogHeader || (!rest.empty() && rest[0] >= '0' && rest[0] <= '9');
}

}  // namespace

RunLog::RunLog(platform::Console& console, OwnFilePlace place, std::string computer,
               std::string user)
    : console_(console),
      place_(std::move(place)),
      computer_(std::move(computer)),
      user_(std::move(user)) {}

RunLog::Opened RunLog::Open(Services& services, platform::Console& console,
                            const std::string& path, const std::string& computer,
                            const std::string& user) {
    OwnFilePlace place = PlaceOf(services.files, path);
    if (!place.folder) return {nullptr, place.why};
    return {std::unique_ptr<RunLog>(new RunLog(console, std::move(place), computer, user)), ""};
}

void RunLog::Line(const std::string& category, const std::string& action,
                  const std::string& path, const std::string& bytes, const std::string& reason) {
    // Once lines could not be written, the rest are not held either: asking again for each
    // batch would make the run wait for nothing.
    if (!problem_.empty()) return;
    held_ += CsvField(console_.LocalTime()) + "," + CsvField(computer_) + "," + CsvField(user_) +
             "," + CsvField(category) + "," + CsvField(action) + "," + CsvField(path) + "," +
             bytes + "," + CsvField(reason) + "\r\n";
    if (held_.size() >= kBatchBytes) Flush();
}

bool RunLog::Flush() {
    if (!problem_.empty()) return false;
    const uint64_t start = console_.Ticks();
    for (;;) {
        OwnFileOpening opening =
            OpenOwnFile(place_, std::strlen(kBom) + std::strlen(kLogHeader), IsLogStart);
        if (opening.file) {
            std::string bytes;
            if (opening.file->IsEmpty()) bytes = std::string(kBom) + kLogHeader + "\r\n";
            bytes += held_;
            held_.clear();
            if (opening.file->Append(bytes)) return true;
            problem_ = "lines could not be written to it";
            return false;
        }
        if (opening.busy && console_.Ticks() - start < kWaitMs) {
            console_.Pause(kRetryMs);
            continue;
        }
        held_.clear();
        problem_ = opening.why;
        if (opening.busy) problem_ += " (waited " + std::to_string(kWaitMs / 1000) + " seconds)";
        return false;
    }
}

}  // namespace olvex

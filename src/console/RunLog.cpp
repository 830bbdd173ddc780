#include "console/RunLog.h"

#include <cstring>
#include <optional>

#include "console/Csv.h"

namespace olvex {

namespace {

const char* const kBom = "\xEF\xBB\xBF";

// Whether a file starts as a log: the byte-order mark, then the header, or the time of a
// line, as six-column logs begin.
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

RunLog::Opened RunLog::Open(Services& services, platform::Console& console, const std::string& path,
                            const std::string& computer, const std::string& user) {
    OwnFilePlace place = PlaceOf(services.files, path);
    if (!place.folder) return {nullptr, place.why};
    return {std::unique_ptr<RunLog>(new RunLog(console, std::move(place), computer, user)), ""};
}

std::string RunLog::Formatted(const std::string& category, const std::string& action,
                              const std::string& path, const std::string& bytes,
                              const std::string& reason) const {
    return CsvField(console_.LocalTime()) + "," + CsvField(computer_) + "," + CsvField(user_) +
           "," + CsvField(category) + "," + CsvField(action) + "," + CsvField(path) + "," + bytes +
           "," + CsvField(reason) + "\r\n";
}

void RunLog::Line(const std::string& category, const std::string& action, const std::string& path,
                  const std::string& bytes, const std::string& reason) {
    // Once a batch failed the run changes nothing more, and asking the log again for each
    // batch would only make it wait: what it still lists is held, up to a bound, for the
    // run's last flush.
    if (failed_ && held_.size() >= kHeldMost) {
        ++leftOut_;
        return;
    }
    held_ += Formatted(category, action, path, bytes, reason);
    if (!failed_ && held_.size() >= kBatchBytes) Flush();
}

void RunLog::RunLine(const std::string& action, const std::string& bytes,
                     const std::string& reason) {
    held_ += Formatted("", action, "", bytes, reason);
}

bool RunLog::Flush(bool last) {
    if (held_.empty()) return true;
    std::string why;
    if (WriteHeld(!failed_ || last, why)) return true;
    if (!failed_) problem_ = why;
    failed_ = true;
    return false;
}

// One attempt at the held lines, waiting for another writer first when wait says so.
bool RunLog::WriteHeld(bool wait, std::string& why) {
    const uint64_t start = console_.Ticks();
    for (;;) {
        OwnFileOpening opening =
            OpenOwnFile(place_, std::strlen(kBom) + std::strlen(kLogHeader), IsLogStart);
        if (opening.file) return AppendWhole(*opening.file, why);
        if (wait && opening.busy && console_.Ticks() - start < kWaitMs) {
            console_.Pause(kRetryMs);
            continue;
        }
        why = opening.why;
        if (wait && opening.busy) why += " (waited " + std::to_string(kWaitMs / 1000) + " seconds)";
        return false;
    }
}

// The held lines at the end of file, the header first in a new file, on a line of their own.
bool RunLog::AppendWhole(platform::AppendFile& file, std::string& why) {
    const std::optional<uint64_t> size = file.Size();
    if (!size) {
        why = "its size could not be read, so a batch could not be taken back";
        return false;
    }
    std::string bytes;
    if (*size == 0) {
        bytes = std::string(kBom) + kLogHeader + "\r\n";
    } else if (const std::string last = file.Tail(1); !last.empty() && last != "\n") {
        // An earlier run stopped inside a line (its disk filled): this run starts afresh.
        bytes = "\r\n";
    }
    bytes += held_;
    const bool appended = file.Append(bytes);
    if (appended && file.Flush()) {
        held_.clear();
        return true;
    }
    // Whatever part of the batch went out is taken back: the log ends on its last whole line,
    // and the batch is tried again whole.
    file.CutTo(*size);
    why = appended ? "the lines written to it could not be flushed to its disk"
                   : "lines could not be written to it (its disk may be full)";
    return false;
}

}  // namespace olvex

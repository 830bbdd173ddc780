#include "console/LogReader.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "console/Csv.h"
#include "console/RunLog.h"

namespace olvex {

namespace {

constexpr size_t kChunk = 64 * 1024;
const std::string kBom = "\xEF\xBB\xBF";
constexpr int64_t kDaySeconds = 24 * 60 * 60;
// Days from 1601-01-01, where file times start, to 1970-01-01.
constexpr int64_t kDays1601To1970 = 134774;
// Runs of one computer started and not yet ended that a log keeps in mind: two runs on one
// machine at once is already rare, and a start older than these is of a run long over.
constexpr size_t kMostOpen = 4;

// The log's columns, by place; a six-column log has no computer and no user.
enum Column { kTime, kComputer, kUser, kCategory, kAction, kPath, kBytes, kReason, kColumns };
enum EarlierColumn { kEarlierAction = 2, kEarlierBytes = 4, kEarlierColumns = 6 };

bool Digits(const std::string& text, size_t at, size_t count) {
    for (size_t i = at; i < at + count; ++i)
        if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    return true;
}

int Number(const std::string& text, size_t at, size_t count) {
    int number = 0;
    for (size_t i = at; i < at + count; ++i) number = number * 10 + (text[i] - '0');
    return number;
}

// The decimal number text starts with; 0 for none. Figures past 2^64 stop growing.
uint64_t Figure(const std::string& text) {
    uint64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (number > (UINT64_MAX - digit) / 10) return UINT64_MAX;
        number = number * 10 + digit;
    }
    return number;
}

// Days from 1970-01-01 to a date of the Gregorian calendar.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

// Whether a line starts as every line the program writes does: with its time and a comma.
bool StartsLogLine(const std::string& text) {
    return text.size() > 19 && text[19] == ',' && LogTime(text.substr(0, 19)).has_value();
}

// A run-end line's reason: "mode=clean; exit=1; files=2; ...; failed=a b". Nothing when the
// exit code is missing: the line was cut, or is no run-end line of the program's. A run
// refused before it knew what it was to do may end with no mode.
std::optional<Run> Ending(const std::string& reason) {
    Run run;
    bool exit = false;
    for (size_t at = 0; at < reason.size();) {
        size_t end = reason.find("; ", at);
        if (end == std::string::npos) end = reason.size();
        const size_t equals = reason.find('=', at);
        const std::string key = equals < end ? reason.substr(at, equals - at) : "";
        const std::string value = equals < end ? reason.substr(equals + 1, end - equals - 1) : "";
        at = end + 2;
        if (key == "mode") run.mode = value;
        if (key == "exit") run.exit = static_cast<int>(Figure(value)), exit = Digits(value, 0, 1);
        if (key == "files") run.files = Figure(value);
        if (key == "folders") run.folders = Figure(value);
        if (key == "bytes") run.bytes = Figure(value);
        if (key == "stayed") run.stayed = Figure(value);
        if (key == "failed") run.failed = value;
    }
    if (!exit) return std::nullopt;
    return run;
}

// The computer a six-column log belongs to: its file's name, as the Group Policy recipe
// names logs after the computer.
std::string ComputerOfFile(const std::string& path) {
    std::string name = path.substr(path.find_last_of("\\/") + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// One log, line by line: the runs it frames, told as they end, and at its end the runs left
// open and what its six-column lines tell.
class LogRuns {
  public:
    LogRuns(const std::string& path, const FoundRun& found, const SkippedLine& skipped)
        : path_(path), found_(found), skipped_(skipped) {}

    // A line as the reader split it; the first line is the header, or a six-column line.
    void Line(const CsvLine& line) {
        if (!line.skipped.empty()) return skipped_(line.number, line.skipped);
        const std::vector<std::string>& fields = line.fields;
        if (fields.size() == 1 && fields[0].empty()) return;  // a blank line tells nothing
        if (line.number == 1 && !earlierLog_) return;         // the header, checked before
        const std::optional<int64_t> at = LogTime(fields[0]);
        if (fields.size() == kColumns && at) return Framing(fields, *at, line.number);
        if (earlierLog_ && fields.size() == kEarlierColumns && at &&
            Digits(fields[kEarlierBytes], 0, fields[kEarlierBytes].size()))
            return Earlier(fields, *at);
        skipped_(line.number,
                 at ? "not a line of a log: " + std::to_string(fields.size()) + " fields"
                    : "not a line of a log: it does not start with a time");
    }

    // The runs still open, and the last six-column line, once the log is read.
    void End() {
        for (const auto& [computer, open] : open_)
            for (const Run& run : open) found_(computer, run);
        open_.clear();
        for (const Run* run : {&earlierLast_, &earlierClean_})
            if (run->state == RunState::Earlier) found_(ComputerOfFile(path_), *run);
    }

    bool earlierLog_ = false;  // the log began without a header: a six-column log

  private:
    void Framing(const std::vector<std::string>& fields, int64_t at, size_t number) {
        const std::string& action = fields[kAction];
        if (action != "run-start" && action != "run-end") return;
        const std::string computer = ReadCsvField(fields[kComputer]);
        auto known = open_.find(computer);
        if (known == open_.end()) {
            if (open_.size() >= kMostComputers)
                return skipped_(number, "more than " + std::to_string(kMostComputers) +
                                            " computers in one log");
            known = open_.emplace(computer, std::vector<Run>()).first;
        }
        std::vector<Run>& open = known->second;
        if (action == "run-start") {
            if (open.size() == kMostOpen) open.erase(open.begin());
            Run run;
            run.at = at;
            run.state = RunState::Unfinished;
            run.user = ReadCsvField(fields[kUser]);
            open.push_back(std::move(run));
            return;
        }
        std::optional<Run> run = Ending(ReadCsvField(fields[kReason]));
        if (!run) return skipped_(number, "a run-end line without its exit code");
        run->user = ReadCsvField(fields[kUser]);
        run->at = at;
        // The run it ends is the latest started: a run stopped before ending leaves its start.
        if (!open.empty()) {
            run->at = open.back().at;
            open.pop_back();
        }
        found_(computer, *run);
    }

    // Six-column lines: only the last one's time, and the last clean line's, are kept.
    void Earlier(const std::vector<std::string>& fields, int64_t at) {
        const bool preview = ReadCsvField(fields[kEarlierAction]).compare(0, 6, "would ") == 0;
        for (Run* run : {&earlierLast_, preview ? nullptr : &earlierClean_}) {
            if (!run || (run->state == RunState::Earlier && run->at > at)) continue;
            run->at = at;
            run->state = RunState::Earlier;
            run->mode = preview ? "preview" : "clean";
        }
    }

    const std::string& path_;
    const FoundRun& found_;
    const SkippedLine& skipped_;
    std::map<std::string, std::vector<Run>> open_;  // computer -> runs started, not ended
    // Their state is Finished until a six-column line is read.
    Run earlierLast_, earlierClean_;
};

}  // namespace

std::optional<int64_t> LogTime(const std::string& text) {
    if (text.size() != 19 || !Digits(text, 0, 4) || text[4] != '-' || !Digits(text, 5, 2) ||
        text[7] != '-' || !Digits(text, 8, 2) || text[10] != ' ' || !Digits(text, 11, 2) ||
        text[13] != ':' || !Digits(text, 14, 2) || text[16] != ':' || !Digits(text, 17, 2))
        return std::nullopt;
    const int year = Number(text, 0, 4), month = Number(text, 5, 2), day = Number(text, 8, 2);
    const int hour = Number(text, 11, 2), minute = Number(text, 14, 2),
              second = Number(text, 17, 2);
    if (year < 1601 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 ||
        second > 59)
        return std::nullopt;
    const int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
        kDays1601To1970;
    return days * kDaySeconds + hour * 3600 + minute * 60 + second;
}

std::string LogTimeText(int64_t seconds) {
    // The date of a day count, the other way round from DaysFromCivil.
    int64_t z = seconds / kDaySeconds - kDays1601To1970 + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned day = doy - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = static_cast<int64_t>(yoe) + era * 400 + (month <= 2);
    const int64_t rest = seconds % kDaySeconds;
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld",
                  static_cast<long long>(year), month, day, static_cast<long long>(rest / 3600),
                  static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
    return text;
}

std::string ReadRuns(platform::FileSystem& files, const std::string& path, const FoundRun& found,
                     const SkippedLine& skipped) {
    std::unique_ptr<platform::ReadFile> file = files.OpenForReading(path);
    if (!file) return "it cannot be opened";
    std::vector<char> buffer(kChunk);
    CsvReader reader(StartsLogLine);
    LogRuns runs(path, found, skipped);
    const CsvReader::Line line = [&](const CsvLine& read) { runs.Line(read); };
    try {
        size_t got = file->Read(buffer.data(), buffer.size());
        // A log starts with the byte-order mark, then its header, or, written by a first
        // version, the time of its first line.
        const std::string header = kBom + kLogHeader + "\r\n";
        const std::string head(buffer.data(), std::min(got, header.size()));
        runs.earlierLog_ =
            head.size() > kBom.size() && head[kBom.size()] >= '0' && head[kBom.size()] <= '9';
        if (head.compare(0, kBom.size(), kBom) != 0 ||
            (!runs.earlierLog_ && head.compare(0, header.size(), header) != 0))
            return "not a log: it does not start as one";
        reader.Feed(buffer.data() + kBom.size(), got - kBom.size(), line);
        while ((got = file->Read(buffer.data(), buffer.size())) > 0)
            reader.Feed(buffer.data(), got, line);
    } catch (const platform::RuntimeError& error) {
        return "it cannot be read: " + error.reason();
    }
    reader.Finish(line);
    runs.End();
    return "";
}

}  // namespace olvex

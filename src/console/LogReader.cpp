#include "console/LogReader.h"

#include "console/Csv.h"
#include "console/RunLog.h"

namespace olvex {

namespace {

constexpr size_t kChunk = 64 * 1024;
const std::string kBom = "\xEF\xBB\xBF";

// The log's columns, by place.
enum Column { kTime, kComputer, kUser, kCategory, kAction, kPath, kBytes, kReason, kColumns };

// The decimal number text starts with; 0 for none.
uint64_t Number(const std::string& text) {
    uint64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        number = number * 10 + static_cast<uint64_t>(c - '0');
    }
    return number;
}

// A run-end line's reason: "mode=clean; exit=1; files=2; ...; failed=a b".
LastRun RunOf(const std::vector<std::string>& fields) {
    LastRun run;
    run.time = ReadCsvField(fields[kTime]);
    run.computer = ReadCsvField(fields[kComputer]);
    run.user = ReadCsvField(fields[kUser]);
    const std::string reason = ReadCsvField(fields[kReason]);
    for (size_t at = 0; at < reason.size();) {
        size_t end = reason.find("; ", at);
        if (end == std::string::npos) end = reason.size();
        const std::string pair = reason.substr(at, end - at);
        at = end + 2;
        const size_t equals = pair.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = pair.substr(0, equals), value = pair.substr(equals + 1);
        if (key == "mode") run.mode = value;
        if (key == "exit") run.exit = static_cast<int>(Number(value));
        if (key == "files") run.files = Number(value);
        if (key == "folders") run.folders = Number(value);
        if (key == "bytes") run.bytes = Number(value);
        if (key == "stayed") run.stayed = Number(value);
        if (key == "failed")
            for (size_t from = 0; from < value.size();) {
                size_t space = value.find(' ', from);
                if (space == std::string::npos) space = value.size();
                if (space > from) run.failed.push_back(value.substr(from, space - from));
                from = space + 1;
            }
    }
    return run;
}

}  // namespace

LogRead ReadLastRun(platform::FileSystem& files, const std::string& path) {
    LogRead read;
    std::unique_ptr<platform::ReadFile> file = files.OpenForReading(path);
    if (!file) return {std::nullopt, "it cannot be opened"};
    std::vector<char> buffer(kChunk);
    CsvReader reader;
    size_t lines = 0;
    bool bad = false;
    std::optional<LastRun> last;
    try {
        bool first = true;
        for (size_t got; !bad && (got = file->Read(buffer.data(), buffer.size())) > 0;) {
            const char* data = buffer.data();
            if (first) {
                first = false;
                // A log starts with the byte-order mark and its header.
                if (got < kBom.size() || kBom.compare(0, kBom.size(), data, kBom.size()) != 0)
                    return {std::nullopt, "not a log: it does not start as one"};
                data += kBom.size();
                got -= kBom.size();
            }
            reader.Feed(data, got, [&](const std::vector<std::string>& fields) {
                if (bad) return;
                ++lines;
                if (lines == 1) {
                    std::string header;
                    for (const std::string& field : fields) header += (header.empty() ? "" : ",") + field;
                    if (header != kLogHeader) {
                        bad = true;
                        read.why = "not a log: its first line is not the log's header";
                    }
                    return;
                }
                if (fields.size() != kColumns) {
                    bad = true;
                    read.why = "line " + std::to_string(lines) + " is not a line of a log";
                    return;
                }
                if (fields[kAction] == "run-end") last = RunOf(fields);
            });
        }
    } catch (const platform::RuntimeError& error) {
        return {std::nullopt, "it cannot be read: " + error.reason()};
    }
    if (bad) return {std::nullopt, read.why};
    if (lines == 0) return {std::nullopt, "not a log: it holds no header"};
    if (!reader.AtLineStart()) return {std::nullopt, "cut short: its last line ends early"};
    if (!last) return {std::nullopt, "it holds no finished run"};
    return {last, ""};
}

}  // namespace olvex

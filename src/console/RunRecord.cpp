#include "console/RunRecord.h"

#include "console/ExitCodes.h"
#include "console/ConsoleText.h"
#include "platform/Errors.h"
#include "system/CleaningContext.h"
#include "system/WindowsVersion.h"

namespace olvex {

namespace {

constexpr const char* kProgramVersion = "1.0.0.0";

// The command line as the log tells it: the arguments, each in quotes where it holds a blank.
std::string CommandLineText(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        if (!text.empty()) text += ' ';
        text +=
            argument.find_first_of(" \t") == std::string::npos ? argument : "\"" + argument + "\"";
    }
    return text;
}

}  // namespace

RunRecord::RunRecord(Services& services, platform::Console& console, const ConsoleRequest& request,
                     const std::vector<std::string>& arguments)
    : services_(services), console_(console), request_(request), arguments_(arguments) {}

// Only a preview or a clean writes to a log.
bool RunRecord::Logs() const {
    return !request_.logFile.empty() &&
           (request_.command == Command::Preview || request_.command == Command::Clean);
}

void RunRecord::Error(const std::string& text) {
    console_.Write(platform::Stream::Err, "olvex: " + text + "\r\n");
}

bool RunRecord::Open(std::string& why) {
    std::string osName, user;
    platform::SkipOnFailure([&] { osName = WindowsVersion(services_.system).os_name; });
    platform::SkipOnFailure([&] { user = DeriveCleaningContext(services_.system).UserName; });
    RunLog::Opened opened =
        RunLog::Open(services_, console_, request_.logFile, services_.system.ComputerName(), user);
    if (!opened.log) {
        why = opened.why;
        return false;
    }
    log_ = std::move(opened.log);
    log_->RunLine("run-start", "",
                  std::string("version=") + kProgramVersion + "; windows=" + osName +
                      "; command=" + CommandLineText(arguments_));
    if (log_->Flush()) return true;
    why = log_->Problem();
    log_.reset();
    return false;
}

bool RunRecord::Start() {
    if (!Logs()) return true;
    std::string why;
    if (Open(why)) return true;
    Error("Cannot write the log " + request_.logFile + ": " + why + "; nothing was deleted.");
    return false;
}

// "mode=clean; exit=1; files=12; ...; failed=ie-history", then why, where there is one: the
// summary reads the parts it knows by their names, so why comes last, with no "; " in it.
std::string RunRecord::EndReason(int code, const RunFigures& f, int64_t freed,
                                 const std::string& why) const {
    std::string reason =
        std::string("mode=") + (request_.command == Command::Preview ? "preview" : "clean") +
        "; exit=" + std::to_string(code) + "; files=" + std::to_string(f.files) +
        "; folders=" + std::to_string(f.folders) + "; bytes=" + std::to_string(f.bytes) +
        "; stayed=" + std::to_string(f.left) + "; freed=" + std::to_string(freed) +
        "; failed=" + Joined(f.failed);
    if (!f.keptCookies.empty()) {
        // How many cookies each host of the keep-list kept: "example.com:3,news.test:1".
        std::string kept;
        for (const auto& [host, n] : f.keptCookies)
            kept += (kept.empty() ? "" : ",") + host + ":" + std::to_string(n);
        reason += "; kept-cookies=" + kept;
    }
    if (why.empty()) return reason;
    std::string said = why;
    for (char& c : said)
        if (c == ';') c = ',';
    return reason + "; why=" + said;
}

int RunRecord::Refuse(int code, const std::string& why) {
    if (!Logs()) return code;
    std::string problem;
    if (log_ || Open(problem)) {
        log_->RunLine("run-end", "0", EndReason(code, {}, 0, why));
        if (log_->Flush(true)) return code;
        problem = log_->Problem();
    }
    Error("The log " + request_.logFile + " could not tell it either: " + problem + ".");
    return code;
}

int RunRecord::Finish(int code, const RunFigures& figures, int64_t freed) {
    if (!log_) return code;
    const bool stopped = log_->Failed();
    if (stopped) code = kExitRecordIncomplete;
    log_->RunLine(
        "run-end", std::to_string(figures.bytes),
        EndReason(code, figures, freed,
                  stopped ? "the log could not take a batch of lines, and the run stopped: " +
                                log_->Problem()
                          : ""));
    log_->Flush(true);
    if (!log_->Failed()) return code;
    std::string text =
        "The log " + request_.logFile + " could not take the run's lines: " + log_->Problem();
    if (stopped) text += "; the run stopped there and changed nothing more";
    if (!log_->Unwritten()) {
        text += "; its lines were written later";
    } else {
        text += "; its last lines are not in it";
        if (log_->LeftOut())
            text += " (" + std::to_string(log_->LeftOut()) +
                    " lines of what stayed after the stop were left out)";
    }
    Error(text + ".");
    return kExitRecordIncomplete;
}

void RecordedChanges::Check() const {
    if (log_ && log_->Failed()) throw RecordStopped{};
}

platform::Deletion RecordedChanges::DeleteListedFile(platform::OpenedFolder& folder,
                                                     const platform::FindEntry& entry,
                                                     platform::AgeCheck* age) {
    Check();
    return changes_.DeleteListedFile(folder, entry, age);
}

platform::Deletion RecordedChanges::ReplaceListedFile(platform::OpenedFolder& folder,
                                                      const platform::FindEntry& entry,
                                                      const std::string& content) {
    Check();
    return changes_.ReplaceListedFile(folder, entry, content);
}

bool RecordedChanges::DeleteAtRestart(platform::OpenedFolder& folder,
                                      const platform::FindEntry& entry) {
    Check();
    return changes_.DeleteAtRestart(folder, entry);
}

bool RecordedChanges::RemoveEmpty(platform::OpenedFolder& folder) {
    Check();
    return changes_.RemoveEmpty(folder);
}

long RecordedChanges::EmptyRecycleBin(uintptr_t owner) {
    Check();
    return changes_.EmptyRecycleBin(owner);
}

void RecordedChanges::ClearUrlHistory() {
    Check();
    changes_.ClearUrlHistory();
}

bool RecordedChanges::DeleteUrlCacheEntry(const std::string& url, platform::SystemCode* why) {
    Check();
    return changes_.DeleteUrlCacheEntry(url, why);
}

}  // namespace olvex

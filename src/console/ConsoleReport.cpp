#include "console/ConsoleReport.h"

namespace olvex {

using platform::Stream;

namespace {

// The progress line shares a console window only with the totals, not with every path.
bool ShowsProgress(platform::Console& console, const ConsoleRequest& request) {
    return !request.quiet && console.IsConsole(Stream::Err) &&
           !(request.details && console.IsConsole(Stream::Out));
}

}  // namespace

ConsoleReport::ConsoleReport(platform::Console& console, const ConsoleRequest& request,
                             const std::vector<ConsoleCategory>& categories, RunLog* log,
                             const RunFilter* filter)
    : console_(console),
      request_(request),
      categories_(categories),
      log_(log),
      filter_(filter),
      progress_(console, ShowsProgress(console, request)),
      out_(console, request.quiet, progress_),
      writer_(MakeReportWriter(out_, request_)) {}

void ConsoleReport::Log(const std::string& id, const std::string& action, const std::string& path,
                        const std::string& bytes, const std::string& reason) {
    if (log_) log_->Line(id, action, path, bytes, reason);
}

void ConsoleReport::Begin(const char* id) {
    id_ = id;
    totals_ = ReportTotals{};
    itemsSoFar_ = 0;
    progress_.Restart();
    std::string caption;
    for (const ConsoleCategory& category : categories_)
        if (category.id == id_) caption = category.caption;
    writer_->CategoryStarts(id_, caption);
}

bool ConsoleReport::WantsPaths() const {
    return request_.details || log_ != nullptr;
}

// Adds the item to the category's totals and the run's figures.
void ConsoleReport::Count(const CleanedItem& item) {
    switch (item.action) {
        case ItemAction::Deleted:
            ++totals_.files;
            totals_.fileBytes += item.bytes;
            break;
        case ItemAction::Removed:
            ++totals_.folders;
            break;
        case ItemAction::Registered:
            ++totals_.registered;
            totals_.registeredBytes += item.bytes;
            leftSome_ = true;
            ++figures_.left;
            break;
        case ItemAction::Stayed:
            ++totals_.stayed[item.reason];
            // What stays by design or by the user's choice is not left behind.
            if (std::string(item.reason) != reason::kKept &&
                std::string(item.reason) != reason::kKeptCookie &&
                !(filter_ && filter_->IsItsReason(item.reason))) {
                leftSome_ = true;
                ++figures_.left;
            }
            break;
        case ItemAction::Purged:
            ++totals_.purged;
            break;
        case ItemAction::Cleared:
            ++totals_.cleared;
            totals_.clearedRows += item.rows;
            totals_.clearedBytes += item.bytes;
            break;
        case ItemAction::Kept:
            // At the user's word: not left behind.
            totals_.keptCookies[item.keptHost] += item.rows;
            break;
    }
}

void ConsoleReport::Item(const CleanedItem& item) {
    Count(item);
    const std::string word = ActionWord(item.action, request_.command == Command::Preview);
    if (request_.details) writer_->Item(id_, word, item);
    const std::string rows = RowsOf(item);
    Log(id_, word, item.path, std::to_string(item.bytes), rows.empty() ? item.reason : rows);
    ++itemsSoFar_;
    progress_.Tell(id_, itemsSoFar_, totals_.fileBytes);
}

void ConsoleReport::Counted(uint64_t items, uint64_t bytes) {
    totals_.counted = true;
    totals_.countedItems = items;
    totals_.countedBytes = bytes;
}

void ConsoleReport::Uncounted() {
    totals_.uncounted = true;
}

void ConsoleReport::Problem(const StepProblem& problem) {
    const std::string word = OutcomeWord(problem.outcome);
    const std::string why = ProblemReason(problem);
    Log(id_, word, problem.path, "", why);
    if (problem.outcome == StepOutcome::NotThere) {
        // Nothing to clean is no failure: named only where every path is.
        ++totals_.notThere;
        if (request_.details) writer_->NotThere(id_, word, problem.path, why);
        return;
    }
    ++totals_.troubles;
    leftSome_ = true;
    figures_.failed.insert(id_);
    const std::string where = problem.path.empty() ? "" : problem.path + ": ";
    console_.Write(Stream::Err, id_ + ": " + word + ": " + where + why + "\r\n");
    writer_->Trouble(id_, word, problem.path, why);
}

void ConsoleReport::Skipped(const std::string& id, const std::string& why) {
    Log(id, "skipped", "", "", why);
    writer_->Skipped(id, why);
}

void ConsoleReport::End(const char*) {
    progress_.Clear();
    all_.Add(totals_);
    figures_.files += totals_.files;
    figures_.folders += totals_.folders;
    figures_.bytes += totals_.fileBytes + totals_.clearedBytes;
    for (const auto& [host, n] : totals_.keptCookies) figures_.keptCookies[host] += n;
    writer_->CategoryTotals(id_, totals_);
    if (log_) log_->Flush();
}

void ConsoleReport::Total() {
    id_.clear();
    writer_->RunTotals(all_);
}

void ConsoleReport::Freed(const std::string& drive, int64_t bytes) {
    id_.clear();
    writer_->Freed(drive, bytes);
}

}  // namespace olvex

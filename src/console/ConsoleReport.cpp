#include "console/ConsoleReport.h"

#include "console/ConsoleText.h"
#include "console/Csv.h"

namespace olvex {

using platform::Stream;

namespace {

constexpr uint64_t kProgressEveryMs = 250;
constexpr size_t kProgressWidth = 79;
const char* const kBom = "\xEF\xBB\xBF";

std::string Count(uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void ConsoleReport::Totals::Add(const Totals& other) {
    files += other.files;
    fileBytes += other.fileBytes;
    folders += other.folders;
    registered += other.registered;
    registeredBytes += other.registeredBytes;
    purged += other.purged;
    for (const auto& [why, n] : other.stayed) stayed[why] += n;
    counted = counted || other.counted;
    uncounted = uncounted || other.uncounted;
    countedItems += other.countedItems;
    countedBytes += other.countedBytes;
    notThere += other.notThere;
    troubles += other.troubles;
}

ConsoleReport::ConsoleReport(platform::Console& console, const ConsoleRequest& request,
                             const std::vector<ConsoleCategory>& categories, RunLog* log,
                             const RunFilter* filter)
    : console_(console),
      request_(request),
      categories_(categories),
      log_(log),
      filter_(filter) {
    // The progress line shares a console window only with the totals, not with every path.
    progress_ = !request_.quiet && console_.IsConsole(Stream::Err) &&
                !(request_.details && console_.IsConsole(Stream::Out));
    if (!request_.quiet && request_.csv) {
        // A file of CSV says it is UTF-8, as the log does, for the spreadsheets that ask.
        if (console_.IsFile(Stream::Out)) console_.Write(Stream::Out, kBom);
        Out("category,action,path,items,bytes,reason,kind\n");
    }
}

// Whether the totals of deleted files belong in the report: when there are any, or when the
// category reports nothing else, so that "nothing" is said.
bool ConsoleReport::DeletedSomething(const Totals& t) {
    return t.files || t.folders || (!t.purged && !t.counted && !t.uncounted && !t.troubles);
}

std::string ConsoleReport::Word(ItemAction action) const {
    const bool preview = request_.command == Command::Preview;
    switch (action) {
        case ItemAction::Deleted:
            return preview ? "would delete" : "deleted";
        case ItemAction::Removed:
            return preview ? "would remove" : "removed";
        case ItemAction::Registered:
            return preview ? "would register" : "registered";
        case ItemAction::Stayed:
            return preview ? "would stay" : "stayed";
        case ItemAction::Purged:
            return preview ? "would purge" : "purged";
    }
    return "";
}

void ConsoleReport::Out(const std::string& text) {
    if (request_.quiet) return;
    ClearProgress();
    console_.Write(Stream::Out, WindowsLines(text));
}

void ConsoleReport::Row(const std::string& action, const std::string& path,
                        const std::string& items, const std::string& bytes,
                        const std::string& reason, const char* kind) {
    Out(CsvField(id_) + "," + CsvField(action) + "," + CsvField(path) + "," + items + "," + bytes +
        "," + CsvField(reason) + "," + kind + "\n");
}

void ConsoleReport::Log(const std::string& action, const std::string& path,
                        const std::string& bytes, const std::string& reason) {
    if (log_) log_->Line(id_, action, path, bytes, reason);
}

void ConsoleReport::Begin(const char* id) {
    id_ = id;
    totals_ = Totals{};
    itemsSoFar_ = 0;
    // The first progress line comes only once the category has taken a while.
    if (progress_) lastProgress_ = console_.Ticks();
    if (request_.csv) return;
    std::string caption;
    for (const ConsoleCategory& category : categories_)
        if (category.id == id_) caption = category.caption;
    Out(id_ + "  (" + caption + ")\n");
}

bool ConsoleReport::WantsPaths() const {
    return request_.details || log_ != nullptr;
}

void ConsoleReport::Item(const CleanedItem& item) {
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
                !(filter_ && filter_->IsItsReason(item.reason))) {
                leftSome_ = true;
                ++figures_.left;
            }
            break;
        case ItemAction::Purged:
            ++totals_.purged;
            break;
    }
    const std::string word = Word(item.action);
    const std::string bytes = item.folder ? "" : std::to_string(item.bytes);
    if (request_.details && request_.csv) {
        Row(word, item.path, "1", bytes, item.reason);
    } else if (request_.details) {
        std::string line = "    " + word + "  " + item.path;
        if (!item.folder && item.action != ItemAction::Purged) line += "  " + bytes + " bytes";
        if (*item.reason) line += "  (" + std::string(item.reason) + ")";
        Out(line + "\n");
    }
    Log(word, item.path, std::to_string(item.bytes), item.reason);
    ++itemsSoFar_;
    Progress();
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
    Log(word, problem.path, "", why);
    if (problem.outcome == StepOutcome::NotThere) {
        // Nothing to clean is no failure: named only where every path is.
        ++totals_.notThere;
        if (request_.details && request_.csv) {
            Row(word, problem.path, "", "", why);
        } else if (request_.details) {
            Out("    " + word + "  " + problem.path + (why.empty() ? "" : "  (" + why + ")") +
                "\n");
        }
        return;
    }
    ++totals_.troubles;
    leftSome_ = true;
    figures_.failed.insert(id_);
    const std::string where = problem.path.empty() ? "" : problem.path + ": ";
    console_.Write(Stream::Err, id_ + ": " + word + ": " + where + why + "\r\n");
    if (request_.csv) {
        Row(word, problem.path, "", "", why);
    } else {
        Out("  " + word + ": " + where + why + "\n");
    }
}

void ConsoleReport::Skipped(const std::string& id, const std::string& why) {
    const std::string saved = id_;
    id_ = id;
    Log("skipped", "", "", why);
    if (request_.csv) {
        Row("skipped", "", "", "", why);
    } else {
        Out(id + "  skipped: " + why + "\n");
    }
    id_ = saved;
}

void ConsoleReport::End(const char*) {
    ClearProgress();
    all_.Add(totals_);
    figures_.files += totals_.files;
    figures_.folders += totals_.folders;
    figures_.bytes += totals_.fileBytes;
    PrintTotals(totals_, "  ");
    if (log_) log_->Flush();
}

void ConsoleReport::Total() {
    id_.clear();
    if (!request_.csv) Out("Total over all categories\n");
    PrintTotals(all_, "  ");
}

void ConsoleReport::PrintTotals(const Totals& t, const std::string& indent) {
    const bool preview = request_.command == Command::Preview;
    if (request_.csv) {
        const std::string none;
        const char* total = "total";
        if (DeletedSomething(t))
            Row(Word(ItemAction::Deleted), none, std::to_string(t.files),
                std::to_string(t.fileBytes), none, total);
        if (t.folders)
            Row(Word(ItemAction::Removed), none, std::to_string(t.folders), "", none, total);
        if (t.purged) Row(Word(ItemAction::Purged), none, std::to_string(t.purged), "", none, total);
        if (t.counted)
            Row("counted", none, std::to_string(t.countedItems), std::to_string(t.countedBytes),
                none, total);
        if (t.uncounted) Row("uncounted", none, "", "", none, total);
        if (t.registered)
            Row(Word(ItemAction::Registered), none, std::to_string(t.registered),
                std::to_string(t.registeredBytes), none, total);
        for (const auto& [why, n] : t.stayed)
            Row(Word(ItemAction::Stayed), none, std::to_string(n), "", why, total);
        return;
    }
    if (t.counted)
        Out(indent + "holds " + Count(t.countedItems, "item", "items") + ", " +
            Count(t.countedBytes, "byte", "bytes") + ", as the shell counts them\n");
    if (t.uncounted) Out(indent + "the system tells no count of what it holds\n");
    if (t.purged)
        Out(indent + Word(ItemAction::Purged) + ": " +
            Count(t.purged, "cache entry", "cache entries") + "\n");
    if (DeletedSomething(t))
        Out(indent + Word(ItemAction::Deleted) + ": " + Count(t.files, "file", "files") + " and " +
            Count(t.folders, "folder", "folders") + ", " + Count(t.fileBytes, "byte", "bytes") +
            "\n");
    if (t.registered)
        Out(indent + (preview ? "would be registered" : "registered") +
            " for deletion at restart: " + Count(t.registered, "file", "files") + ", " +
            Count(t.registeredBytes, "byte", "bytes") + "\n");
    if (!t.stayed.empty()) {
        std::string line = indent + Word(ItemAction::Stayed) + ":";
        const char* separator = " ";
        for (const auto& [why, n] : t.stayed) {
            line += separator + std::to_string(n) + " " + why;
            separator = ", ";
        }
        Out(line + "\n");
    }
}

void ConsoleReport::Freed(const std::string& drive, int64_t bytes) {
    if (request_.csv) {
        id_.clear();
        Row("freed", drive, "", std::to_string(bytes), "", "total");
        return;
    }
    Out("Freed on " + drive + ": " + std::to_string(bytes) + " bytes\n");
}

void ConsoleReport::Progress() {
    if (!progress_) return;
    const uint64_t now = console_.Ticks();
    if (now - lastProgress_ < kProgressEveryMs) return;
    lastProgress_ = now;
    std::string line = id_ + ": " + Count(itemsSoFar_, "item", "items") + ", " +
                       Count(totals_.fileBytes, "byte", "bytes");
    line.resize(kProgressWidth, ' ');
    console_.Write(Stream::Err, "\r" + line + "\r");
    progressShown_ = true;
}

void ConsoleReport::ClearProgress() {
    if (!progressShown_) return;
    console_.Write(Stream::Err, "\r" + std::string(kProgressWidth, ' ') + "\r");
    progressShown_ = false;
}

}  // namespace olvex

#include "console/ReportTotals.h"

namespace olvex {

void ReportTotals::Add(const ReportTotals& other) {
    files += other.files;
    fileBytes += other.fileBytes;
    folders += other.folders;
    registered += other.registered;
    registeredBytes += other.registeredBytes;
    purged += other.purged;
    cleared += other.cleared;
    clearedRows += other.clearedRows;
    clearedBytes += other.clearedBytes;
    for (const auto& [why, n] : other.stayed) stayed[why] += n;
    for (const auto& [host, n] : other.keptCookies) keptCookies[host] += n;
    counted = counted || other.counted;
    uncounted = uncounted || other.uncounted;
    countedItems += other.countedItems;
    countedBytes += other.countedBytes;
    notThere += other.notThere;
    troubles += other.troubles;
}

bool ReportTotals::DeletedSomething() const {
    return files || folders || (!purged && !cleared && !counted && !uncounted && !troubles);
}

std::string ActionWord(ItemAction action, bool preview) {
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
        case ItemAction::Cleared:
            return preview ? "would clear" : "cleared";
        case ItemAction::Kept:
            return preview ? "would keep" : "kept";
    }
    return "";
}

std::string RowsOf(const CleanedItem& item) {
    if (item.action == ItemAction::Kept)
        return Count(item.rows, "cookie", "cookies") + " of " + item.keptHost;
    return item.action == ItemAction::Cleared ? Count(item.rows, "row", "rows") : "";
}

std::string Count(uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace olvex

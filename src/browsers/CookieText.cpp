#include "browsers/CookieText.h"

#include "browsers/DatabaseRows.h"
#include "guard/DeletionGuard.h"
#include "guard/PathRules.h"
#include "system/FileUtilities.h"

namespace olvex {

namespace {

constexpr const char* kNotWrittenAnew =
    "not written anew: in use, or its new file's name beside it is taken";

// Cookies.txt is a few kilobytes; one far larger is not read whole, and stays.
constexpr size_t kLargestCookieText = 16u << 20;

// The host of a cookie line; "" for a comment or a blank line. Later versions mark a cookie
// kept from scripts with "#HttpOnly_" before its host.
std::string CookieHost(const std::string& line) {
    static const std::string kHttpOnly = "#HttpOnly_";
    std::string cookie = line.rfind(kHttpOnly, 0) == 0 ? line.substr(kHttpOnly.size()) : line;
    if (cookie.empty() || cookie[0] == '#' || cookie.find('\t') == std::string::npos) return "";
    return cookie.substr(0, cookie.find('\t'));
}

void DeleteWhole(RuleRun& run, const std::string& path) {
    DeleteFilesNamed(run.services.files, run.changes, path, run.sink, run.filter, run.counted);
}

}  // namespace

CookieTextSplit SplitCookieText(const std::string& text, const CookieKeepList& keep) {
    CookieTextSplit split;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end == std::string::npos ? end : end + 1 - at);
        at = end == std::string::npos ? text.size() : end + 1;
        std::string bare = line;
        while (!bare.empty() && (bare.back() == '\n' || bare.back() == '\r')) bare.pop_back();
        const std::string host = CookieHost(bare);
        if (host.empty()) {
            split.kept += line;
        } else if (const std::string* keeper = keep.KeeperOf(host)) {
            split.kept += line;
            ++split.keptBy[*keeper];
        } else {
            ++split.gone;
        }
    }
    return split;
}

void CleanCookieText(RuleRun& run, const std::string& path) {
    if (!run.keepCookies || run.keepCookies->Empty()) return DeleteWhole(run, path);
    platform::FileSystem& files = run.services.files;
    if (run.sink.LooksOnly() || files.GetAttributes(path) == platform::kInvalidAttributes) return;
    const std::string tidy = TidyPath(path);
    const std::string shown = run.sink.WantsPaths() ? tidy : "";
    const size_t slash = tidy.rfind('\\');
    StartFolder start = OpenStartFolder(files, tidy.substr(0, slash));
    if (!start.folder) return run.sink.Problem(start.problem);
    const std::optional<platform::FindEntry> listed = start.folder->Lookup(tidy.substr(slash + 1));
    if (!listed) return;
    if (IsLeftAlone(*listed) || !start.folder->IsListedFile(*listed))
        return run.sink.Item({ItemAction::Stayed, shown, 0, reason::kLink});
    if (run.filter)
        if (const char* why = FilterKeepsHandedOn(files, *run.filter, tidy, *listed))
            return run.sink.Item({ItemAction::Stayed, shown, 0, why});
    std::optional<std::string> text;
    try {
        text = ReadSmallFile(files, tidy, kLargestCookieText);
    } catch (const platform::RuntimeError&) {
    }
    if (!text) return run.sink.Item({ItemAction::Stayed, shown, 0, reason::kNotOpened});
    const CookieTextSplit split = SplitCookieText(*text, *run.keepCookies);
    if (split.keptBy.empty()) return DeleteWhole(run, path);
    if (split.gone > 0) {
        const platform::Deletion done =
            run.changes.ReplaceListedFile(*start.folder, *listed, split.kept);
        if (done != platform::Deletion::Deleted) {
            const bool readOnly = (listed->attributes & platform::kAttrReadOnly) != 0;
            return run.sink.Item({ItemAction::Stayed, shown, 0,
                                  done != platform::Deletion::Refused ? reason::kElsewhere
                                  : readOnly                          ? reason::kReadOnly
                                                                      : kNotWrittenAnew});
        }
        run.sink.Item({ItemAction::Cleared, shown, text->size() - split.kept.size(), "", false,
                       split.gone});
    }
    for (const auto& [host, n] : split.keptBy)
        run.sink.Item({ItemAction::Kept, shown, 0, "", false, n, host});
}

}  // namespace olvex

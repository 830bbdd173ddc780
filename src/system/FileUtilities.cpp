#include "system/FileUtilities.h"

#include <limits>

#include "guard/PathRules.h"

namespace olvex {

using platform::FileSystem;
using platform::RuntimeError;

namespace {
constexpr uint32_t kFilteredBits =
    platform::kAttrHidden | platform::kAttrSystem | platform::kAttrDirectory;
}

namespace {
// A folder path ending in a separator lists the whole folder.
std::string ListingPattern(const std::string& pattern) {
    if (!pattern.empty() && (pattern.back() == '\\' || pattern.back() == '/')) return pattern + "*";
    return pattern;
}
}  // namespace

NameLookup::NameLookup(FileSystem& files, const std::string& pattern, uint32_t mask)
    : finder_(files.Find(ListingPattern(pattern))), mask_(mask) {}

std::string NameLookup::Next() {
    platform::FindEntry entry;
    while (finder_ && finder_->Next(entry)) {
        if ((entry.attributes & kFilteredBits & ~mask_) == 0) {
            entry_ = entry;
            return entry.name;
        }
    }
    finder_.reset();
    return "";
}

bool DirExists(Services& services, const std::string& path) {
    try {
        // The entry must itself be a folder: some file systems answer "file\." with the
        // file.
        NameLookup lookup(services.files, path + "\\.", platform::kAttrDirectory);
        return !lookup.Next().empty() && (lookup.Attributes() & platform::kAttrDirectory);
    } catch (const RuntimeError& error) {
        ShowLibraryError(services.toolkit, "DirExists", error);
        return false;
    }
}

bool IsAttrSet(FileSystem& files, const std::string& path, uint32_t mask) {
    const uint32_t attributes = files.GetAttributes(path);
    if (attributes == platform::kInvalidAttributes) return true;
    return (attributes & mask) == mask;
}

int16_t SubDirsToArray(Services& services, std::string& path, std::vector<std::string>& names,
                       bool includeReadOnly, bool includeHidden, bool includeSystem,
                       CleaningSink& sink) {
    uint32_t mask = includeReadOnly ? 17 : 16;
    if (includeHidden) mask += platform::kAttrHidden;
    if (includeSystem) mask += platform::kAttrSystem;
    if (path.empty() || path.back() != '\\') path += "\\";

    int16_t count = 0;
    try {
        NameLookup lookup(services.files, path, mask);
        for (std::string name = lookup.Next(); !name.empty(); name = lookup.Next()) {
            const std::string full = path + name;
            bool keep = true;
            if (!IsAttrSet(services.files, full, platform::kAttrDirectory)) {
                keep = false;
            } else {
                if (IsAttrSet(services.files, full, platform::kAttrHidden)) keep = includeHidden;
                if (IsAttrSet(services.files, full, platform::kAttrReadOnly))
                    keep = includeReadOnly;
                if (IsAttrSet(services.files, full, platform::kAttrSystem)) keep = includeSystem;
            }
            if (name == "." || name == "..") keep = false;
            if (!keep) continue;
            if (count == std::numeric_limits<int16_t>::max()) {
                ShowLibraryError(services.toolkit, "SubDirsToArray", kErrOverflow);
                sink.Problem({StepOutcome::Failed, TidyPath(path),
                              "more than 32,767 folders: the rest were left out", {}});
                break;
            }
            names.resize(static_cast<size_t>(count) + 1);
            names[static_cast<size_t>(count)] = name;
            ++count;
        }
    } catch (const RuntimeError& error) {
        ShowLibraryError(services.toolkit, "SubDirsToArray", error);
        sink.Problem(ProblemOf(error, TidyPath(path)));
    }
    return count;
}

std::optional<std::string> ReadSmallFile(platform::FileSystem& files, const std::string& path,
                                         size_t largest) {
    std::unique_ptr<platform::ReadFile> file = files.OpenForReading(path);
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    while (const size_t read = file->Read(buffer, sizeof buffer)) {
        bytes.append(buffer, read);
        if (bytes.size() > largest)
            throw platform::RuntimeError(path + " is larger than " + std::to_string(largest) +
                                             " bytes",
                                         {});
    }
    return bytes;
}

}  // namespace olvex

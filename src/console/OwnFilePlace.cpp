#include "console/OwnFilePlace.h"

#include <vector>

#include "guard/DeletionGuard.h"
#include "guard/PathRules.h"

namespace olvex {

namespace {

// Why the file's folder did not open, in the words of a report.
std::string FolderProblem(const StepProblem& problem) {
    if (problem.outcome == StepOutcome::NotThere)
        return "its folder " + problem.path + " is not there";
    if (problem.outcome == StepOutcome::Refused) return problem.path + ": " + problem.reason;
    return problem.path + ": " + ProblemReason(problem);
}

}  // namespace

OwnFilePlace PlaceOf(platform::FileSystem& files, const std::string& path) {
    OwnFilePlace place;
    const std::string full = files.FullPath(path);
    std::string root;
    std::vector<std::string> parts;
    if (full.empty() || !SplitSweepablePath(full, root, parts)) {
        place.why = "it names no file below a drive or a share";
        return place;
    }
    place.path = TidyPath(full);
    place.name = parts.back();
    parts.pop_back();
    if (parts.empty()) {
        platform::Opening opening = files.OpenRoot(root);
        if (!opening) place.why = root + " could not be opened";
        place.folder = std::move(opening.folder);
        return place;
    }
    std::string folderPath = root;
    for (const std::string& part : parts) folderPath += "\\" + part;
    StartFolder start = OpenStartFolder(files, folderPath);
    if (!start.folder) place.why = FolderProblem(start.problem);
    place.folder = std::move(start.folder);
    return place;
}

OwnFileOpening OpenOwnFile(OwnFilePlace& place, size_t headBytes,
                           bool (*startsAsOwn)(const std::string& head)) {
    platform::WriteOpening opening = place.folder->OpenOwnFile(place.name);
    switch (opening.refusal) {
        case platform::WriteRefusal::None:
            break;
        case platform::WriteRefusal::Busy:
            return {nullptr, true, "another program keeps it open for writing"};
        case platform::WriteRefusal::Link:
            return {nullptr, false, "it is a link, or not a plain file"};
        case platform::WriteRefusal::Failed:
            return {nullptr, false,
                    "it could not be opened: " +
                        ProblemReason({StepOutcome::Failed, "", "", opening.code})};
    }
    if (!opening.file->IsEmpty() && !startsAsOwn(opening.file->Head(headBytes)))
        return {nullptr, false, "it is no file of this program's (it does not start as one)"};
    return {std::move(opening.file), false, ""};
}

}  // namespace olvex

#include "console/OwnFilePlace.h"

#include <vector>

#include "system/DeletionGuard.h"
#include "system/PathRules.h"

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

std::string WriteProblem(const platform::WriteOpening& opening) {
    switch (opening.refusal) {
        case platform::WriteRefusal::None:
            return "";
        case platform::WriteRefusal::Busy:
            return "another program keeps it open for writing";
        case platform::WriteRefusal::Link:
            return "it is a link, or not a plain file";
        case platform::WriteRefusal::Failed:
            break;
    }
    return "it could not be opened: " + ProblemReason({StepOutcome::Failed, "", "", opening.code});
}

}  // namespace olvex

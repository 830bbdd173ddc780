#include "guard/CleaningSink.h"

namespace olvex {

const char* OutcomeWord(StepOutcome outcome) {
    switch (outcome) {
        case StepOutcome::NotThere:
            return "not there";
        case StepOutcome::Refused:
            return "refused";
        case StepOutcome::Failed:
            return "failed";
    }
    return "";
}

std::string ProblemReason(const StepProblem& problem) {
    const std::string code = platform::DescribeCode(problem.code);
    if (code.empty()) return problem.reason;
    if (problem.reason.empty()) return code;
    return problem.reason + " (" + code + ")";
}

StepProblem ProblemOf(const platform::RuntimeError& error, const std::string& path) {
    const bool refused = dynamic_cast<const platform::Refusal*>(&error) != nullptr;
    // A thrower that gave no reason of its own still leaves its code; the run-time error's
    // what() (the code described, where no reason was given) is for the windows' box only.
    std::string why = error.reason();
    if (why.empty() && !error.code()) why = "the step could not be carried out";
    return {refused ? StepOutcome::Refused : StepOutcome::Failed, path, why, error.code()};
}

}  // namespace olvex

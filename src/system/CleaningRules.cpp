#include "system/CleaningRules.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/Errors.h"
#include "system/DeletionGuard.h"
#include "system/FreedSpace.h"
#include "system/SpecialFolders.h"

namespace olvex {

using platform::SkipOnFailure;

namespace {
// One step of a run, on path ("" for a step without one): a failure at run time ends it, and
// the sink hears what failed and why.
template <class Step>
void Attempt(RuleRun& run, const std::string& path, Step&& step) {
    try {
        step();
    } catch (const platform::RuntimeError& error) {
        run.sink.Problem(ProblemOf(error, path));
    } catch (const std::bad_alloc&) {
        run.sink.Problem({StepOutcome::Failed, path, "out of memory", {}});
    }
}

// What the user is told of a base folder the system does not name.
const char* BaseFolderName(BaseFolder base) {
    switch (base) {
        case BaseFolder::None:
            return "";
        case BaseFolder::WindowsDir:
        case BaseFolder::SystemDrive:
            return "the Windows folder";
        case BaseFolder::UserProfile:
            return "the user's profile folder";
        case BaseFolder::AppData:
            return "the user's application data";
        case BaseFolder::LocalAppData:
            return "the user's local application data";
        case BaseFolder::ProgramFiles:
            return "the Program Files folder";
    }
    return "";
}
}  // namespace

std::vector<std::string> BoxesOf(const CleaningRecipe& recipe) {
    std::vector<std::string> boxes;
    for (const CleaningRule& rule : recipe.rules)
        if (std::find(boxes.begin(), boxes.end(), rule.box) == boxes.end())
            boxes.push_back(rule.box);
    return boxes;
}

std::string BaseFolderPath(RuleRun& run, BaseFolder base) {
    Services& services = run.services;
    switch (base) {
        case BaseFolder::None:
            return "";
        case BaseFolder::WindowsDir:
            return run.context.WindowsDir;
        case BaseFolder::SystemDrive:
            return run.context.SystemDrive;
        case BaseFolder::UserProfile: {
            // The folder the system names, not the profiles root and the user's name: a
            // domain user's profile is often name.DOMAIN or name.000. The root comes from
            // this same folder, so the two cannot stand in for it when it is unknown.
            const std::string profile = folders::GetProfileFolder(services);
            return profile.empty() ? "" : profile.substr(0, profile.size() - 1);
        }
        case BaseFolder::AppData:
            return folders::GetAppDataFolder(services);
        case BaseFolder::LocalAppData:
            return folders::GetLocalAppDataFolder(services);
        case BaseFolder::ProgramFiles:
            return folders::GetProgramFilesFolder(services);
    }
    return "";
}

namespace {

// The rows a box has run on one profile, by action and path: a profile kept outside the
// browser's folders takes the place of both of its cache folders, and the same row once is
// enough (a preview would name each file twice).
using RowsRun = std::vector<std::pair<RuleAction, std::string>>;

bool RunBefore(RowsRun& done, RuleAction action, const std::string& path) {
    const std::string tidy = TidyPath(path);
    for (const auto& [previous, where] : done)
        if (previous == action && (where == tidy || IsSamePath(where, tidy))) return true;
    done.emplace_back(action, tidy);
    return false;
}

// One row on one path; "" for the profile when the row's tail names none. The base folder
// is looked up afresh for every path.
void RunRow(RuleRun& run, const CleaningRule& rule, const std::string& profile, RowsRun& done) {
    if (rule.base == BaseFolder::None) {
        Attempt(run, "", [&] { rule.action(run, ""); });
        return;
    }
    std::string base;
    Attempt(run, "", [&] { base = BaseFolderPath(run, rule.base); });
    if (base.empty()) {
        run.sink.Problem(
            {StepOutcome::NotThere, BaseFolderName(rule.base), reason::kUnknownFolder, {}});
        return;
    }
    std::string path = base + rule.tail;
    const size_t marker = path.find(kEachProfile, base.size());
    const size_t length = std::char_traits<char>::length(kEachProfile);
    if (marker != std::string::npos && IsSweepableFolder(profile))
        path = profile + path.substr(marker + length);
    else if (marker != std::string::npos)
        path.replace(marker, length, profile);
    if (RunBefore(done, rule.action, path)) return;
    Attempt(run, TidyPath(path), [&] { rule.action(run, path); });
}

bool NamesAProfile(const CleaningRule& rule) {
    return rule.tail.find(kEachProfile) != std::string::npos;
}

// The rows of one ticked box, first to last. Rows that name a profile are run for each
// profile in turn, all of the box's rows for the first profile, then for the next.
void RunBox(RuleRun& run, const CleaningRule* first, const CleaningRule* last) {
    const bool perProfile = std::any_of(first, last, NamesAProfile);
    if (!perProfile) {
        RowsRun done;
        for (const CleaningRule* rule = first; rule != last; ++rule) RunRow(run, *rule, "", done);
        return;
    }
    if (run.profiles.empty())
        run.sink.Problem({StepOutcome::NotThere, "", "no profile is listed", {}});
    for (const std::string& profile : run.profiles) {
        if (profile.empty()) continue;
        RowsRun done;
        for (const CleaningRule* rule = first; rule != last; ++rule)
            RunRow(run, *rule, profile, done);
    }
}

}  // namespace

void RunSelected(RuleRun& run, const RowCheck& selected) {
    // The profiles are read before the first box; what fails there is told with each box that
    // needs them.
    std::optional<StepProblem> noProfiles;
    if (run.recipe.profiles) {
        try {
            run.profiles = run.recipe.profiles(run);
        } catch (const platform::RuntimeError& error) {
            noProfiles = ProblemOf(error, "");
        } catch (const std::bad_alloc&) {
            noProfiles = StepProblem{StepOutcome::Failed, "", "out of memory", {}};
        }
    }
    const std::vector<CleaningRule>& rules = run.recipe.rules;
    for (size_t first = 0, last = 0; first < rules.size(); first = last) {
        last = first + 1;
        while (last < rules.size() && std::string(rules[last].box) == rules[first].box) ++last;
        bool chosen = false;
        SkipOnFailure([&] { chosen = selected(rules[first]); });
        if (!chosen) continue;
        run.sink.Begin(rules[first].id);
        if (noProfiles && std::any_of(&rules[first], rules.data() + last, NamesAProfile))
            run.sink.Problem(*noProfiles);
        Attempt(run, "", [&] { RunBox(run, &rules[first], rules.data() + last); });
        run.sink.End(rules[first].id);
    }
}

void RunRecipe(Services& services, ui::Form& form, const CleaningRecipe& recipe, uintptr_t owner,
               const RowCheck& mayRun) {
    ui::Toolkit& toolkit = services.toolkit;
    toolkit.SetMousePointer(ui::kPointerHourglass);
    // The main windows keep the purge's list in their List1; the others purge nothing.
    std::optional<ListBoxPurgeList> listBox;
    for (auto& control : form.controls())
        if (control->name() == "List1") listBox.emplace(*control);
    PlainPurgeList noListBox;
    PurgeList& list = listBox ? static_cast<PurgeList&>(*listBox) : noListBox;
    RuleRun run{services, recipe, owner, list, SilentSink(), {}, {}};
    SkipOnFailure([&] { run.context = DeriveCleaningContext(services.system); });

    std::optional<FreedSpaceReport> report;
    if (!recipe.doneMessage) {
        report.emplace(services.system, run.context.SystemDrive);
        SkipOnFailure([&] { report->MeasureBefore(); });
    }
    RunSelected(run, [&](const CleaningRule& rule) {
        return form.Ctl(rule.box).Value() != 0 && (!mayRun || mayRun(rule));
    });

    toolkit.SetMousePointer(ui::kPointerDefault);
    if (report) {
        SkipOnFailure([&] { report->MeasureAfter(); });
        report->Show(toolkit);
    } else {
        toolkit.MsgBox(recipe.doneMessage, ui::kOkOnly, kDoneTitle);
    }
}

}  // namespace olvex

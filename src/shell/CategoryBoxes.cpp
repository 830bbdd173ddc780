#include "shell/CategoryBoxes.h"

#include <optional>

#include "platform/Errors.h"
#include "system/FreedSpace.h"

namespace olvex {

ui::FormLayout WithCategoryCaptions(ui::FormLayout layout, Family family) {
    for (ui::ControlLayout& control : layout.controls)
        if (const Category* category = CategoryById(control.category))
            control.caption = category->CaptionOn(family);
    return layout;
}

std::vector<CategoryBox> CategoryBoxesOf(ui::Form& form) {
    std::vector<CategoryBox> boxes;
    for (const Category& category : Categories())
        for (const auto& control : form.controls())
            if (control->layout().category == category.id)
                boxes.push_back({control->name(), &category});
    return boxes;
}

// "Empty Selected", the windows' one command that changes the system, makes its changes here.
struct WindowCommandChanges {
    static platform::SystemChanges Make(Services& services) {
        return {services.shell, services.urlCache};
    }
};

void EmptySelected(Services& services, ui::Form& form, Family family, const char* doneMessage,
                   uintptr_t owner, const CategoryCheck& mayRun) {
    using platform::SkipOnFailure;
    ui::Toolkit& toolkit = services.toolkit;
    toolkit.SetMousePointer(ui::kPointerHourglass);
    // The main windows keep the purge's list in their List1; the others purge nothing.
    std::optional<ListBoxPurgeList> listBox;
    for (auto& control : form.controls())
        if (control->name() == "List1") listBox.emplace(*control);
    PlainPurgeList noListBox;
    PurgeList& list = listBox ? static_cast<PurgeList&>(*listBox) : noListBox;
    platform::SystemChanges changes = WindowCommandChanges::Make(services);
    RuleRun run{services, changes, family, owner, list, SilentSink(), {}, {}};
    SkipOnFailure([&] { run.context = DeriveCleaningContext(services.system); });

    std::optional<FreedSpaceReport> report;
    if (!doneMessage) {
        report.emplace(services.system, run.context.SystemDrive);
        SkipOnFailure([&] { report->MeasureBefore(); });
    }
    const std::vector<CategoryBox> boxes = CategoryBoxesOf(form);
    std::vector<const Category*> categories;
    for (const CategoryBox& box : boxes) categories.push_back(box.category);
    // The hosts whose cookies stay, as olvex.ini beside the program lists them, read when a
    // box that deletes cookies is ticked; an entry that names no host keeps nothing.
    CookieKeepList keepCookies;
    for (const CategoryBox& box : boxes)
        if (box.category->deletesCookies && form.Ctl(box.box).Value() != 0) {
            SkipOnFailure([&] {
                std::vector<std::string> invalid;
                keepCookies = ConfiguredKeepList(services, invalid);
            });
            break;
        }
    run.keepCookies = &keepCookies;
    RunSelected(run, categories, [&](const Category& category) {
        for (const CategoryBox& box : boxes)
            if (box.category == &category)
                return form.Ctl(box.box).Value() != 0 && (!mayRun || mayRun(category));
        return false;
    });

    toolkit.SetMousePointer(ui::kPointerDefault);
    if (report) {
        SkipOnFailure([&] { report->MeasureAfter(); });
        report->Show(toolkit);
    } else {
        toolkit.MsgBox(doneMessage, ui::kOkOnly, kDoneTitle);
    }
}

}  // namespace olvex

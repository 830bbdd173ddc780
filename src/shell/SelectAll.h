#pragma once
// The "Select All" box of the cleaning windows.
#include <string>
#include <vector>

#include "shell/CategoryBoxes.h"
#include "ui/Form.h"

namespace olvex {

// The boxes Select All sets, in the order of the table; those that ask before they are ticked
// come last, so their question follows the others' ticks.
inline std::vector<std::string> SelectAllOrder(const std::vector<CategoryBox>& boxes) {
    std::vector<std::string> order;
    for (bool asking : {false, true})
        for (const CategoryBox& box : boxes)
            if (box.category->asksBeforeTicking == asking) order.push_back(box.box);
    return order;
}

// Click of the Select All box Check7: ticked, it ticks the boxes in order (each change
// raises that box's click handler), lets the window adjust (afterTicking) and reads
// "Unselect All"; unticked, it clears them and reads "Select All".
template <class AfterTicking>
void SelectAllClicked(ui::Form& form, const std::vector<std::string>& boxes,
                      AfterTicking afterTicking) {
    ui::Control& selectAll = form.Ctl("Check7");
    if (selectAll.Value() == 1) {
        for (const std::string& box : boxes) form.Ctl(box).SetValue(1);
        afterTicking();
        selectAll.SetCaption("Unselect All");
    }
    if (selectAll.Value() == 0) {
        for (const std::string& box : boxes) form.Ctl(box).SetValue(0);
        selectAll.SetCaption("Select All");
    }
}

inline void SelectAllClicked(ui::Form& form, const std::vector<std::string>& boxes) {
    SelectAllClicked(form, boxes, [] {});
}

}  // namespace olvex

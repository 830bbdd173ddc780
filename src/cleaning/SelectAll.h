#pragma once
// The "Select All" box of the cleaning windows.
#include <initializer_list>

#include "ui/Form.h"

namespace olvex {

// Sets each box, in the order given; each change raises that box's click handler.
inline void SetBoxes(ui::Form& form, std::initializer_list<const char*> boxes, int value) {
    for (const char* box : boxes) form.Ctl(box).SetValue(value);
}

// Click of the Select All box Check7: ticked, it ticks the boxes in order, lets the window
// adjust (afterTicking) and reads "Unselect All"; unticked, it clears them and reads
// "Select All".
template <class AfterTicking>
void SelectAllClicked(ui::Form& form, std::initializer_list<const char*> boxes,
                      AfterTicking afterTicking) {
    ui::Control& selectAll = form.Ctl("Check7");
    if (selectAll.Value() == 1) {
        SetBoxes(form, boxes, 1);
        afterTicking();
        selectAll.SetCaption("Unselect All");
    }
    if (selectAll.Value() == 0) {
        SetBoxes(form, boxes, 0);
        selectAll.SetCaption("Select All");
    }
}

inline void SelectAllClicked(ui::Form& form, std::initializer_list<const char*> boxes) {
    SelectAllClicked(form, boxes, [] {});
}

}  // namespace olvex

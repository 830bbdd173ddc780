#pragma once
// Ticking or clearing a window's category boxes together.
#include <initializer_list>

#include "ui/Form.h"

namespace olvex {

// Sets each box, in the order given; each change raises that box's click handler.
inline void SetBoxes(ui::Form& form, std::initializer_list<const char*> boxes, int value) {
    for (const char* box : boxes) form.Ctl(box).SetValue(value);
}

}  // namespace olvex

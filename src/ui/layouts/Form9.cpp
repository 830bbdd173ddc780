#include "ui/Layouts.h"
#include "ui/layouts/Builders.h"

namespace ui {

const FormLayout& Form9Layout() {
    static const FormLayout layout =
        layouts::InformationLayout("Form9", 3690, 6810, 495, FamilyMenus("mnuFirefox", "Firefox"));
    return layout;
}

}  // namespace ui

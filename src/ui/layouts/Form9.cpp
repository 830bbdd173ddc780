#include "ui/Layouts.h"
#include "ui/layouts/Builders.h"

namespace ui {

const FormSpec& Form9Layout() {
    static const FormSpec spec =
        layouts::InformationLayout("Form9", 3690, 6810, 495, FamilyMenus("mnuFirefox", "Firefox"));
    return spec;
}

}  // namespace ui

#include "ui/Layouts.h"
#include "ui/layouts/Builders.h"

namespace ui {

const FormLayout& Form2Layout() {
    static const FormLayout layout =
        layouts::InformationLayout("Form2", 3720, 6840, 615, FamilyMenus("mnuFirefox", "Firefox"));
    return layout;
}

}  // namespace ui

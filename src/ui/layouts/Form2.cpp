#include "ui/Layouts.h"
#include "ui/layouts/Builders.h"

namespace ui {

const FormSpec& Form2Layout() {
    static const FormSpec spec =
        layouts::InformationLayout("Form2", 3720, 6840, 615, FamilyMenus("mnuFirefox", "Firefox"));
    return spec;
}

}  // namespace ui

// The information windows of both families.
#include "ui/Layouts.h"
#include "ui/layouts/LayoutBuilders.h"

namespace ui {

FormLayout Form2Layout() {
    return layouts::InformationLayout("Form2", 3720, 6840, 615,
                                      FamilyMenus("mnuFirefox", "Firefox", Browsers::WithChrome));
}

FormLayout Form9Layout() {
    return layouts::InformationLayout("Form9", 3690, 6810, 495,
                                      FamilyMenus("mnuFirefox", "Firefox", Browsers::FirefoxAndOpera));
}

}  // namespace ui

#include "ui/Layouts.h"
#include "ui/layouts/Builders.h"

namespace ui {

const FormLayout& Form8Layout() {
    // clang-format off
    static const layouts::BrowserPlaces places{
        3690, 6810,                // client area
        {240, 120, 480, 480},      // Image1
        {840, 0, 2535, 495},       // Label1
        {960, 480, 1815, 375},     // Label4
        {360, 960, 3015, 2415},    // Frame1
        1440, 2535,                // first box top, Select All width
        3720,                      // first button top
        {240, 6000, 3135, 255},    // Label2
        {480, 6360, 2655, 255},    // Label3
    };
    // clang-format on
    static const FormLayout layout =
        layouts::BrowserLayout("Form8", "Olvex Cleaner - Opera", layouts::OperaBoxes(), places,
                               FamilyMenus("mnuFirefox", "Firefox"));
    return layout;
}

}  // namespace ui

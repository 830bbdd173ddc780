#include "ui/Layouts.h"
#include "ui/layouts/Builders.h"

namespace ui {

const FormLayout& Form5Layout() {
    // clang-format off
    static const layouts::BrowserPlaces places{
        3720, 6840,                // client area
        {240, 360, 480, 480},      // Image1
        {840, 240, 2535, 495},     // Label1
        {960, 720, 1815, 375},     // Label4
        {360, 1200, 3015, 2295},   // Frame1
        1680, 2175,                // first box top, Select All width
        3960,                      // first button top
        {240, 5880, 3135, 255},    // Label2
        {360, 6240, 2655, 255},    // Label3
    };
    // clang-format on
    static const FormLayout layout =
        layouts::BrowserLayout("Form5", "Olvex Cleaner - Opera", layouts::OperaBoxes(), places,
                               FamilyMenus("mnuFirefox", "FireFox"));
    return layout;
}

}  // namespace ui

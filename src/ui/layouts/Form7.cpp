#include "ui/Layouts.h"
#include "ui/layouts/Builders.h"

namespace ui {

const FormLayout& Form7Layout() {
    // clang-format off
    static const layouts::BrowserPlaces places{
        3690, 6810,                // client area
        {240, 240, 480, 480},      // Image1
        {960, 120, 2535, 495},     // Label1
        {840, 600, 1815, 375},     // Label4
        {360, 1200, 3015, 2295},   // Frame1
        1680, 2535,                // first box top, Select All width
        3840,                      // first button top
        {240, 6120, 3135, 255},    // Label2
        {360, 6360, 2655, 255},    // Label3
    };
    // clang-format on
    static const FormLayout layout =
        layouts::BrowserLayout("Form7", "Olvex Cleaner - Firefox", layouts::FirefoxBoxes(), places,
                               FamilyMenus("mnuFirefox", "FireFox"));
    return layout;
}

}  // namespace ui

// The Firefox and Opera windows of both families, and the NT family's Chrome window.
#include "ui/Layouts.h"
#include "ui/layouts/LayoutBuilders.h"

namespace ui {

namespace {

// The NT family's Firefox window, whose places the Chrome window shares.
layouts::BrowserPlaces NtFirefoxPlaces() {
    // clang-format off
    return layouts::BrowserPlaces{
        3720, 6840,                // client area
        {240, 360, 480, 480},      // Image1
        {840, 240, 2535, 615},     // Label1
        {960, 720, 1815, 375},     // Label4
        {360, 1200, 3015, 2295},   // Frame1
        1680, 2175,                // first box top, Select All width
        4080,                      // first button top
        {480, 6120, 3135, 255},    // Label2
        {600, 6480, 2655, 255},    // Label3
    };
    // clang-format on
}

}  // namespace

FormLayout Form3Layout(const std::string& supportAddress) {
    return layouts::BrowserLayout("Form3", "Olvex Cleaner - Firefox", layouts::FirefoxBoxes(),
                                  NtFirefoxPlaces(), supportAddress,
                                  FamilyMenus("mnuFirefox", "Firefox", Browsers::WithChrome));
}

FormLayout Form5Layout(const std::string& supportAddress) {
    // clang-format off
    const layouts::BrowserPlaces places{
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
    return layouts::BrowserLayout("Form5", "Olvex Cleaner - Opera", layouts::OperaBoxes(), places,
                                  supportAddress,
                                  FamilyMenus("mnuFirefox", "FireFox", Browsers::WithChrome));
}

FormLayout Form7Layout(const std::string& supportAddress) {
    // clang-format off
    const layouts::BrowserPlaces places{
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
    return layouts::BrowserLayout("Form7", "Olvex Cleaner - Firefox", layouts::FirefoxBoxes(),
                                  places, supportAddress,
                                  FamilyMenus("mnuFirefox", "FireFox", Browsers::FirefoxAndOpera));
}

FormLayout Form8Layout(const std::string& supportAddress) {
    // clang-format off
    const layouts::BrowserPlaces places{
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
    return layouts::BrowserLayout("Form8", "Olvex Cleaner - Opera", layouts::OperaBoxes(), places,
                                  supportAddress,
                                  FamilyMenus("mnuFirefox", "Firefox", Browsers::FirefoxAndOpera));
}

// Chrome, on the NT family only: as the NT Firefox window.
FormLayout Form10Layout(const std::string& supportAddress) {
    return layouts::BrowserLayout("Form10", "Olvex Cleaner - Chrome", layouts::ChromeBoxes(),
                                  NtFirefoxPlaces(), supportAddress,
                                  FamilyMenus("mnuFirefox", "Firefox", Browsers::WithChrome));
}

}  // namespace ui

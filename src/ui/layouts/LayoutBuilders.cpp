#include "ui/layouts/LayoutBuilders.h"

#include "ui/Layouts.h"

namespace ui::layouts {

namespace {
constexpr int kBoxLeft = 480;
constexpr int kBoxPitch = 240;
constexpr int kButtonPitch = 600;

ControlLayout At(Kind kind, const char* name, const char* caption, const Place& p,
                 double points = 9.75, bool blue = false) {
    return ControlLayout{kind, name, caption, p.left, p.top, p.width, p.height, "", points, blue};
}
}  // namespace

const std::vector<Box>& FirefoxBoxes() {
    static const std::vector<Box> boxes{
        {"Check1", "firefox-cache", 1935, 255},   {"Check2", "firefox-cookies", 2295, 255},
        {"Check5", "firefox-history", 1935, 255}, {"Check6", "firefox-downloads", 2775, 225},
        {"Check4", "firefox-forms", 2775, 255},   {"Check3", "firefox-passwords", 2775, 255},
    };
    return boxes;
}

const std::vector<Box>& ChromeBoxes() {
    static const std::vector<Box> boxes{
        {"Check1", "chrome-cache", 1935, 255},   {"Check2", "chrome-cookies", 2295, 255},
        {"Check5", "chrome-history", 1935, 255}, {"Check6", "chrome-downloads", 2775, 225},
        {"Check4", "chrome-forms", 2775, 255},   {"Check3", "chrome-passwords", 2775, 255},
    };
    return boxes;
}

const std::vector<Box>& OperaBoxes() {
    static const std::vector<Box> boxes{
        {"Check1", "opera-cache", 1935, 255},     {"Check2", "opera-cookies", 2295, 255},
        {"Check5", "opera-history", 1935, 255},   {"Check6", "opera-downloads", 2775, 255},
        {"Check3", "opera-passwords", 2775, 255}, {"Check4", "opera-visited-links", 2775, 255},
    };
    return boxes;
}

FormLayout BrowserLayout(const char* name, const char* caption, const std::vector<Box>& boxes,
                         const BrowserPlaces& p, const std::string& supportAddress,
                         std::vector<MenuLayout> menus) {
    FormLayout layout{name, caption, p.clientWidth, p.clientHeight, {}, std::move(menus)};
    auto& c = layout.controls;
    c.push_back(At(Kind::Image, "Image1", "", p.image));
    c.push_back(At(Kind::Label, "Label1", kTitleCaption, p.title, 20.25));
    c.push_back(At(Kind::Label, "Label4", "Label4", p.system));
    c.push_back(At(Kind::Frame, "Frame1", "Select Files To Delete", p.frame, 9.75, true));
    int top = p.firstBoxTop;
    for (const Box& box : boxes) {
        c.push_back(CategoryBox(box.name, box.category, kBoxLeft, top, box.width, box.height));
        top += kBoxPitch;
    }
    c.push_back(At(Kind::CheckBox, "Check7", "Select All", {kBoxLeft, top, p.selectAllWidth, 255}));
    const char* buttons[][2] = {
        {"Command1", "Empty Selected"}, {"Command2", "Donate"}, {"Command3", "Main"}};
    top = p.firstButtonTop;
    for (const auto& button : buttons) {
        c.push_back(At(Kind::Button, button[0], button[1], {720, top, 2295, 495}));
        top += kButtonPitch;
    }
    c.push_back(At(Kind::Label, "Label2", kSupportCaption, p.support, 9));
    c.push_back(At(Kind::Label, "Label3", supportAddress.c_str(), p.address, 9, true));
    return layout;
}

FormLayout InformationLayout(const char* name, int clientWidth, int clientHeight, int titleHeight,
                             std::vector<MenuLayout> menus) {
    return FormLayout{
        name,
        "Olvex Cleaner - Information",
        clientWidth,
        clientHeight,
        {
            {Kind::Image, "Image1", "", 240, 360, 480, 480, ""},
            {Kind::Label, "Label1", kTitleCaption, 840, 240, 2535, titleHeight, "", 20.25},
            {Kind::Label, "Label4", "Label4", 960, 720, 2295, 375, ""},
            {Kind::Frame, "Frame1", "Information", 120, 1320, 3495, 2775, "", 9.75, true},
            {Kind::Label, "Label2",
             "The files removed by this program take up valuable space on your computer as well "
             "as slow it down. Removing these files in some cases can be time consuming. "
             "Hopefully this tool will make the task less tedious.",
             120, 360, 3255, 2295, "Frame1", 9.75, false, true},
            {Kind::Frame, "Frame2", "Freeware", 120, 4200, 3495, 2415, "", 9.75, true},
            {Kind::Label, "Label3",
             "This program is provided as Freeware. If you would like to donate simply click the "
             "button below.",
             120, 240, 3255, 1455, "Frame2", 9.75, false, true},
            {Kind::Button, "Command1", "Donate", 360, 1680, 1335, 375, "Frame2"},
            {Kind::Button, "Command2", "Main", 1800, 1680, 1335, 375, "Frame2"},
        },
        std::move(menus),
    };
}

}  // namespace ui::layouts

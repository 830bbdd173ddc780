// The two main windows: the NT family's and the Windows 98 family's.
#include "ui/Layouts.h"

namespace ui {

FormLayout Form1Layout(const std::string& supportAddress) {
    return FormLayout{
        "Form1",
        "Olvex Cleaner - Main",
        3720,
        6840,
        {
            {Kind::Frame, "Frame1", "Select Files To Delete", 360, 1200, 3015, 2895, "", 9.75,
             true},
            CategoryBox("Check1", "windows-temp", 480, 1560, 1935, 255),
            CategoryBox("Check2", "user-temp", 480, 1800, 2295, 255),
            CategoryBox("Check9", "all-users-temp", 120, 840, 2175, 315, "Frame1"),
            CategoryBox("Check3", "cookies", 480, 2280, 1815, 255),
            CategoryBox("Check4", "ie-cache", 480, 2520, 2775, 255),
            CategoryBox("Check5", "ie-history", 480, 2760, 1695, 255),
            CategoryBox("Check6", "prefetch", 480, 3000, 2175, 255),
            CategoryBox("Check10", "java-cache", 120, 2040, 2775, 255, "Frame1"),
            CategoryBox("Check8", "recycle-bin", 480, 3480, 1695, 285),
            {Kind::CheckBox, "Check7", "Select All", 120, 2520, 2655, 315, "Frame1"},
            {Kind::Button, "Command1", "Empty Selected", 720, 4320, 2295, 495, ""},
            {Kind::Button, "Command2", "Donate", 720, 4920, 2295, 495, ""},
            {Kind::Button, "Command3", "Exit", 720, 5520, 2295, 525, ""},
            {Kind::ListBox, "List1", "", 3120, 4920, 375, 255, ""},
            {Kind::Image, "Image1", "", 240, 360, 480, 480, ""},
            {Kind::Label, "Label1", kTitleCaption, 840, 240, 2535, 615, "", 20.25},
            {Kind::Label, "Label4", "Label4", 960, 720, 1815, 375, ""},
            {Kind::Label, "Label2", kSupportCaption, 360, 6120, 3135, 255, "", 9},
            {Kind::Label, "Label3", supportAddress, 600, 6480, 2655, 255, "", 9, true},
        },
        FamilyMenus("mnuFirefox", "Firefox", Browsers::WithChrome),
    };
}

FormLayout Form6Layout(const std::string& supportAddress) {
    return FormLayout{
        "Form6",
        "Olvex Cleaner - Main",
        3720,
        6840,
        {
            {Kind::Frame, "Frame1", "Select Files To Delete", 360, 1200, 3015, 2415, "", 9.75,
             true},
            CategoryBox("Check3", "temp", 480, 1560, 2775, 255),
            CategoryBox("Check1", "windows-temp", 480, 1800, 1935, 255),
            CategoryBox("Check2", "cookies", 480, 2040, 2295, 255),
            CategoryBox("Check5", "ie-history", 480, 2280, 1935, 255),
            CategoryBox("Check4", "ie-cache", 480, 2520, 2775, 255),
            CategoryBox("Check8", "java-cache", 120, 1560, 2775, 255, "Frame1"),
            CategoryBox("Check6", "recycle-bin", 480, 3000, 2775, 225),
            {Kind::CheckBox, "Check7", "Select All", 120, 2040, 2535, 255, "Frame1"},
            {Kind::Button, "Command1", "Empty Selected", 720, 3960, 2295, 495, ""},
            {Kind::Button, "Command2", "Donate", 720, 4560, 2295, 495, ""},
            {Kind::Button, "Command3", "Exit", 720, 5160, 2295, 495, ""},
            {Kind::ListBox, "List1", "", 3240, 4680, 495, 255, ""},
            {Kind::Image, "Image1", "", 240, 360, 480, 480, ""},
            {Kind::Label, "Label1", kTitleCaption, 840, 240, 2535, 615, "", 20.25},
            {Kind::Label, "Label4", "Label4", 960, 720, 1815, 375, ""},
            {Kind::Label, "Label2", kSupportCaption, 360, 6120, 3135, 255, "", 9},
            {Kind::Label, "Label3", supportAddress, 600, 6480, 2655, 255, "", 9, true},
        },
        FamilyMenus("mnuFireFox", "FireFox", Browsers::FirefoxAndOpera),
    };
}

}  // namespace ui

#include "shell/Config.h"
#include "ui/Layouts.h"

namespace ui {

const FormLayout& Form6Layout() {
    static const FormLayout layout{
        "Form6",
        "Olvex Cleaner - Main",
        3720,
        6840,
        {
            {Kind::Frame, "Frame1", "Select Files To Delete", 360, 1200, 3015, 2415, "", 9.75,
             true},
            {Kind::CheckBox, "Check3", "Temp", 480, 1560, 2775, 255, ""},
            {Kind::CheckBox, "Check1", "Windows Temp", 480, 1800, 1935, 255, ""},
            {Kind::CheckBox, "Check2", "Cookies", 480, 2040, 2295, 255, ""},
            {Kind::CheckBox, "Check5", "History", 480, 2280, 1935, 255, ""},
            {Kind::CheckBox, "Check4", "Temporary Internet FIles", 480, 2520, 2775, 255, ""},
            {Kind::CheckBox, "Check8", "Java Cache", 120, 1560, 2775, 255, "Frame1"},
            {Kind::CheckBox, "Check6", "Recycle Bin", 480, 3000, 2775, 225, ""},
            {Kind::CheckBox, "Check7", "Select All", 120, 2040, 2535, 255, "Frame1"},
            {Kind::Button, "Command1", "Empty Selected", 720, 3960, 2295, 495, ""},
            {Kind::Button, "Command2", "Donate", 720, 4560, 2295, 495, ""},
            {Kind::Button, "Command3", "Exit", 720, 5160, 2295, 495, ""},
            {Kind::ListBox, "List1", "", 3240, 4680, 495, 255, ""},
            {Kind::Image, "Image1", "", 240, 360, 480, 480, ""},
            {Kind::Label, "Label1", kTitleCaption, 840, 240, 2535, 615, "", 20.25},
            {Kind::Label, "Label4", "Label4", 960, 720, 1815, 375, ""},
            {Kind::Label, "Label2", kSupportCaption, 360, 6120, 3135, 255, "", 9},
            {Kind::Label, "Label3", olvex::config::kSupportEmail, 600, 6480, 2655, 255, "", 9,
             true},
        },
        FamilyMenus("mnuFireFox", "FireFox"),
    };
    return layout;
}

}  // namespace ui

#pragma once
// Window layouts as data: one table per window, read by both toolkits.
#include <string>
#include <vector>

namespace ui {

enum class Kind { Frame, CheckBox, Button, Label, Image, ListBox };

// Positions and sizes are in twips (1/1440 inch), relative to the client area or, for a
// control inside a frame, to that frame.
struct ControlLayout {
    Kind kind;
    std::string name;
    std::string caption;
    int left, top, width, height;
    std::string parent;  // frame name, or empty for the window itself
    double fontPoints = 9.75;
    bool blue = false;   // text in pure blue
    bool wraps = false;  // label text wraps
    // The id of the category a check box stands for; its caption is the category's. "" for
    // any other control.
    std::string category{};
};

// The check box of a category: its caption is the category's (see ControlLayout::category).
inline ControlLayout CategoryBox(const char* name, const char* category, int left, int top,
                                 int width, int height, const char* parent = "") {
    ControlLayout box{Kind::CheckBox, name, "", left, top, width, height, parent};
    box.category = category;
    return box;
}

struct MenuLayout {
    std::string name;
    std::string caption;
};

struct FormLayout {
    std::string name;
    std::string caption;
    int clientWidth, clientHeight;  // twips
    std::vector<ControlLayout> controls;
    std::vector<MenuLayout> menus;
};

}  // namespace ui

#pragma once
// The parts of a layout that the two copies of a window share, so each window's own table
// lists only what its designer placed differently.
#include <string>
#include <vector>

#include "ui/FormLayout.h"

namespace ui::layouts {

struct Place {
    int left, top, width, height;
};

struct Box {
    const char* name;
    const char* category;  // the id it is bound to
    int width;
    int height;
};

// A browser window: its item boxes in screen order, then "Select All", in one column at
// a pitch of 240; below the frame the three buttons at a pitch of 600.
struct BrowserPlaces {
    int clientWidth, clientHeight;
    Place image, title, system, frame;
    int firstBoxTop;
    int selectAllWidth;
    int firstButtonTop;
    Place support, address;
};

// The item boxes of each browser's window, in screen order; both copies share them.
const std::vector<Box>& FirefoxBoxes();
const std::vector<Box>& OperaBoxes();
const std::vector<Box>& ChromeBoxes();

FormLayout BrowserLayout(const char* name, const char* caption, const std::vector<Box>& boxes,
                         const BrowserPlaces& places, const std::string& supportAddress,
                         std::vector<MenuLayout> menus);

// The information window; the copies differ in client area and title height only.
FormLayout InformationLayout(const char* name, int clientWidth, int clientHeight, int titleHeight,
                             std::vector<MenuLayout> menus);

}  // namespace ui::layouts

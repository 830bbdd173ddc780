#pragma once
// Command identifiers of controls and menu items, derived from their designer names, so
// that the windows and the test driver agree on them without a shared table.
#include <cstring>
#include <string_view>

namespace ui {

// "Check7" -> 1007, "Command2" -> 2002, "Label4" -> 3004, "Frame1" -> 4001,
// "Image1" -> 5001, "List1" -> 6001, "mnuMain" -> 9001 ... "mnuInfo" -> 9004, "mnuChrome" -> 9005; 0 if unknown.
inline int ControlId(std::string_view name) {
    struct Prefix {
        const char* text;
        int base;
    };
    static const Prefix prefixes[] = {{"Check", 1000}, {"Command", 2000}, {"Label", 3000},
                                      {"Frame", 4000}, {"Image", 5000},   {"List", 6000}};
    for (const Prefix& p : prefixes) {
        std::string_view prefix(p.text);
        if (name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix) {
            int n = 0;
            for (char c : name.substr(prefix.size())) {
                if (c < '0' || c > '9') return 0;
                n = n * 10 + (c - '0');
            }
            return n > 0 && n < 1000 ? p.base + n : 0;
        }
    }
    if (name == "mnuMain") return 9001;
    if (name == "mnuFirefox" || name == "mnuFireFox") return 9002;
    if (name == "mnuOpera") return 9003;
    if (name == "mnuInfo") return 9004;
    if (name == "mnuChrome") return 9005;
    return 0;
}

// Registered window message by which a window of the program reports the state of one of
// its own menu items (wParam: the item's id; result: 1 enabled, 0 disabled, -1 no such
// item). Menus cannot be read from another process, so the test driver asks this way.
constexpr const char* kMenuStateMessage = "OlvexCleaner.MenuItemState";

}  // namespace ui

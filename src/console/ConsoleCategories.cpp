#include "console/ConsoleCategories.h"

#include "browsers/BrowserItems.h"
#include "cleaning/WindowsCategories.h"
#include "system/Availability.h"
#include "ui/Layouts.h"

namespace olvex {

namespace {

// One window's table with the layout its captions come from.
struct Table {
    const CleaningRecipe& recipe;
    ui::FormLayout layout;
    const char* browser;  // the browser's folder under Program Files; nullptr for none
    const char* browserName;
};

std::vector<Table> TablesOf(Family family) {
    const std::string noAddress;
    if (family == Family::NT)
        return {{NtCategories(), ui::Form1Layout(noAddress), nullptr, nullptr},
                {FirefoxNtItems(), ui::Form3Layout(noAddress), kFirefoxFolder, "Firefox"},
                {OperaNtItems(), ui::Form5Layout(noAddress), kOperaFolder, "Opera"}};
    if (family == Family::Windows98)
        return {{Windows98Categories(), ui::Form6Layout(noAddress), nullptr, nullptr},
                {Firefox98Items(), ui::Form7Layout(noAddress), kFirefoxFolder, "Firefox"},
                {Opera98Items(), ui::Form8Layout(noAddress), kOperaFolder, "Opera"}};
    return {};
}

std::string CaptionOf(const ui::FormLayout& layout, const std::string& box) {
    for (const ui::ControlLayout& control : layout.controls)
        if (control.name == box) return control.caption;
    return box;
}

const char* IdOf(const CleaningRecipe& recipe, const std::string& box) {
    for (const CleaningRule& rule : recipe.rules)
        if (rule.box == box) return rule.id;
    return "";
}

}  // namespace

std::vector<ConsoleCategory> CategoriesOf(Services& services, Family family,
                                          const std::string& osName) {
    std::vector<ConsoleCategory> categories;
    for (const Table& table : TablesOf(family)) {
        // Asked once per window, as the window asks once when it loads.
        const bool installed = !table.browser || BrowserInstalled(services, table.browser);
        for (const std::string& box : BoxesOf(table.recipe)) {
            ConsoleCategory category;
            category.id = IdOf(table.recipe, box);
            category.caption = CaptionOf(table.layout, box);
            category.recipe = &table.recipe;
            category.password = table.browser && box == kPasswordsBox;
            if (!installed) {
                category.unavailable = std::string(table.browserName) + " is not installed";
            } else if (category.id == "prefetch" && !PrefetchCleanable(osName)) {
                category.unavailable = "not on " + osName;
            } else if (category.id == "all-users-temp" && !MayCleanOtherUsers(services.system)) {
                category.unavailable = "administrators only";
                category.administrators = true;
            }
            categories.push_back(category);
        }
    }
    return categories;
}

bool IsKnownCategory(const std::string& id) {
    for (Family family : {Family::NT, Family::Windows98})
        for (const Table& table : TablesOf(family))
            for (const CleaningRule& rule : table.recipe.rules)
                if (id == rule.id) return true;
    return false;
}

}  // namespace olvex

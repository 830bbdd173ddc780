#include "console/ConsoleCategories.h"

namespace olvex {

std::vector<ConsoleCategory> CategoriesOf(Services& services, Family family,
                                          const std::string& osName) {
    Machine machine(services, family, osName);
    std::vector<ConsoleCategory> categories;
    for (const Category* category : CategoriesOn(family))
        categories.push_back({category, category->id, category->CaptionOn(family),
                              category->WhyUnavailable(machine)});
    return categories;
}

}  // namespace olvex

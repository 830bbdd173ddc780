#pragma once
// The category boxes of the cleaning windows: each bound in the window's layout to the id of a
// category of the one table, which gives its caption, its availability and its rows; and
// "Empty Selected", which runs the rows of the ticked ones.
#include <string>
#include <vector>

#include "categories/CategoryTable.h"
#include "ui/Form.h"

namespace olvex {

// The layout with the captions its category boxes have on the family's window.
ui::FormLayout WithCategoryCaptions(ui::FormLayout layout, Family family);

// A box of a window and the category it is bound to.
struct CategoryBox {
    std::string box;
    const Category* category;
};

// The category boxes of form, in the table's order: the order a run visits them.
std::vector<CategoryBox> CategoryBoxesOf(ui::Form& form);

// "Empty Selected": the hourglass, the rows of every ticked box (that mayRun, if given,
// lets run) in table order, then the completion message: doneMessage, or with nullptr the
// bytes freed on the system drive. The main windows keep the cache purge's list in List1.
void EmptySelected(Services& services, ui::Form& form, Family family, const char* doneMessage,
                   uintptr_t owner, const CategoryCheck& mayRun = nullptr);

}  // namespace olvex

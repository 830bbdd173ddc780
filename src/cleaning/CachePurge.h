#pragma once
// Removing entries from the browser's cache index. Both routines first list the address of
// every entry in the window's list box, after the addresses of earlier purges, then delete
// each listed address that does not contain their word (exact, case-sensitive) and whose
// entry is still there and names no file, or a plain file inside the cache's folders (the
// Internet cache, Cookies, History) reached through plain folders only.
#include "system/Services.h"
#include "ui/Form.h"

namespace olvex {

// For "Temporary Internet Files": deletes every address without "Cookie".
void ClearUrlCache(Services& services, ui::Control& list1);
// For "Cookies": deletes every address without "http".
void ClearCookieCache(Services& services, ui::Control& list1);

// The most items the list box holds: its item count is a 16-bit signed number. Addresses
// beyond it are purged all the same.
constexpr int kListBoxCapacity = 32767;

}  // namespace olvex

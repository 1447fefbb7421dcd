#pragma once
// What the keyboard does on the grid beyond moving, opening, editing and
// deleting: typed characters search the descriptions (the list's own search
// of its first column never runs), and the menu key or Shift+F10 opens the
// row menu.
#include <windows.h>

#include <functional>

namespace ombriel {

struct GridKeyHandlers {
    std::function<void(char32_t)> onChar; // a printable character typed
    std::function<void()> onMenuKey;      // the menu key, Shift+F10
    wchar_t pendingHigh = 0;              // first half of a surrogate pair
};

// Hooks the handlers into the grid's list view; they must outlive it.
void AttachGridKeys(HWND listView, GridKeyHandlers* handlers);

} // namespace ombriel

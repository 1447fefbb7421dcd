#pragma once
// Driver additions for what only the keyboard, the focus or the mouse reveal:
// the system menu (menus are process-local, so another process cannot read
// one; it can only open it with keys and see what the chosen item does), the
// keyboard focus and tooltips.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace ui {

// Opens the window's system menu as Alt+Space would, moves the highlight
// with the given keys (VK_UP, VK_DOWN, ...) and confirms with Enter. The
// keys reach the menu loop of the program's own thread.
void PickSystemMenuItem(HWND window, const std::vector<UINT>& keys);

// The window that has the keyboard focus in the thread owning `window`.
HWND FocusOf(HWND window);

// Moves the mouse over the centre of `control` and waits for a visible
// tooltip of the program; its text, or nothing on time-out.
std::optional<std::wstring> HoverForTooltip(HWND control, int timeoutMs = 5000);

} // namespace ui

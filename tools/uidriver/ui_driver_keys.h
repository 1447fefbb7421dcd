#pragma once
// Driver additions for what only the keyboard, the focus or a tooltip reveal:
// the system menu (menus are process-local, so another process cannot read
// one; it can only open it with keys and see what the chosen item does), the
// keyboard focus, and the text a tooltip would show for a control.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace ui {

// Opens the window's system menu as Alt+Space would, moves the highlight
// with the given keys (VK_UP, VK_DOWN, ...) and confirms with Enter. The
// keys reach the menu loop of the program's own thread in order.
void PickSystemMenuItem(HWND window, const std::vector<UINT>& keys);

// The window that has the keyboard focus in the thread owning `window`.
HWND FocusOf(HWND window);

// The text the program's tooltip shows for `control` (a tool registered by
// the control's window handle), asked of the tooltip control itself, texts
// supplied on request included; nothing when no tooltip has the control.
std::optional<std::wstring> ToolTipText(HWND control);

} // namespace ui

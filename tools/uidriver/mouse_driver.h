#pragma once
// Real mouse input, for controls that act on where the pointer is (a click on
// a grid cell reads the pointer's position, which a posted message lacks).
#include <windows.h>

namespace ui {

// Moves the pointer to the centre of rect (in hwnd's client coordinates) and
// clicks the left button there once, or twice as a double-click.
void ClickAt(HWND hwnd, const RECT& clientRect, bool doubleClick = false);

} // namespace ui

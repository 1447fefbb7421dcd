#pragma once
// Mouse and keyboard input posted to a window, the way a pen, a touch screen,
// remote-control software or an accessibility tool delivers it: every event
// carries its own position, so nothing depends on where the pointer rests.
// Posted input reaches the window in the order it was posted, behind
// whatever the test posted before.
#include <windows.h>

#include <vector>

namespace ui {

// A left click at a point in the window's client coordinates.
void PostClick(HWND window, POINT client);
// A left double-click there: down, up, double-click, up.
void PostDoubleClick(HWND window, POINT client);
// Presses the left button at `from`, moves to `to` and lets go there.
void PostDrag(HWND window, POINT from, POINT to);
// A key pressed and released on the window.
void PostKey(HWND window, UINT virtualKey);

// The centre of a rectangle.
POINT Centre(const RECT& r);

} // namespace ui

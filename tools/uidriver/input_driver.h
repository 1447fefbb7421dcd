#pragma once
// Mouse and keyboard input posted to a window, the way a pen, a touch screen,
// remote-control software or an accessibility tool delivers it: every event
// carries its own position, so nothing depends on where the pointer rests.
// Posted input reaches the window in the order it was posted, behind
// whatever the test posted before.
#include <windows.h>

#include <optional>
#include <string>
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
// A right click at a point in the window's client coordinates.
void PostRightClick(HWND window, POINT client);
// Typed characters, one WM_CHAR each (UTF-16 units), as a keyboard layout or
// an input method delivers them once the keys are translated.
void PostChars(HWND window, const std::wstring& text);

// Waits for a popup menu (class #32768) of the process that owns window;
// false on time-out. The menu runs its own loop on the program's thread,
// which takes the keys posted to any of the program's windows.
bool WaitForPopupMenu(HWND window);
// Whether the process that owns window shows a popup menu now.
bool HasPopupMenu(HWND window);

// The clipboard's Unicode text; nothing when it holds none.
std::optional<std::wstring> ClipboardText();

// The centre of a rectangle.
POINT Centre(const RECT& r);

// Files dropped on a window, as Explorer drops them: a WM_DROPFILES whose
// file list lives in the window's own process. The list is freed when the
// returned object goes away, so keep it until the window has taken the drop.
class DroppedFiles {
  public:
    DroppedFiles(HWND window, const std::vector<std::wstring>& paths);
    DroppedFiles(const DroppedFiles&) = delete;
    DroppedFiles& operator=(const DroppedFiles&) = delete;
    ~DroppedFiles();

  private:
    HANDLE process_ = nullptr;
    void* block_ = nullptr;
};

} // namespace ui

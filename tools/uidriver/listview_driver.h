#pragma once
// Reading a list view of another process. Messages whose arguments are
// pointers need memory in the owning process: a block is taken there, the
// message is sent with its address and the answer is copied back.
#include <windows.h>

#include <string>

namespace ui {

int ListViewItemCount(HWND listView);
// Width of a column in pixels.
int ListViewColumnWidth(HWND listView, int column);
std::wstring ListViewHeaderText(HWND listView, int column);
std::wstring ListViewCellText(HWND listView, int item, int column);
// Rectangle of a cell in the list view's client coordinates.
RECT ListViewCellRect(HWND listView, int item, int column);
// Index of the item with the focus frame; -1 when none.
int ListViewFocusedItem(HWND listView);
// Index of the first item in sight (the list's scroll position).
int ListViewTopIndex(HWND listView);
// Index of the selected (highlighted) item; -1 when none.
int ListViewSelectedItem(HWND listView);
// Selects and focuses an item as an assistive tool does, with no click.
void ListViewSelectItem(HWND listView, int item);
// The list's header control, and a column's rectangle in its coordinates.
HWND ListViewHeader(HWND listView);
RECT ListViewHeaderItemRect(HWND listView, int column);
int ListViewSelectedCount(HWND listView);
// The DPI the window is drawn at.
int WindowDpi(HWND hwnd);

} // namespace ui

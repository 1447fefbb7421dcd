#pragma once
// The About and Help boxes: the program's notice with its icon.
#include <windows.h>

namespace zelbrin {

void ShowAbout(HWND dialog);
void ShowHelp(HWND dialog);

} // namespace zelbrin

#include "engines_win.h"

// Placeholder until the split engine's adapter replaces this file.
void SplitFile(HWND) {}

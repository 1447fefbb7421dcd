#include "engines_win.h"

// Placeholder until the join engine's adapter replaces this file.
void JoinFiles(HWND) {}

#pragma once
// The two operations the default button starts. Each disables buttons 1 and
// 2 while it runs, reports through ShowMessage and enables them again.
#include <windows.h>

void SplitFile(HWND dialog);
void JoinFiles(HWND dialog);

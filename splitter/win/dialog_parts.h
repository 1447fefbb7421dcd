#pragma once
// The pieces of the dialog procedure, each in its own file.
#include <windows.h>

// start_operation_win.cpp
void StartOperation(HWND dialog);

// choosers_win.cpp
void ChooseSourceFile(HWND dialog);
void ChooseTargetFolder(HWND dialog);

// tooltips_win.cpp
void CreateTooltips(HWND dialog);
void SupplyTooltipText(HWND dialog, LPARAM notification);
void RelayMouseMove(HWND dialog, WPARAM wParam, LPARAM lParam);

// info_boxes_win.cpp
void ShowAbout(HWND dialog);
void ShowHelp(HWND dialog);

// dialog_win.cpp
INT_PTR RunZelbrinDialog(HINSTANCE instance);

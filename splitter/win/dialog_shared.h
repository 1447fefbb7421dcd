#pragma once
// What the dialog shares with the operations it starts: the two program-wide
// radio choices, the module the resources come from, and the two services
// every operation uses to talk to the user and to guard its buttons.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/operation_ui.h"
#include "resource.h"

// Set only by the mode radios (OpSplit, OpJoin) and the method radios
// (ByKeyword, BySize, ByPieces); the operations read them.
extern int32_t OperationMode;
extern int32_t SplitMode;

// The module holding dialog 101, the string table and icon group 104.
extern HINSTANCE ProgramInstance;

// Shows string-table text `stringId` in an information box captioned
// "Zelbrin" with one OK button.
void ShowMessage(HWND owner, int stringId);

// Enables or disables one control of the dialog by id.
void EnableDlgControl(HWND dialog, int controlId, bool enable);

// The whole text of a control, of any length.
std::wstring GetControlText(HWND dialog, int controlId);

#pragma once
// The source-file chooser (the system's Open dialog, with the filter of the
// current mode) and the target-folder browser.
#include "core/operation_ui.h"

#include <windows.h>

#include <string>

namespace zelbrin {

// On OK the source edit gets the full path and the target edit its folder
// with a trailing backslash; a cancelled dialog empties the source only.
void ChooseSourceFile(HWND dialog, OperationModeValue mode);
// What a chosen source does to the dialog: the source edit gets the path,
// the target edit its folder with a trailing backslash.
void SetSourceFile(HWND dialog, const std::wstring& path);
// The target edit gets the chosen folder as the browser returns it, or is
// emptied when nothing usable is chosen.
void ChooseTargetFolder(HWND dialog);

} // namespace zelbrin

#pragma once
// The register's input box: a modal dialog with a prompt, a title, a one-line
// edit pre-filled with a default text (selected, so typing replaces it), and
// OK and Cancel. Returns the edit's text on OK, the empty text on Cancel. The
// user can type or paste at most maxLength UTF-16 units.
#include <windows.h>

#include <string>

namespace ombriel {

std::wstring ShowInputBox(HWND owner, const std::wstring& prompt, const std::wstring& title,
                          const std::wstring& defaultText, size_t maxLength);

} // namespace ombriel
